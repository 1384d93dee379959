#include <windows.h>
#include <commctrl.h>

#include "pixel_exchange.h"
#include "resources/resource_ids.h"

namespace lumen::plugin {
namespace {

HMODULE ownModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&showConversionProgress), &module);
    return module;
}

INT_PTR CALLBACK conversionProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The modeless "Colorspace conversion" box, centred on the desktop, with its bar at the row.
class ConversionDialog final : public ConversionProgress {
public:
    explicit ConversionDialog(int32_t rows) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        window_ = CreateDialogParamA(ownModule(), MAKEINTRESOURCEA(kConversionDialog), nullptr, conversionProc, 0);
        if (!window_) return;
        SendDlgItemMessageA(window_, kConversionProgressBar, PBM_SETRANGE32, 0, rows > 1 ? rows - 1 : 1);
        ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
    }
    ~ConversionDialog() override {
        if (window_) DestroyWindow(window_);
    }
    void setRow(int32_t row) override {
        if (!window_) return;
        SendDlgItemMessageA(window_, kConversionProgressBar, PBM_SETPOS, static_cast<WPARAM>(row), 0);
        MSG message;
        while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

private:
    HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<ConversionProgress> showConversionProgress(int32_t rows) {
    return std::make_unique<ConversionDialog>(rows);
}

}  // namespace lumen::plugin
