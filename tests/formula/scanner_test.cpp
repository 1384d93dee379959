// The token table: every lexeme the scanner knows, longest match, rule order, literals,
// comments and the depth-counted comma.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "formula/formula_tokens.h"

namespace lumen::formula {

static bool operator==(const ScannedToken& a, const ScannedToken& b) {
    return a.code == b.code && a.value == b.value;
}
static void PrintTo(const ScannedToken& token, std::ostream* out) {
    *out << "{" << token.code << ", " << token.value << "}";
}

namespace {

ScannedToken tok(int32_t code) { return {code, 0}; }
ScannedToken num(int32_t value) { return {kNumber, value}; }

std::vector<ScannedToken> scan(const std::string& text) { return scanFormulaTokens(text.c_str()); }

TEST(FormulaScanner, EveryKeywordHasItsCode) {
    const std::vector<std::pair<const char*, int32_t>> keywords{
        {"case", 259}, {"abs", 261}, {"add", 262}, {"cnv", 263}, {"ctl", 264}, {"dif", 265},
        {"get", 266}, {"put", 267}, {"min", 268}, {"max", 269}, {"mix", 270}, {"rnd", 271},
        {"scl", 272}, {"sqr", 273}, {"src", 274}, {"sub", 275}, {"val", 276}, {"c2d", 277},
        {"c2m", 278}, {"rad", 279}, {"r2x", 280}, {"r2y", 281}, {"sin", 282}, {"cos", 283},
        {"tan", 284}, {"map", 285}, {"rst", 286}, {"tmax", 287}, {"total", 287}, {"dst", 291},
        {"icnv", 293}, {"xycnv", 294}, {"srcmode", 295}, {"arad", 296}, {"asrc", 297},
        {"storage", 298}, {"frg", 299}, {"bkg", 300}, {"tri", 301}, {"gamma", 303}, {"gam", 304},
        {"hmin", 305}, {"hmax", 306}, {"bell", 307}, {"sbd", 308}, {"nbd", 309}, {"sgn", 310},
        {"bmap", 311}, {"grad", 312}, {"gradient", 313}, {"hue", 314}, {"texture", 315},
        {"tex", 316}, {"bmapsize", 317},
    };
    for (const auto& [lexeme, code] : keywords)
        EXPECT_THAT(scan(lexeme), testing::ElementsAre(tok(code))) << lexeme;
}

TEST(FormulaScanner, SpelledVariantsScanAsTheirBaseToken) {
    const std::vector<std::pair<const char*, int32_t>> variants{
        {"cnv0", 263}, {"cnv1", 263}, {"src0", 274}, {"src1", 274}, {"rad0", 279},
        {"rad1", 279}, {"dst0", 291}, {"dst1", 291}, {"icnv0", 293}, {"icnv1", 293},
        {"arad0", 296}, {"arad1", 296}, {"asrc0", 297}, {"asrc1", 297},
        {"r0", 'r'}, {"r1", 'r'}, {"g0", 'g'}, {"g1", 'g'}, {"b0", 'b'}, {"b1", 'b'},
        {"a0", 'a'}, {"a1", 'a'}, {"c0", 'c'}, {"c1", 'c'}, {"i0", 'i'}, {"i1", 'i'},
        {"u0", 'u'}, {"u1", 'u'}, {"v0", 'v'}, {"v1", 'v'}, {"d0", 'd'}, {"d1", 'd'},
        {"m0", 'm'}, {"m1", 'm'}, {"p", 'z'}, {"xmax", 'X'}, {"ymax", 'Y'}, {"zmax", 'Z'},
        {"pmax", 'Z'}, {"dmax", 'D'}, {"mmax", 'M'},
    };
    for (const auto& [lexeme, code] : variants)
        EXPECT_THAT(scan(lexeme), testing::ElementsAre(tok(code))) << lexeme;
}

TEST(FormulaScanner, VariablesAreTheirOwnCharacterCodes) {
    for (char letter : std::string("rgbacituvxyzdmXYZDM"))
        EXPECT_THAT(scan(std::string(1, letter)), testing::ElementsAre(tok(letter))) << letter;
}

TEST(FormulaScanner, NamedConstantsAreNumbers) {
    for (const char* zero : {"rmin", "gmin", "bmin", "amin", "dmin", "mmin", "imin", "umin",
                             "vmin", "pmin", "tmin"})
        EXPECT_THAT(scan(zero), testing::ElementsAre(num(0))) << zero;
    for (const char* full : {"rmax", "gmax", "bmax", "amax", "imax", "umax", "vmax", "R", "G",
                             "B", "A", "C", "I", "U", "V"})
        EXPECT_THAT(scan(full), testing::ElementsAre(num(255))) << full;
}

TEST(FormulaScanner, OperatorsHaveTheirCodes) {
    EXPECT_THAT(scan("** == != <= >= << >> > < ! && || & | ^ ~"),
                testing::ElementsAre(tok(329), tok(323), tok(324), tok(325), tok(326), tok(330),
                                     tok(331), tok(328), tok(327), tok(334), tok(319), tok(318),
                                     tok(322), tok(321), tok(320), tok(335)));
    EXPECT_THAT(scan("%*+-/:?()"),
                testing::ElementsAre(tok('%'), tok('*'), tok('+'), tok('-'), tok('/'), tok(':'),
                                     tok('?'), tok('('), tok(')')));
    // Longest match: three characters split as two plus one, never one plus two.
    EXPECT_THAT(scan("***"), testing::ElementsAre(tok(329), tok('*')));
    EXPECT_THAT(scan("<<="), testing::ElementsAre(tok(330), tok('=')));
    EXPECT_THAT(scan("&&&"), testing::ElementsAre(tok(319), tok(322)));
    EXPECT_THAT(scan("!=="), testing::ElementsAre(tok(324), tok('=')));
}

TEST(FormulaScanner, LongestMatchThenRuleOrder) {
    EXPECT_THAT(scan("srcx"), testing::ElementsAre(tok(274), tok('x')));
    EXPECT_THAT(scan("gamm"), testing::ElementsAre(tok(304), tok('m')));
    EXPECT_THAT(scan("gammas"), testing::ElementsAre(tok(303), tok('s')));
    EXPECT_THAT(scan("src0"), testing::ElementsAre(tok(274)));
    EXPECT_THAT(scan("src2"), testing::ElementsAre(tok(274), num(2)));
    EXPECT_THAT(scan("srcmodes"), testing::ElementsAre(tok(295), tok('s')));
    EXPECT_THAT(scan("bmapsizes"), testing::ElementsAre(tok(317), tok('s')));
    EXPECT_THAT(scan("gradients"), testing::ElementsAre(tok(313), tok('s')));
    EXPECT_THAT(scan("tmax"), testing::ElementsAre(tok(287)));
    EXPECT_THAT(scan("tmaxx"), testing::ElementsAre(tok(287), tok('x')));
    EXPECT_THAT(scan("pmax"), testing::ElementsAre(tok('Z')));
    EXPECT_THAT(scan("pma"), testing::ElementsAre(tok('z'), tok('m'), tok('a')));
    EXPECT_THAT(scan("r2"), testing::ElementsAre(tok('r'), num(2)));
    EXPECT_THAT(scan("r01"), testing::ElementsAre(tok('r'), num(1)));
    EXPECT_THAT(scan("xy"), testing::ElementsAre(tok('x'), tok('y')));
    EXPECT_THAT(scan("icnv2"), testing::ElementsAre(tok(293), num(2)));
}

TEST(FormulaScanner, DecimalLiteralsWrapModulo2To32) {
    EXPECT_THAT(scan("0"), testing::ElementsAre(num(0)));
    EXPECT_THAT(scan("000123"), testing::ElementsAre(num(123)));
    EXPECT_THAT(scan("2147483647"), testing::ElementsAre(num(INT_MAX)));
    EXPECT_THAT(scan("2147483648"), testing::ElementsAre(num(INT_MIN)));
    EXPECT_THAT(scan("4294967295"), testing::ElementsAre(num(-1)));
    EXPECT_THAT(scan("4294967297"), testing::ElementsAre(num(1)));
    EXPECT_THAT(scan("99999999999999999999"), testing::ElementsAre(num(1661992959)));
    // No signs, fractions, exponents or other bases.
    EXPECT_THAT(scan("-5"), testing::ElementsAre(tok('-'), num(5)));
    EXPECT_THAT(scan("1.5"), testing::ElementsAre(num(1), tok('.'), num(5)));
    EXPECT_THAT(scan("0x1f"), testing::ElementsAre(num(0), tok('x'), num(1), tok('f')));
    EXPECT_THAT(scan("1e3"), testing::ElementsAre(num(1), tok('e'), num(3)));
}

TEST(FormulaScanner, CommentsRunToTheLineFeed) {
    EXPECT_THAT(scan("a // comment"), testing::ElementsAre(tok('a')));
    EXPECT_THAT(scan("a//x+y\nb"), testing::ElementsAre(tok('a'), tok('b')));
    EXPECT_THAT(scan("// one\n// two\r\n  c // three\n"), testing::ElementsAre(tok('c')));
    // A carriage return does not end a comment.
    EXPECT_THAT(scan("a // x\rb"), testing::ElementsAre(tok('a')));
    EXPECT_THAT(scan("a / / b"), testing::ElementsAre(tok('a'), tok('/'), tok('/'), tok('b')));
    EXPECT_THAT(scan("a///b"), testing::ElementsAre(tok('a')));
}

TEST(FormulaScanner, WhitespaceIsSkippedAndIsNoSeparatorItself) {
    EXPECT_THAT(scan(" \t\r\n"), testing::IsEmpty());
    EXPECT_THAT(scan(""), testing::IsEmpty());
    EXPECT_THAT(scanFormulaTokens(nullptr), testing::IsEmpty());
    EXPECT_THAT(scan("s r c"), testing::ElementsAre(tok('s'), tok('r'), tok('c')));
    EXPECT_THAT(scan("* *"), testing::ElementsAre(tok('*'), tok('*')));
}

TEST(FormulaScanner, CommaKindFollowsTheParenthesisDepth) {
    EXPECT_THAT(scan("src(x,y,z),r"),
                testing::ElementsAre(tok(274), tok('('), tok('x'), tok(44), tok('y'), tok(44),
                                     tok('z'), tok(')'), tok(258), tok('r')));
    EXPECT_THAT(scan("a,((b,c),d),e"),
                testing::ElementsAre(tok('a'), tok(258), tok('('), tok('('), tok('b'), tok(44),
                                     tok('c'), tok(')'), tok(44), tok('d'), tok(')'), tok(258),
                                     tok('e')));
    // An unmatched ')' takes the depth below 0, and later parentheses count from there.
    EXPECT_THAT(scan("),(,),"),
                testing::ElementsAre(tok(35), tok(258), tok('('), tok(258), tok(35), tok(258)));
    EXPECT_THAT(scan("),((,))"), testing::ElementsAre(tok(35), tok(258), tok('('), tok('('),
                                                     tok(44), tok(')'), tok(35)));
    EXPECT_THAT(scan("(()),"), testing::ElementsAre(tok('('), tok('('), tok(')'), tok(')'),
                                                   tok(258)));
}

TEST(FormulaScanner, UnknownCharactersReachTheParserAsThemselves) {
    EXPECT_THAT(scan("=#;$@"),
                testing::ElementsAre(tok('='), tok('#'), tok(';'), tok('$'), tok('@')));
    EXPECT_THAT(scan("SRC"), testing::ElementsAre(tok('S'), num(255), num(255)));
    EXPECT_THAT(scan("e f h n s E P W"),
                testing::ElementsAre(tok('e'), tok('f'), tok('h'), tok('n'), tok('s'), tok('E'),
                                     tok('P'), tok('W')));
    EXPECT_THAT(scan("\xE9\x80\xFF"), testing::ElementsAre(tok(0xE9), tok(0x80), tok(0xFF)));
}

}  // namespace
}  // namespace lumen::formula
