#pragma once
// Text form of a syntax tree: "(KIND VALUE CHILD...)" with decimal kinds and values, children
// in source order. `1+x` prints as "(43 0 (336 1) (120 0))"; a null tree as "".
#include <string>

#include "formula/formula_node.h"

namespace lumen::formula {

std::string formatFormulaTree(const FormulaNode* root);

}  // namespace lumen::formula
