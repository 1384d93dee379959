#include "help_compiler.h"

#include <filesystem>
#include <fstream>

#include "database_builder.h"
#include "help/help_file.h"
#include "imaging/bitmap.h"
#include "imaging/jpeg_codec.h"
#include "sample_image.h"

namespace lumen::help::source {
namespace {

std::optional<Picture> toPicture(const std::string& name, const imaging::RgbaImage& image) {
    auto bitmap = imaging::bitmapFromRows(image.pixels, image.width, image.height, size_t(image.width) * 4,
                                          imaging::kRgbaOffsets);
    if (!bitmap || image.width > 4096 || image.height > 4096) return std::nullopt;
    auto jpeg = imaging::encodeJpeg(*bitmap);
    if (!jpeg) return std::nullopt;
    return Picture{name, uint16_t(image.width), uint16_t(image.height), std::move(*jpeg)};
}

bool renderExample(const Example& example, const imaging::RgbaImage& sample, const tools::RenderTables& tables,
                   HelpDocument& document, std::string& error) {
    tools::FilterSource source;
    source.code = example.code;
    auto rendered = tools::renderFilterSource(source, example.controls, 0, sample, tables, error);
    if (!rendered) {
        error = example.where + ": " + error;
        return false;
    }
    rendered->hasAlpha = false;  // the sample is opaque; what the alpha source made is not shown
    auto picture = toPicture(example.picture, *rendered);
    if (!picture) {
        error = example.where + ": the picture could not be encoded";
        return false;
    }
    document.pictures.push_back(std::move(*picture));
    return true;
}

void dropBlocksOf(HelpDocument& document, const std::string& picture) {
    for (Topic& topic : document.topics)
        std::erase_if(topic.blocks, [&](const Block& block) {
            return block.kind == BlockKind::picture && block.spans.front().target == picture;
        });
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string pageOf(const HelpDocument& document, const std::string& id) {
    return id == document.topics.front().id ? "index.html" : id + ".html";
}

std::string spansHtml(const HelpDocument& document, const Block& block) {
    std::string html;
    for (const Span& span : block.spans) {
        switch (span.kind) {
            case SpanKind::text: html += escaped(span.text); break;
            case SpanKind::code: html += "<code>" + escaped(span.text) + "</code>"; break;
            case SpanKind::link:
                html += "<a href=\"" + pageOf(document, span.target) + "\">" + escaped(span.text) + "</a>";
                break;
        }
    }
    return html;
}

std::string topicHtml(const HelpDocument& document, const Topic& topic) {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\"><title>" + escaped(topic.title) +
                       "</title>\n<style>body{font-family:sans-serif;max-width:46em;margin:1em auto;padding:0 1em}"
                       "pre{background:#f2f2f2;padding:.5em}code{background:#f2f2f2}</style></head><body>\n";
    if (&topic != &document.topics.front())
        html += "<p><a href=\"index.html\">" + escaped(document.topics.front().title) + "</a></p>\n";
    html += "<h1>" + escaped(topic.title) + "</h1>\n";
    bool inList = false;
    for (const Block& block : topic.blocks) {
        if (inList && block.kind != BlockKind::listItem) html += "</ul>\n";
        if (!inList && block.kind == BlockKind::listItem) html += "<ul>\n";
        inList = block.kind == BlockKind::listItem;
        switch (block.kind) {
            case BlockKind::heading: html += "<h2>" + spansHtml(document, block) + "</h2>\n"; break;
            case BlockKind::paragraph: html += "<p>" + spansHtml(document, block) + "</p>\n"; break;
            case BlockKind::listItem: html += "<li>" + spansHtml(document, block) + "</li>\n"; break;
            case BlockKind::code: html += "<pre>" + escaped(block.spans.front().text) + "</pre>\n"; break;
            case BlockKind::picture: {
                const Span& span = block.spans.front();
                const Picture* picture = document.findPicture(span.target);
                html += "<p><img src=\"" + escaped(span.target) + ".jpg\" width=\"" + std::to_string(picture->width) +
                        "\" height=\"" + std::to_string(picture->height) + "\" alt=\"" + escaped(span.text) + "\">";
                if (!span.text.empty()) html += "<br>" + escaped(span.text);
                html += "</p>\n";
                break;
            }
        }
    }
    if (inList) html += "</ul>\n";
    return html + "</body></html>\n";
}

bool writeFile(const std::filesystem::path& path, const void* data, size_t size, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) error = "cannot write " + path.string();
    return static_cast<bool>(out);
}

}  // namespace

std::optional<HelpDocument> compileBook(ParsedBook book, const tools::RenderTables& tables,
                                        const std::string& screenshotDir, std::string& error) {
    HelpDocument& document = book.document;
    const imaging::RgbaImage sample = tools::makeSampleImage(kExampleWidth, kExampleHeight);
    for (const Example& example : book.examples)
        if (!renderExample(example, sample, tables, document, error)) return std::nullopt;
    for (const Screenshot& shot : book.screenshots) {
        const std::filesystem::path path = std::filesystem::path(screenshotDir) / shot.file;
        imaging::RgbaImage image;
        std::error_code ignored;
        std::string unreadable;
        if (screenshotDir.empty() || !std::filesystem::exists(path, ignored) ||
            !imaging::readPng(path.string(), image, unreadable)) {
            dropBlocksOf(document, shot.picture);
            continue;
        }
        image.hasAlpha = false;
        auto picture = toPicture(shot.picture, image);
        if (!picture) {
            error = path.string() + ": the screenshot could not be encoded";
            return std::nullopt;
        }
        document.pictures.push_back(std::move(*picture));
    }
    if (checkReferences(document) != HelpReadError::none) {
        error = "the book's links or pictures do not resolve";
        return std::nullopt;
    }
    return std::move(document);
}

bool writeHtml(const HelpDocument& document, const std::string& directory, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (code) {
        error = directory + ": " + code.message();
        return false;
    }
    for (const Topic& topic : document.topics) {
        const std::string html = topicHtml(document, topic);
        if (!writeFile(std::filesystem::path(directory) / pageOf(document, topic.id), html.data(), html.size(), error))
            return false;
    }
    for (const Picture& picture : document.pictures)
        if (!writeFile(std::filesystem::path(directory) / (picture.name + ".jpg"), picture.jpeg.data(),
                       picture.jpeg.size(), error))
            return false;
    return true;
}

}  // namespace lumen::help::source
