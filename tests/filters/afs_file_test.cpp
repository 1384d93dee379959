#include "filters/afs_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "filters/ffx_file.h"
#include "test_support.h"
#include "tests/filter_files.h"

using namespace lumen::filters;
using lumen::filters::testing::ScratchDirectory;
using lumen::filters::testing::writeBytes;

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// A CR-only file with these values and expressions (each expression given as its lines).
std::string afsText(const std::vector<std::string>& values, const std::vector<std::vector<std::string>>& expressions) {
    std::string text = "%RGB-1.0\r";
    for (const std::string& value : values) text += value + "\r";
    for (const auto& lines : expressions) {
        for (const std::string& line : lines) text += line + "\r";
        text += "\r";
    }
    return text;
}

const std::vector<std::string> kZeros(8, "0");

std::optional<ParmRecord> read(const std::string& text) {
    ParmRecord record;
    if (!readAfs(bytesOf(text), record)) return std::nullopt;
    return record;
}

}  // namespace

TEST(AfsRead, BuildsTheRecordFromValuesAndExpressions) {
    const auto record = read(afsText({"1", "-12", "abc", " \n 7", "+3x", "255", "0", "2147483648"},
                                     {{"r+", "g+", "b"}, {"g"}, {"b"}, {"a"}}));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->recordSize, 8296);
    EXPECT_EQ(record->showDialog, 1);
    EXPECT_EQ(record->values, (ControlValues{1, -12, 0, 7, 3, 255, 0, 2147483647}));
    EXPECT_EQ(record->formula[0], "r+g+b");
    EXPECT_EQ(record->formula[3], "a");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(record->controlInUse[size_t(i)], 1);
        EXPECT_EQ(record->controlLabel[size_t(i)], "Control " + std::to_string(i));
    }
    EXPECT_TRUE(record->category.empty());
    EXPECT_TRUE(record->title.empty());
}

TEST(AfsRead, RemovesEscapeTextsBeforeTheLengthLimit) {
    auto formula = [](const std::string& expression) {
        const auto record = read(afsText(kZeros, {{expression}, {"g"}, {"b"}, {"a"}}));
        return record ? record->formula[0] : std::string("refused");
    };
    EXPECT_EQ(formula("r\\r+g\\n+b"), "r+g+b");
    // Pairs that meet once another is gone go as well; \r goes before \n.
    EXPECT_EQ(formula("x\\\\rry"), "xy");
    EXPECT_EQ(formula("x\\\\rny"), "xy");
    EXPECT_EQ(formula("x\\\\nry"), "x\\ry");
    EXPECT_EQ(formula(std::string(1022, '1')), std::string(1022, '1'));
    EXPECT_EQ(formula(std::string(1023, '1')), "refused");
    EXPECT_EQ(formula(std::string(1021, '1') + "\\r" + "2"), std::string(1021, '1') + "2");
    // A zero byte ends the record's text.
    EXPECT_EQ(formula(std::string("r\0g", 3)), "r");
}

