#include "formula/render_state.h"

#include <algorithm>

#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

auto findLabel(std::vector<std::pair<int32_t, int32_t>>& labels, int32_t label) {
    return std::lower_bound(labels.begin(), labels.end(), label,
                            [](const auto& entry, int32_t key) { return entry.first < key; });
}

}  // namespace

RenderState::RenderState() {
    cells_.reserve(kDefaultCellCount);
    reset();
}

void RenderState::reset() {
    cells_.assign(kDefaultCellCount, 0);
    caseLabels_.clear();
    texture.present = false;
    randomSeed = 1;
}

void RenderState::registerCaseLabels(const FormulaNode* root) {
    if (root == nullptr) return;
    // Iterative walk: trees may be deeper than a thread's stack allows for plain recursion.
    std::vector<const FormulaNode*> pending{root};
    while (!pending.empty()) {
        const FormulaNode* node = pending.back();
        pending.pop_back();
        if (node->kind == kCaseEntry) {
            auto it = findLabel(caseLabels_, node->value);
            if (it == caseLabels_.end() || it->first != node->value)
                caseLabels_.insert(it, {node->value, 0});
        }
        for (int32_t i = 0; i < node->childCount; ++i)
            if (node->children[i] != nullptr) pending.push_back(node->children[i]);
    }
}

void RenderState::storeCaseValue(int32_t label, int32_t value) {
    auto it = findLabel(caseLabels_, label);
    if (it != caseLabels_.end() && it->first == label)
        it->second = value;
    else
        caseLabels_.insert(it, {label, value});
}

int32_t RenderState::caseValue(int32_t label) const {
    auto it = std::lower_bound(caseLabels_.begin(), caseLabels_.end(), label,
                               [](const auto& entry, int32_t key) { return entry.first < key; });
    return it != caseLabels_.end() && it->first == label ? it->second : 0;
}

void RenderState::replaceCells(int32_t count, PixelContext& context) {
    cells_.assign(static_cast<size_t>(count), 0);
    attachCells(context);
}

void RenderState::attachCells(PixelContext& context) {
    context.cells = cells_.data();
    context.cellCount = static_cast<int32_t>(cells_.size());
}

}  // namespace lumen::formula
