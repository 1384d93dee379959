#include "tools/contact_sheet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tools/bitmap_font.h"
#include "tools/sample_image.h"

namespace lumen::tools {
namespace {

imaging::RgbaImage solid(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    imaging::RgbaImage image;
    image.width = width;
    image.height = height;
    image.hasAlpha = a != 255;
    for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {r, g, b, a});
    return image;
}

const uint8_t* at(const imaging::RgbaImage& image, int x, int y) { return &image.pixels[(size_t(y) * image.width + x) * 4]; }

bool isLabel(const uint8_t* pixel) { return pixel[0] == 232 && pixel[1] == 232 && pixel[2] == 236; }

int countLabelPixels(const imaging::RgbaImage& image, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += isLabel(at(image, x, y)) ? 1 : 0;
    return count;
}

TEST(ContactSheetTest, LaysPicturesOutInAGridWithLabels) {
    const std::vector<LabelledImage> images = {
        {"Red", solid(40, 20, 255, 0, 0)}, {"Green", solid(20, 30, 0, 255, 0)}, {"Blue", solid(40, 30, 0, 0, 255)}};
    std::string error;
    const auto sheet = composeContactSheet(images, {}, error);
    ASSERT_TRUE(sheet) << error;
    // Two columns of 40-pixel cells, two rows of 30-pixel cells with 13-pixel labels, 8-pixel margins.
    EXPECT_EQ(sheet->width, 8 + 2 * (40 + 8));
    EXPECT_EQ(sheet->height, 8 + 2 * (30 + 13 + 8));
    EXPECT_FALSE(sheet->hasAlpha);
    // Pictures centred in their cells, in order.
    EXPECT_EQ(at(*sheet, 8 + 20, 8 + 15)[0], 255);
    EXPECT_EQ(at(*sheet, 56 + 20, 8 + 15)[1], 255);
    EXPECT_EQ(at(*sheet, 56 + 2, 8 + 15)[1], 40);  // beside the narrower green picture: background
    EXPECT_EQ(at(*sheet, 8 + 20, 59 + 15)[2], 255);
    // Label text is drawn below each picture and nowhere else in the cell.
    EXPECT_GT(countLabelPixels(*sheet, 8, 8 + 30, 48, 8 + 43), 10);
    EXPECT_EQ(countLabelPixels(*sheet, 8, 8, 48, 8 + 30), 0);
    EXPECT_GT(countLabelPixels(*sheet, 8, 59 + 30, 104, 59 + 43), 10);
}

TEST(ContactSheetTest, ScalesDownLargePicturesAndShowsTransparency) {
    std::vector<LabelledImage> images = {{"Big", makeSampleImage(400, 300)}, {"Clear", solid(100, 75, 255, 0, 0, 0)}};
    SheetOptions options;
    options.columns = 1;
    options.maxCellWidth = 100;
    options.maxCellHeight = 100;
    std::string error;
    const auto sheet = composeContactSheet(images, options, error);
    ASSERT_TRUE(sheet) << error;
    EXPECT_EQ(sheet->width, 8 + 100 + 8);
    EXPECT_EQ(sheet->height, 8 + 2 * (75 + 13 + 8));
    // Fully transparent red shows the grey checkerboard, not red.
    const uint8_t* clear = at(*sheet, 8 + 4, 8 + 75 + 13 + 8 + 4);
    EXPECT_EQ(clear[0], clear[1]);
    EXPECT_TRUE(clear[0] == 150 || clear[0] == 200);
}

TEST(ContactSheetTest, CutsLongLabelsToTheirCell) {
    const std::vector<LabelledImage> images = {{std::string(40, 'W'), solid(30, 10, 0, 0, 0)},
                                               {"x", solid(30, 10, 0, 0, 0)}};
    SheetOptions options;
    options.columns = 2;
    std::string error;
    const auto sheet = composeContactSheet(images, options, error);
    ASSERT_TRUE(sheet) << error;
    // The margin between the two cells stays clear of label pixels.
    EXPECT_EQ(countLabelPixels(*sheet, 38, 0, 46, sheet->height), 0);
    EXPECT_GT(countLabelPixels(*sheet, 8, 18, 38, sheet->height), 10);
}

TEST(ContactSheetTest, RefusesWhatItCannotLayOut) {
    std::string error;
    EXPECT_FALSE(composeContactSheet({}, {}, error));
    imaging::RgbaImage broken = solid(4, 4, 0, 0, 0);
    broken.pixels.pop_back();
    const std::vector<LabelledImage> bad = {{"Broken", broken}};
    EXPECT_FALSE(composeContactSheet(bad, {}, error));
    EXPECT_EQ(error, "picture 'Broken' does not match its size");
    const std::vector<LabelledImage> many(5000, {"x", solid(256, 256, 0, 0, 0)});
    EXPECT_FALSE(composeContactSheet(many, {}, error));
    SheetOptions wrong;
    wrong.labelScale = 9;
    const std::vector<LabelledImage> one = {{"x", solid(4, 4, 0, 0, 0)}};
    EXPECT_FALSE(composeContactSheet(one, wrong, error));
}

TEST(BitmapFontTest, MeasuresAndDrawsGlyphs) {
    EXPECT_EQ(textWidth("", 1), 0);
    EXPECT_EQ(textWidth("Ab", 1), 11);
    EXPECT_EQ(textWidth("Ab", 2), 22);
    EXPECT_NE(glyphRows('A'), glyphRows('B'));
    EXPECT_EQ(glyphRows('\x7f'), glyphRows('\x80'));  // both unknown: the box
    imaging::RgbaImage image = solid(12, 9, 0, 0, 0);
    drawText(image, 1, 1, "I", {255, 255, 255}, 1);
    drawText(image, 10, 1, "I", {255, 255, 255}, 1);  // clipped at the right edge, no fault
    EXPECT_EQ(at(image, 1 + 2, 1 + 3)[0], 255);  // the stem of I
    EXPECT_EQ(at(image, 1, 1 + 3)[0], 0);
}

TEST(SampleImageTest, IsAColourfulDetailedOpaqueScene) {
    const imaging::RgbaImage image = makeSampleImage();
    ASSERT_EQ(image.width, 512);
    ASSERT_EQ(image.height, 384);
    EXPECT_FALSE(image.hasAlpha);
    std::set<uint32_t> colours;
    int minimum[3] = {255, 255, 255}, maximum[3] = {0, 0, 0};
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        colours.insert(image.pixels[i] << 16 | image.pixels[i + 1] << 8 | image.pixels[i + 2]);
        for (int c = 0; c < 3; ++c) {
            minimum[c] = std::min<int>(minimum[c], image.pixels[i + c]);
            maximum[c] = std::max<int>(maximum[c], image.pixels[i + c]);
        }
        EXPECT_EQ(image.pixels[i + 3], 255);
    }
    EXPECT_GT(colours.size(), 5000u);
    for (int c = 0; c < 3; ++c) EXPECT_GT(maximum[c] - minimum[c], 220) << "channel " << c;
    EXPECT_EQ(makeSampleImage().pixels, image.pixels);
    EXPECT_TRUE(makeSampleImage(0, 10).pixels.empty());
    EXPECT_TRUE(makeSampleImage(10, 8193).pixels.empty());
}

