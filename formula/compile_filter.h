#pragma once
// A filter's five sources compiled together: Code0 runs once per render, Code1..Code4 give the
// red, green, blue and alpha value of every pixel.
#include <array>

#include "formula/formula_node.h"

namespace lumen::formula {

constexpr int kSourceCount = 5;

// Deeper trees are refused: evaluation walks a tree recursively, and a source of the at most
// 1023 characters a filter holds stays far below this.
constexpr int kMaxTreeDepth = 2048;

struct FilterProgram {
    std::array<FormulaTree, kSourceCount> roots;  // null where not built
    bool complete() const;
};

enum class SourceCheck : unsigned char { kNotChecked, kPassed, kFailed };

struct FilterCompileResult {
    bool ok = false;
    int failingIndex = -1;                      // the first source that failed; -1 when ok
    CompileStatus failingStatus = kCompileOk;  // its parse result
    int failingOffset = -1;                     // where its parse stopped; -1 when not known
    std::array<SourceCheck, kSourceCount> sources{};  // passed ones in order, then the failure
    FilterProgram program;                      // all five roots when ok, none otherwise
};

// Checks the sources in order, stopping at the first failure (nothing is built then); when all
// pass, builds the five trees. A null source counts as empty, which is a syntax error.
FilterCompileResult compileFilter(const std::array<const char*, kSourceCount>& sources);

// Number of nodes on the longest path from the root; 0 for null.
int treeDepth(const FormulaNode* root);

}  // namespace lumen::formula
