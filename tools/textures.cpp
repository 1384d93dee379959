#include "textures.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace lumen::tools {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int N = kTextureSize;

// A fixed hash, so the textures are the same on every build machine.
uint32_t hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}
double unit(uint32_t x, uint32_t y, uint32_t seed) { return (hash(x, y, seed) & 0xFFFFFF) / double(0xFFFFFF); }

// Value noise on a lattice of `cells` per side that wraps around, so it tiles.
double tiledNoise(double x, double y, int cells, uint32_t seed) {
    const double fx = x * cells / N, fy = y * cells / N;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int gx, int gy) {
        return unit(uint32_t((gx % cells + cells) % cells), uint32_t((gy % cells + cells) % cells), seed);
    };
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Fractal sum of octaves, 0..1.
double fractal(double x, double y, int baseCells, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o, amplitude *= 0.5) {
        sum += amplitude * tiledNoise(x, y, baseCells << o, seed + uint32_t(o));
        total += amplitude;
    }
    return sum / total;
}

// Distances to the nearest and second-nearest of `cells` x `cells` jittered points, wrapping.
std::pair<double, double> cellDistances(double x, double y, int cells, uint32_t seed) {
    const double size = double(N) / cells;
    const int cx = int(x / size), cy = int(y / size);
    double first = 1e9, second = 1e9;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            const uint32_t wx = uint32_t((gx % cells + cells) % cells), wy = uint32_t((gy % cells + cells) % cells);
            const double px = (gx + unit(wx, wy, seed)) * size, py = (gy + unit(wx, wy, seed + 7)) * size;
            const double d = std::hypot(px - x, py - y);
            if (d < first) {
                second = first;
                first = d;
            } else if (d < second) {
                second = d;
            }
        }
    return {first / size, second / size};
}

uint8_t toByte(double v) { return uint8_t(std::clamp(int(std::lround(v)), 0, 255)); }

std::vector<uint8_t> render(const std::function<double(double, double)>& shade) {
    std::vector<uint8_t> texture(size_t(N) * N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) texture[size_t(y) * N + x] = toByte(shade(x + 0.5, y + 0.5));
    return texture;
}

}  // namespace

std::vector<uint8_t> makeTexture(int map) {
    switch (map) {
    case 0:  // clouds: soft fractal noise around mid-grey, never fully black
        return render([](double x, double y) {
            const double v = fractal(x, y, 4, 6, 11);
            return std::clamp(1 + 254 * std::pow(std::clamp((v - 0.22) / 0.58, 0.0, 1.0), 0.66), 1.0, 255.0);
        });
    case 1:  // canvas: woven threads
        return render([](double x, double y) {
            const double warp = 0.5 + 0.5 * std::sin(2 * kPi * x / 4), weft = 0.5 + 0.5 * std::sin(2 * kPi * y / 4);
            const bool over = (int(x / 4) + int(y / 4)) % 2 == 0;
            const double thread = over ? warp * 0.7 + weft * 0.3 : weft * 0.7 + warp * 0.3;
            return 70 + 150 * thread + 35 * (fractal(x, y, 32, 2, 21) - 0.5);
        });
    case 2:  // marble: veins bent by turbulence
        return render([](double x, double y) {
            const double turbulence = fractal(x, y, 4, 5, 31);
            const double vein = std::abs(std::sin(2 * kPi * (x / N * 2 + y / N * 1 + 2.5 * turbulence)));
            return 40 + 215 * std::pow(vein, 0.35);
        });
    case 3:  // wood: rings around an axis, disturbed by grain
        return render([](double x, double y) {
            const double grain = fractal(x, y, 8, 3, 41);
            const double rings = std::sin(2 * kPi * (4 * std::cos(2 * kPi * y / N) + 3 * std::sin(2 * kPi * x / N) + 3 * grain));
            return 90 + 70 * rings + 40 * (fractal(x, y, 64, 2, 43) - 0.5);
        });
    case 4:  // bricks: eight courses of offset bricks in mortar, each brick its own shade
        return render([](double x, double y) {
            const int course = int(y / 32);
            const double bx = x + (course % 2) * 32, inCourse = std::fmod(y, 32.0), inBrick = std::fmod(bx, 64.0);
            if (inCourse < 3 || inBrick < 3) return 205.0 + 30 * (fractal(x, y, 64, 2, 51) - 0.5);
            const double shade = unit(uint32_t(int(bx / 64) % 4), uint32_t(course), 53);
            return 70 + 80 * shade + 40 * (fractal(x, y, 32, 3, 55) - 0.5);
        });
    case 5:  // cells: distance to the nearest of jittered points
        return render([](double x, double y) { return 255 * std::min(cellDistances(x, y, 8, 61).first / 0.9, 1.0); });
    case 6:  // cracks: thin bright lines where cells meet, on black
        return render([](double x, double y) {
            const auto [first, second] = cellDistances(x, y, 6, 71);
            const double edge = second - first;
            return edge < 0.045 ? 255 * (1 - edge / 0.045) * (0.7 + 0.3 * fractal(x, y, 16, 2, 73)) : 0.0;
        });
    case 7:  // ripples: rings from three sources, summed
        return render([](double x, double y) {
            double sum = 0;
            const double sources[3][2] = {{64, 64}, {192, 96}, {110, 200}};
            for (const auto& s : sources) {
                const double dx = std::sin(kPi * (x - s[0]) / N) * N / kPi, dy = std::sin(kPi * (y - s[1]) / N) * N / kPi;
                sum += std::cos(std::hypot(dx, dy) / 5);
            }
            return 128 + 42 * sum;
        });
    default:
        return {};
    }
}

}  // namespace lumen::tools
