#pragma once
// The main dialog (129): the page tabs (navigator, presets, about) on the left, the control
// panel on the right, the status line with the database's name, its number of entries and the
// gradient bar. Apply ends it with OK, Cancel and Escape with Cancel.
#include <memory>

#include "filters/filter_database.h"
#include "plugin/main_dialog.h"
#include "ui/win32/control_panel_page.h"
#include "ui/win32/dialog.h"
#include "ui/win32/gdi.h"
#include "ui/win32/navigator_page.h"
#include "ui/win32/page.h"
#include "ui/win32/presets_page.h"

namespace lumen::plugin {
class PluginInstance;
}

namespace lumen::ui {

class MainDialogWindow final : public plugin::MainDialog, public DialogOf<MainDialogWindow> {
public:
    // owner: the host's window (may be null); instance: the run whose image the preview shows
    // and whose host draws it (none: no preview).
    explicit MainDialogWindow(HWND owner, plugin::PluginInstance* instance = nullptr);
    plugin::DialogResult runModal() override;

    // The page of index 0..2 shown and its tab selected; any other index only selects the tab.
    void showPage(int n);
    const filters::FilterDatabase& database() const { return database_; }
    filters::FilterDefinition& workingFilter() { return working_; }
    NavigatorPage& navigator() { return navigatorPage_; }
    ControlPanelPage& controlPanel() { return controlPanel_; }
    PresetsPage& presetsPage() { return presetsPage_; }

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();
    static std::span<const Update> updateTable();

private:
    INT_PTR onInit(WPARAM, LPARAM);
    INT_PTR onNotify(WPARAM, LPARAM lParam);
    INT_PTR onHitTest(WPARAM, LPARAM lParam);
    INT_PTR onSysColorChange(WPARAM, LPARAM);
    void onApply(int, LPARAM);
    void onCancel(int, LPARAM);
    void onHelp(int, LPARAM);
    void onShowPresets(int, LPARAM);
    void onGradientChosen(int, LPARAM index);
    void onShowGradient(int, LPARAM index);
    void onGradientBarVisible(int, LPARAM visible);
    void updateFilterCount(Window control);
    void updateDatabaseName(Window control);

    void loadLogo();
    void createPages();
    void insertTabs();

    HWND owner_;
    plugin::PluginInstance* instance_;
    filters::FilterDatabase database_;
    filters::FilterDefinition working_;  // the navigator's to change; the other pages read and tune it
    bool navigatorReady_ = false;  // the status line follows the database from then on
    // Pictures first: the pages' buttons draw with them until the pages are gone.
    Bitmap logo_;
    NavigatorPage navigatorPage_{database_, runner(), working_};
    Page aboutPage_;
    // Before the presets page, which refers to it; it stops the preview before it goes.
    ControlPanelPage controlPanel_;
    PresetsPage presetsPage_;
};

// The dialog the input phase builds on Windows.
std::unique_ptr<plugin::MainDialog> makeMainDialogWindow(plugin::PluginInstance& instance);

}  // namespace lumen::ui