TEST(SheetCommandTest, WritesTheSheetAndRefusesBadItems) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "lumen-sheet-command";
    fs::create_directories(dir);
    std::string error;
    ASSERT_TRUE(imaging::writePng((dir / "in.png").string(), solid(30, 20, 9, 9, 9), error)) << error;
    const std::string tool = LUMEN_BINARY_DIR "/cli/lumenforge";
    const std::string out = (dir / "out.png").string();
    EXPECT_EQ(std::system((tool + " sheet '" + out + "' 'One=" + (dir / "in.png").string() + "' 'Two=" +
                           (dir / "in.png").string() + "' --columns 1 2>/dev/null").c_str()), 0);
    imaging::RgbaImage sheet;
    ASSERT_TRUE(imaging::readPng(out, sheet, error)) << error;
    EXPECT_EQ(sheet.width, 8 + 30 + 8);
    EXPECT_EQ(sheet.height, 8 + 2 * (20 + 13 + 8));
    EXPECT_NE(std::system((tool + " sheet '" + out + "' NoEquals 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " sheet '" + out + "' 'X=" + (dir / "missing.png").string() + "' 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " sheet '" + out + "' 'X=" + (dir / "in.png").string() + "' --cell 12 2>/dev/null").c_str()), 0);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace lumen::tools
