#include "formula/formula_format.h"

#include <vector>

namespace lumen::formula {

// Iterative: trees of long left-leaning chains are deeper than a call stack allows.
std::string formatFormulaTree(const FormulaNode* root) {
    std::string text;
    if (!root) return text;
    struct Frame {
        const FormulaNode* node;
        int32_t nextChild;
    };
    std::vector<Frame> pending;
    auto open = [&](const FormulaNode* node) {
        text += '(';
        text += std::to_string(node->kind);
        text += ' ';
        text += std::to_string(node->value);
        pending.push_back({node, 0});
    };
    open(root);
    while (!pending.empty()) {
        Frame& frame = pending.back();
        const FormulaNode* node = frame.node;
        if (node->children && frame.nextChild < node->childCount) {
            const FormulaNode* child = node->children[frame.nextChild++];
            text += ' ';
            if (child)
                open(child);
            else
                text += "()";
            continue;
        }
        text += ')';
        pending.pop_back();
    }
    return text;
}

}  // namespace lumen::formula
