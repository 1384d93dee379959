#include "filter_source.h"

#include <charconv>

#include "gradients.h"

namespace lumen::tools {
namespace {

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool parseInt(std::string_view text, int32_t& value) {
    text = trim(text);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [next, code] = std::from_chars(text.data(), end, value);
    return code == std::errc() && next == end;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        fields.push_back(trim(text.substr(start, bar == std::string_view::npos ? bar : bar - start)));
        if (bar == std::string_view::npos) return fields;
        start = bar + 1;
    }
}

// Which field a continuation line extends: only the two multi-line ones.
enum class Open { none, copyright, code };

class Parser {
public:
    Parser(const std::string& fileName, std::string& error) : fileName_(fileName), error_(error) {}

    std::optional<FilterSource> parse(std::string_view text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ++lineNumber_;
            if (!parseLine(line)) return std::nullopt;
            start = end + 1;
        }
        return finish();
    }

private:
    bool fail(const std::string& message) {
        error_ = fileName_ + ":" + std::to_string(lineNumber_) + ": " + message;
        return false;
    }

    bool parseLine(std::string_view line) {
        for (unsigned char byte : line)
            if ((byte < 32 && byte != '\t') || byte > 126) return fail("only printable ASCII is allowed");
        if (trim(line).empty() || line.front() == '#') return true;
        if (line.front() == ' ' || line.front() == '\t') return continueField(trim(line));
        open_ = Open::none;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return fail("expected KEY: VALUE");
        return parseField(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
    }

    bool continueField(std::string_view text) {
        if (open_ == Open::copyright) {
            if (!source_.copyright.empty()) source_.copyright += "\r\n";
            source_.copyright += text;
            return true;
        }
        if (open_ == Open::code) {
            for (int i = openFirst_; i <= openLast_; ++i) {
                std::string& code = source_.code[i];
                if (!code.empty()) code += "\r\n";
                code += text;
                if (code.size() > kMaxCodeLength) return fail("code" + std::to_string(i) + " is longer than 1023 characters");
            }
            return true;
        }
        return fail("an indented line continues only copyright or code");
    }

    bool once(const std::string& key) {
        for (const std::string& seen : seen_)
            if (seen == key) return fail("'" + key + "' given twice");
        seen_.push_back(key);
        return true;
    }

    bool parseField(std::string_view key, std::string_view value) {
        if (key == "title" || key == "category" || key == "author") {
            if (!once(std::string(key))) return false;
            if (value.size() > kMaxTitleLength) return fail(std::string(key) + " is longer than 255 characters");
            (key == "title" ? source_.title : key == "category" ? source_.category : source_.author) = value;
            return true;
        }
        if (key == "copyright") {
            if (!once("copyright")) return false;
            source_.copyright = value;
            open_ = Open::copyright;
            return true;
        }
        if (key == "gradient") {
            if (!once("gradient")) return false;
            if (!parseInt(value, source_.gradient) || source_.gradient < 0 || source_.gradient >= kGradientCount)
                return fail("gradient must be a number from 0 to 99");
            return true;
        }
        if (key.starts_with("code")) return parseCode(key.substr(4), value);
        if (key.starts_with("control")) return parseControl(key.substr(7), value);
        if (key == "preset") return parsePreset(value);
        return fail("unknown key '" + std::string(key) + "'");
    }

    // "codeN" or "codeN-M": the same text for sources N to M.
    bool parseCode(std::string_view range, std::string_view value) {
        const size_t dash = range.find('-');
        int32_t first = 0, last = 0;
        if (!parseInt(range.substr(0, dash), first) ||
            !parseInt(dash == std::string_view::npos ? range : range.substr(dash + 1), last) || first < 0 ||
            last > 4 || first > last)
            return fail("code keys are code0 to code4, or a range such as code1-3");
        for (int i = first; i <= last; ++i) {
            if (!once("code" + std::to_string(i))) return false;
            source_.code[i] = value;
        }
        open_ = Open::code;
        openFirst_ = first;
        openLast_ = last;
        if (value.size() > kMaxCodeLength) return fail("code is longer than 1023 characters");
        return true;
    }

    // "control N: LABEL | on|off | VALUE"
    bool parseControl(std::string_view number, std::string_view value) {
        int32_t index = 0;
        if (!parseInt(number, index) || index < 0 || index > 7) return fail("control keys are control 0 to control 7");
        if (!once("control " + std::to_string(index))) return false;
        const std::vector<std::string_view> fields = splitFields(value);
        if (fields.size() != 3) return fail("a control is LABEL | on or off | VALUE");
        SourceControl& control = source_.controls[index];
        control.label = fields[0];
        if (control.label.empty() || control.label.size() > kMaxLabelLength)
            return fail("a control label has 1 to 79 characters");
        if (fields[1] != "on" && fields[1] != "off") return fail("a control is 'on' or 'off'");
        control.enabled = fields[1] == "on";
        if (!parseInt(fields[2], control.value) || control.value < 0 || control.value > 255)
            return fail("a control value is a number from 0 to 255");
        return true;
    }

    // "preset: NAME | V0 V1 ... V7 | GRADIENT"
    bool parsePreset(std::string_view value) {
        const std::vector<std::string_view> fields = splitFields(value);
        if (fields.size() != 3) return fail("a preset is NAME | eight values | GRADIENT");
        SourcePreset preset;
        preset.name = fields[0];
        if (preset.name.empty() || preset.name.size() > kMaxTitleLength) return fail("a preset name has 1 to 255 characters");
        for (const SourcePreset& other : source_.presets)
            if (other.name == preset.name) return fail("preset '" + preset.name + "' given twice");
        std::string_view values = fields[1];
        for (int i = 0; i < 8; ++i) {
            values = trim(values);
            const size_t space = values.find_first_of(" \t");
            if (!parseInt(values.substr(0, space), preset.values[i]) || preset.values[i] < 0 || preset.values[i] > 255)
                return fail("a preset has eight values from 0 to 255");
            values = space == std::string_view::npos ? std::string_view{} : values.substr(space);
        }
        if (!trim(values).empty()) return fail("a preset has eight values from 0 to 255");
        if (!parseInt(fields[2], preset.gradient) || preset.gradient < 0 || preset.gradient >= kGradientCount)
            return fail("a preset's gradient is a number from 0 to 99");
        source_.presets.push_back(std::move(preset));
        return true;
    }

    std::optional<FilterSource> finish() {
        for (const char* key : {"title", "category", "code0", "code1", "code2", "code3", "code4"}) {
            bool found = false;
            for (const std::string& seen : seen_) found = found || seen == key;
            if (!found) {
                error_ = fileName_ + ": '" + key + "' is missing";
                return std::nullopt;
            }
        }
        for (int i = 0; i < 5; ++i)
            if (source_.code[i].empty()) {
                error_ = fileName_ + ": code" + std::to_string(i) + " is empty";
                return std::nullopt;
            }
        if (source_.title.empty() || source_.category.empty()) {
            error_ = fileName_ + ": title and category must not be empty";
            return std::nullopt;
        }
        return std::move(source_);
    }

    const std::string& fileName_;
    std::string& error_;
    FilterSource source_;
    std::vector<std::string> seen_;
    int lineNumber_ = 0;
    Open open_ = Open::none;
    int openFirst_ = 0, openLast_ = 0;
};

}  // namespace

std::optional<FilterSource> parseFilterSource(std::string_view text, const std::string& fileName, std::string& error) {
    return Parser(fileName, error).parse(text);
}

}  // namespace lumen::tools
