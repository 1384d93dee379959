// Filter Factory text filters compile and render over a small image without fault: the project's
// own files always, real filters of other people where their corpus is present.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "filters/afs_file.h"
#include "filters/file_system.h"
#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "tests/filter_files.h"

namespace lumen::formula::testing {
namespace {

// Through the plug-in's own .afs reader.
std::optional<filters::ParmRecord> readTextFilter(const std::filesystem::path& path) {
    filters::ParmRecord record;
    if (!filters::readAfsFile(filters::nativeFileSystem(), path.string(), record)) return std::nullopt;
    return record;
}

struct CorpusOutcome {
    int rendered = 0;
    std::set<std::string> uncompiled;
};

// Renders every file the reader accepts twice and expects the same bytes both times.
CorpusOutcome renderEveryReadableFile(const std::filesystem::path& dir) {
    const int32_t width = 23, height = 17;
    std::vector<uint8_t> source(width * height * 4);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 37 + i / 92);
    const ImageDescription image{source.data(), width, height, true, {0, 1, 2, 3}};

    CorpusOutcome outcome;
    for (const std::filesystem::path& file : test_files::afsFilesIn(dir)) {
        std::optional<filters::ParmRecord> filter = readTextFilter(file);
        if (!filter) continue;
        SCOPED_TRACE(file.filename().string());
        FilterCompileResult compiled =
            compileFilter({"0", filter->formula[0].c_str(), filter->formula[1].c_str(),
                           filter->formula[2].c_str(), filter->formula[3].c_str()});
        if (!compiled.ok) {
            outcome.uncompiled.insert(file.filename().string());
            continue;
        }
        RenderSetUp setUp;
        setUp.controls = filter->values;
        std::vector<uint8_t> first(source.size()), second(source.size());
        EXPECT_EQ(renderFilter(compiled.program, image, first.data(), setUp), RenderOutcome::kComplete);
        EXPECT_EQ(renderFilter(compiled.program, image, second.data(), setUp), RenderOutcome::kComplete);
        EXPECT_EQ(first, second);  // no state leaks from one render into the next
        ++outcome.rendered;
    }
    return outcome;
}

TEST(Corpus, OwnTextFiltersRenderWithoutFault) {
    size_t readable = 0;
    for (const auto& file : test_files::afsFilesIn(test_files::ownAfsDirectory()))
        readable += !test_files::ownFileIsRefused(file);
    const CorpusOutcome outcome = renderEveryReadableFile(test_files::ownAfsDirectory());
    EXPECT_EQ(outcome.uncompiled, std::set<std::string>{});
    EXPECT_EQ(static_cast<size_t>(outcome.rendered), readable);
    EXPECT_GE(outcome.rendered, 10);
}

TEST(Corpus, TextFiltersRenderWithoutFault) {
    LUMEN_SKIP_WITHOUT_EXTERNAL_CORPUS();
    const CorpusOutcome outcome = renderEveryReadableFile(test_files::externalAfsDirectory());
    EXPECT_GE(outcome.rendered, 30);
    // pow() is not a function of this language (it writes powers as **).
    EXPECT_EQ(outcome.uncompiled, std::set<std::string>{"pow.afs"});
}

}  // namespace
}  // namespace lumen::formula::testing
