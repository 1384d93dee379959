#pragma once
// One code table shared by the scanner, the parser and the evaluator: a token's code is also
// the kind of the syntax-tree node it builds. Character tokens use the character's own code.
#include <cstdint>

namespace lumen::formula {

enum TokenCode : int32_t {
    kEndOfInput = 0,
    kUnmatchedClose = 35,       // ')' that would take the depth below 0
    kCaseList = 0,              // node kind of a case list with further entries
    kArgumentComma = 44,
    kConditional = 63,          // '?' ':'
    kParseError = 256,
    kSequence = 258,            // ',' at parenthesis depth 0
    kCase = 259,
    kCaseEntry = 260,
    kAbs = 261,
    kAdd = 262,
    kCnv = 263,
    kCtl = 264,
    kDif = 265,
    kGet = 266,
    kPut = 267,
    kMin = 268,
    kMax = 269,
    kMix = 270,
    kRnd = 271,
    kScl = 272,
    kSqr = 273,
    kSrc = 274,
    kSub = 275,
    kVal = 276,
    kC2d = 277,
    kC2m = 278,
    kRad = 279,
    kR2x = 280,
    kR2y = 281,
    kSin = 282,
    kCos = 283,
    kTan = 284,
    kMap = 285,
    kRst = 286,
    kTotal = 287,
    kCall1 = 288,               // table-dispatched built-in with one argument
    kCall2 = 289,               // ... with two arguments (also '/' and '%')
    kCall3 = 290,               // ... with three arguments
    kDst = 291,
    kIcnv = 293,
    kXycnv = 294,
    kSrcmode = 295,
    kArad = 296,
    kAsrc = 297,
    kStorage = 298,
    kFrg = 299,
    kBkg = 300,
    kTri = 301,
    kGamma = 303,
    kGam = 304,
    kHmin = 305,
    kHmax = 306,
    kBell = 307,
    kSbd = 308,
    kNbd = 309,
    kSgn = 310,
    kBmap = 311,
    kGrad = 312,
    kGradient = 313,
    kHue = 314,
    kTexture = 315,
    kTex = 316,
    kBmapsize = 317,
    kLogicalOr = 318,
    kLogicalAnd = 319,
    kBitXor = 320,
    kBitOr = 321,
    kBitAnd = 322,
    kEqual = 323,
    kNotEqual = 324,
    kLessEqual = 325,
    kGreaterEqual = 326,
    kLess = 327,
    kGreater = 328,
    kPower = 329,
    kShiftLeft = 330,
    kShiftRight = 331,
    kNegate = 332,              // unary '-'
    kUnaryPlus = 333,
    kLogicalNot = 334,
    kBitNot = 335,
    kNumber = 336,
};

// Function indexes of the table-dispatched built-ins (node kinds kCall1..kCall3).
enum Call1Index : int32_t {
    kCall1Sin = 1, kCall1Cos, kCall1Tan, kCall1Ctl, kCall1Get, kCall1Abs, kCall1Sqr, kCall1Tri,
    kCall1Rst, kCall1Frg, kCall1Bkg, kCall1Hmin, kCall1Hmax, kCall1Sgn, kCall1Bell,
};
enum Call2Index : int32_t {
    kCall2Divide = 1, kCall2Remainder, kCall2Intensity, kCall2Put, kCall2Min, kCall2Max, kCall2Rnd,
    kCall2C2d, kCall2C2m, kCall2R2x, kCall2R2y, kCall2Map, kCall2Gam, kCall2Sbd, kCall2Grad,
    kCall2Tex, kCall2Hue,
};
enum Call3Index : int32_t {
    kCall3Val = 1, kCall3Src, kCall3Asrc, kCall3Dst, kCall3Rad, kCall3Arad,
};

}  // namespace lumen::formula
