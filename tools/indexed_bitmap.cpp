#include "indexed_bitmap.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "imaging/byte_reader.h"

namespace lumen::tools {
namespace {

constexpr uint32_t kSpecialColours[] = {kMagenta, kButtonFace, kButtonShadow, kButtonLight};

int red(uint32_t c) { return int(c >> 16 & 0xFF); }
int green(uint32_t c) { return int(c >> 8 & 0xFF); }
int blue(uint32_t c) { return int(c & 0xFF); }

int channel(uint32_t c, int which) { return which == 0 ? red(c) : which == 1 ? green(c) : blue(c); }

// Median cut: splits the colour set, widest channel first, into at most `count` boxes and
// returns each box's mean colour.
std::vector<uint32_t> medianCut(std::vector<uint32_t> colours, size_t count) {
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    auto widest = [&](const Box& box, int& which) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 255, high = 0;
            for (size_t i = box.begin; i < box.end; ++i) {
                low = std::min(low, channel(colours[i], c));
                high = std::max(high, channel(colours[i], c));
            }
            if (high - low > best) best = high - low, which = c;
        }
        return best;
    };
    while (boxes.size() < count) {
        int which = 0, bestRange = 0;
        size_t bestBox = boxes.size();
        for (size_t b = 0; b < boxes.size(); ++b) {
            int c = 0;
            const int range = boxes[b].end - boxes[b].begin > 1 ? widest(boxes[b], c) : 0;
            if (range > bestRange) bestRange = range, bestBox = b, which = c;
        }
        if (bestBox == boxes.size()) break;
        const Box box = boxes[bestBox];
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [which](uint32_t a, uint32_t b) { return channel(a, which) < channel(b, which); });
        const size_t middle = (box.begin + box.end) / 2;
        boxes[bestBox].end = middle;
        boxes.push_back({middle, box.end});
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) {
        long sum[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += channel(colours[i], c);
        const long n = long(box.end - box.begin);
        palette.push_back(rgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)));
    }
    return palette;
}

uint32_t nearest(const std::vector<uint32_t>& palette, uint32_t c) {
    uint32_t best = palette.front();
    long bestDistance = -1;
    for (uint32_t p : palette) {
        long distance = 0;
        for (int k = 0; k < 3; ++k) distance += long(channel(p, k) - channel(c, k)) * (channel(p, k) - channel(c, k));
        if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = p;
    }
    return best;
}

}  // namespace

void Picture::fillRect(int x, int y, int w, int h, uint32_t colour) {
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column) set(column, row, colour);
}

uint32_t blend(uint32_t from, uint32_t to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    return rgb(mix(red(from), red(to)), mix(green(from), green(to)), mix(blue(from), blue(to)));
}

std::vector<uint8_t> encodeBitmapFile(const Picture& picture) {
    std::map<uint32_t, uint8_t> index;
    for (uint32_t c : picture.pixels) {
        index.emplace(c, 0);
        if (index.size() > 256) break;
    }
    std::vector<uint32_t> palette;
    std::vector<uint32_t> mapped = picture.pixels;
    if (index.size() > 256) {
        auto special = [](uint32_t c) {
            return std::find(std::begin(kSpecialColours), std::end(kSpecialColours), c) != std::end(kSpecialColours);
        };
        std::vector<uint32_t> ordinary;
        for (uint32_t c : picture.pixels)
            if (!special(c)) ordinary.push_back(c);
        const std::vector<uint32_t> reduced = medianCut(ordinary, 256 - std::size(kSpecialColours));
        std::map<uint32_t, uint32_t> replacement;
        for (uint32_t& c : mapped) {
            if (special(c)) continue;
            auto found = replacement.find(c);
            if (found == replacement.end()) found = replacement.emplace(c, nearest(reduced, c)).first;
            c = found->second;
        }
        index.clear();
        for (uint32_t c : mapped) index.emplace(c, 0);
    }
    for (auto& [colour, slot] : index) {
        slot = static_cast<uint8_t>(palette.size());
        palette.push_back(colour);
    }

    const int rowBytes = (picture.width + 3) / 4 * 4;
    const int paletteBytes = 256 * 4;
    const int pixelOffset = 14 + 40 + paletteBytes;
    imaging::ByteWriter out;
    out.writeText("BM");
    out.writeU32(uint32_t(pixelOffset + rowBytes * picture.height));
    out.writeU32(0);
    out.writeU32(pixelOffset);
    out.writeU32(40);
    out.writeI32(picture.width);
    out.writeI32(picture.height);  // positive: rows from the bottom, as every loader takes them
    out.writeU16(1);
    out.writeU16(8);
    out.writeU32(0);
    out.writeU32(uint32_t(rowBytes * picture.height));
    out.writeU32(2835);
    out.writeU32(2835);
    out.writeU32(256);
    out.writeU32(0);
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = i < int(palette.size()) ? palette[i] : 0;
        out.writeU8(uint8_t(blue(c)));
        out.writeU8(uint8_t(green(c)));
        out.writeU8(uint8_t(red(c)));
        out.writeU8(0);
    }
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < rowBytes; ++x)
            out.writeU8(x < picture.width ? index[mapped[size_t(y) * picture.width + x]] : 0);
    return out.take();
}

}  // namespace lumen::tools
