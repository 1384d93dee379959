#pragma once
// Internal to the formula front end: what one parse carries between the generated scanner, the
// generated parser and the node builders. Every parse has its own, so parses may run at once.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "formula/formula_node.h"

namespace lumen::formula::detail {

// The scanner's own state: the parenthesis depth that tells the comma kinds apart, and byte
// offsets of the current token's start and of the next character.
struct ScanPosition {
    int depth = 0;
    int tokenStart = 0;
    int next = 0;
};

// A scanner over a private copy of one text, reset to depth 0. ready() is false when memory ran
// out while setting it up.
class ScannerSession {
public:
    explicit ScannerSession(const char* text);
    ScannerSession(const ScannerSession&) = delete;
    ScannerSession& operator=(const ScannerSession&) = delete;

    bool ready() const { return scanner_ != nullptr; }
    void* scanner() const { return scanner_.get(); }

private:
    struct ScannerDeleter {
        void operator()(void* scanner) const;
    };
    std::unique_ptr<char[]> copy_;
    std::unique_ptr<void, ScannerDeleter> scanner_;
};

struct ParseState {
    void* scanner = nullptr;        // the reentrant scanner (yyscan_t)
    bool buildTree = false;
    bool outOfMemory = false;       // a node or the parser stack could not be allocated
    FormulaNode* root = nullptr;    // set when the whole text has been reduced
    int errorOffset = -1;           // start of the token the parser could not take
};

// The scanner's entry: the next token code; for numbers the value goes to *number.
int scanToken(int32_t* number, void* scanner);

// Byte offset of the token scanned last (the text's length once the end was reached).
int lastTokenStart(void* scanner);

// Node builders for the parser's actions. Without buildTree they allocate nothing and return
// null. When memory runs out they release the given children, set outOfMemory and return null.
FormulaNode* makeLeaf(ParseState& state, int32_t kind, int32_t value);
FormulaNode* makeNode(ParseState& state, int32_t kind, int32_t value,
                      std::initializer_list<FormulaNode*> children);

// The parser's stack growth, so that running out of memory there counts as out of memory
// rather than as a too deep formula.
void* allocateParserStack(ParseState& state, std::size_t bytes);
void releaseParserStack(void* stack);

}  // namespace lumen::formula::detail
