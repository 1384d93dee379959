#include "formula/builtin_table.h"

#include <array>

namespace lumen::formula {
namespace {

constexpr std::array kBuiltins{
    BuiltinFunction{"src", kSrc, 3, kCall3, kCall3Src},
    BuiltinFunction{"asrc", kAsrc, 3, kCall3, kCall3Asrc},
    BuiltinFunction{"dst", kDst, 3, kCall3, kCall3Dst},
    BuiltinFunction{"rad", kRad, 3, kCall3, kCall3Rad},
    BuiltinFunction{"arad", kArad, 3, kCall3, kCall3Arad},
    BuiltinFunction{"val", kVal, 3, kCall3, kCall3Val},
    BuiltinFunction{"i", 'i', 2, kCall2, kCall2Intensity},
    BuiltinFunction{"put", kPut, 2, kCall2, kCall2Put},
    BuiltinFunction{"min", kMin, 2, kCall2, kCall2Min},
    BuiltinFunction{"max", kMax, 2, kCall2, kCall2Max},
    BuiltinFunction{"rnd", kRnd, 2, kCall2, kCall2Rnd},
    BuiltinFunction{"c2d", kC2d, 2, kCall2, kCall2C2d},
    BuiltinFunction{"c2m", kC2m, 2, kCall2, kCall2C2m},
    BuiltinFunction{"r2x", kR2x, 2, kCall2, kCall2R2x},
    BuiltinFunction{"r2y", kR2y, 2, kCall2, kCall2R2y},
    BuiltinFunction{"map", kMap, 2, kCall2, kCall2Map},
    BuiltinFunction{"gam", kGam, 2, kCall2, kCall2Gam},
    BuiltinFunction{"sbd", kSbd, 2, kCall2, kCall2Sbd},
    BuiltinFunction{"grad", kGrad, 2, kCall2, kCall2Grad},
    BuiltinFunction{"tex", kTex, 2, kCall2, kCall2Tex},
    BuiltinFunction{"hue", kHue, 2, kCall2, kCall2Hue},
    BuiltinFunction{"sin", kSin, 1, kCall1, kCall1Sin},
    BuiltinFunction{"cos", kCos, 1, kCall1, kCall1Cos},
    BuiltinFunction{"tan", kTan, 1, kCall1, kCall1Tan},
    BuiltinFunction{"ctl", kCtl, 1, kCall1, kCall1Ctl},
    BuiltinFunction{"get", kGet, 1, kCall1, kCall1Get},
    BuiltinFunction{"abs", kAbs, 1, kCall1, kCall1Abs},
    BuiltinFunction{"sqr", kSqr, 1, kCall1, kCall1Sqr},
    BuiltinFunction{"tri", kTri, 1, kCall1, kCall1Tri},
    BuiltinFunction{"rst", kRst, 1, kCall1, kCall1Rst},
    BuiltinFunction{"frg", kFrg, 1, kCall1, kCall1Frg},
    BuiltinFunction{"bkg", kBkg, 1, kCall1, kCall1Bkg},
    BuiltinFunction{"hmin", kHmin, 1, kCall1, kCall1Hmin},
    BuiltinFunction{"hmax", kHmax, 1, kCall1, kCall1Hmax},
    BuiltinFunction{"sgn", kSgn, 1, kCall1, kCall1Sgn},
    BuiltinFunction{"bell", kBell, 1, kCall1, kCall1Bell},
    BuiltinFunction{"dif", kDif, 2, kDif, 0},
    BuiltinFunction{"add", kAdd, 3, kAdd, 0},
    BuiltinFunction{"sub", kSub, 3, kSub, 0},
    BuiltinFunction{"mix", kMix, 4, kMix, 0},
    BuiltinFunction{"scl", kScl, 5, kScl, 0},
    BuiltinFunction{"cnv", kCnv, 10, kCnv, 0},
    BuiltinFunction{"icnv", kIcnv, 10, kIcnv, 0},
    BuiltinFunction{"xycnv", kXycnv, 12, kXycnv, 0},
    BuiltinFunction{"gamma", kGamma, 3, kGamma, 0},
    BuiltinFunction{"nbd", kNbd, 3, kNbd, 0},
    BuiltinFunction{"bmap", kBmap, 3, kBmap, 0},
    BuiltinFunction{"bmapsize", kBmapsize, 2, kBmapsize, 0},
    BuiltinFunction{"gradient", kGradient, 1, kGradient, 0},
    BuiltinFunction{"srcmode", kSrcmode, 1, kSrcmode, 0},
    BuiltinFunction{"storage", kStorage, 1, kStorage, 0},
    BuiltinFunction{"texture", kTexture, 5, kTexture, 0},
};

}  // namespace

std::span<const BuiltinFunction> builtinFunctions() { return kBuiltins; }

const BuiltinFunction* findBuiltin(int32_t token) {
    for (const BuiltinFunction& function : kBuiltins)
        if (function.token == token) return &function;
    return nullptr;
}

NodeDispatch dispatchFor(int32_t token) {
    if (token == '/') return {kCall2, kCall2Divide};
    if (token == '%') return {kCall2, kCall2Remainder};
    if (const BuiltinFunction* function = findBuiltin(token))
        return {function->nodeKind, function->index};
    return {token, 0};
}

}  // namespace lumen::formula
