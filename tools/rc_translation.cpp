#include "rc_translation.h"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

namespace lumen::tools {
namespace {

// The body of the literal starting at text[at] == '"' (rc doubles a quote inside), and where it ends.
bool literalAt(const std::string& text, size_t at, std::string& body, size_t& end) {
    body.clear();
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            body += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"') {
            body += "\"\"";
            ++i;
            continue;
        }
        end = i + 1;
        return true;
    }
    return false;
}

// UTF-8 letters of Latin-1 as octal escapes: the script stays ASCII and windres -c 1252 reads them.
std::optional<std::string> toScriptText(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out += utf8[i];
            continue;
        }
        // Latin-1 letters only (U+00A0 to U+00FF): where Windows-1252 agrees with Unicode.
        if ((byte != 0xC2 && byte != 0xC3) || i + 1 >= utf8.size()) return std::nullopt;
        const unsigned code = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
        if (code < 0xA0) return std::nullopt;
        ++i;
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03o", code);
        out += escape;
    }
    return out;
}

bool dataResource(const std::string& line) {
    static const std::regex data(R"(^\s*\w+\s+(PiPL|AETE|MAPS|GRAD)\s+")");
    return std::regex_search(line, data);
}

}  // namespace

std::optional<TranslationTable> parseTranslationTable(const std::string& text, std::string& error) {
    TranslationTable table;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        auto fail = [&](const std::string& message) {
            error = "line " + std::to_string(number) + ": " + message;
            return std::nullopt;
        };
        if (line.compare(first, 9, "language ") == 0) {
            std::istringstream words(line.substr(first + 9));
            std::string primary, sub;
            if (!(words >> primary >> sub)) return fail("language PRIMARY SUB");
            table.language = primary + ", " + sub;
            continue;
        }
        std::string english, translated;
        size_t end = 0;
        if (line[first] != '"' || !literalAt(line, first, english, end)) return fail("a line starts with a literal");
        const size_t rest = line.find_first_not_of(" \t", end);
        if (rest == std::string::npos) {
            translated = english;
        } else {
            const size_t quote = line.find_first_not_of(" \t", rest + 1);
            if (line[rest] != '=' || quote == std::string::npos || line[quote] != '"' ||
                !literalAt(line, quote, translated, end))
                return fail("\"ENGLISH\" = \"TRANSLATION\"");
            auto converted = toScriptText(translated);
            if (!converted) return fail("a translation holds a letter Windows-1252 does not");
            translated = *converted;
        }
        if (!table.texts.emplace(english, translated).second) return fail("\"" + english + "\" a second time");
    }
    if (table.language.empty()) {
        error = "the table names no language";
        return std::nullopt;
    }
    return table;
}

std::string translateResourceScript(const std::string& script, const TranslationTable& table,
                                    std::vector<std::string>& untranslated) {
    std::set<std::string> missing;
    std::string out;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);) {
        if (dataResource(line)) continue;
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line.compare(first, 9, "LANGUAGE ") == 0) {
            out += "LANGUAGE " + table.language + "\n";
            continue;
        }
        // Directives and comments name files and say nothing to the user.
        if (first != std::string::npos && (line.compare(first, 8, "#include") == 0 || line.compare(first, 2, "//") == 0)) {
            out += line + "\n";
            continue;
        }
        std::string translated;
        for (size_t i = 0; i < line.size();) {
            std::string body;
            size_t end = 0;
            if (line[i] == '"' && literalAt(line, i, body, end)) {
                auto found = table.texts.find(body);
                if (found == table.texts.end()) missing.insert(body);
                translated += "\"" + (found == table.texts.end() ? body : found->second) + "\"";
                i = end;
            } else {
                translated += line[i++];
            }
        }
        out += translated + "\n";
    }
    untranslated.assign(missing.begin(), missing.end());
    return out;
}

}  // namespace lumen::tools
