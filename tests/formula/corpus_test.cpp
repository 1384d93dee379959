// Real Filter Factory text filters compile and render over a small image without fault.
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

namespace lumen::formula::testing {
namespace {

// Through the plug-in's own .afs reader; the files it refuses are left out.
std::optional<filters::ParmRecord> readTextFilter(const std::filesystem::path& path) {
    filters::ParmRecord record;
    if (!filters::readAfsFile(filters::nativeFileSystem(), path.string(), record)) return std::nullopt;
    return record;
}

TEST(Corpus, TextFiltersRenderWithoutFault) {
    const std::filesystem::path dir = std::filesystem::path(LUMEN_CORPUS_DIR) / "afs";
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    const int32_t width = 23, height = 17;
    std::vector<uint8_t> source(width * height * 4);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 37 + i / 92);
    const ImageDescription image{source.data(), width, height, true, {0, 1, 2, 3}};

    int rendered = 0;
    std::set<std::string> uncompiled;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::optional<filters::ParmRecord> filter = readTextFilter(entry.path());
        if (!filter) continue;  // the files the reader refuses
        SCOPED_TRACE(entry.path().filename().string());
        FilterCompileResult compiled =
            compileFilter({"0", filter->formula[0].c_str(), filter->formula[1].c_str(),
                           filter->formula[2].c_str(), filter->formula[3].c_str()});
        if (!compiled.ok) {
            uncompiled.insert(entry.path().filename().string());
            continue;
        }
        RenderSetUp setUp;
        setUp.controls = filter->values;
        std::vector<uint8_t> first(source.size()), second(source.size());
        EXPECT_EQ(renderFilter(compiled.program, image, first.data(), setUp), RenderOutcome::kComplete);
        EXPECT_EQ(renderFilter(compiled.program, image, second.data(), setUp), RenderOutcome::kComplete);
        EXPECT_EQ(first, second);  // no state leaks from one render into the next
        ++rendered;
    }
    EXPECT_GE(rendered, 30);
    // pow() is not a function of this language (it writes powers as **).
    EXPECT_EQ(uncompiled, std::set<std::string>{"pow.afs"});
}

}  // namespace
}  // namespace lumen::formula::testing
