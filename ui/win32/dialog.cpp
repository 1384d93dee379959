#include "ui/win32/dialog.h"

#include <algorithm>
#include <vector>

#include "ui/win32/messages.h"
#include "ui/win32/module.h"

namespace lumen::ui {
namespace {

// The dialog being created on this thread: messages before WM_INITDIALOG find it here.
thread_local Dialog* constructing = nullptr;

// Pages alive on this thread: a modal loop refreshes the update handlers of its own pages too.
thread_local std::vector<Dialog*> pages;

}  // namespace

Dialog::~Dialog() { destroy(); }

void Dialog::destroy() {
    if (handle_) DestroyWindow(handle_);
}

HWND Dialog::create(HWND parent, int templateId) {
    const DLGTEMPLATE* dialogTemplate = findDialogTemplate(templateId);
    if (!dialogTemplate) return nullptr;
    Dialog* outer = constructing;
    constructing = this;
    // Controls find our window classes through the plug-in's own module, whichever module
    // lends the template.
    HWND window = CreateDialogIndirectParamA(pluginModule(), dialogTemplate, parent, procedure,
                                             reinterpret_cast<LPARAM>(this));
    constructing = outer;
    return window;
}

bool Dialog::createChild(HWND parent, int templateId) {
    child_ = true;
    if (!create(parent, templateId)) return false;
    pages.push_back(this);
    return true;
}

void Dialog::updatePagesOf(HWND window) {
    // A page's handler may open a dialog that creates or destroys pages: walk a copy.
    const std::vector<Dialog*> current = pages;
    for (Dialog* page : current)
        if (std::find(pages.begin(), pages.end(), page) != pages.end() && page->handle_ &&
            GetParent(page->handle_) == window)
            page->updateControls();
}

INT_PTR Dialog::runModal(HWND owner, int templateId) {
    HWND window = create(owner, templateId);
    if (!window) return -1;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    ended_ = false;
    result_ = IDCANCEL;
    MSG message;
    while (!ended_ && handle_) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        try {
            updateControls();
            updatePagesOf(window);
        } catch (...) {  // out of memory in an update rule: the dialog ends, the owner comes back
            ended_ = true;
            break;
        }
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The owner comes back before the dialog goes, so activation returns to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    destroy();
    return result_;
}

void Dialog::endModal(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (handle_) PostMessageA(handle_, WM_NULL, 0, 0);
}

INT_PTR Dialog::answer(LRESULT result) const {
    SetWindowLongPtrA(handle_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && child_ && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        PostMessageA(GetParent(handle_), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        return TRUE;
    }
    bool handled = false;
    const INT_PTR result = handleMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (message == WM_DRAWITEM) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw && draw->CtlType == ODT_BUTTON && SendMessageA(draw->hwndItem, kReflectedDrawItem, 0, lParam))
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self && constructing) {
        self = constructing;
        self->handle_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->dispatch(message, wParam, lParam);
    } catch (...) {
        // A failed handler leaves the message to the dialog manager; a modal dialog ends.
        if (!self->child_) self->endModal(IDCANCEL);
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        std::erase(pages, self);
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->handle_ = nullptr;
    }
    return result;
}

void setTextIfChanged(Window control, const std::string& text) {
    if (control && control.text() != text) control.setText(text);
}

}  // namespace lumen::ui
