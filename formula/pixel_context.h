#pragma once
// The record a render fills and the evaluator reads: image geometry, the current pixel, the
// filter's settings and the tables the built-ins use. Built-ins also write into it (cells,
// source mode, gamma tables, gradient selection, map size).
#include <cstdint>

namespace lumen::formula {

constexpr int kMapImageCount = 100;
constexpr int kTextureMapCount = 8;
constexpr int kMapSide = 256;                  // map images are kMapSide x kMapSide bytes
constexpr int kGradientCount = 100;
constexpr int kGradientEntries = 256;
constexpr int kGradientBytes = kGradientEntries * 4;  // one gradient: 256 entries of R, G, B, 255
constexpr int kDefaultCellCount = 256;
constexpr int kMaxCellCount = 64000;

// Whole cache lines: every render thread moves its own copy from pixel to pixel, and the copies
// lie side by side, where one thread's writes to x and y would otherwise evict the tables its
// neighbour is reading at the end of the copy before.
struct alignas(64) PixelContext {
    int32_t maxDirection;   // D
    int32_t maxMagnitude;   // M
    int32_t x;
    int32_t y;
    int32_t width;          // X
    int32_t height;         // Y
    int32_t centerX;
    int32_t centerY;
    int32_t channel;        // z
    int32_t channelCount;   // Z: 4 with alpha, else 3
    int32_t tValue;
    int32_t totalValue;
    int32_t* cells;
    int32_t cellCount;
    int32_t gammaTable[3][256];
    int32_t channelMin[4];
    int32_t channelMax[4];
    int32_t foreColour[3];
    int32_t backColour[3];
    int32_t control[8];
    const uint8_t* sourcePixels;
    const uint8_t* destPixels;
    int32_t sourceMode;
    int32_t channelMap[4];  // byte offset of channel z inside a pixel
    int32_t maxX;
    int32_t maxY;
    int32_t rowBytes;
    const uint8_t* mapImage[kMapImageCount];
    int32_t mapWidth;
    int32_t mapHeight;
    const uint8_t* currentGradient;
    const uint8_t* gradientBase;  // kGradientCount gradients of kGradientBytes, or null
    int32_t gradientByUser;
    int32_t badNodeKind;
};

}  // namespace lumen::formula
