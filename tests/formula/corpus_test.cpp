// Every expression of the real Filter Factory text filters parses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "formula_test_support.h"

namespace lumen::formula {
namespace {

namespace fs = std::filesystem;

// The four expressions of an .afs file: lines end at CR only; after the magic and eight value
// lines, each expression is joined from its lines up to an empty one, with the \r and \n escapes
// removed. Files that do not follow this are refused (nullopt).
std::optional<std::vector<std::string>> afsExpressions(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\r', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    if (lines.empty() || lines[0] != "%RGB-1.0") return std::nullopt;
    std::vector<std::string> expressions;
    std::string current;
    for (std::size_t k = 9; k < lines.size() && expressions.size() < 4; ++k) {
        if (!lines[k].empty()) {
            current += lines[k];
            continue;
        }
        for (const char* escape : {"\\r", "\\n"})
            for (std::size_t at; (at = current.find(escape)) != std::string::npos;)
                current.erase(at, 2);
        if (current.size() > 1022) return std::nullopt;
        expressions.push_back(current);
        current.clear();
    }
    if (expressions.size() != 4) return std::nullopt;
    return expressions;
}

TEST(FormulaCorpus, EveryAfsExpressionParses) {
    const fs::path folder = fs::path(LUMEN_CORPUS_DIR) / "afs";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
    // Refused by the reader's own rules (truncated, too long, LF or CR LF line ends).
    const std::set<std::string> refused{"bad1.afs", "bad2.afs", "import-txt_afs_crlf.afs",
                                        "import-txt_afs_lf.afs", "import-foundry16.afs"};
    // `pow` is no built-in of this language (nor of Filter Factory): p, o, w are z and two
    // undefined characters.
    const std::set<std::string> foreign{"pow.afs"};
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".afs") continue;
        const auto expressions = afsExpressions(entry.path());
        if (refused.count(name)) {
            EXPECT_FALSE(expressions.has_value()) << name;
            continue;
        }
        ASSERT_TRUE(expressions.has_value()) << name;
        ++files;
        for (std::size_t k = 0; k < expressions->size(); ++k) {
            const std::string& text = (*expressions)[k];
            if (foreign.count(name) && text.find("pow") != std::string::npos) {
                EXPECT_EQ(testing_support::checkOf(text), 1) << name;
                continue;
            }
            EXPECT_EQ(testing_support::checkOf(text), 0) << name << " expression " << k << ": " << text;
            EXPECT_NE(testing_support::treeOf(text).substr(0, 6), "result") << name;
        }
    }
    EXPECT_GE(files, 30);
}

}  // namespace
}  // namespace lumen::formula
