#include "help_source.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "formula/compile_filter.h"

namespace lumen::help::source {
namespace {

constexpr std::string_view kCodeIndent = "    ";
constexpr std::string_view kItemIndent = "  ";

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool validName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

class BookParser {
public:
    explicit BookParser(std::string& error) : error_(error) {}

    bool file(const SourceFile& file) {
        std::vector<std::string> lines;
        std::istringstream in(file.text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
        }
        name_ = file.name;
        for (size_t i = 0; i < lines.size();) {
            line_ = i + 1;
            if (!this->line(lines, i)) return false;
        }
        return true;
    }

    std::optional<ParsedBook> finish() {
        if (book_.document.topics.empty()) {
            error_ = "the book has no topic";
            return std::nullopt;
        }
        book_.document.title = book_.document.topics.front().title;
        for (Topic& topic : book_.document.topics)
            for (Block& block : topic.blocks)
                for (Span& span : block.spans) {
                    if (span.kind != SpanKind::link) continue;
                    const Topic* target = book_.document.findTopic(span.target);
                    if (!target) {
                        error_ = "topic '" + topic.id + "': link to no topic '" + span.target + "'";
                        return std::nullopt;
                    }
                    if (span.text.empty()) span.text = target->title;
                }
        return std::move(book_);
    }

private:
    bool fail(const std::string& message) {
        error_ = name_ + ":" + std::to_string(line_) + ": " + message;
        return false;
    }

    Topic* topic() { return book_.document.topics.empty() ? nullptr : &book_.document.topics.back(); }

    bool add(BlockKind kind, std::vector<Span> spans) {
        Topic* current = topic();
        if (!current) return fail("text before the first topic");
        current->blocks.push_back({kind, std::move(spans)});
        return true;
    }

    // Plain text with `code` spans and [[id]] or [[id|text]] links.
    bool inline_(std::string_view text, std::vector<Span>& spans) {
        std::string plain;
        auto flush = [&] {
            if (!plain.empty()) spans.push_back({SpanKind::text, std::move(plain), {}});
            plain.clear();
        };
        for (size_t i = 0; i < text.size();) {
            if (text[i] == '`') {
                const size_t end = text.find('`', i + 1);
                if (end == std::string_view::npos) return fail("` without its closing `");
                flush();
                spans.push_back({SpanKind::code, std::string(text.substr(i + 1, end - i - 1)), {}});
                i = end + 1;
            } else if (text.substr(i, 2) == "[[") {
                const size_t end = text.find("]]", i + 2);
                if (end == std::string_view::npos) return fail("[[ without its closing ]]");
                std::string_view inside = text.substr(i + 2, end - i - 2);
                const size_t bar = inside.find('|');
                std::string_view id = bar == std::string_view::npos ? inside : inside.substr(0, bar);
                if (!validName(id)) return fail("link to a malformed topic id '" + std::string(id) + "'");
                flush();
                spans.push_back({SpanKind::link,
                                 bar == std::string_view::npos ? std::string() : std::string(inside.substr(bar + 1)),
                                 std::string(id)});
                i = end + 2;
            } else {
                plain += text[i++];
            }
        }
        flush();
        return true;
    }

    bool topicLine(std::string_view rest) {
        const size_t open = rest.rfind('{');
        if (open == std::string_view::npos || rest.back() != '}') return fail("a topic line ends in {id}");
        std::string id(rest.substr(open + 1, rest.size() - open - 2));
        std::string title(trim(rest.substr(0, open)));
        if (!validName(id)) return fail("malformed topic id '" + id + "'");
        if (title.empty()) return fail("topic '" + id + "' has no title");
        for (const Topic& existing : book_.document.topics)
            if (existing.id == id) return fail("a second topic '" + id + "'");
        book_.document.topics.push_back({id, title, {}});
        return true;
    }