TEST(AfsRead, RefusesWrongMagicAndFilesThatEndEarly) {
    const std::string good = afsText(kZeros, {{"r"}, {"g"}, {"b"}, {"a"}});
    EXPECT_TRUE(read(good));
    EXPECT_FALSE(read("%rgb-1.0" + good.substr(8)));
    EXPECT_FALSE(read("%RGB-1.0 " + good.substr(8)));
    // The last expression needs its empty line; every line needs its carriage return.
    EXPECT_FALSE(read(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(read(good.substr(0, good.size() - 2)));
    for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(read(good.substr(0, cut))) << cut;
    // CR LF line ends: the separating lines hold a line feed, so no expression ever ends.
    std::string crlf;
    for (char c : good) crlf += c == '\r' ? std::string("\r\n") : std::string(1, c);
    EXPECT_FALSE(read(crlf));
    EXPECT_FALSE(read(""));
}

TEST(AfsRead, OwnFilesReadOrAreRefusedAsTheirNamesSay) {
    const auto files = lumen::test_files::afsFilesIn(lumen::test_files::ownAfsDirectory());
    ASSERT_GE(files.size(), 16u);
    for (const auto& file : files) {
        ParmRecord record;
        const bool ok = readAfsFile(nativeFileSystem(), file.string(), record);
        EXPECT_EQ(ok, !lumen::test_files::ownFileIsRefused(file)) << file.filename();
        if (!ok) continue;
        for (const std::string& formula : record.formula) EXPECT_FALSE(formula.empty()) << file.filename();
        if (file.filename() == "split_lines_and_escapes.afs") {
            EXPECT_EQ(record.formula[0], "r+g+b");    // lines joined with nothing between
            EXPECT_EQ(record.formula[1], "(g+x)/2");  // \r and \n removed
            EXPECT_EQ(record.formula[2], "b");
        }
        if (file.filename() == "limit_1022.afs") EXPECT_EQ(record.formula[0].size(), 1022u);
        if (file.filename() == "variables.afs") {
            // atoi rules: a sign after blanks, and letters read as 0
            EXPECT_EQ(record.values[0], -12);
            EXPECT_EQ(record.values[1], 7);
            EXPECT_EQ(record.values[2], 0);
        }
    }
}

TEST(AfsRead, CorpusFilesReadOrAreRefusedAsExpected) {
    LUMEN_SKIP_WITHOUT_EXTERNAL_CORPUS();
    const std::set<std::string> refused = {"bad1.afs", "bad2.afs", "import-txt_afs_crlf.afs",
                                           "import-txt_afs_lf.afs", "import-foundry16.afs"};
    int seen = 0;
    for (const auto& file : lumen::test_files::afsFilesIn(lumen::test_files::externalAfsDirectory())) {
        const std::string name = file.filename().string();
        ParmRecord record;
        const bool ok = readAfsFile(nativeFileSystem(), file.string(), record);
        EXPECT_EQ(ok, !refused.count(name)) << name;
        for (const std::string& formula : record.formula) {
            if (ok) {
                EXPECT_FALSE(formula.empty()) << name;
            }
        }
        if (name == "longline.afs") {
            EXPECT_EQ(record.formula[0].find("\\r"), std::string::npos);
            EXPECT_EQ(record.formula[0].substr(0, 6), "r+g+b+");
        }
        ++seen;
    }
    EXPECT_GE(seen, 39);
}

TEST(AfsImport, SavesUnderTheImportCategoryAndTheFileName) {
    ScratchDirectory scratch;
    const std::string source = scratch.file("My Wave.v2.afs");
    writeBytes(source, bytesOf(afsText({"5", "6", "7", "8", "9", "10", "11", "12"},
                                                 {{"r"}, {"g"}, {"b"}, {"a"}})));
    FilterDefinition working;
    working.author = "kept";
    ASSERT_TRUE(importAfs(nativeFileSystem(), source, scratch.path(), working));
    EXPECT_EQ(working.category, "[AFS IMPORT]");
    EXPECT_EQ(working.title, "My Wave.v2");
    const std::string saved = scratch.file("_AFS IMPORT_ - My Wave_v2.ffx");  // the dot is not in the alphabet
    EXPECT_EQ(working.filePath, saved);
    FilterDefinition loaded;
    ASSERT_TRUE(loadFfxFile(nativeFileSystem(), saved, loaded));
    EXPECT_EQ(loaded.code[0], "0");
    EXPECT_EQ(loaded.code[1], "r");
    EXPECT_EQ(loaded.controlDefault[7], 12);
    EXPECT_EQ(loaded.controlEnabled, (std::array<uint8_t, 8>{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(loaded.author, "kept");

    writeBytes(scratch.file("broken.afs"), bytesOf("%RGB-1.0\r1\r"));
    EXPECT_FALSE(importAfs(nativeFileSystem(), scratch.file("broken.afs"), scratch.path(), working));
    EXPECT_FALSE(importAfs(nativeFileSystem(), scratch.file("missing.afs"), scratch.path(), working));
}
