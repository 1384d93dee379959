#include "formula/formula_node.h"
#include "formula/parse_state.h"
#include "formula_parser.hpp"

namespace lumen::formula {
namespace {

CompileResult parse(const char* text, bool buildTree) {
    CompileResult result;
    detail::ScannerSession session(text);
    if (!session.ready()) return result;

    detail::ParseState state;
    state.scanner = session.scanner();
    state.buildTree = buildTree;
    const int parsed = formula_parse(&state);
    FormulaTree root(state.root);
    if (state.outOfMemory) return result;
    if (parsed != 0) result.errorOffset = state.errorOffset;
    switch (parsed) {
        case 0:
            result.status = kCompileOk;
            result.root = std::move(root);
            break;
        case 2:
            result.status = kCompileStackOverflow;
            break;
        default:
            result.status = kCompileSyntaxError;
            break;
    }
    return result;
}

}  // namespace

CompileResult compileFormula(const char* text, bool buildTree) {
    try {  // the scanner reports running out of memory by throwing; it ends here as result 1
        return parse(text, buildTree);
    } catch (...) {
        return CompileResult{};
    }
}

}  // namespace lumen::formula
