#include "resource_description.h"

#include <cstdlib>

#include "imaging/byte_reader.h"

namespace lumen::tools {
namespace {

using imaging::ByteWriter;

uint32_t fourCharCode(std::string_view code) {
    uint32_t value = 0;
    for (char c : code) value = value << 8 | static_cast<uint8_t>(c);
    return value;
}

class ItemParser {
public:
    explicit ItemParser(std::string& error) : error_(error) {}

    // Parses items of one line into `out`; false with a message on a malformed item.
    bool parseLine(std::string_view line, ByteWriter& out) {
        size_t pos = 0;
        std::string type;
        while (nextToken(line, pos)) {
            if (token_ == "int8" || token_ == "int16" || token_ == "int32" || token_ == "code" ||
                token_ == "pstring" || token_ == "cstring") {
                type = token_;
                continue;
            }
            if (type.empty()) return fail("a value before any type word: " + token_);
            if (!encode(type, out)) return false;
        }
        return !failed_;
    }

    int lineNumber = 0;

private:
    bool fail(const std::string& message) {
        error_ = "line " + std::to_string(lineNumber) + ": " + message;
        failed_ = true;
        return false;
    }

    bool nextToken(std::string_view line, size_t& pos) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r'))
            ++pos;
        if (pos >= line.size()) return false;
        token_.clear();
        quoted_ = line[pos] == '"';
        if (quoted_) {
            for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
                if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;
                token_ += line[pos];
            }
            if (pos >= line.size()) return fail("unterminated string");
            ++pos;
            return true;
        }
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r')
            token_ += line[pos++];
        return true;
    }

    bool encode(const std::string& type, ByteWriter& out) {
        if (type == "pstring" || type == "cstring") {
            if (!quoted_) return fail("a string must be quoted: " + token_);
            if (type == "pstring") {
                if (token_.size() > 255) return fail("a length-prefixed string is at most 255 bytes");
                out.writeU8(static_cast<uint8_t>(token_.size()));
                out.writeText(token_);
            } else {
                out.writeText(token_);
                out.writeU8(0);
            }
            return true;
        }
        if (type == "code") {
            if (token_.size() != 4) return fail("a four-character code needs four characters: " + token_);
            out.writeU32(fourCharCode(token_));
            return true;
        }
        char* end = nullptr;
        long long value = std::strtoll(token_.c_str(), &end, 0);
        if (quoted_ || token_.empty() || *end != '\0') return fail("not a number: " + token_);
        if (type == "int8") {
            if (value < -128 || value > 255) return fail("out of range for int8: " + token_);
            out.writeU8(static_cast<uint8_t>(value));
        } else if (type == "int16") {
            if (value < -32768 || value > 65535) return fail("out of range for int16: " + token_);
            out.writeU16(static_cast<uint16_t>(value));
        } else {
            if (value < INT32_MIN || value > UINT32_MAX) return fail("out of range for int32: " + token_);
            out.writeU32(static_cast<uint32_t>(value));
        }
        return true;
    }

    std::string& error_;
    bool failed_ = false;
    std::string token_;
    bool quoted_ = false;
};

// Calls visit(lineNumber, line) for each line that is not blank or a comment.
template <typename Visit>
bool forEachLine(std::string_view text, Visit visit) {
    int number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#') continue;
        if (!visit(number, line.substr(first))) return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> encodeItems(std::string_view description, std::string& error) {
    ItemParser parser{error};
    ByteWriter out;
    bool ok = forEachLine(description, [&](int number, std::string_view line) {
        parser.lineNumber = number;
        return parser.parseLine(line, out);
    });
    if (!ok) return std::nullopt;
    return out.take();
}

std::optional<std::vector<uint8_t>> encodePipl(std::string_view description,
                                               std::string_view entryKey, std::string& error) {
    struct Property {
        std::string key;
        ByteWriter data;
    };
    std::vector<Property> properties;
    ItemParser parser{error};
    constexpr std::string_view kPropertyWord = "property";
    bool ok = forEachLine(description, [&](int number, std::string_view line) {
        parser.lineNumber = number;
        if (line.substr(0, kPropertyWord.size()) == kPropertyWord) {
            std::string_view rest = line.substr(kPropertyWord.size());
            size_t start = rest.find_first_not_of(" \t");
            if (start == std::string_view::npos) {
                error = "line " + std::to_string(number) + ": property without a key";
                return false;
            }
            rest = rest.substr(start);
            size_t keyEnd = rest.find_first_of(" \t\r");
            std::string key{rest.substr(0, keyEnd)};
            if (key == "ENTRY") key = entryKey;
            if (key.size() != 4) {
                error = "line " + std::to_string(number) + ": a property key has four characters";
                return false;
            }
            properties.push_back({key, {}});
            return keyEnd == std::string_view::npos || parser.parseLine(rest.substr(keyEnd), properties.back().data);
        }
        if (properties.empty()) {
            error = "line " + std::to_string(number) + ": items before the first property";
            return false;
        }
        return parser.parseLine(line, properties.back().data);
    });
    if (!ok) return std::nullopt;

    ByteWriter out;
    out.writeU16(1);
    out.writeU32(0);
    out.writeU32(static_cast<uint32_t>(properties.size()));
    for (const Property& property : properties) {
        std::vector<uint8_t> data = property.data.bytes();
        data.resize((data.size() + 3) / 4 * 4, 0);
        out.writeU32(fourCharCode("8BIM"));
        out.writeU32(fourCharCode(property.key));
        out.writeU32(0);
        out.writeU32(static_cast<uint32_t>(data.size()));
        out.writeBytes(data);
    }
    return out.take();
}

}  // namespace lumen::tools
