#include "ui/win32/main_dialog_window.h"

#include <commctrl.h>

#include "filters/startup.h"
#include "plugin/parameter_block.h"
#include "plugin/plugin_instance.h"
#include "plugin/render_tables.h"
#include "resources/resource_ids.h"
#include "ui/model/page_tabs.h"
#include "ui/model/status_line.h"
#include "ui/win32/dialog_frame.h"
#include "ui/win32/help_viewer.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"

namespace lumen::ui {
namespace {

struct TabItem {
    int stringId;
    int page;
};
constexpr TabItem kTabs[] = {
    {kStrTabNavigator, model::kNavigatorIndex},
    {kStrTabPresets, model::kPresetsIndex},
    {kStrTabAbout, model::kAboutIndex},
};

HWND hostWindow(const plugin::PluginInstance& instance) {
    if (!instance.record || !instance.record->platformData) return nullptr;
    return reinterpret_cast<HWND>(static_cast<const hostapi::PlatformData*>(instance.record->platformData)->hwnd);
}

// The host draws the preview unless the block says it cannot.
bool drawsPreviewDirect(const plugin::PluginInstance* instance) {
    const plugin::ParameterBlock* block = plugin::currentParameterBlock();
    return !instance || !instance->record || !block || block->drawPreviewDirect != 0;
}

void centreOnDesktop(HWND window) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    SetWindowPos(window, nullptr, desktop.left + (desktop.right - desktop.left - width) / 2,
                 desktop.top + (desktop.bottom - desktop.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainDialogWindow::MainDialogWindow(HWND owner, plugin::PluginInstance* instance)
    : owner_(owner),
      instance_(instance),
      database_(filters::nativeFileSystem()),
      controlPanel_({working_, runner(), instance ? &instance->source : nullptr, instance ? instance->record : nullptr,
                     drawsPreviewDirect(instance), [this] { return navigatorPage_.selectedFilterCount(); },
                     [this] { return database_.path(); }}),
      presetsPage_({working_, database_, controlPanel_, [this] { return navigatorPage_.selectedFilterCount(); },
                    [this] { navigatorPage_.presetsSaved(); }}) {}

std::span<const MainDialogWindow::Command> MainDialogWindow::commandTable() {
    static const Command table[] = {
        {IDOK, &MainDialogWindow::onApply},
        {IDCANCEL, &MainDialogWindow::onCancel},
        {kMainHelp, &MainDialogWindow::onHelp},
        {kCmdShowPresetsPage, &MainDialogWindow::onShowPresets},
        {kCmdGradientChosen, &MainDialogWindow::onGradientChosen},
        {kCmdShowGradient, &MainDialogWindow::onShowGradient},
        {kCmdGradientBarVisible, &MainDialogWindow::onGradientBarVisible},
    };
    return table;
}

std::span<const MainDialogWindow::Message> MainDialogWindow::messageTable() {
    static const Message table[] = {
        {WM_INITDIALOG, &MainDialogWindow::onInit},
        {WM_NOTIFY, &MainDialogWindow::onNotify},
        {WM_NCHITTEST, &MainDialogWindow::onHitTest},
        {WM_SYSCOLORCHANGE, &MainDialogWindow::onSysColorChange},
    };
    return table;
}

std::span<const MainDialogWindow::Update> MainDialogWindow::updateTable() {
    static const Update table[] = {
        {kMainFilterCount, &MainDialogWindow::updateFilterCount},
        {kMainDatabaseName, &MainDialogWindow::updateDatabaseName},
    };
    return table;
}

plugin::DialogResult MainDialogWindow::runModal() {
    if (!prepareWindows()) return plugin::DialogResult::cancel;
    const INT_PTR result = Dialog::runModal(owner_, kMainDialog);
    return result == IDOK ? plugin::DialogResult::apply : plugin::DialogResult::cancel;
}

INT_PTR MainDialogWindow::onInit(WPARAM, LPARAM) {
    centreOnDesktop(window().handle());
    loadLogo();
    Window bar = item(kMainGradientBar);
    const plugin::RenderTables& tables = plugin::renderTables();
    bar.send(kGradientBarSetTable, tables.gradientTable ? plugin::kGradientCount : 0,
             reinterpret_cast<LPARAM>(tables.gradientTable));
    bar.send(kGradientBarSetIndex, static_cast<WPARAM>(runner().filter().gradientIndex));
    createPages();
    insertTabs();
    showPage(model::kNavigatorIndex);
    item(kMainFilterCount).setText("0");
    auto settings = filters::openUserSettings();
    if (settings) {
        const filters::StartupState startup =
            filters::startUp(*settings, filters::nativeFileSystem(), filters::moduleFilePath());
        filters::openCurrentDatabase(database_, *settings, startup.currentDatabasePath);
        navigatorPage_.open(std::move(settings), startup.databaseRoot);
    }
    navigatorReady_ = true;
    return TRUE;
}

void MainDialogWindow::loadLogo() { placeLogo(window(), kMainLogo, logo_); }

void MainDialogWindow::createPages() {
    const RECT pageArea = item(kMainPagePlaceholder).rectInParent();
    const RECT panelArea = item(kMainPanelPlaceholder).rectInParent();
    HWND self = window().handle();
    // The panel first: the presets page grabs its preview.
    if (controlPanel_.create(self)) {
        controlPanel_.window().move(panelArea, false);
        controlPanel_.window().show(true);
    }
    if (navigatorPage_.create(self)) navigatorPage_.window().move(pageArea);
    if (aboutPage_.createChild(self, kAboutPage)) aboutPage_.window().move(pageArea);
    if (presetsPage_.create(self)) presetsPage_.window().move(pageArea);
    navigatorPage_.connect(controlPanel_.window(), presetsPage_.window());
    navigatorPage_.setEditorPreviewSource(&controlPanel_.previewSource());
}


void MainDialogWindow::insertTabs() {
    Window tabs = item(kMainTabs);
    for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i) {
        std::string text = loadString(kTabs[i].stringId);
        TCITEMA tab{};
        tab.mask = TCIF_TEXT | TCIF_PARAM;
        tab.pszText = text.data();
        tab.lParam = kTabs[i].page;
        tabs.send(TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
}

void MainDialogWindow::showPage(int n) {
    const model::PageVisibility visibility = model::showPage(n);
    if (visibility.pagesChange) {
        const Window pages[model::kPageCount] = {navigatorPage_.window(), presetsPage_.window(), aboutPage_.window()};
        for (int i = 0; i < model::kPageCount; ++i) {
            Window page = pages[i];
            if (!page) continue;
            page.enable(visibility.shown[static_cast<size_t>(i)]);
            page.show(visibility.shown[static_cast<size_t>(i)]);
        }
    }
    item(kMainTabs).send(TCM_SETCURSEL, static_cast<WPARAM>(visibility.tabSelection));
}

INT_PTR MainDialogWindow::onNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != kMainTabs || header->code != static_cast<UINT>(TCN_SELCHANGE)) return FALSE;
    Window tabs = item(kMainTabs);
    const int selected = static_cast<int>(tabs.send(TCM_GETCURSEL));
    TCITEMA tab{};
    tab.mask = TCIF_PARAM;
    if (selected >= 0 && tabs.send(TCM_GETITEMA, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&tab)))
        showPage(static_cast<int>(tab.lParam));
    return TRUE;
}

INT_PTR MainDialogWindow::onHitTest(WPARAM, LPARAM lParam) { return answer(backgroundDragHitTest(window(), lParam)); }

INT_PTR MainDialogWindow::onSysColorChange(WPARAM wParam, LPARAM lParam) {
    item(kMainTabs).send(WM_SYSCOLORCHANGE, wParam, lParam);
    loadLogo();
    return FALSE;
}

void MainDialogWindow::onApply(int, LPARAM) { endModal(IDOK); }

void MainDialogWindow::onCancel(int, LPARAM) { endModal(IDCANCEL); }

void MainDialogWindow::onHelp(int, LPARAM) { openHelp(window().handle(), kUserGuideFile); }

void MainDialogWindow::onShowPresets(int, LPARAM) { showPage(model::kPresetsIndex); }

void MainDialogWindow::onGradientChosen(int, LPARAM index) {
    working_.gradientIndex = static_cast<int32_t>(index);
    controlPanel_.refreshFromFilter();
}

void MainDialogWindow::onShowGradient(int, LPARAM index) {
    item(kMainGradientBar).send(kGradientBarSetIndex, static_cast<WPARAM>(index));
}

void MainDialogWindow::onGradientBarVisible(int, LPARAM visible) { item(kMainGradientBar).show(visible != 0); }

void MainDialogWindow::updateFilterCount(Window control) {
    if (navigatorReady_) setTextIfChanged(control, model::filterCountText(database_.entries().size()));
}

void MainDialogWindow::updateDatabaseName(Window control) {
    if (navigatorReady_) setTextIfChanged(control, model::databaseDisplayName(database_.path()));
}

std::unique_ptr<plugin::MainDialog> makeMainDialogWindow(plugin::PluginInstance& instance) {
    return std::make_unique<MainDialogWindow>(hostWindow(instance), &instance);
}

}  // namespace lumen::ui
