#pragma once
// The editable text form of the help books (docs/guide, docs/reference; described in
// docs/README.txt), parsed into a HelpDocument. The pictures are asked for, not made: the
// compiler renders each example and finds each screenshot. Faults read "FILE:LINE: message".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "help/help_document.h"

namespace lumen::help::source {

// A formula example: the five sources (Code0, red, green, blue, alpha) and the sliders it is
// rendered with into the picture its topic shows.
struct Example {
    std::string picture;  // the picture's name in the book
    std::string where;    // "FILE:LINE", for messages
    std::array<std::string, 5> code{"0", "r", "g", "b", "a"};
    std::array<int32_t, 8> controls{};
};

// A screenshot the book shows when the UI screenshots were taken; left out otherwise.
struct Screenshot {
    std::string picture;
    std::string file;  // NAME.png in the screenshot folder
};

struct ParsedBook {
    HelpDocument document;  // pictures not yet filled in
    std::vector<Example> examples;
    std::vector<Screenshot> screenshots;
};

struct SourceFile {
    std::string name;
    std::string text;
};

// Files in the order given; the first topic of the first file is the contents. Links with no
// text of their own take the title of their topic. Fails on any malformed line, on an
// example that does not compile, and on a link to no topic.
std::optional<ParsedBook> parseBook(const std::vector<SourceFile>& files, std::string& error);

// Every *.txt file of `directory` in name order.
std::optional<std::vector<SourceFile>> readSourceFiles(const std::string& directory, std::string& error);

}  // namespace lumen::help::source
