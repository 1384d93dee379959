#include "random_formula.h"

#include <initializer_list>
#include <iterator>


namespace lumen::formula::testing_support {
namespace {

// Argument shapes, one letter per argument:
//   V any value      X, Y coordinates near x and y   C channel      A angle     M magnitude
//   K control index  S cell index   N colour index   Q 0..3         B byte      W kernel weight
//   D divisor        L positive literal   G gamma exponent   R gradient index
struct Shape {
    const char* name;
    const char* arguments;
};

constexpr Shape kShapes[] = {
    {"src", "XYC"}, {"asrc", "XYC"}, {"dst", "XYC"}, {"rad", "AMC"}, {"arad", "AMC"},
    {"val", "KVV"}, {"i", "XY"}, {"put", "VS"}, {"min", "VV"}, {"max", "VV"}, {"rnd", "BB"},
    {"c2d", "VV"}, {"c2m", "VV"}, {"r2x", "AM"}, {"r2y", "AM"}, {"map", "QB"}, {"gam", "BN"},
    {"sbd", "XY"}, {"grad", "BC"}, {"tex", "XY"}, {"hue", "BN"}, {"sin", "A"}, {"cos", "A"},
    {"tan", "A"}, {"ctl", "K"}, {"get", "S"}, {"abs", "V"}, {"sqr", "V"}, {"tri", "A"},
    {"rst", "L"}, {"frg", "N"}, {"bkg", "N"}, {"hmin", "C"}, {"hmax", "C"}, {"sgn", "V"},
    {"bell", "B"}, {"dif", "VV"}, {"add", "VVV"}, {"sub", "VVV"}, {"mix", "VVBD"},
    {"scl", "VVVVV"}, {"cnv", "WWWWWWWWWD"}, {"icnv", "WWWWWWWWWD"},
    {"xycnv", "XYWWWWWWWWWD"}, {"gamma", "GGG"}, {"nbd", "XYQ"}, {"bmap", "QXY"},
    {"bmapsize", "LL"}, {"gradient", "R"}, {"srcmode", "Q"}, {"storage", "L"},
    {"texture", "LLQQL"},
};

// Spellings that name the same built-in.
const char* spelling(const char* name, uint32_t roll) {
    static constexpr const char* kVariants[][3] = {
        {"src", "src0", "src1"}, {"asrc", "asrc0", "asrc1"}, {"dst", "dst0", "dst1"},
        {"rad", "rad0", "rad1"}, {"arad", "arad0", "arad1"}, {"cnv", "cnv0", "cnv1"},
        {"icnv", "icnv0", "icnv1"}, {"i", "i0", "i1"},
    };
    for (const auto& variants : kVariants)
        if (std::string(variants[0]) == name) return variants[roll % 3];
    return name;
}

constexpr const char* kBinary[] = {"+", "-", "*", "/", "%", "**", "&", "|", "^", "&&", "||",
                                   "==", "!=", "<=", ">=", "<", ">", "<<", ">>"};
constexpr const char* kUnary[] = {"-", "+", "!", "~"};

}  // namespace

// splitmix64: the same numbers from the same seed on every compiler and library.
uint32_t RandomFormulaGenerator::below(uint32_t bound) {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z % bound);
}

const char* RandomFormulaGenerator::pick(std::initializer_list<const char*> choices) {
    return choices.begin()[below(static_cast<uint32_t>(choices.size()))];
}

std::string RandomFormulaGenerator::next(int maxDepth, std::size_t maxLength) {
    for (;;) {
        std::string text = expression(maxDepth, true);
        if (chance(10)) text += pick({" // note", "\n// note\n", "\t"});
        if (text.size() <= maxLength) return text;
    }
}

std::string RandomFormulaGenerator::space() {
    const uint32_t roll = below(20);
    if (roll < 14) return "";
    if (roll < 18) return " ";
    return roll == 18 ? "\n" : " // c\n";
}

