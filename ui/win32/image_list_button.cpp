#include "ui/win32/image_list_button.h"

#include <windowsx.h>

#include "ui/win32/messages.h"

namespace lumen::ui {
namespace {

constexpr UINT_PTR kSubclassId = 0x4C4D4942;  // "LMIB"
constexpr int kCaptionHeight = 12;
constexpr int kLeftTextIndent = 4;

// The content (text or image) inside `area`, shifted one pixel when pressed.
void paintContent(HDC dc, const RECT& area, const ButtonLook& look, COLORREF textColour) {
    RECT rect = area;
    if (look.pressed) OffsetRect(&rect, 1, 1);
    if (look.textMode) {
        const std::string caption = captionWithoutPrefixes(look.caption);
        Selection font{dc, look.font};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColour);
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (look.alignment == TextAlignment::centred)
            format |= DT_CENTER;
        else
            rect.left += kLeftTextIndent;
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, format);
    } else if (look.images) {
        int width = 0, height = 0;
        ImageList_GetIconSize(look.images, &width, &height);
        const int x = rect.left + (rect.right - rect.left - width) / 2;
        const int y = rect.top + (rect.bottom - rect.top - height) / 2;
        ImageList_Draw(look.images, look.image, dc, x, y, ILD_TRANSPARENT);
    }
}

// Colour `colour` wherever the monochrome mask is black, the mask placed at (x, y).
void paintThroughMask(HDC dc, HDC mask, int x, int y, int width, int height, COLORREF colour) {
    Brush brush{CreateSolidBrush(colour)};
    Selection selected{dc, brush.get()};
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kBrushWhereSourceBlack = 0x00B8074A;  // PSDPxax
    BitBlt(dc, x, y, width, height, mask, 0, 0, kBrushWhereSourceBlack);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// The content drawn in relief: its shape once in the highlight colour one pixel right and
// down, once in the shadow colour in place.
void paintEmbossed(HDC dc, const RECT& area, const ButtonLook& look) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    MemoryCanvas shape{dc, width, height};
    if (!shape.valid()) return;
    fillRect(shape.dc(), {0, 0, width, height}, RGB(255, 255, 255));
    ButtonLook flat = look;
    flat.pressed = false;
    paintContent(shape.dc(), {0, 0, width, height}, flat, RGB(0, 0, 0));
    HDC maskDc = CreateCompatibleDC(dc);
    if (!maskDc) return;
    Bitmap mask{CreateBitmap(width, height, 1, 1, nullptr)};
    {
        Selection selected{maskDc, mask.get()};
        SetBkColor(shape.dc(), RGB(255, 255, 255));
        BitBlt(maskDc, 0, 0, width, height, shape.dc(), 0, 0, SRCCOPY);
        paintThroughMask(dc, maskDc, area.left + 1, area.top + 1, width, height, look.highlight);
        paintThroughMask(dc, maskDc, area.left, area.top, width, height, look.shadow);
    }
    DeleteDC(maskDc);
}

}  // namespace

std::string captionWithoutPrefixes(const std::string& caption) {
    std::string text;
    for (char c : caption)
        if (c != '&') text += c;
    return text;
}

void paintImageListButton(HDC dc, SIZE size, const ButtonLook& look) {
    const RECT rect{0, 0, size.cx, size.cy};
    fillRect(dc, rect, look.face);
    const COLORREF text = look.disabled ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
    if (look.pressed)
        frameRect(dc, rect, look.shadow, look.highlight);
    else if (look.hovered && !look.disabled)
        frameRect(dc, rect, look.highlight, look.shadow);
    else
        frameRect(dc, rect, look.face, look.face);
    paintContent(dc, rect, look, text);
    if (look.disabled) {
        RECT inner = rect;
        InflateRect(&inner, -1, -1);
        paintEmbossed(dc, inner, look);
    }
    if (look.icon && look.hovered && !look.disabled) {
        const int x = rect.right - look.iconWidth - (look.pressed ? 1 : 2);
        const int y = (size.cy - look.iconHeight) / 2 + (look.pressed ? 1 : 0);
        DrawIconEx(dc, x, y, look.icon, look.iconWidth, look.iconHeight, 0, nullptr, DI_NORMAL);
    }
}

ImageListButton::~ImageListButton() {
    if (button_) {
        KillTimer(button_, kHoverTimer);
        RemoveWindowSubclass(button_, procedure, kSubclassId);
    }
}

