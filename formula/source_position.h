#pragma once
// Where in a source a failed parse stopped, in the terms a person editing it uses.
#include <string>

namespace lumen::formula {

struct SourcePosition {
    int line = 0;         // from 1
    int column = 0;       // from 1, in characters of that line
    int offset = 0;       // byte offset of that place in the source
    std::string excerpt;  // the text from there to the end of its line, shortened; empty at the end
};

// The place of `offset` in `text`. A stop inside a word (the parser reads "sine" as "sin" and
// fails at "e") is moved back to the word's start, so an unknown name is shown whole. An offset
// outside the text is taken as its end, and the end is shown after the last visible character.
SourcePosition locateSourcePosition(const std::string& text, int offset);

}  // namespace lumen::formula
