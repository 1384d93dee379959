// Running out of memory at every allocation a compile makes: result 1, nothing leaked (the
// leak checker runs at exit), and never result 2 or a partial tree.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "formula/formula_format.h"
#include "formula/formula_node.h"

namespace {

// Allocations left before operator new fails; negative: never fails.
std::atomic<long> allocationsLeft{-1};

void* allocate(std::size_t size) {
    if (allocationsLeft.load() == 0) return nullptr;
    if (allocationsLeft.load() > 0) --allocationsLeft;
    return std::malloc(size ? size : 1);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* memory = allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace lumen::formula {
namespace {

struct Outcome {
    CompileStatus status;
    std::string tree;
};

Outcome compileFailingAfter(long allocations, const std::string& text, bool buildTree) {
    allocationsLeft = allocations;
    CompileResult result = compileFormula(text.c_str(), buildTree);
    allocationsLeft = -1;
    return {result.status, formatFormulaTree(result.root.get())};
}

TEST(FormulaOutOfMemory, EveryFailedAllocationGivesResult1AndReleasesTheRest) {
    const std::string deep = std::string(300, '(') + "x" + std::string(300, ')');
    const std::string texts[]{"1+x", "case(z,0:r,1:g),src(x,y,xycnv(1,2,3,4,5,6,7,8,9,0,1,2))",
                              "a?b:c?-d:~x", "sin(" + deep + ")+" + deep};
    for (const std::string& text : texts) {
        const Outcome expected = compileFailingAfter(-1, text, true);
        ASSERT_EQ(expected.status, kCompileOk) << text;
        long allocations = 0;
        for (;; ++allocations) {
            const Outcome outcome = compileFailingAfter(allocations, text, true);
            if (outcome.status == kCompileOk) {
                EXPECT_EQ(outcome.tree, expected.tree) << text;
                break;
            }
            EXPECT_EQ(outcome.status, kCompileSyntaxError) << text << " failing allocation " << allocations;
            EXPECT_EQ(outcome.tree, "") << text;
        }
        EXPECT_GT(allocations, 2) << text;
    }
}

TEST(FormulaOutOfMemory, CheckingAllocatesNoNodes) {
    EXPECT_EQ(compileFailingAfter(1, "case(z,0:r,1:g),src(x,y,z)*cnv(1,2,3,4,5,6,7,8,9,0)", false).status,
              kCompileOk);
    // The one allocation is the scanner's copy of the text.
    EXPECT_EQ(compileFailingAfter(0, "1+x", false).status, kCompileSyntaxError);
    // Growing the parser's stack is an allocation too; failing it is not a too deep formula.
    const std::string deep = std::string(300, '(') + "x" + std::string(300, ')');
    EXPECT_EQ(compileFailingAfter(1, deep, false).status, kCompileSyntaxError);
    EXPECT_EQ(compileFailingAfter(2, deep, false).status, kCompileOk);
}

}  // namespace
}  // namespace lumen::formula
