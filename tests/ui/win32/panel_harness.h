#pragma once
// The control panel and the presets page as the main dialog holds them, in a plain parent
// window of the test's own: the working filter, the runner, the host image, the navigator's
// selection count and the database are the test's to set. The parent records the commands the
// pages send it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "ui/win32/control_panel_page.h"
#include "ui/win32/presets_page.h"

namespace lumen::ui::testing {

class PanelHarness {
public:
    // The host image is made from `pixels` (RGBA rows of width x height) before the pages are.
    PanelHarness(int width, int height, const std::function<uint32_t(int x, int y)>& pixels, bool alpha = false);
    ~PanelHarness();

    filters::FilterDefinition working;
    filters::FilterDatabase database{filters::nativeFileSystem()};
    plugin::FilterRunner runner;
    plugin::ImageBuffer hostImage;
    std::atomic<size_t> selectedFilters{1};
    std::atomic<int> flagChanges{0};
    ControlPanelPage& panel() { return *panel_; }
    PresetsPage& presets() { return *presets_; }
    HWND parent() const { return parent_; }

    // Makes the parent and both pages, then runs their message loop (with the pages' update
    // rules before each message) on this thread while `drive` runs on a driver thread.
    void run(const std::function<void(HWND parent)>& drive, bool showPresets = false);
    // `work` on the pages' thread, waited for.
    void onUiThread(const std::function<void()>& work) const;
    // The WM_COMMAND ids and lParams the parent got so far.
    std::vector<std::pair<int, LPARAM>> commands() const;
    // Waits until the pages' thread has handled what was posted to the parent before.
    void settle() const;

    static LRESULT CALLBACK parentProcedure(HWND, UINT, WPARAM, LPARAM);

private:
    std::unique_ptr<ControlPanelPage> panel_;
    std::unique_ptr<PresetsPage> presets_;
    HWND parent_ = nullptr;
    mutable std::mutex lock_;
    std::vector<std::pair<int, LPARAM>> commands_;
};

// The slider widget of control k.
HWND sliderOf(HWND panel, int k);
int sliderValue(HWND panel, int k);

}  // namespace lumen::ui::testing
