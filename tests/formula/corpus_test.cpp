// Real Filter Factory text filters compile and render over a small image without fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace lumen::formula::testing {
namespace {

struct TextFilter {
    std::array<int32_t, 8> controls{};
    std::array<std::string, 4> expressions;
};

// Just enough of the text format for these tests: CR-ended lines, eight values, four
// expressions each ended by an empty line, with the \r and \n escapes removed.
std::optional<TextFilter> readTextFilter(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\r', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    if (lines.size() < 9 || lines[0] != "%RGB-1.0") return std::nullopt;
    TextFilter filter;
    for (int i = 0; i < 8; ++i) filter.controls[i] = std::atoi(lines[1 + i].c_str());
    size_t line = 9;
    for (std::string& expression : filter.expressions) {
        while (line < lines.size() && !lines[line].empty()) expression += lines[line++];
        if (line++ >= lines.size()) return std::nullopt;
        for (const char* escape : {"\\r", "\\n"})
            for (size_t at; (at = expression.find(escape)) != std::string::npos;) expression.erase(at, 2);
        if (expression.size() > 1022) return std::nullopt;
    }
    return filter;
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
        std::optional<TextFilter> filter = readTextFilter(entry.path());
        if (!filter) continue;  // the files the reader refuses
        SCOPED_TRACE(entry.path().filename().string());
        FilterCompileResult compiled =
            compileFilter({"0", filter->expressions[0].c_str(), filter->expressions[1].c_str(),
                           filter->expressions[2].c_str(), filter->expressions[3].c_str()});
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
