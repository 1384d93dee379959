#pragma once
// Evaluates formula trees against the calling thread's current context.
#include <cstdint>

#include "formula/formula_node.h"
#include "formula/pixel_context.h"
#include "formula/render_state.h"

namespace lumen::formula {

// Makes the pair current for this thread's following evaluations; both must outlive them.
// Trees evaluated with this state should have had their case labels registered, or a `case`
// allocates the first time it meets a label.
void setContext(PixelContext* context, RenderState* state);
PixelContext* currentContext();

// The tree's value; 0 when no context is current, the context has no source image or its
// current pixel lies outside it, or the tree is not whole (badNodeKind tells the node's kind).
int32_t evaluate(const FormulaNode* root);

// Restores the thread's previous context when it goes out of scope.
class ContextScope {
public:
    ContextScope(PixelContext* context, RenderState* state);
    ~ContextScope();
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

private:
    PixelContext* previousContext_;
    RenderState* previousState_;
};

}  // namespace lumen::formula
