#include <windows.h>

#include "about_box.h"
#include "resources/resource_ids.h"

namespace lumen::plugin {
namespace {

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

HMODULE ownModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&aboutProc), &module);
    return module;
}

}  // namespace

void showAboutBox(const hostapi::AboutRecord* about) {
    HWND parent = nullptr;
    if (about && about->platformData)
        parent = reinterpret_cast<HWND>(static_cast<const hostapi::PlatformData*>(about->platformData)->hwnd);
    DialogBoxParamA(ownModule(), MAKEINTRESOURCEA(kAboutBoxDialog), parent, aboutProc, 0);
}

}  // namespace lumen::plugin
