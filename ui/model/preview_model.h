#pragma once
// The preview without its windows: the thumbnail's size and pixels, where the buffer is drawn,
// the pixels handed to GDI (with the checkerboard behind transparent ones), and where the
// magnifying popup opens.
#include <cstdint>
#include <span>

#include "plugin/image_buffer.h"
#include "ui/model/slider_model.h"

namespace lumen::ui {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// An image of W x H scaled to fit an area (enlarged or reduced, aspect kept) with a pixel of
// margin on each side. Never below 1 x 1; nothing (0 x 0) for an empty image or area.
Size previewThumbnailSize(Size image, Size area);

// Fills `small` with box averages of `big` (same kind); the channel ranges are big's.
// False when the kinds differ or either is empty.
bool downscale(const plugin::ImageBuffer& big, plugin::ImageBuffer& small);
// The preview's destination, sized for the area and filled from the host image, and its
// source, a clone of it.
bool makePreviewThumbnail(const plugin::ImageBuffer& image, Size area, plugin::ImageBuffer& source,
                          plugin::ImageBuffer& destination);

// Top left of a buffer drawn centred in a client area.
Point centredOrigin(Size client, Size buffer);

// The background behind a transparent pixel: 192 and 255 alternating every 4 pixels across
// and down, so that the pattern repeats every 8.
uint8_t checkerboardValue(int row, int column);
// The buffer's four-channel pixels as GDI takes them (B, G, R, 255), blended over the
// checkerboard when asked. False when `scratch` is not width x height x 4 bytes or the buffer
// is not four-channel.
bool fillScratch(const plugin::ImageBuffer& buffer, bool checkerboard, std::span<uint8_t> scratch);

// The part of a screen area that lies on the screen (what a screen grab can take); empty when
// none does.
Rect clippedToScreen(Rect area, Size screen);

// The popup for a preview window at `preview` (screen coordinates, its client size): twice
// the size and a border, opened up and left of the preview, kept on a screen of `screen`.
Rect popupRect(Rect preview, Size screen);

}  // namespace lumen::ui
