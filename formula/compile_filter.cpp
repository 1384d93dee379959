#include "formula/compile_filter.h"

#include <utility>
#include <vector>

namespace lumen::formula {

bool FilterProgram::complete() const {
    for (const FormulaTree& root : roots)
        if (!root) return false;
    return true;
}

int treeDepth(const FormulaNode* root) {
    if (root == nullptr) return 0;
    int deepest = 0;
    std::vector<std::pair<const FormulaNode*, int>> pending{{root, 1}};
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > deepest) deepest = depth;
        for (int32_t i = 0; i < node->childCount; ++i)
            if (node->children[i] != nullptr) pending.emplace_back(node->children[i], depth + 1);
    }
    return deepest;
}

FilterCompileResult compileFilter(const std::array<const char*, kSourceCount>& sources) {
    FilterCompileResult result;
    auto fail = [&result](int index, CompileStatus status, int offset = -1) {
        result.failingIndex = index;
        result.failingStatus = status;
        result.failingOffset = offset;
        result.sources[index] = SourceCheck::kFailed;
        for (int later = index + 1; later < kSourceCount; ++later) result.sources[later] = SourceCheck::kNotChecked;
        result.program = FilterProgram{};
        return std::move(result);
    };
    for (int i = 0; i < kSourceCount; ++i) {
        const CompileResult checked = compileFormula(sources[i] ? sources[i] : "", false);
        if (checked.status != kCompileOk) return fail(i, checked.status, checked.errorOffset);
        result.sources[i] = SourceCheck::kPassed;
    }
    for (int i = 0; i < kSourceCount; ++i) {
        CompileResult built = compileFormula(sources[i], true);
        // Building can still fail (out of memory); a tree too deep to walk counts as a syntax error.
        if (built.status != kCompileOk) return fail(i, built.status);
        if (!built.root) return fail(i, kCompileSyntaxError);
        if (treeDepth(built.root.get()) > kMaxTreeDepth) return fail(i, kCompileSyntaxError);
        result.program.roots[i] = std::move(built.root);
    }
    result.ok = true;
    return result;
}

}  // namespace lumen::formula
