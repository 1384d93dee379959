// The random formula generator: what it makes compiles, covers the whole language, and is the
// same for the same seed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "formula/builtin_table.h"
#include "formula/formula_node.h"
#include "random_formula.h"

namespace lumen::formula {
namespace {

using testing_support::RandomFormulaGenerator;
using NodeKey = std::pair<int32_t, int32_t>;  // kind, and the index of table-dispatched kinds

void collect(const FormulaNode* root, std::set<NodeKey>& seen) {
    std::vector<const FormulaNode*> pending{root};
    while (!pending.empty()) {
        const FormulaNode* node = pending.back();
        pending.pop_back();
        const bool indexed = node->kind >= kCall1 && node->kind <= kCall3;
        seen.insert({node->kind, indexed ? node->value : 0});
        for (int32_t k = 0; k < node->childCount; ++k) pending.push_back(node->children[k]);
    }
}

TEST(RandomFormula, TwoThousandTextsAllCompileAndCoverTheLanguage) {
    RandomFormulaGenerator generator(20261208);
    std::set<NodeKey> seen;
    for (int n = 0; n < 2000; ++n) {
        const std::string text = generator.next();
        ASSERT_LE(text.size(), 1023u);
        const CompileResult result = compileFormula(text.c_str(), true);
        ASSERT_EQ(result.status, kCompileOk) << text;
        collect(result.root.get(), seen);
    }
    std::vector<NodeKey> expected{{kCall2, kCall2Divide}, {kCall2, kCall2Remainder},
                                  {kCaseList, 0}, {kCase, 0}, {kCaseEntry, 0}, {kNumber, 0},
                                  {kTotal, 0}, {kConditional, 0}, {kSequence, 0}};
    for (int32_t kind : {43, 45, 42, 329, 322, 321, 320, 319, 318, 323, 324, 325, 326, 327,
                         328, 330, 331, 332, 333, 334, 335})
        expected.push_back({kind, 0});
    for (char variable : std::string("rgbacituvxyzXYZdDmM")) expected.push_back({variable, 0});
    for (const BuiltinFunction& function : builtinFunctions())
        expected.push_back({function.nodeKind, function.index});
    for (const NodeKey& key : expected)
        EXPECT_TRUE(seen.count(key)) << "never generated: kind " << key.first << " index " << key.second;
}

TEST(RandomFormula, SameSeedSameTextsAndDepthBoundsTheText) {
    RandomFormulaGenerator first(7), second(7), other(8);
    std::vector<std::string> a, b, c;
    for (int n = 0; n < 50; ++n) {
        a.push_back(first.next());
        b.push_back(second.next());
        c.push_back(other.next());
    }
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    RandomFormulaGenerator shallow(3);
    for (int n = 0; n < 200; ++n) {
        const std::string text = shallow.next(0, 40);
        EXPECT_LE(text.size(), 40u);
        EXPECT_EQ(text.find('('), std::string::npos) << text;  // leaves only
        EXPECT_EQ(compileFormula(text.c_str(), false).status, kCompileOk) << text;
    }
}

}  // namespace
}  // namespace lumen::formula
