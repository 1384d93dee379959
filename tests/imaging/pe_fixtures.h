#pragma once
// Paths of the resource-only DLLs built from data/*.rc, for both PE flavours.
#include <gtest/gtest.h>

#include <string>

#ifdef LUMEN_PE_FIXTURES
#define LUMEN_REQUIRE_PE_FIXTURES()
inline std::string peFixture(const std::string& arch, const std::string& name) {
    return std::string(LUMEN_PE_FIXTURES) + "/" + arch + "/" + name + ".dll";
}
#else
#define LUMEN_REQUIRE_PE_FIXTURES() GTEST_SKIP() << "no mingw windres to build the PE fixtures"
inline std::string peFixture(const std::string&, const std::string&) { return {}; }
#endif

inline const char* const kPeArches[] = {"i686", "x86_64"};
