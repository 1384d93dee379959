// Formula text from anywhere: checking and building must agree, a built tree must be whole,
// and nothing may crash, leak or read outside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/formula_format.h"
#include "formula/formula_node.h"
#include "formula/formula_tokens.h"

namespace {

// Every node has 0..12 children, all present, and a children array exactly when it has any.
bool wellFormed(const lumen::formula::FormulaNode* root) {
    std::vector<const lumen::formula::FormulaNode*> pending{root};
    while (!pending.empty()) {
        const auto* node = pending.back();
        pending.pop_back();
        if (!node || node->childCount < 0 || node->childCount > 12) return false;
        if ((node->childCount == 0) != (node->children == nullptr)) return false;
        for (int32_t k = 0; k < node->childCount; ++k) pending.push_back(node->children[k]);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // stops at a NUL below
    using namespace lumen::formula;
    const CompileResult checked = compileFormula(text.c_str(), false);
    const CompileResult built = compileFormula(text.c_str(), true);
    if (checked.status != built.status || checked.root) std::abort();
    if ((built.status == kCompileOk) != (built.root != nullptr)) std::abort();
    if (built.root && !wellFormed(built.root.get())) std::abort();
    if (built.root && formatFormulaTree(built.root.get()).empty()) std::abort();
    scanFormulaTokens(text.c_str());
    return 0;
}
