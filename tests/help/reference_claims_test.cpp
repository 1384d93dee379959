// What the reference says a formula gives is what the evaluator gives: every "`FORMULA` is N"
// in its sources is evaluated on an image without transparency.
#include <gtest/gtest.h>

#include <regex>

#include "../formula/eval_fixture.h"
#include "tools/help_source.h"

namespace lumen::help {
namespace {

class ReferenceClaims : public formula::testing::EvalFixture {};

TEST_F(ReferenceClaims, EveryStatedValueIsWhatTheFormulaGives) {
    std::string error;
    const auto files = source::readSourceFiles(std::string(LUMEN_SOURCE_DIR) + "/docs/reference", error);
    ASSERT_TRUE(files) << error;
    const std::regex claim("`([^`]+)` is (-?[0-9]+)");
    int claims = 0;
    for (const source::SourceFile& file : *files)
        for (auto match = std::sregex_iterator(file.text.begin(), file.text.end(), claim);
             match != std::sregex_iterator(); ++match) {
            makeImage(10, 8, false);
            const std::string formula = (*match)[1];
            EXPECT_EQ(eval(formula), std::stoll((*match)[2])) << file.name << ": " << formula;
            ++claims;
        }
    EXPECT_GE(claims, 20);
}

}  // namespace
}  // namespace lumen::help
