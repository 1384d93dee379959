// The per-pixel path allocates nothing: a render makes as many allocations on a large image as
// on a small one. Counts every operator new of the program, so it is a program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace {
std::atomic<long> allocations{0};
void* allocate(std::size_t size) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace lumen::formula {
namespace {

long allocationsOfRender(const FilterProgram& program, int32_t side) {
    std::vector<uint8_t> source(static_cast<size_t>(side) * side * 4, 90), destination(source.size());
    const ImageDescription image{source.data(), side, side, true, {0, 1, 2, 3}};
    RenderSetUp setUp;
    int rows = 0;
    RowCallback onRow = [&rows](int32_t, const PixelContext&) { return ++rows > 0; };
    const long before = allocations.load();
    EXPECT_EQ(renderFilter(program, image, destination.data(), setUp, onRow), RenderOutcome::kComplete);
    return allocations.load() - before;
}

TEST(RenderAllocations, DoNotGrowWithTheImage) {
    FilterCompileResult compiled = compileFilter(
        {"texture(X,Y,8,4,3),storage(300),put(1,299)",
         "case(z,0:r,1:g,7:b)+get(299)+tex(x,y)+cnv(1,2,1,2,4,2,1,2,1,16)",
         "case(x%3,0:r,1:g,2:b)+rnd(0,9)+src(x+sin(y),y,z)+rad(d,m,z)",
         "storage(300),bmap(0,x,y)+grad(x,z)+hue(y,z)+gam(c,z)",
         "mix(a,b,x,X)+scl(y,0,Y,0,255)+add(r,g,b)"});
    ASSERT_TRUE(compiled.ok);
    EXPECT_EQ(allocationsOfRender(compiled.program, 4), allocationsOfRender(compiled.program, 64));
    // One that runs in blocks, with values kept per row, per column and per block; the image is
    // wider than a block.
    compiled = compileFilter({"texture(X,Y,8,4,3)", "tex(x,y)+cnv(1,2,1,2,4,2,1,2,1,16)+rnd(0,9)+cos(x)*sin(y)",
                              "src(x+sin(y),y,z)+rad(d,m,z)", "grad(x,z)+hue(y,z)+gam(c,z)",
                              "mix(a,b,x,X)+scl(y,0,Y,0,255)+add(r,g,b)"});
    ASSERT_TRUE(compiled.ok);
    EXPECT_EQ(allocationsOfRender(compiled.program, 4), allocationsOfRender(compiled.program, 300));
}

}  // namespace
}  // namespace lumen::formula
