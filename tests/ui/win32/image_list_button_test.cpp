// The image-list button as it looks: captions without their "&", a disabled image in relief,
// and a hover that the timer ends once the pointer has gone.
#include "ui/win32/image_list_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ui/win32/messages.h"

namespace lumen::ui {
namespace {

constexpr SIZE kButton{60, 24};

ButtonLook textLook(const std::string& caption) {
    ButtonLook look;
    look.caption = caption;
    look.highlight = RGB(255, 255, 255);
    look.face = RGB(192, 192, 192);
    look.shadow = RGB(128, 128, 128);
    return look;
}

struct CaptionFont {
    Font font{CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial")};
};

std::vector<COLORREF> painted(const ButtonLook& look, SIZE size = kButton) {
    WindowDc screen{nullptr};
    MemoryCanvas canvas{screen.get(), size.cx, size.cy};
    EXPECT_TRUE(canvas.valid());
    paintImageListButton(canvas.dc(), size, look);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) pixels.push_back(canvas.pixel(x, y));
    return pixels;
}

size_t countOf(const std::vector<COLORREF>& pixels, COLORREF colour) {
    return static_cast<size_t>(std::count(pixels.begin(), pixels.end(), colour));
}

TEST(ImageListButton, AmpersandsAreDroppedNotUnderlined) {
    EXPECT_EQ(captionWithoutPrefixes("&Add..."), "Add...");
    EXPECT_EQ(captionWithoutPrefixes("a&&b&"), "ab");
    CaptionFont font;
    ButtonLook marked = textLook("&Add...");
    marked.font = font.font.get();
    ButtonLook plain = textLook("Add...");
    plain.font = font.font.get();
    const std::vector<COLORREF> markedPixels = painted(marked);
    EXPECT_EQ(markedPixels, painted(plain));
    EXPECT_GT(countOf(markedPixels, GetSysColor(COLOR_BTNTEXT)), 20u) << "the caption is drawn";
}

TEST(ImageListButton, FlatUntilHoveredSunkenWhenPressed) {
    const std::vector<COLORREF> flat = painted(textLook(""));
    EXPECT_EQ(flat.front(), RGB(192, 192, 192));
    ButtonLook hovered = textLook("");
    hovered.hovered = true;
    const std::vector<COLORREF> raised = painted(hovered);
    EXPECT_EQ(raised.front(), RGB(255, 255, 255));
    EXPECT_EQ(raised.back(), RGB(128, 128, 128));
    hovered.pressed = true;
    const std::vector<COLORREF> sunken = painted(hovered);
    EXPECT_EQ(sunken.front(), RGB(128, 128, 128));
    EXPECT_EQ(sunken.back(), RGB(255, 255, 255));
}

class RedSquare {
public:
    RedSquare() : images_(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0)) {
        WindowDc screen{nullptr};
        Bitmap picture{CreateCompatibleBitmap(screen.get(), 16, 16)};
        HDC dc = CreateCompatibleDC(screen.get());
        {
            Selection selected{dc, picture.get()};
            fillRect(dc, {0, 0, 16, 16}, RGB(255, 0, 255));
            fillRect(dc, {4, 4, 12, 12}, RGB(255, 0, 0));
        }
        DeleteDC(dc);
        ImageList_AddMasked(images_, picture.get(), RGB(255, 0, 255));
    }
    ~RedSquare() { ImageList_Destroy(images_); }
    HIMAGELIST get() const { return images_; }

private:
    HIMAGELIST images_;
};

TEST(ImageListButton, DisabledImageIsDrawnInRelief) {
    RedSquare square;
    ButtonLook look = textLook("");
    look.textMode = false;
    look.images = square.get();
    const SIZE size{40, 30};
    // The image lands at (12, 7): its red square covers (16, 11) .. (23, 18).
    const std::vector<COLORREF> enabled = painted(look, size);
    EXPECT_EQ(enabled[11 * 40 + 16], RGB(255, 0, 0));

    look.disabled = true;
    const std::vector<COLORREF> disabled = painted(look, size);
    EXPECT_EQ(countOf(disabled, RGB(255, 0, 0)), 0u) << "no colour of the image is left";
    EXPECT_EQ(disabled[11 * 40 + 16], look.shadow) << "the shape in the shadow colour";
    EXPECT_EQ(disabled[18 * 40 + 23], look.shadow);
    EXPECT_EQ(disabled[19 * 40 + 24], look.highlight) << "its copy one pixel right and down";
    EXPECT_EQ(disabled[19 * 40 + 17], look.highlight);
    EXPECT_EQ(disabled[5 * 40 + 5], look.face) << "around it the face";
}

// A parent that passes owner drawing back to the button, as the dialogs do.
LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return SendMessageA(draw->hwndItem, kReflectedDrawItem, 0, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class HoverWindow {
public:
    HoverWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = parentProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LumenforgeButtonTest";
        RegisterClassA(&windowClass);
        parent_ = CreateWindowExA(WS_EX_TOPMOST, "LumenforgeButtonTest", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        button_ = CreateWindowExA(0, "Button", "&Add...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 80, 24, parent_,
                                  reinterpret_cast<HMENU>(1050), GetModuleHandleA(nullptr), nullptr);
    }
    ~HoverWindow() { DestroyWindow(parent_); }
    HWND button() const { return button_; }

private:
    HWND parent_ = nullptr;
    HWND button_ = nullptr;
};

void pumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD start = GetTickCount();
    MSG message;
    while (!condition() && GetTickCount() - start < DWORD(timeoutMs)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

COLORREF topLeftOnScreen(HWND button) {
    WindowDc screen{nullptr};
    MemoryCanvas canvas{screen.get(), 4, 4};
    SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.pixel(0, 0);
}

TEST(ImageListButton, TimerEndsTheHoverOnceThePointerHasLeft) {
    HoverWindow window;
    ImageListButton button;
    ASSERT_TRUE(button.attach(window.button()));
    EXPECT_EQ(GetWindowLongA(window.button(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    POINT inside{10, 10};
    ClientToScreen(window.button(), &inside);
    SetCursorPos(inside.x, inside.y);
    SendMessageA(window.button(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(button.hovered());
    EXPECT_EQ(topLeftOnScreen(window.button()), GetSysColor(COLOR_BTNHIGHLIGHT));

    // The pointer leaves without the button hearing of it (another window covers the way out).
    SetCursorPos(inside.x + 400, inside.y + 300);
    pumpUntil([&] { return !button.hovered(); }, 2000);
    EXPECT_FALSE(button.hovered());
    EXPECT_EQ(topLeftOnScreen(window.button()), GetSysColor(COLOR_BTNFACE));
}

TEST(ImageListButton, NoHoverWhileAMouseButtonIsHeld) {
    HoverWindow window;
    ImageListButton button;
    ASSERT_TRUE(button.attach(window.button()));
    SendMessageA(window.button(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_FALSE(button.hovered());
}

}  // namespace
}  // namespace lumen::ui