bool ImageListButton::attach(HWND button) {
    if (!button || button_) return false;
    highlight_ = GetSysColor(COLOR_BTNHIGHLIGHT);
    face_ = GetSysColor(COLOR_BTNFACE);
    shadow_ = GetSysColor(COLOR_BTNSHADOW);
    font_.reset(CreateFontA(-kCaptionHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    if (!SetWindowSubclass(button, procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    button_ = button;
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW | BS_FLAT);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

void ImageListButton::setTextMode(bool textMode, TextAlignment alignment) {
    textMode_ = textMode;
    alignment_ = alignment;
    if (button_) InvalidateRect(button_, nullptr, FALSE);
}

void ImageListButton::setImage(HIMAGELIST images, int index) {
    images_ = images;
    image_ = index;
    textMode_ = false;
    if (button_) InvalidateRect(button_, nullptr, FALSE);
}

void ImageListButton::setIcon(HICON icon, int width, int height) {
    icon_ = icon;
    iconWidth_ = width;
    iconHeight_ = height;
    if (button_) InvalidateRect(button_, nullptr, FALSE);
}

ButtonLook ImageListButton::look(bool pressed, bool disabled) const {
    ButtonLook look;
    look.caption = Window{button_}.text();
    look.textMode = textMode_;
    look.images = images_;
    look.image = image_;
    look.alignment = alignment_;
    look.icon = icon_;
    look.iconWidth = iconWidth_;
    look.iconHeight = iconHeight_;
    look.font = font_.get();
    look.highlight = highlight_;
    look.face = face_;
    look.shadow = shadow_;
    look.hovered = hovered_;
    look.pressed = pressed;
    look.disabled = disabled;
    return look;
}

void ImageListButton::paintTo(HDC dc, bool pressed, bool disabled) const {
    RECT client;
    GetClientRect(button_, &client);
    MemoryCanvas canvas{dc, client.right, client.bottom};
    if (!canvas.valid()) return;
    paintImageListButton(canvas.dc(), {client.right, client.bottom}, look(pressed, disabled));
    canvas.copyTo(dc);
}

bool ImageListButton::pointerInside(POINT clientPoint) const {
    RECT client;
    GetClientRect(button_, &client);
    return PtInRect(&client, clientPoint) != FALSE;
}

void ImageListButton::endHover() {
    KillTimer(button_, kHoverTimer);
    hovered_ = false;
    InvalidateRect(button_, nullptr, FALSE);
}

LRESULT ImageListButton::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedDrawItem: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        paintTo(draw->hDC, (draw->itemState & ODS_SELECTED) != 0, (draw->itemState & ODS_DISABLED) != 0);
        return TRUE;
    }
    case WM_PRINTCLIENT: {
        const LRESULT state = DefSubclassProc(button_, BM_GETSTATE, 0, 0);
        paintTo(reinterpret_cast<HDC>(wParam), (state & BST_PUSHED) != 0, !IsWindowEnabled(button_));
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!pointerInside(point)) {
            if (hovered_) endHover();
        } else if (!hovered_ && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
            hovered_ = true;
            InvalidateRect(button_, nullptr, FALSE);
            SetTimer(button_, kHoverTimer, kHoverTimerMs, nullptr);
        }
        break;
    }
    case WM_TIMER:
        if (wParam != kHoverTimer) break;
        {
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(button_, &point);
            if (!pointerInside(point)) endHover();
        }
        return 0;
    case WM_NCDESTROY: {
        KillTimer(button_, kHoverTimer);
        RemoveWindowSubclass(button_, procedure, kSubclassId);
        HWND button = button_;
        button_ = nullptr;
        return DefSubclassProc(button, message, wParam, lParam);
    }
    }
    return DefSubclassProc(button_, message, wParam, lParam);
}

LRESULT CALLBACK ImageListButton::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    try {
        return reinterpret_cast<ImageListButton*>(data)->handle(message, wParam, lParam);
    } catch (...) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
}

void attachTextButtons(std::list<ImageListButton>& buttons, Window dialog, std::initializer_list<int> ids) {
    for (int id : ids) {
        ImageListButton& added = buttons.emplace_back();
        if (added.attach(dialog.item(id).handle()))
            added.setTextMode(true, TextAlignment::centred);
        else
            buttons.pop_back();
    }
}

}  // namespace lumen::ui
