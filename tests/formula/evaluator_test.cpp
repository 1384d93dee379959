// Operators, variables, order of evaluation and the guarded corners of the arithmetic.
#include <gtest/gtest.h>

#include "eval_fixture.h"
#include "formula/token_codes.h"

namespace lumen::formula::testing {
namespace {

class EvaluatorTest : public EvalFixture {
protected:
    void SetUp() override { makeImage(10, 8, false); }
};

TEST_F(EvaluatorTest, DivisionAndRemainderNeverFault) {
    EXPECT_EQ(eval("7/0"), 0);
    EXPECT_EQ(eval("7%0"), 0);
    EXPECT_EQ(eval("0/0"), 0);
    EXPECT_EQ(eval("-7/2"), -3);
    EXPECT_EQ(eval("-7%2"), -1);
    EXPECT_EQ(eval("7%-2"), 1);
    // INT_MIN / -1 wraps to INT_MIN; its remainder is 0.
    EXPECT_EQ(eval("(-2147483647-1)/-1"), INT32_MIN);
    EXPECT_EQ(eval("(-2147483647-1)%-1"), 0);
}

TEST_F(EvaluatorTest, ArithmeticWrapsAt32Bits) {
    EXPECT_EQ(eval("2147483647+1"), INT32_MIN);
    EXPECT_EQ(eval("-2147483647-2"), INT32_MAX);
    EXPECT_EQ(eval("65536*65536"), 0);
    EXPECT_EQ(eval("65537*65537"), 131073);
    EXPECT_EQ(eval("-(-2147483647-1)"), INT32_MIN);
}

TEST_F(EvaluatorTest, PowerShiftAndBitOperators) {
    EXPECT_EQ(eval("2**10"), 1024);
    EXPECT_EQ(eval("2**-1"), 0);
    EXPECT_EQ(eval("-2**2"), 4);
    EXPECT_EQ(eval("0**0"), 1);
    EXPECT_EQ(eval("2**40"), INT32_MIN);
    EXPECT_EQ(eval("0**-1"), INT32_MIN);
    EXPECT_EQ(eval("1<<33"), 2);
    EXPECT_EQ(eval("-8>>1"), -4);
    EXPECT_EQ(eval("-1>>31"), -1);
    EXPECT_EQ(eval("1<<31"), INT32_MIN);
    EXPECT_EQ(eval("6&3"), 2);
    EXPECT_EQ(eval("6|3"), 7);
    EXPECT_EQ(eval("6^3"), 5);
    EXPECT_EQ(eval("~0"), -1);
    EXPECT_EQ(eval("!0"), 1);
    EXPECT_EQ(eval("!5"), 0);
    EXPECT_EQ(eval("+5"), 5);
    EXPECT_EQ(eval("-3<2"), 1);
    EXPECT_EQ(eval("3>=3"), 1);
    EXPECT_EQ(eval("3!=3"), 0);
}

TEST_F(EvaluatorTest, RightOperandAndLastArgumentComeFirst) {
    // Each put appends a digit to cell 0; the final cell shows the order.
    EXPECT_EQ(eval("put(get(0)*10+1,0)-put(get(0)*10+2,0)"), 21 - 2);
    EXPECT_EQ(eval("get(0)"), 21);
    eval("put(0,0)");
    eval("min(put(get(0)*10+1,0),put(get(0)*10+2,0))");
    EXPECT_EQ(eval("get(0)"), 21);
    eval("put(0,0)");
    eval("mix(put(get(0)*10+1,0),put(get(0)*10+2,0),put(get(0)*10+3,0),put(get(0)*10+4,0))");
    EXPECT_EQ(eval("get(0)"), 4321);
    eval("put(0,0)");
    // ** is the exception: left first.
    eval("put(get(0)*10+1,0)**put(get(0)*10+2,0)");
    EXPECT_EQ(eval("get(0)"), 12);
}

TEST_F(EvaluatorTest, LogicalOperatorsAndConditionalShortCircuit) {
    EXPECT_EQ(eval("0&&put(1,0)"), 0);
    EXPECT_EQ(eval("1||put(1,0)"), 1);
    EXPECT_EQ(eval("get(0)"), 0);
    EXPECT_EQ(eval("3&&4"), 1);
    EXPECT_EQ(eval("0||-4"), 1);
    EXPECT_EQ(eval("1?put(5,1):put(6,2)"), 5);
    EXPECT_EQ(eval("get(2)"), 0);
    EXPECT_EQ(eval("0?put(5,3):put(6,4)"), 6);
    EXPECT_EQ(eval("get(3)"), 0);
    EXPECT_EQ(eval("x,y", 3, 4), 4);
}

TEST_F(EvaluatorTest, AddAndSubEvaluateTheChosenOperandsTwice) {
    EXPECT_EQ(eval("add(200,100,255)"), 255);
    EXPECT_EQ(eval("add(20,10,255)"), 30);
    EXPECT_EQ(eval("sub(10,100,0)"), 90);
    EXPECT_EQ(eval("sub(10,12,5)"), 5);
    EXPECT_EQ(eval("dif(3,10)"), 7);
    eval("add(put(get(7)+1,7),0,255)");
    EXPECT_EQ(eval("get(7)"), 2);
    eval("sub(0,0,put(get(8)+1,8))");
    EXPECT_EQ(eval("get(8)"), 2);
}

TEST_F(EvaluatorTest, CaseUsesTheLastEntryAndLabelsOfEarlierCases) {
    EXPECT_EQ(eval("case(2, 1:10, 2:20)"), 20);
    EXPECT_EQ(eval("case(2, 2:10, 2:30)"), 30);
    EXPECT_EQ(eval("case(9, 1:10, 2:20)"), 0);
    // Labels stored by an earlier case of the same render answer later selectors.
    eval("case(0, 5:55)");
    EXPECT_EQ(eval("case(5, 1:10, 2:20)"), 55);
    // Every entry is evaluated, then the selector.
    eval("case(put(get(9)*10+1,9), 1:put(get(9)*10+2,9), 2:put(get(9)*10+3,9))");
    EXPECT_EQ(eval("get(9)"), 231);
}

TEST_F(EvaluatorTest, ColourVariablesReadThePixelThroughTheChannelMap) {
    EXPECT_EQ(eval("r", 3, 2), 32);
    EXPECT_EQ(eval("g", 3, 2), 103);
    EXPECT_EQ(eval("b", 3, 2), 198);
    EXPECT_EQ(eval("a", 3, 2), 255);  // three channels
    EXPECT_EQ(eval("c", 3, 2, 1), 103);
    EXPECT_EQ(eval("c", 3, 2, 3), 255);
    makeImage(10, 8, true, {2, 1, 0, 3});
    EXPECT_EQ(eval("r", 3, 2), 32);
    EXPECT_EQ(eval("b", 3, 2), 198);
    EXPECT_EQ(eval("a", 3, 2), 55);
    EXPECT_EQ(eval("c", 3, 2, 3), 55);
    EXPECT_EQ(eval("c", 3, 2, -1), 255);
}

TEST_F(EvaluatorTest, IntensityAndColourDifferences) {
    std::fill(pixels.begin(), pixels.end(), 255);
    EXPECT_EQ(eval("i"), 254);
    EXPECT_EQ(eval("u"), 0);
    EXPECT_EQ(eval("v"), 0);
    // Pure blue: u positive, v rounds toward zero.
    for (size_t p = 0; p < pixels.size(); p += 4) pixels[p] = pixels[p + 1] = 0;
    EXPECT_EQ(eval("u"), 55);
    EXPECT_EQ(eval("v"), -12);
    EXPECT_EQ(eval("i"), 28);
}

TEST_F(EvaluatorTest, GeometryVariables) {
    EXPECT_EQ(eval("X"), 10);
    EXPECT_EQ(eval("Y"), 8);
    EXPECT_EQ(eval("Z"), 3);
    EXPECT_EQ(eval("D"), 1024);
    EXPECT_EQ(eval("M"), 6);  // sqrt(164) = 12.8 -> 12 / 2
    EXPECT_EQ(eval("total"), 256);
    EXPECT_EQ(eval("t"), 0);
    EXPECT_EQ(eval("z", 0, 0, 2), 2);
    EXPECT_EQ(eval("d", 5, 4), 0);
    EXPECT_EQ(eval("d", 5, 7), 256);
    EXPECT_EQ(eval("d", 2, 4), 512);
    EXPECT_EQ(eval("m", 8, 0), 5);
    EXPECT_EQ(eval("m", 9, 4), 4);
}

TEST_F(EvaluatorTest, UnknownOrMalformedNodesYieldZeroAndAreRemembered) {
    ContextScope scope(&context, &state);
    FormulaNode unknown{kParseError, 0, 0, nullptr};
    EXPECT_EQ(evaluate(&unknown), 0);
    EXPECT_EQ(context.badNodeKind, kParseError);
    FormulaNode capital{'R', 0, 0, nullptr};
    EXPECT_EQ(evaluate(&capital), 0);
    EXPECT_EQ(context.badNodeKind, 'R');
    FormulaNode number{kNumber, 7, 0, nullptr};
    FormulaNode* one[1] = {&number};
    FormulaNode shortPlus{'+', 0, 1, one};  // a binary operator with one child
    EXPECT_EQ(evaluate(&shortPlus), 0);
    EXPECT_EQ(context.badNodeKind, '+');
    FormulaNode badCall{kCall1, 99, 1, one};
    EXPECT_EQ(evaluate(&badCall), 0);
    EXPECT_EQ(context.badNodeKind, kCall1);
}

TEST_F(EvaluatorTest, NothingIsReadWithoutAnImageAndAPixelInIt) {
    FormulaNode red{'r', 0, 0, nullptr};
    EXPECT_EQ(eval("r", 9, 7), 97);
    {
        ContextScope scope(&context, &state);
        context.x = 10;
        EXPECT_EQ(evaluate(&red), 0);
        context.x = 0;
        context.y = -1;
        EXPECT_EQ(evaluate(&red), 0);
        PixelContext empty{};
        setContext(&empty, &state);
        EXPECT_EQ(evaluate(&red), 0);
        setContext(nullptr, nullptr);
        EXPECT_EQ(evaluate(&red), 0);
    }
    EXPECT_EQ(currentContext(), nullptr);  // the scope restored the thread's earlier state
}

}  // namespace
}  // namespace lumen::formula::testing
