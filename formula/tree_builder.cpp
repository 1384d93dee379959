#include <new>

#include "formula/parse_state.h"

namespace lumen::formula {

// Iterative, so that long left-leaning chains (a+a+a+...) cannot exhaust the call stack. On
// the way down a node's vacated child slot holds the way back up; childCount counts down.
void freeFormula(FormulaNode* root) {
    FormulaNode* up = nullptr;
    FormulaNode* node = root;
    while (node) {
        if (node->children && node->childCount > 0) {
            const int32_t last = --node->childCount;
            FormulaNode* child = node->children[last];
            if (!child) continue;
            node->children[last] = up;
            up = node;
            node = child;
            continue;
        }
        delete[] node->children;
        delete node;
        node = up;
        if (up) up = up->children[up->childCount];
    }
}

namespace detail {

FormulaNode* makeLeaf(ParseState& state, int32_t kind, int32_t value) {
    return makeNode(state, kind, value, {});
}

FormulaNode* makeNode(ParseState& state, int32_t kind, int32_t value,
                      std::initializer_list<FormulaNode*> children) {
    if (!state.buildTree) return nullptr;
    auto* node = new (std::nothrow) FormulaNode{};
    FormulaNode** slots = nullptr;
    if (node && children.size() > 0) slots = new (std::nothrow) FormulaNode* [children.size()] {};
    if (!node || (children.size() > 0 && !slots)) {
        delete node;
        for (FormulaNode* child : children) freeFormula(child);
        state.outOfMemory = true;
        return nullptr;
    }
    node->kind = kind;
    node->value = value;
    node->childCount = static_cast<int32_t>(children.size());
    node->children = slots;
    int32_t index = 0;
    for (FormulaNode* child : children) slots[index++] = child;
    return node;
}

void* allocateParserStack(ParseState& state, std::size_t bytes) {
    void* stack = ::operator new(bytes, std::nothrow);
    if (!stack) state.outOfMemory = true;
    return stack;
}

void releaseParserStack(void* stack) { ::operator delete(stack); }

}  // namespace detail
}  // namespace lumen::formula
