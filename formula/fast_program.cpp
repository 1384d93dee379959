#include "formula/fast_program.h"

#include <cstring>


namespace lumen::formula {

FastFrame::FastFrame(PixelContext& context, RenderState& state, const FastProgram& program)
    : evaluation{context, state}, memo(static_cast<size_t>(program.memoSlots())) {}

void FastProgram::renderRow(FastFrame& frame, int32_t y, uint8_t* row) const {
    PixelContext& c = frame.evaluation.ctx;
    c.y = y;
    const uint8_t* source = c.sourcePixels + static_cast<size_t>(y) * static_cast<uint32_t>(c.rowBytes);
    const int32_t width = c.width;
    int32_t offset[4];
    for (int z = 0; z < 4; ++z) offset[z] = c.channelMap[z];
    bool simple = true, copy = true;
    for (int z = 0; z < 4; ++z) {
        simple = simple && channels_[z].kind != ChannelKind::kGeneral;
        copy = copy && channels_[z].kind == ChannelKind::kSourceByte && channels_[z].value == offset[z];
    }
    if (copy) {
        std::memcpy(row, source, static_cast<size_t>(width) * 4);
        return;
    }
    if (simple) {
        uint8_t fixed[4];
        int32_t from[4];
        bool isFixed[4];
        for (int z = 0; z < 4; ++z) {
            isFixed[z] = channels_[z].kind == ChannelKind::kConstant;
            fixed[z] = static_cast<uint8_t>(channels_[z].value);
            from[z] = isFixed[z] ? 0 : channels_[z].value;
        }
        for (int32_t x = 0; x < width; ++x, source += 4, row += 4)
            for (int z = 0; z < 4; ++z) row[offset[z]] = isFixed[z] ? fixed[z] : source[from[z]];
        return;
    }
    for (int32_t x = 0; x < width; ++x, source += 4, row += 4) {
        c.x = x;
        frame.pixel = source;
        ++frame.pixelSerial;
        for (int z = 0; z < 4; ++z) {
            const Channel& channel = channels_[z];
            int32_t v;
            switch (channel.kind) {
            case ChannelKind::kConstant: v = channel.value; break;
            case ChannelKind::kSourceByte: v = source[channel.value]; break;
            default:
                c.channel = z;
                v = runNode(*channel.root, frame);
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                break;
            }
            row[offset[z]] = static_cast<uint8_t>(v);
        }
    }
}

}  // namespace lumen::formula
