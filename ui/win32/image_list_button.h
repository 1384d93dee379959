#pragma once
// CImageListButton: the push button the pages use instead of the system's. Flat until the
// pointer is over it, raised while hovered (timer 4 ends the hover when the pointer has left),
// sunken while pressed; its caption in bold Arial without "&" prefixes, or one image of an
// image list; optionally an icon at its right while hovered. Attached to a template's button,
// which becomes owner-drawn.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <list>
#include <string>

#include "ui/win32/gdi.h"
#include "ui/win32/window.h"

namespace lumen::ui {

inline constexpr UINT_PTR kHoverTimer = 4;
inline constexpr UINT kHoverTimerMs = 100;

enum class TextAlignment { left = 0, centred = 6 };

struct ButtonLook {
    std::string caption;
    bool textMode = true;
    HIMAGELIST images = nullptr;
    int image = 0;
    TextAlignment alignment = TextAlignment::centred;
    HICON icon = nullptr;
    int iconWidth = 0;
    int iconHeight = 0;
    HFONT font = nullptr;
    COLORREF highlight = 0;
    COLORREF face = 0;
    COLORREF shadow = 0;
    bool hovered = false;
    bool pressed = false;
    bool disabled = false;
};

// The button as the user sees it, into a DC of the button's size.
void paintImageListButton(HDC dc, SIZE size, const ButtonLook& look);
// The caption without its "&" marks, as it is drawn.
std::string captionWithoutPrefixes(const std::string& caption);

class ImageListButton {
public:
    ImageListButton() = default;
    ImageListButton(const ImageListButton&) = delete;
    ImageListButton& operator=(const ImageListButton&) = delete;
    ~ImageListButton();

    bool attach(HWND button);
    void setTextMode(bool textMode, TextAlignment alignment);
    void setImage(HIMAGELIST images, int index);
    void setIcon(HICON icon, int width, int height);

    Window window() const { return button_; }
    bool hovered() const { return hovered_; }

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    ButtonLook look(bool pressed, bool disabled) const;
    void paintTo(HDC dc, bool pressed, bool disabled) const;
    void endHover();
    bool pointerInside(POINT clientPoint) const;

    HWND button_ = nullptr;
    bool hovered_ = false;
    bool textMode_ = true;
    HIMAGELIST images_ = nullptr;
    int image_ = 0;
    TextAlignment alignment_ = TextAlignment::centred;
    COLORREF highlight_ = 0, face_ = 0, shadow_ = 0;
    HICON icon_ = nullptr;
    int iconWidth_ = 0, iconHeight_ = 0;
    Font font_;
};

// The dialog's buttons of `ids` drawn as image-list buttons with centred captions; `buttons`
// keeps them (a list, so attached buttons keep their address).
void attachTextButtons(std::list<ImageListButton>& buttons, Window dialog, std::initializer_list<int> ids);

}  // namespace lumen::ui
