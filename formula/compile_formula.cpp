#include <cstring>
#include <memory>
#include <new>

#include "formula/formula_node.h"
#include "formula/parse_state.h"
#include "formula_parser.hpp"
#include "formula_scanner.hpp"

namespace lumen::formula {
namespace {

struct ScannerDeleter {
    void operator()(void* scanner) const { formula_scan_lex_destroy(scanner); }
};

// One parse: a scanner over a private copy of the text (two NULs at the end, as the scanner's
// in-memory buffers require), then the parser. Exceptions stop here.
CompileResult parse(const char* text, bool buildTree) {
    CompileResult result;
    const std::size_t length = text ? std::strlen(text) : 0;
    std::unique_ptr<char[]> copy(new (std::nothrow) char[length + 2]);
    if (!copy) return result;
    if (length > 0) std::memcpy(copy.get(), text, length);
    copy[length] = copy[length + 1] = '\0';

    yyscan_t rawScanner = nullptr;
    if (formula_scan_lex_init_extra(0, &rawScanner) != 0) return result;
    std::unique_ptr<void, ScannerDeleter> scanner(rawScanner);
    if (!formula_scan__scan_buffer(copy.get(), length + 2, rawScanner)) return result;

    detail::ParseState state;
    state.scanner = rawScanner;
    state.buildTree = buildTree;
    const int parsed = formula_parse(&state);
    FormulaTree root(state.root);
    if (state.outOfMemory) return result;
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
    try {
        return parse(text, buildTree);
    } catch (...) {
        return CompileResult{};
    }
}

}  // namespace lumen::formula
