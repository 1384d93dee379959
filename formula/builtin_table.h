#pragma once
// The built-in functions of the formula language: spelling, argument count, and the node each
// call builds. Table-dispatched calls build kCall1..kCall3 nodes carrying a function index, so
// that one evaluator table per arity serves every function of that arity.
#include <cstdint>
#include <span>

#include "formula/token_codes.h"

namespace lumen::formula {

struct BuiltinFunction {
    const char* name;   // the keyword as written (the plain spelling, not the 0/1 variants)
    int32_t token;      // the scanner's code for the name ('i' for the intensity function)
    int32_t arity;      // exact number of arguments
    int32_t nodeKind;   // kind of the node a call builds
    int32_t index;      // function index for kCall1..kCall3 nodes, else 0
};

// Every built-in, in no particular order.
std::span<const BuiltinFunction> builtinFunctions();

// The built-in named by a scanner token, or null.
const BuiltinFunction* findBuiltin(int32_t token);

// Node kind and value for a call or operator named by `token`: table-dispatched functions and
// the '/' and '%' operators map to a kCallN kind with their index, every other token to itself.
struct NodeDispatch {
    int32_t kind;
    int32_t index;
};
NodeDispatch dispatchFor(int32_t token);

}  // namespace lumen::formula
