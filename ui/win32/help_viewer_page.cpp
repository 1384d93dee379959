#include "ui/win32/help_viewer_page.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/jpeg_codec.h"
#include "help/help_file.h"
#include "ui/win32/gdi.h"
#include "ui/win32/window.h"

namespace lumen::ui {
namespace {

constexpr int kMargin = 12;
constexpr int kBlockGap = 8;
constexpr int kBulletIndent = 18;
constexpr int kCodeIndent = 10;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kLinkInk = RGB(0, 0, 192);
constexpr COLORREF kCodePaper = RGB(240, 240, 240);
constexpr COLORREF kMarkPaper = RGB(255, 230, 80);

enum class Style { text, heading, title, code, link };

// One run of text on one line, a bullet, a code panel or a picture, in page coordinates.
struct Piece {
    RECT rect;
    Style style;
    std::string text;
    std::string target;      // links: topic id; pictures: picture name
    int linkNumber = -1;     // the link this piece belongs to
    bool picture = false;
    bool panel = false;      // a code block's background
};

struct PageState {
    const help::HelpDocument* document = nullptr;
    const help::Topic* topic = nullptr;
    std::vector<Piece> pieces;
    int contentHeight = 0;
    int laidOutWidth = -1;
    int scroll = 0;
    int marked = -1;
    Font text, heading, title, code, link;
    // Decoded once per document; a picture that does not decode stays empty and shows a frame.
    std::map<std::string, std::optional<imaging::Bitmap>> pictures;
};

PageState* stateOf(HWND window) { return reinterpret_cast<PageState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

Font makeFont(int height, int weight, bool underline, bool fixed) {
    return Font(CreateFontA(-height, 0, 0, 0, weight, FALSE, underline, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            static_cast<BYTE>(fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS),
                            fixed ? "Courier New" : "Arial"));
}

HFONT fontFor(const PageState& state, Style style) {
    switch (style) {
        case Style::heading: return state.heading.get();
        case Style::title: return state.title.get();
        case Style::code: return state.code.get();
        case Style::link: return state.link.get();
        default: return state.text.get();
    }
}

SIZE measure(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

const std::optional<imaging::Bitmap>& pictureOf(PageState& state, const std::string& name) {
    auto found = state.pictures.find(name);
    if (found != state.pictures.end()) return found->second;
    std::optional<imaging::Bitmap> bitmap;
    if (const help::Picture* picture = state.document->findPicture(name)) {
        bitmap = imaging::decodeJpeg(picture->jpeg, {help::kMaxPictureSide, help::kMaxPictureSide,
                                                     int64_t{help::kMaxPictureSide} * help::kMaxPictureSide});
        if (bitmap && (bitmap->width != picture->width || bitmap->height != picture->height)) bitmap.reset();
    }
    return state.pictures.emplace(name, std::move(bitmap)).first->second;
}

class Layout {
public:
    Layout(HDC dc, PageState& state, int width) : dc_(dc), state_(state), right_(std::max(width - kMargin, kMargin + 40)) {}

    void run() {
        state_.pieces.clear();
        y_ = kMargin;
        line({{help::SpanKind::text, state_.topic->title, {}}}, Style::title, kMargin);
        for (const help::Block& block : state_.topic->blocks) {
            y_ += kBlockGap;
            switch (block.kind) {
                case help::BlockKind::heading: line(block.spans, Style::heading, kMargin); break;
                case help::BlockKind::paragraph: line(block.spans, Style::text, kMargin); break;
                case help::BlockKind::listItem: {
                    Selection font(dc_, state_.text.get());
                    state_.pieces.push_back({{kMargin + 4, y_, kMargin + kBulletIndent, y_ + lineHeight()},
                                             Style::text, "\x95", {}});
                    line(block.spans, Style::text, kMargin + kBulletIndent);
                    y_ -= kBlockGap / 2;
                    break;
                }
                case help::BlockKind::code: codeBlock(block.spans.front().text); break;
                case help::BlockKind::picture: picture(block.spans.front()); break;
            }
        }
        state_.contentHeight = y_ + kMargin;
    }

private:
    int lineHeight() const {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        return metrics.tmHeight + metrics.tmExternalLeading;
    }

    // Words placed left to right and wrapped at the right margin; consecutive words of one span
    // on one line make one piece, so a find matches phrases.
    void line(const std::vector<help::Span>& spans, Style base, int left) {
        int x = left, height = 0;
        {
            Selection font(dc_, fontFor(state_, base));
            height = lineHeight();
        }
        for (const help::Span& span : spans) {
            const Style style = span.kind == help::SpanKind::link ? Style::link
                                : span.kind == help::SpanKind::code ? Style::code
                                                                    : base;
            const int link = span.kind == help::SpanKind::link ? linkCount_++ : -1;
            Selection font(dc_, fontFor(state_, style));
            Piece* open = nullptr;
            size_t at = 0;
            while (at < span.text.size()) {
                // The next word with the blanks before it.
                size_t end = span.text.find_first_not_of(' ', at);
                end = end == std::string::npos ? span.text.size() : span.text.find(' ', end);
                if (end == std::string::npos) end = span.text.size();
                std::string word = span.text.substr(at, end - at);
                const bool startOfLine = x == left;
                if (startOfLine) word.erase(0, word.find_first_not_of(' '));
                const int width = measure(dc_, word).cx;
                if (!startOfLine && x + width > right_) {
                    y_ += height;
                    x = left;
                    open = nullptr;
                    word.erase(0, word.find_first_not_of(' '));
                    if (word.empty()) {
                        at = end;
                        continue;
                    }
                }
                const int placed = measure(dc_, word).cx;
                if (open) {
                    open->text += word;
                    open->rect.right = x + placed;
                } else {
                    state_.pieces.push_back({{x, y_, x + placed, y_ + height}, style, word, span.target, link});
                    open = &state_.pieces.back();
                }
                x += placed;
                at = end;
            }
        }
        y_ += height;
    }

    void codeBlock(const std::string& text) {
        Selection font(dc_, state_.code.get());
        const int height = lineHeight();
        const size_t panel = state_.pieces.size();
        state_.pieces.push_back({{kMargin, y_, right_, y_}, Style::code, {}, {}});
        state_.pieces.back().panel = true;
        y_ += 4;
        size_t at = 0;
        while (at <= text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string row = text.substr(at, end - at);
            state_.pieces.push_back({{kMargin + kCodeIndent, y_, kMargin + kCodeIndent + measure(dc_, row).cx, y_ + height},
                                     Style::code, row, {}});
            y_ += height;
            at = end + 1;
        }
        y_ += 4;
        state_.pieces[panel].rect.bottom = y_;
    }

    void picture(const help::Span& span) {
        const help::Picture* picture = state_.document->findPicture(span.target);
        const int width = picture ? picture->width : 64, height = picture ? picture->height : 48;
        Piece piece{{kMargin, y_, kMargin + width, y_ + height}, Style::text, {}, span.target};
        piece.picture = true;
        state_.pieces.push_back(piece);
        y_ += height;
        if (!span.text.empty()) {
            y_ += 2;
            line({{help::SpanKind::text, span.text, {}}}, Style::text, kMargin);
        }
    }

    HDC dc_;
    PageState& state_;
    int right_;
    int y_ = 0;
    int linkCount_ = 0;
};

void layOut(HWND window, PageState& state) {
    const RECT client = Window(window).clientRect();
    if (!state.topic || state.laidOutWidth == client.right) return;
    WindowDc dc(window);
    Layout(dc.get(), state, client.right).run();
    state.laidOutWidth = client.right;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, state.contentHeight, UINT(client.bottom),
                    state.scroll, 0};
    state.scroll = std::clamp(state.scroll, 0, std::max(0, state.contentHeight - int(client.bottom)));
    info.nPos = state.scroll;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void scrollTo(HWND window, PageState& state, int position) {
    const RECT client = Window(window).clientRect();
    state.scroll = std::clamp(position, 0, std::max(0, state.contentHeight - int(client.bottom)));
    SetScrollPos(window, SB_VERT, state.scroll, TRUE);
    InvalidateRect(window, nullptr, FALSE);
}

void drawPicture(HDC dc, const imaging::Bitmap& bitmap, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -bitmap.height;  // rows are kept top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, x, y, bitmap.width, bitmap.height, 0, 0, bitmap.width, bitmap.height, bitmap.bits.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

void paint(HDC dc, const RECT& client, PageState& state) {
    fillRect(dc, client, kPaper);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < state.pieces.size(); ++i) {
        const Piece& piece = state.pieces[i];
        RECT rect = piece.rect;
        OffsetRect(&rect, 0, -state.scroll);
        if (rect.bottom < 0 || rect.top > client.bottom) continue;
        if (piece.panel) {
            fillRect(dc, rect, kCodePaper);
        } else if (piece.picture) {
            const auto& bitmap = pictureOf(state, piece.target);
            if (bitmap)
                drawPicture(dc, *bitmap, rect.left, rect.top);
            else
                frameRect(dc, rect, RGB(128, 128, 128), RGB(128, 128, 128));
        } else {
            if (int(i) == state.marked) fillRect(dc, rect, kMarkPaper);
            Selection font(dc, fontFor(state, piece.style));
            SetTextColor(dc, piece.style == Style::link ? kLinkInk : kInk);
            TextOutA(dc, rect.left, rect.top, piece.text.data(), static_cast<int>(piece.text.size()));
        }
    }
}

std::string lowered(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

BOOL find(HWND window, PageState& state, const char* wanted) {
    const std::string needle = lowered(wanted ? wanted : "");
    if (needle.empty() || state.pieces.empty()) return FALSE;
    const int count = static_cast<int>(state.pieces.size());
    for (int step = 1; step <= count; ++step) {
        const int i = (std::max(state.marked, -1) + step) % count;
        if (lowered(state.pieces[size_t(i)].text).find(needle) == std::string::npos) continue;
        state.marked = i;
        const RECT client = Window(window).clientRect();
        const RECT& rect = state.pieces[size_t(i)].rect;
        if (rect.top < state.scroll || rect.bottom > state.scroll + client.bottom)
            scrollTo(window, state, rect.top - client.bottom / 3);
        InvalidateRect(window, nullptr, FALSE);
        return TRUE;
    }
    return FALSE;
}

LRESULT handle(HWND window, PageState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kHelpPageShow:
            if (state.document != reinterpret_cast<const help::HelpDocument*>(wParam)) state.pictures.clear();
            state.document = reinterpret_cast<const help::HelpDocument*>(wParam);
            state.topic = reinterpret_cast<const help::Topic*>(lParam);
            state.laidOutWidth = -1;
            state.scroll = 0;
            state.marked = -1;
            layOut(window, state);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case kHelpPageFind:
            layOut(window, state);
            return find(window, state, reinterpret_cast<const char*>(lParam));
        case kHelpPageLinkRect:
            layOut(window, state);
            for (const Piece& piece : state.pieces)
                if (piece.linkNumber == int(wParam) && lParam) {
                    RECT rect = piece.rect;
                    OffsetRect(&rect, 0, -state.scroll);
                    *reinterpret_cast<RECT*>(lParam) = rect;
                    return TRUE;
                }
            return FALSE;
        case WM_SIZE:
            layOut(window, state);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_VSCROLL: {
            const RECT client = Window(window).clientRect();
            int position = state.scroll;
            switch (LOWORD(wParam)) {
                case SB_LINEUP: position -= 20; break;
                case SB_LINEDOWN: position += 20; break;
                case SB_PAGEUP: position -= client.bottom; break;
                case SB_PAGEDOWN: position += client.bottom; break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: position = HIWORD(wParam); break;
                case SB_TOP: position = 0; break;
                case SB_BOTTOM: position = state.contentHeight; break;
            }
            scrollTo(window, state, position);
            return 0;
        }
        case WM_MOUSEWHEEL:
            scrollTo(window, state, state.scroll - GET_WHEEL_DELTA_WPARAM(wParam) * 60 / WHEEL_DELTA);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT point;
                GetCursorPos(&point);
                ScreenToClient(window, &point);
                point.y += state.scroll;
                const bool overLink = std::any_of(state.pieces.begin(), state.pieces.end(), [&](const Piece& piece) {
                    return piece.linkNumber >= 0 && PtInRect(&piece.rect, point);
                });
                SetCursor(LoadCursorA(nullptr, overLink ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_LBUTTONUP: {
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) + state.scroll};
            for (const Piece& piece : state.pieces)
                if (piece.linkNumber >= 0 && PtInRect(&piece.rect, point)) {
                    // The parent replaces the topic, and with it this piece: keep the id apart.
                    const std::string target = piece.target;
                    SendMessageA(GetParent(window), kHelpPageOpenLink, 0, reinterpret_cast<LPARAM>(&target));
                    return 0;
                }
            return 0;
        }
        case WM_PAINT: {
            PaintDc dc(window);
            const RECT client = Window(window).clientRect();
            MemoryCanvas canvas(dc.get(), std::max<int>(client.right, 1), std::max<int>(client.bottom, 1));
            if (!canvas.valid()) return 0;
            paint(canvas.dc(), client, state);
            canvas.copyTo(dc.get());
            return 0;
        }
        case WM_PRINTCLIENT: {
            const RECT client = Window(window).clientRect();
            paint(reinterpret_cast<HDC>(wParam), client, state);
            return 0;
        }
        case WM_ERASEBKGND:
            return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK pageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto state = std::make_unique<PageState>();
            state->text = makeFont(14, FW_NORMAL, false, false);
            state->link = makeFont(14, FW_NORMAL, true, false);
            state->heading = makeFont(16, FW_BOLD, false, false);
            state->title = makeFont(20, FW_BOLD, false, false);
            state->code = makeFont(13, FW_NORMAL, false, true);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
        }
        PageState* state = stateOf(window);
        if (message == WM_NCDESTROY) {
            delete state;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        if (!state || message == WM_NCCREATE || message == WM_NCDESTROY)
            return DefWindowProcA(window, message, wParam, lParam);
        return handle(window, *state, message, wParam, lParam);
    } catch (...) {
        return 0;  // out of memory while laying out: the page stays as it was
    }
}

}  // namespace

bool registerHelpPageClass(HMODULE module) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = pageProcedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHelpPageClass;
    return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterHelpPageClass(HMODULE module) { UnregisterClassA(kHelpPageClass, module); }

}  // namespace lumen::ui
