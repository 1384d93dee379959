// `lumenforge formula eval` as a user runs it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "imaging/png_io.h"

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun lumenforge(const std::string& arguments) {
    std::string command = std::string(LUMEN_CLI_PATH) + " formula eval " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, ""};
    std::string out;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(FormulaEvalCommand, EvaluatesAtThePixelAfterCode0) {
    EXPECT_EQ(lumenforge("'x+10*y+100*z' --size 10x10 --at 3,4,2").out, "243\n");
    EXPECT_EQ(lumenforge("'r+a' --size 2x2").out, "255\n");  // zeroed, opaque, no alpha channel
    EXPECT_EQ(lumenforge("'X*1000+Y' --size 7x5").out, "7005\n");
    EXPECT_EQ(lumenforge("1").out, "1\n");
    EXPECT_EQ(lumenforge("'get(3)' --code0 'storage(10),put(9,3)'").out, "9\n");
    EXPECT_EQ(lumenforge("'ctl(2)*1000+ctl(0)' --control 2=40 --control 0=7").out, "40007\n");
    EXPECT_EQ(lumenforge("'frg(1)*1000+bkg(2)' --foreground 1,2,3 --background 4,5,6").out, "2006\n");
    EXPECT_EQ(lumenforge("'7/0'").out, "0\n");
}

TEST(FormulaEvalCommand, UsesTheLinkedInGradientsAndMaps) {
    // Gradient 0 passes through (195, 252, 244) at entry 128.
    EXPECT_EQ(lumenforge("'grad(128,0)*1000000+grad(128,1)*1000+grad(128,2)'").out, "195252244\n");
    EXPECT_NE(lumenforge("'grad(128,0)' --gradient 5").out, "195\n");
    CliRun map = lumenforge("'bmap(0,5,5)+bmap(7,9,9)'");
    EXPECT_EQ(map.status, 0);
    EXPECT_NE(map.out, "0\n");
    EXPECT_EQ(lumenforge("'bmap(8,5,5)'").out, "0\n");
}

TEST(FormulaEvalCommand, ReadsPngImages) {
    lumen::imaging::RgbaImage image;
    image.width = 3;
    image.height = 2;
    image.hasAlpha = true;
    image.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const std::string path = std::string(LUMEN_BINARY_DIR) + "/formula-eval-test.png";
    std::string error;
    ASSERT_TRUE(lumen::imaging::writePng(path, image, error)) << error;
    EXPECT_EQ(lumenforge("'c' --image " + path + " --at 2,1,3").out, "24\n");
    EXPECT_EQ(lumenforge("'Z*100+hmax(0)' --image " + path).out, "421\n");
    EXPECT_EQ(lumenforge("'src(9,9,1)' --image " + path).out, "22\n");
    EXPECT_NE(lumenforge("r --image " + path + " --size 2x2").status, 0);
    EXPECT_NE(lumenforge("r --image /no/such/file.png").status, 0);
}

TEST(FormulaEvalCommand, RefusesBadInput) {
    EXPECT_EQ(lumenforge("'1+'").status, 1);
    EXPECT_EQ(lumenforge("r --code0 '('").status, 1);
    for (const char* bad : {"r --at 5,0,0", "r --at 0,0,4", "r --at -1,0,0", "r --at 1,2", "r --at a,b,c",
                            "r --size 0x4", "r --size 4", "r --size 99999x2", "r --control 8=1",
                            "r --control 1=256", "r --control x", "r --gradient 100", "r --foreground 1,2",
                            "r --background 1,2,300"}) {
        CliRun run = lumenforge(bad);
        EXPECT_NE(run.status, 0) << bad;
        EXPECT_EQ(run.out, "") << bad;
    }
    std::string deep(3000, '-');
    EXPECT_EQ(lumenforge("'" + deep + "1'").status, 1);
}

}  // namespace
