#pragma once
// The node functions of the compiled form. Each computes exactly what the tree walker computes
// for the same node, evaluating its children in the same order; the specialised ones rely on
// facts the compiler established (a constant operand, a channel known to exist, settings no
// channel source can change).
#include "formula/fast_program.h"

namespace lumen::formula::fast {

enum class Operands { kBoth, kConstantRight, kConstantLeft };

// '+', '-', '*', '&', '|', '^', comparisons and shifts; null for any other kind.
FastFunction arithmetic(int32_t kind, Operands operands);
// '/' and '%'; a constant divisor (the node's value) is neither 0 nor -1.
FastFunction division(bool remainder, bool constantDivisor);

// Leaves. sourceByte: value is the byte offset; intensity, chroma and the polar leaves read the
// current pixel.
int32_t constant(const FastNode&, FastFrame&);
int32_t column(const FastNode&, FastFrame&);
int32_t row(const FastNode&, FastFrame&);
int32_t sourceByte(const FastNode&, FastFrame&);
int32_t intensity(const FastNode&, FastFrame&);
int32_t chromaU(const FastNode&, FastFrame&);
int32_t chromaV(const FastNode&, FastFrame&);
int32_t direction(const FastNode&, FastFrame&);
int32_t magnitude(const FastNode&, FastFrame&);
int32_t unknownKind(const FastNode&, FastFrame&);  // value: the kind
// The only child's value, computed once per pixel: value is the frame's memo slot.
int32_t memoised(const FastNode&, FastFrame&);

// Operators that are not plain arithmetic.
int32_t negate(const FastNode&, FastFrame&);
int32_t bitNot(const FastNode&, FastFrame&);
int32_t logicalNot(const FastNode&, FastFrame&);
int32_t power(const FastNode&, FastFrame&);
int32_t logicalAnd(const FastNode&, FastFrame&);
int32_t logicalOr(const FastNode&, FastFrame&);
int32_t conditional(const FastNode&, FastFrame&);
int32_t sequence(const FastNode&, FastFrame&);
int32_t caseOf(const FastNode&, FastFrame&);
int32_t caseList(const FastNode&, FastFrame&);
int32_t caseEntry(const FastNode&, FastFrame&);  // value: the label
// Runs the extra nodes of the list in order and answers the value of list[value].
int32_t effectsThenOne(const FastNode&, FastFrame&);

// Table-dispatched built-ins: value is the function index.
int32_t call1(const FastNode&, FastFrame&);
int32_t call2(const FastNode&, FastFrame&);
int32_t call3(const FastNode&, FastFrame&);
int32_t sine(const FastNode&, FastFrame&);
int32_t cosine(const FastNode&, FastFrame&);
int32_t tangent(const FastNode&, FastFrame&);
int32_t triangle(const FastNode&, FastFrame&);
int32_t control(const FastNode&, FastFrame&);
int32_t cell(const FastNode&, FastFrame&);
int32_t absolute(const FastNode&, FastFrame&);
int32_t minimum(const FastNode&, FastFrame&);
int32_t maximum(const FastNode&, FastFrame&);
// rnd(a, b) with constant bounds: value is a, extra the count b - a + 1.
int32_t randomBetween(const FastNode&, FastFrame&);
// grad(a, K) with the selected gradient fixed: value is K (a channel that exists).
int32_t gradientEntry(const FastNode&, FastFrame&);
// gam(a, K) with the gamma tables fixed: value is K in 0..2.
int32_t gammaEntry(const FastNode&, FastFrame&);
// src(a, b, K) with the source mode fixed at 0 (clamp) or 1 (outside reads 0): value is the
// byte offset of channel K, which exists.
int32_t sourceClamped(const FastNode&, FastFrame&);
int32_t sourceInside(const FastNode&, FastFrame&);

// The other built-ins.
int32_t convolution(const FastNode&, FastFrame&);  // extra: 1 for icnv
// cnv with constant weights, a source mode of 0..3 and a channel that exists: value is the
// channel's byte offset.
int32_t convolutionFixed(const FastNode&, FastFrame&);
int32_t pointConvolution(const FastNode&, FastFrame&);
int32_t difference(const FastNode&, FastFrame&);
int32_t addLimited(const FastNode&, FastFrame&);
int32_t subtractLimited(const FastNode&, FastFrame&);
int32_t mix(const FastNode&, FastFrame&);
int32_t scale(const FastNode&, FastFrame&);
int32_t gamma(const FastNode&, FastFrame&);
int32_t borderRegion(const FastNode&, FastFrame&);
int32_t mapImage(const FastNode&, FastFrame&);
int32_t mapSize(const FastNode&, FastFrame&);
int32_t selectGradient(const FastNode&, FastFrame&);
int32_t sourceMode(const FastNode&, FastFrame&);
int32_t storage(const FastNode&, FastFrame&);
int32_t texture(const FastNode&, FastFrame&);

}  // namespace lumen::formula::fast
