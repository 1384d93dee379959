// Real Filter Factory text filters compile and render over a small image without fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "filter_sets.h"

namespace lumen::formula::testing {
namespace {

using testing_support::NamedFilter;
using testing_support::readTextFilter;

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
        std::optional<NamedFilter> filter = readTextFilter(entry.path());
        if (!filter) continue;  // the files the reader refuses
        SCOPED_TRACE(entry.path().filename().string());
        FilterCompileResult compiled =
            compileFilter({filter->code[0].c_str(), filter->code[1].c_str(), filter->code[2].c_str(),
                           filter->code[3].c_str(), filter->code[4].c_str()});
        if (!compiled.ok) {
            uncompiled.insert(entry.path().filename().string());
            continue;
        }
        RenderSetUp setUp;
        setUp.controls = filter->controls;
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
