#include "rc_translation.h"

#include <algorithm>
#include <cctype>
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

bool identifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool namesIdentifier(const std::string& line, const std::string& identifier) {
    for (size_t at = line.find(identifier); at != std::string::npos; at = line.find(identifier, at + 1)) {
        const size_t end = at + identifier.size();
        if ((at == 0 || !identifierChar(line[at - 1])) && (end == line.size() || !identifierChar(line[end]))) return true;
    }
    return false;
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
        size_t rest = line.find_first_not_of(" \t", end);
        std::string context;
        if (rest != std::string::npos && line.compare(rest, 3, "in ") == 0) {
            const size_t word = line.find_first_not_of(" \t", rest + 3);
            const size_t wordEnd = word == std::string::npos ? word : line.find_first_of(" \t", word);
            if (word == std::string::npos || wordEnd == std::string::npos) return fail("\"ENGLISH\" in IDENTIFIER = \"TRANSLATION\"");
            context = line.substr(word, wordEnd - word);
            rest = line.find_first_not_of(" \t", wordEnd);
            if (rest == std::string::npos) return fail("\"ENGLISH\" in IDENTIFIER = \"TRANSLATION\"");
        }
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
        const bool added = context.empty() ? table.texts.emplace(english, translated).second
                                           : table.inPlace.emplace(std::pair{english, context}, translated).second;
        if (!added) return fail("\"" + english + "\" a second time");
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
    static const std::regex resourceStart(R"(^(\w+)\s+(DIALOGEX|DIALOG|MENU)\b)");
    std::string out, resource;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);) {
        if (dataResource(line)) continue;
        if (std::smatch match; std::regex_search(line, match, resourceStart)) resource = match[1];
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
                const std::string* text = nullptr;
                for (const auto& [key, value] : table.inPlace)
                    if (key.first == body && (key.second == resource || namesIdentifier(line, key.second))) text = &value;
                if (!text)
                    if (auto found = table.texts.find(body); found != table.texts.end()) text = &found->second;
                if (!text) missing.insert(body);
                translated += "\"" + (text ? *text : body) + "\"";
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