    bool example(std::string_view name, const std::vector<std::string>& lines, size_t& i) {
        if (!validName(name)) return fail("malformed example name '" + std::string(name) + "'");
        Example example;
        example.picture = "example-" + std::string(name);
        example.where = name_ + ":" + std::to_string(line_);
        for (const Example& existing : book_.examples)
            if (existing.picture == example.picture) return fail("a second example '" + std::string(name) + "'");
        const size_t start = line_;
        std::string shown;
        for (; i < lines.size() && startsWith(lines[i], kCodeIndent); ++i) {
            line_ = i + 1;
            std::string_view entry = trim(lines[i]);
            const size_t colon = entry.find(':');
            if (colon == std::string_view::npos) return fail("an example line reads KEY: VALUE");
            const std::string_view key = trim(entry.substr(0, colon)), value = trim(entry.substr(colon + 1));
            static constexpr std::string_view kCodes[] = {"code0", "r", "g", "b", "a"};
            const auto code = std::find(std::begin(kCodes), std::end(kCodes), key);
            if (code != std::end(kCodes)) {
                example.code[static_cast<size_t>(code - std::begin(kCodes))] = value;
            } else if (key == "rgb") {
                example.code[1] = example.code[2] = example.code[3] = value;
            } else if (key.size() == 4 && startsWith(key, "ctl") && key[3] >= '0' && key[3] <= '7') {
                int parsed = -1;
                auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), parsed);
                if (status != std::errc() || end != value.data() + value.size() || parsed < 0 || parsed > 255)
                    return fail("a slider takes 0 to 255");
                example.controls[static_cast<size_t>(key[3] - '0')] = parsed;
            } else {
                return fail("unknown example key '" + std::string(key) + "'");
            }
            if (!shown.empty()) shown += '\n';
            shown += entry;
        }
        line_ = start;
        if (shown.empty()) return fail("an example needs at least one line");
        std::array<const char*, formula::kSourceCount> texts;
        for (size_t k = 0; k < texts.size(); ++k) texts[k] = example.code[k].c_str();
        const formula::FilterCompileResult compiled = formula::compileFilter(texts);
        if (!compiled.ok)
            return fail("example '" + std::string(name) + "': source " + std::to_string(compiled.failingIndex) +
                        " does not compile");
        if (!add(BlockKind::code, {{SpanKind::text, shown, {}}})) return false;
        if (!add(BlockKind::picture, {{SpanKind::text, "", example.picture}})) return false;
        book_.examples.push_back(std::move(example));
        return true;
    }

    bool line(const std::vector<std::string>& lines, size_t& i) {
        const std::string_view text = lines[i];
        if (trim(text).empty() || startsWith(text, "%")) return ++i, true;
        if (startsWith(text, "## ")) return ++i, headingLine(trim(text.substr(3)));
        if (startsWith(text, "# ")) return ++i, topicLine(trim(text.substr(2)));
        if (startsWith(text, "!example ")) return ++i, example(trim(text.substr(9)), lines, i);
        if (startsWith(text, "!screenshot ")) return ++i, screenshot(trim(text.substr(12)));
        if (startsWith(text, "!")) return fail("unknown directive");
        if (startsWith(text, kCodeIndent)) {
            std::string code;
            for (; i < lines.size() && startsWith(lines[i], kCodeIndent); ++i) {
                if (!code.empty()) code += '\n';
                code += std::string_view(lines[i]).substr(kCodeIndent.size());
            }
            return add(BlockKind::code, {{SpanKind::text, code, {}}});
        }
        const bool item = startsWith(text, "- ");
        std::string joined(trim(item ? text.substr(2) : text));
        for (++i; i < lines.size(); ++i) {
            std::string_view next = lines[i];
            if (trim(next).empty() || startsWith(next, "#") || startsWith(next, "!") || startsWith(next, "- ") ||
                startsWith(next, "%") || startsWith(next, kCodeIndent))
                break;
            if (item && !startsWith(next, kItemIndent)) break;
            joined += ' ';
            joined += trim(next);
        }
        std::vector<Span> spans;
        return inline_(joined, spans) && add(item ? BlockKind::listItem : BlockKind::paragraph, std::move(spans));
    }

    bool headingLine(std::string_view text) {
        std::vector<Span> spans;
        return inline_(text, spans) && add(BlockKind::heading, std::move(spans));
    }

    bool screenshot(std::string_view rest) {
        const size_t blank = rest.find(' ');
        const std::string_view name = rest.substr(0, blank);
        if (!validName(name)) return fail("malformed screenshot name '" + std::string(name) + "'");
        const std::string caption(blank == std::string_view::npos ? std::string_view() : trim(rest.substr(blank)));
        const std::string picture = "screenshot-" + std::string(name);
        if (std::none_of(book_.screenshots.begin(), book_.screenshots.end(),
                         [&](const Screenshot& shot) { return shot.picture == picture; }))
            book_.screenshots.push_back({picture, std::string(name) + ".png"});
        return add(BlockKind::picture, {{SpanKind::text, caption, picture}});
    }

    std::string& error_;
    ParsedBook book_;
    std::string name_;
    size_t line_ = 0;
};

}  // namespace

std::optional<ParsedBook> parseBook(const std::vector<SourceFile>& files, std::string& error) {
    BookParser parser(error);
    for (const SourceFile& file : files)
        if (!parser.file(file)) return std::nullopt;
    return parser.finish();
}

std::optional<std::vector<SourceFile>> readSourceFiles(const std::string& directory, std::string& error) {
    std::vector<std::filesystem::path> paths;
    std::error_code code;
    for (auto it = std::filesystem::directory_iterator(directory, code);
         !code && it != std::filesystem::directory_iterator(); it.increment(code))
        if (it->is_regular_file(code) && it->path().extension() == ".txt") paths.push_back(it->path());
    if (code) {
        error = directory + ": " + code.message();
        return std::nullopt;
    }
    std::sort(paths.begin(), paths.end());
    std::vector<SourceFile> files;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in) {
            error = "cannot read " + path.string();
            return std::nullopt;
        }
        files.push_back({path.filename().string(), text.str()});
    }
    if (files.empty()) {
        error = "no help sources in " + directory;
        return std::nullopt;
    }
    return files;
}

}  // namespace lumen::help::source
