#include "formula/source_position.h"

#include <cctype>

namespace lumen::formula {
namespace {

constexpr size_t kExcerptLength = 16;

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

}  // namespace

SourcePosition locateSourcePosition(const std::string& text, int offset) {
    size_t at = offset < 0 || static_cast<size_t>(offset) > text.size() ? text.size() : static_cast<size_t>(offset);
    if (at < text.size() && isWordCharacter(text[at]))
        while (at > 0 && isWordCharacter(text[at - 1])) --at;
    // A text that ends too early is shown after its last visible character, not on the empty
    // line after it, and nothing follows it there.
    const bool atEnd = at == text.size();
    if (atEnd)
        while (at > 0 && std::isspace(static_cast<unsigned char>(text[at - 1])) != 0) --at;

    SourcePosition position;
    position.offset = static_cast<int>(at);
    size_t lineStart = 0;
    position.line = 1;
    for (size_t i = 0; i < at; ++i)
        if (text[i] == '\n') {
            ++position.line;
            lineStart = i + 1;
        }
    position.column = static_cast<int>(at - lineStart) + 1;

    if (atEnd) return position;
    size_t lineEnd = text.find_first_of("\r\n", at);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    position.excerpt = text.substr(at, lineEnd - at);
    if (position.excerpt.size() > kExcerptLength) position.excerpt = position.excerpt.substr(0, kExcerptLength - 3) + "...";
    return position;
}

}  // namespace lumen::formula
