// The preview window: the two ways its buffer reaches the screen (the host's displayPixels, or
// GDI with the checkerboard), its cursor, and the magnifying popup.
#include "ui/win32/preview_window.h"

#include <gtest/gtest.h>

#include "host/host_display.h"
#include "panel_harness.h"
#include "resources/resource_ids.h"
#include "ui/win32/gdi.h"
#include "ui/win32/module.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

// 16 x 16 of red, transparent everywhere when asked.
void redBuffer(plugin::ImageBuffer& buffer, uint8_t alpha) {
    ASSERT_TRUE(buffer.allocate(16, 16, plugin::ImageBuffer::kFourChannels, true));
    for (int i = 0; i < 16 * 16; ++i) {
        uint8_t* p = buffer.pixels() + i * 4;
        p[0] = 255, p[1] = 0, p[2] = 0, p[3] = alpha;
    }
}

int16_t refusingHost(const hostapi::PSPixelMap*, const hostapi::VRect*, int32_t, int32_t, void*) {
    return hostapi::paramErr;
}

struct Painted {
    COLORREF margin, first, acrossFour, downFour;
};

Painted paint(const PreviewLook& look) {
    WindowDc screen{nullptr};
    MemoryCanvas canvas{screen.get(), 20, 20};
    EXPECT_TRUE(canvas.valid());
    paintPreview(canvas.dc(), {20, 20}, look);
    // The 16-pixel buffer lies centred: from (2, 2).
    return {canvas.pixel(1, 1), canvas.pixel(2, 2), canvas.pixel(6, 2), canvas.pixel(2, 6)};
}

TEST(PreviewWindow, TheHostDrawsUnlessDirectDrawingIsAskedForOrTheHostCannot) {
    plugin::ImageBuffer clear;
    redBuffer(clear, 0);
    hostapi::FilterRecord record{};
    record.displayPixels = host::displayPixels;

    // Our host lays a transparent buffer over white; GDI shows the checkerboard behind it.
    const Painted host = paint({&clear, &record, false});
    EXPECT_EQ(host.margin, RGB(255, 255, 255));
    EXPECT_EQ(host.first, RGB(255, 255, 255));
    EXPECT_EQ(host.acrossFour, RGB(255, 255, 255));

    const Painted direct = paint({&clear, &record, true});
    EXPECT_EQ(direct.margin, RGB(255, 255, 255));
    EXPECT_EQ(direct.first, RGB(255, 255, 255));
    EXPECT_EQ(direct.acrossFour, RGB(192, 192, 192));
    EXPECT_EQ(direct.downFour, RGB(192, 192, 192));

    hostapi::FilterRecord without{};
    EXPECT_EQ(paint({&clear, &without, false}).acrossFour, RGB(192, 192, 192)) << "no displayPixels: GDI";
    hostapi::FilterRecord refusing{};
    refusing.displayPixels = refusingHost;
    EXPECT_EQ(paint({&clear, &refusing, false}).acrossFour, RGB(192, 192, 192)) << "the host's error: GDI";

    plugin::ImageBuffer opaque;
    redBuffer(opaque, 255);
    EXPECT_EQ(paint({&opaque, &record, false}).acrossFour, RGB(255, 0, 0));
    EXPECT_EQ(paint({&opaque, &record, true}).acrossFour, RGB(255, 0, 0));
    EXPECT_EQ(paint({nullptr, &record, false}).first, RGB(255, 255, 255)) << "no buffer: white";
}

uint32_t halfTransparent(int x, int) { return x < 150 ? 0x2060C0FFu : 0x2060C000u; }

TEST(PreviewWindow, MagnifierCursorAndAPopupAtTwiceTheSizeUntilThePointerLeaves) {
    PanelHarness harness{300, 200, halfTransparent, true};
    harness.run([&](HWND) {
        HWND panel = harness.panel().window().handle();
        HWND preview = GetDlgItem(panel, kPreviewWindowId);
        ASSERT_TRUE(preview);
        char name[32] = {};
        GetClassNameA(preview, name, sizeof name);
        EXPECT_STREQ(name, "WndPreview");
        saveScreenshot(harness.parent(), "preview-checkerboard");

        HCURSOR shown = nullptr;
        harness.onUiThread([&] {
            SendMessageA(preview, WM_SETCURSOR, reinterpret_cast<WPARAM>(preview), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            shown = GetCursor();
        });
        EXPECT_EQ(shown, LoadCursorA(pluginModule(), MAKEINTRESOURCEA(kMagnifierCursor)));

        RECT client;
        GetClientRect(preview, &client);
        POINT centre{client.right / 2, client.bottom / 2};
        ClientToScreen(preview, &centre);
        SetCursorPos(centre.x, centre.y);
        postMouse(preview, WM_LBUTTONDOWN, MK_LBUTTON, client.right / 2, client.bottom / 2);
        postMouse(preview, WM_LBUTTONUP, 0, client.right / 2, client.bottom / 2);
        HWND popup = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (popup = FindWindowA("WndPreviewPopup", nullptr)) != nullptr; }));
        RECT placed;
        GetWindowRect(popup, &placed);
        EXPECT_EQ(placed.right - placed.left, 2 * client.right + 2);
        EXPECT_EQ(placed.bottom - placed.top, 2 * client.bottom + 2);
        saveScreenshot(popup, "preview-popup");
        harness.settle();
        EXPECT_TRUE(IsWindow(popup)) << "the pointer is still inside";

        SetCursorPos(placed.right + 20, placed.bottom + 20);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(popup); })) << "the 100 ms timer closes it";
    });
}

}  // namespace
}  // namespace lumen::ui
