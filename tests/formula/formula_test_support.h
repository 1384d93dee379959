#pragma once
// Shared by the formula tests: the printed tree of a text, or the result code when it fails.
#include <string>

#include "formula/formula_format.h"
#include "formula/formula_node.h"

namespace lumen::formula::testing_support {

inline std::string treeOf(const std::string& text) {
    CompileResult result = compileFormula(text.c_str(), true);
    if (result.status != kCompileOk) return "result " + std::to_string(result.status);
    return formatFormulaTree(result.root.get());
}

inline int checkOf(const std::string& text) { return compileFormula(text.c_str(), false).status; }

}  // namespace lumen::formula::testing_support
