#pragma once
// The syntax tree of one formula source. A node owns its children; trees are made by one
// compile and released by freeFormula (or by FormulaTree going out of scope).
#include <cstdint>
#include <memory>

namespace lumen::formula {

struct FormulaNode {
    int32_t kind = 0;        // a TokenCode (token_codes.h)
    int32_t value = 0;       // number literal, case label or built-in function index
    int32_t childCount = 0;  // 0..12
    FormulaNode** children = nullptr;  // in source order; null when childCount is 0
};

// Releases a tree and every node below it; null is allowed.
void freeFormula(FormulaNode* root);

struct FormulaDeleter {
    void operator()(FormulaNode* root) const { freeFormula(root); }
};
using FormulaTree = std::unique_ptr<FormulaNode, FormulaDeleter>;

// 0: valid formula; 1: syntax error (also out of memory); 2: parser stack overflow.
enum CompileStatus : int { kCompileOk = 0, kCompileSyntaxError = 1, kCompileStackOverflow = 2 };

struct CompileResult {
    CompileStatus status = kCompileSyntaxError;
    FormulaTree root;  // only with buildTree and status kCompileOk
    int errorOffset = -1;  // byte where the parse stopped when it failed on the text; else -1
};

// Parses one NUL-terminated source. With buildTree false nothing is allocated for nodes.
// Safe to call from several threads at once: all scanner and parser state lives in the call.
CompileResult compileFormula(const char* text, bool buildTree);

}  // namespace lumen::formula
