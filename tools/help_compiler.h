#pragma once
// Makes a help book from its parsed sources: every example rendered from the sample picture by
// the real renderer, the screenshots that exist read in, all kept as JPEG; and the same book as
// HTML pages for a browser.
#include <optional>
#include <string>

#include "help/help_document.h"
#include "help_source.h"
#include "render_tables.h"

namespace lumen::help::source {

// The size examples are rendered at.
constexpr int kExampleWidth = 192;
constexpr int kExampleHeight = 144;

// `screenshotDir` may be empty or missing: screenshot blocks are then left out of the book.
std::optional<HelpDocument> compileBook(ParsedBook book, const tools::RenderTables& tables,
                                        const std::string& screenshotDir, std::string& error);

// index.html for the contents, ID.html for every other topic, NAME.jpg for every picture.
bool writeHtml(const HelpDocument& document, const std::string& directory, std::string& error);

}  // namespace lumen::help::source
