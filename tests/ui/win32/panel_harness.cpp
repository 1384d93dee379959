#include "panel_harness.h"

#include <gtest/gtest.h>

#include <memory>

#include "resources/resource_ids.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"
#include "ui_driver.h"

namespace lumen::ui::testing {
namespace {

constexpr const char* kParentClass = "LumenforgeTestParent";
constexpr UINT kRunWork = WM_APP + 99;
constexpr UINT kRunPosted = WM_APP + 98;  // lParam: a std::function<void()>* to run and delete

}  // namespace

PanelHarness::PanelHarness(int width, int height, const std::function<uint32_t(int, int)>& pixels, bool alpha) {
    EXPECT_TRUE(hostImage.allocate(width, height, plugin::ImageBuffer::kFourChannels, alpha));
    uint8_t* out = hostImage.pixels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, out += 4) {
            const uint32_t rgba = pixels(x, y);
            out[0] = uint8_t(rgba >> 24), out[1] = uint8_t(rgba >> 16), out[2] = uint8_t(rgba >> 8), out[3] = uint8_t(rgba);
        }
    panel_ = std::make_unique<ControlPanelPage>(ControlPanelLinks{
        working, runner, &hostImage, nullptr, true, [this] { return selectedFilters.load(); },
        [this] { return database.path(); }});
    presets_ = std::make_unique<PresetsPage>(PresetsPageLinks{
        working, database, *panel_, [this] { return selectedFilters.load(); }, [this] { ++flagChanges; }});
}

PanelHarness::~PanelHarness() {
    presets_.reset();
    panel_.reset();
}

LRESULT CALLBACK PanelHarness::parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PanelHarness*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kRunPosted) {
        std::unique_ptr<std::function<void()>> work{reinterpret_cast<std::function<void()>*>(lParam)};
        (*work)();
        return 0;
    }
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    if (message == WM_COMMAND && self) {
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            DestroyWindow(window);
            return 0;
        }
        std::lock_guard guard{self->lock_};
        self->commands_.emplace_back(LOWORD(wParam), lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void PanelHarness::run(const std::function<void(HWND)>& drive, bool showPresets) {
    ASSERT_TRUE(prepareWindows());
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = parentProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kParentClass;
    RegisterClassExA(&windowClass);
    parent_ = CreateWindowExA(0, kParentClass, "Panel", WS_POPUP | WS_BORDER, 40, 40, 620, 420, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent_);
    SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ASSERT_TRUE(panel_->create(parent_));
    ASSERT_TRUE(presets_->create(parent_));
    RECT panelRect{256, 0, 400, 228}, presetsRect{4, 0, 248, 229};
    MapDialogRect(panel_->window().handle(), &panelRect);
    MapDialogRect(presets_->window().handle(), &presetsRect);
    panel_->window().move(panelRect);
    presets_->window().move(presetsRect);
    panel_->window().show(true);
    presets_->window().show(showPresets);
    ShowWindow(parent_, SW_SHOW);
    runDriven(
        [&] {
            MSG message;
            while (IsWindow(parent_) && GetMessageA(&message, nullptr, 0, 0) > 0) {
                panel_->runUpdateRules();
                presets_->runUpdateRules();
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        },
        [&](DWORD) { drive(parent_); });
    // The pages went with their parent; the runner stops before the images go.
    runner.stop();
}

void PanelHarness::onUiThread(const std::function<void()>& work) const {
    SendMessageA(parent_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

std::vector<std::pair<int, LPARAM>> PanelHarness::commands() const {
    std::lock_guard guard{lock_};
    return commands_;
}

void PanelHarness::settle() const {
    // Posted messages are taken in order, and what handling them posts comes after: a few
    // rounds let such chains (mouse, then the widget's notification) run to their end.
    for (int round = 0; round < 3; ++round) {
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        auto* work = new std::function<void()>([done] { SetEvent(done); });
        if (!PostMessageA(parent_, kRunPosted, 0, reinterpret_cast<LPARAM>(work))) delete work;
        WaitForSingleObject(done, kWaitMs);
        CloseHandle(done);
    }
}

HWND sliderOf(HWND panel, int k) { return GetDlgItem(panel, kPanelSliderIds[k]); }

int sliderValue(HWND panel, int k) { return int(SendMessageA(sliderOf(panel, k), kSliderGetValue, 0, 0)); }

}  // namespace lumen::ui::testing
