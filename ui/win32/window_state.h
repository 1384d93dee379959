#pragma once
// What our custom controls share: a state object per window, made in WM_NCCREATE and freed in
// WM_NCDESTROY, a procedure that hands each message to a handler with that state and lets no
// exception out, and the class registration.
#include <windows.h>

#include <new>

namespace lumen::ui {

template <class State>
State* windowStateOf(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A fresh default state; windows made with a State* as their creation parameter start with a
// copy of it.
template <class State>
State* stateFromCreationParameter(const CREATESTRUCTA& create) {
    auto* state = new (std::nothrow) State;
    if (state && create.lpCreateParams) *state = *static_cast<const State*>(create.lpCreateParams);
    return state;
}

template <class State>
State* defaultState(const CREATESTRUCTA&) {
    return new (std::nothrow) State;
}

template <class State, State* (*Make)(const CREATESTRUCTA&), LRESULT (*Handle)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK windowWithState(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            State* state = Make(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
            if (!state) return FALSE;  // the window is not made
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        }
        State* state = windowStateOf<State>(window);
        if (message == WM_NCDESTROY) {
            delete state;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        if (!state || message == WM_NCDESTROY) return DefWindowProcA(window, message, wParam, lParam);
        return Handle(window, *state, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Registering a class that is there already (a second plug-in instance) counts as success.
inline bool registerWindowClass(HMODULE module, const char* name, WNDPROC procedure, UINT style = 0) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace lumen::ui
