#pragma once
// Random valid formulas for differential and robustness tests: seeded and deterministic on
// every platform, covering every operator, built-in, variable spelling, constant and `case`,
// with arguments shaped the way real filters use them (coordinates near x and y, channels,
// control and cell indexes, small kernels) so that evaluations exercise the interesting paths.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace lumen::formula::testing_support {

class RandomFormulaGenerator {
public:
    explicit RandomFormulaGenerator(uint64_t seed) : state_(seed) {}

    // A formula that parses, nested at most maxDepth operators or calls deep and at most
    // maxLength characters long (1023: what a filter's source field holds).
    std::string next(int maxDepth = 4, std::size_t maxLength = 1023);

private:
    uint32_t below(uint32_t bound);  // 0 .. bound-1
    bool chance(uint32_t percent) { return below(100) < percent; }
    const char* pick(std::initializer_list<const char*> choices);

    std::string expression(int depth, bool topLevel);
    std::string leaf();
    std::string number();
    std::string call(int depth);
    std::string caseExpression(int depth);
    std::string argument(char shape, int depth);
    std::string space();

    uint64_t state_;
};

}  // namespace lumen::formula::testing_support
