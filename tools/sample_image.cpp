#include "sample_image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace lumen::tools {
namespace {

using Colour = std::array<double, 3>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kHorizon = 0.56;
constexpr double kShore = 0.74;

Colour blend(const Colour& a, const Colour& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

// A fixed integer hash, so the grain is the same on every machine.
double hash(int x, int y, uint32_t salt) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ salt * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return double(h & 0xFFFFFF) / double(0xFFFFFF);
}

Colour hueColour(double hue) {
    const double h = (hue - std::floor(hue)) * 6;
    const double f = h - std::floor(h);
    switch (int(h)) {
    case 0: return {255, 255 * f, 0};
    case 1: return {255 * (1 - f), 255, 0};
    case 2: return {0, 255, 255 * f};
    case 3: return {0, 255 * (1 - f), 255};
    case 4: return {255 * f, 0, 255};
    default: return {255, 0, 255 * (1 - f)};
    }
}

Colour sky(double u, double v) {
    Colour colour = blend({24, 52, 140}, {250, 168, 92}, std::pow(v / kHorizon, 1.6));
    const double sunDistance = std::hypot((u - 0.72) * 4.0 / 3.0, v - 0.36);
    if (sunDistance < 0.055) return {255, 244, 196};
    colour = blend(colour, {255, 226, 150}, 0.9 * std::exp(-(sunDistance - 0.055) * 14));
    // A kite with rainbow stripes.
    const double kx = (u - 0.22) / 0.09, ky = (v - 0.16) / 0.12;
    if (std::abs(kx) + std::abs(ky) < 1) return hueColour((ky + 1) * 0.5 * 0.85);
    return colour;
}

double farRidge(double u) { return 0.40 + 0.05 * std::sin(u * 9 + 1) + 0.025 * std::sin(u * 23) + 0.012 * std::sin(u * 61); }
double nearRidge(double u) { return 0.47 + 0.045 * std::sin(u * 5 + 2) + 0.015 * std::sin(u * 37); }

Colour land(double u, double v, int x, int y) {
    if (v > nearRidge(u)) {
        const double grain = hash(x, y, 3) - 0.5;
        return blend({58, 128, 64}, {24, 70, 40}, (v - nearRidge(u)) * 10 + grain * 0.3);
    }
    const double shade = (v - farRidge(u)) * 6;
    const bool snow = v < farRidge(u) + 0.012 && farRidge(u) < 0.39;
    return snow ? Colour{236, 240, 250} : blend({120, 110, 170}, {70, 66, 120}, shade);
}

Colour upper(double u, double v, int x, int y) {
    return v > farRidge(u) ? land(u, v, x, y) : sky(u, v);
}

Colour lake(double u, double v, int x, int y, int width, int height) {
    const double ripple = 0.006 * std::sin(v * 260) * (v - kHorizon) * 8;
    const double mirrored = 2 * kHorizon - v;
    const double mu = std::clamp(u + ripple, 0.0, 0.999);
    const Colour reflected = upper(mu, mirrored, int(mu * width), int(mirrored * height));
    return blend(reflected, {20, 50, 90}, 0.35 + (v - kHorizon) * 2);
}

Colour meadow(double u, double v, int x, int y) {
    const double blade = hash(x, y / 3, 7), fine = hash(x, y, 11);
    Colour colour = blend({128, 170, 50}, {40, 96, 30}, (v - kShore) * 3 + (blade - 0.5) * 0.5 + (fine - 0.5) * 0.2);
    // Scattered flowers on a coarse lattice.
    const int cx = int(u * 60), cy = int(v * 60);
    const double pick = hash(cx, cy, 19);
    if (pick > 0.8 && std::hypot(u * 60 - cx - 0.5, v * 60 - cy - 0.5) < 0.22) {
        static const Colour petals[3] = {{230, 40, 50}, {250, 220, 40}, {250, 250, 250}};
        colour = petals[int(pick * 100) % 3];
    }
    // A chequered picnic cloth.
    if (u > 0.52 && u < 0.68 && v > 0.84 && v < 0.95)
        colour = ((int(u * 200) + int(v * 150)) % 2) ? Colour{210, 30, 40} : Colour{245, 245, 240};
    return colour;
}

struct Ball {
    double u, v, radius;
    Colour colour;
};

// Lit from the upper right, with a highlight.
bool ball(double u, double v, double aspect, Colour& colour) {
    static const Ball balls[3] = {{0.17, 0.80, 0.085, {220, 40, 40}}, {0.36, 0.87, 0.055, {30, 190, 210}},
                                  {0.86, 0.82, 0.07, {200, 60, 200}}};
    for (const Ball& b : balls) {
        const double dx = (u - b.u) * aspect / b.radius, dy = (v - b.v) / b.radius;
        const double r2 = dx * dx + dy * dy;
        if (r2 >= 1) continue;
        const double dz = std::sqrt(1 - r2);
        const double light = std::max(0.0, (dx * 0.5 - dy * 0.6 + dz * 0.62));
        const double specular = std::pow(std::max(0.0, light), 24);
        colour = blend(blend({b.colour[0] * 0.15, b.colour[1] * 0.15, b.colour[2] * 0.15}, b.colour, light),
                       {255, 255, 255}, specular);
        return true;
    }
    return false;
}

}  // namespace

imaging::RgbaImage makeSampleImage(int width, int height) {
    imaging::RgbaImage image;
    if (width < 1 || height < 1 || width > 8192 || height > 8192) return image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * size_t(height) * 4);
    const double aspect = double(width) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = (x + 0.5) / width, v = (y + 0.5) / height;
            Colour colour;
            if (!ball(u, v, aspect, colour)) {
                if (v < kHorizon) colour = upper(u, v, x, y);
                else if (v < kShore) colour = lake(u, v, x, y, width, height);
                else colour = meadow(u, v, x, y);
            }
            uint8_t* pixel = &image.pixels[(size_t(y) * width + x) * 4];
            for (int c = 0; c < 3; ++c) pixel[c] = uint8_t(std::clamp(std::lround(colour[c]), 0L, 255L));
            pixel[3] = 255;
        }
    }
    return image;
}

}  // namespace lumen::tools