// topLevel: outside every parenthesis, where a comma separates a sequence.
std::string RandomFormulaGenerator::expression(int depth, bool topLevel) {
    if (depth <= 0) return leaf();
    const uint32_t roll = below(100);
    if (roll < 20) return leaf();
    if (roll < 50) {
        const char* op = kBinary[below(std::size(kBinary))];
        return expression(depth - 1, topLevel) + space() + op + space() +
               expression(depth - 1, topLevel);
    }
    if (roll < 57) return kUnary[below(std::size(kUnary))] + expression(depth - 1, topLevel);
    if (roll < 64)
        return expression(depth - 1, topLevel) + " ? " + expression(depth - 1, topLevel) + " : " +
               expression(depth - 1, topLevel);
    if (roll < 68 && topLevel)
        return expression(depth - 1, true) + "," + space() + expression(depth - 1, true);
    if (roll < 75) return "(" + expression(depth - 1, false) + ")";
    if (roll < 79) return caseExpression(depth);
    return call(depth);
}

std::string RandomFormulaGenerator::leaf() {
    if (chance(40)) return number();
    return pick({"r", "g", "b", "a", "c", "i", "t", "u", "v", "x", "y", "z", "X", "Y", "Z",
                 "d", "D", "m", "M", "total", "tmax", "p", "r0", "g1", "b0", "a1", "c0", "i1",
                 "u0", "v1", "d0", "m1", "xmax", "ymax", "zmax", "pmax", "dmax", "mmax"});
}

std::string RandomFormulaGenerator::number() {
    const uint32_t roll = below(100);
    if (roll < 60) return std::to_string(below(256));
    if (roll < 70) return std::to_string(below(100000));
    if (roll < 75) return pick({"2147483647", "2147483648", "4294967295", "4294967296"});
    if (roll < 85)
        return pick({"rmin", "gmin", "bmin", "amin", "dmin", "mmin", "imin", "umin", "vmin",
                     "pmin", "tmin"});
    return pick({"rmax", "gmax", "bmax", "amax", "imax", "umax", "vmax", "R", "G", "B", "A",
                 "C", "I", "U", "V"});
}

std::string RandomFormulaGenerator::caseExpression(int depth) {
    std::string text = "case(" + expression(depth - 1, false);
    const uint32_t entries = 1 + below(4);
    for (uint32_t label = 0; label < entries; ++label)
        text += "," + space() + std::to_string(label) + ": " + expression(depth - 1, false);
    return text + ")";
}

std::string RandomFormulaGenerator::call(int depth) {
    const Shape& shape = kShapes[below(std::size(kShapes))];
    std::string text = std::string(spelling(shape.name, below(3))) + "(";
    for (const char* letter = shape.arguments; *letter; ++letter) {
        if (letter != shape.arguments) text += "," + space();
        text += argument(*letter, depth - 1);
    }
    return text + ")";
}

// Mostly the shape's sensible range; now and then any value, to reach the edge cases.
std::string RandomFormulaGenerator::argument(char shape, int depth) {
    if (shape == 'V' || chance(10)) return expression(depth, false);
    auto literal = [this](uint32_t low, uint32_t count) { return std::to_string(low + below(count)); };
    switch (shape) {
        case 'X':
        case 'Y': {
            const std::string axis(1, shape == 'X' ? 'x' : 'y');
            const std::string size(1, shape == 'X' ? 'X' : 'Y');
            std::string coordinate = below(4) ? axis : below(2) ? size + "-" + axis : axis + "/2";
            if (chance(50)) coordinate += pick({"+", "-"}) + literal(1, 8);
            if (chance(15)) coordinate += "+(" + expression(depth, false) + ")/64";
            return coordinate;
        }
        case 'C': return chance(50) ? "z" : literal(0, 4);
        case 'A': return pick({"d+", "d-", "x*", "y*", ""}) + literal(1, 256);
        case 'M': return pick({"m/", "m+", "m-", ""}) + literal(1, 64);
        case 'K': return chance(20) ? "z" : literal(0, 8);
        case 'S': return literal(0, 16);
        case 'N': return literal(0, 3);
        case 'Q': return literal(0, 4);
        case 'B': return chance(50) ? pick({"r", "g", "b", "a", "c", "i"}) : literal(0, 256);
        case 'W': return below(4) ? literal(0, 5) : "-" + literal(1, 2);
        case 'D': return chance(5) ? "0" : literal(1, 16);
        case 'L': return literal(1, 300);
        case 'G': return literal(0, 511);
        case 'R': return chance(10) ? "-1" : literal(0, 100);
        default: return expression(depth, false);
    }
}

}  // namespace lumen::formula::testing_support
