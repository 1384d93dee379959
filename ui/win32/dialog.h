#pragma once
// Dialogs from templates of the resource module: modal ones in our own loop, which refreshes
// the controls' update handlers (its own and its pages') before each message is translated,
// and child pages. Messages that come before WM_INITDIALOG (WM_SETFONT, WM_MEASUREITEM) reach
// the object already.
// DialogOf<D> routes messages and commands through D's {id, handler} tables; no exception
// leaves the dialog procedure.
#include <windows.h>

#include <span>

#include "ui/win32/window.h"

namespace lumen::ui {

class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    Window window() const { return handle_; }
    Window item(int id) const { return window().item(id); }

    // Creates the dialog of `templateId` with `owner` disabled while it runs; answers the
    // value given to endModal, or -1 when the dialog could not be made.
    INT_PTR runModal(HWND owner, int templateId);
    void endModal(INT_PTR result);
    // A page: a child window made from `templateId`. Commands 1 and 2 (Enter and Escape inside
    // it) are posted on to the parent.
    bool createChild(HWND parent, int templateId);
    void destroy();
    // The controls' update rules, as the modal loop runs them before each message; an owner
    // runs its pages' rules with its own.
    void runUpdateRules() { updateControls(); }

protected:
    // handled false: the dialog manager's own handling follows.
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    virtual void updateControls() {}
    // A dialog's answer to messages whose result is not the procedure's return value.
    INT_PTR answer(LRESULT result) const;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    HWND create(HWND parent, int templateId);
    static void updatePagesOf(HWND window);

    HWND handle_ = nullptr;
    bool child_ = false;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

template <class D>
class DialogOf : public Dialog {
protected:
    struct Command {
        int id;
        void (D::*handler)(int notifyCode, LPARAM lParam);
    };
    struct Message {
        UINT message;
        INT_PTR (D::*handler)(WPARAM wParam, LPARAM lParam);
    };
    // Runs before each message of the modal loop; controls without a handler stay as they are.
    struct Update {
        int id;
        void (D::*handler)(Window control);
    };
    static std::span<const Command> commandTable() { return {}; }
    static std::span<const Message> messageTable() { return {}; }
    static std::span<const Update> updateTable() { return {}; }

    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        D& self = static_cast<D&>(*this);
        for (const Message& entry : D::messageTable())
            if (entry.message == message) {
                handled = true;
                return (self.*entry.handler)(wParam, lParam);
            }
        if (message == WM_COMMAND)
            for (const Command& entry : D::commandTable())
                if (entry.id == LOWORD(wParam)) {
                    handled = true;
                    (self.*entry.handler)(HIWORD(wParam), lParam);
                    return TRUE;
                }
        handled = false;
        return FALSE;
    }

    void updateControls() override {
        D& self = static_cast<D&>(*this);
        for (const Update& entry : D::updateTable())
            if (Window control = item(entry.id)) (self.*entry.handler)(control);
    }
};

// Sets a control's text only when it differs, so refreshing before every message does not
// flicker.
void setTextIfChanged(Window control, const std::string& text);

}  // namespace lumen::ui
