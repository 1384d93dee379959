#include <cstring>
#include <new>

#include "formula/formula_tokens.h"
#include "formula/parse_state.h"
#include "formula_scanner.hpp"

namespace lumen::formula {
namespace detail {

// The copy ends in two NULs, as the scanner's in-memory buffers require.
ScannerSession::ScannerSession(const char* text) {
    const std::size_t length = text ? std::strlen(text) : 0;
    copy_.reset(new (std::nothrow) char[length + 2]);
    if (!copy_) return;
    if (length > 0) std::memcpy(copy_.get(), text, length);
    copy_[length] = copy_[length + 1] = '\0';
    yyscan_t scanner = nullptr;
    if (formula_scan_lex_init_extra(ScanPosition{}, &scanner) != 0) return;
    scanner_.reset(scanner);
    if (!formula_scan__scan_buffer(copy_.get(), length + 2, scanner)) scanner_.reset();
}

int lastTokenStart(void* scanner) {
    return formula_scan_get_extra(scanner).tokenStart;
}

void ScannerSession::ScannerDeleter::operator()(void* scanner) const {
    formula_scan_lex_destroy(scanner);
}

}  // namespace detail

std::vector<ScannedToken> scanFormulaTokens(const char* text) {
    std::vector<ScannedToken> tokens;
    detail::ScannerSession session(text);
    if (!session.ready()) return tokens;
    for (;;) {
        ScannedToken token{};
        token.code = detail::scanToken(&token.value, session.scanner());
        if (token.code == kEndOfInput) break;
        tokens.push_back(token);
    }
    return tokens;
}

}  // namespace lumen::formula
