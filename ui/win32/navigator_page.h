#pragma once
// The navigator page (130): the current database's categories and the selected category's
// filters in two list views, and every change the user makes to them by mouse. What each action
// decides is the model's (ui/model/navigator*); the page asks it and carries it out on the
// lists, the menus and the small dialogs. It owns the working filter and keeps the runner's
// copy of it in step.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filters/database_management.h"
#include "filters/filter_database.h"
#include "filters/settings_store.h"
#include "plugin/filter_runner.h"
#include "resources/resource_ids.h"
#include "ui/model/navigator.h"
#include "ui/win32/dialog.h"
#include "ui/win32/gdi.h"
#include "ui/win32/image_list_button.h"
#include "ui/win32/navigator_dialogs.h"

namespace lumen::ui {

class NavigatorPage final : public DialogOf<NavigatorPage>, private NavigatorView {
public:
    // `working`: the working filter, which this page loads, edits and saves.
    NavigatorPage(filters::FilterDatabase& database, plugin::FilterRunner& runner, filters::FilterDefinition& working);
    ~NavigatorPage() override;

    bool create(HWND mainDialog);
    // The pages told when the filter changes; either may be missing.
    void connect(Window controlPanel, Window presetsPage);
    // After the database was opened: the recent list loaded and the lists filled on the filter
    // the runner was given from the parameter block. Without settings, nothing is remembered.
    void open(std::unique_ptr<filters::SettingsStore> settings, const std::string& databaseRoot);

    const filters::FilterDefinition& workingFilter() const { return working_; }
    size_t selectedFilterCount() const { return selectedFilters().size(); }
    // The presets page saved the filter: its entry's has-presets mark and icon follow.
    void presetsSaved() { model_.presetsSaved(); }
    // The system's file dialog and folder browser; tests script them.
    void setSystemDialogs(SystemDialogs dialogs) { system_ = std::move(dialogs); }
    // The image the editor previews on: a copy of the control panel's source (may be empty).
    void setEditorPreviewSource(const plugin::ImageBuffer* source) { editorPreviewSource_ = source; }

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();
    static std::span<const Update> updateTable();

private:
    // LVN_ENDLABELEDIT is answered at once; its outcome is carried out afterwards.
    struct LabelEdit {
        int list = 0;
        int item = -1;
        std::string oldText;
        std::optional<std::string> newText;
    };

    INT_PTR onInit(WPARAM, LPARAM);
    INT_PTR onNotify(WPARAM, LPARAM lParam);
    INT_PTR onMouseMove(WPARAM, LPARAM lParam);
    INT_PTR onButtonUp(WPARAM, LPARAM);
    INT_PTR onCaptureChanged(WPARAM, LPARAM);
    INT_PTR onLabelEdited(WPARAM, LPARAM);
    INT_PTR onDestroy(WPARAM, LPARAM);
    void onCategoryMenu(int, LPARAM);
    void onFilterMenu(int, LPARAM);
    void onDatabaseButton(int, LPARAM);
    void onImport(int, LPARAM);
    void onFilterInfo(int, LPARAM);
    void onEditor(int, LPARAM);
    void updateOneFilterButton(Window control);
    void updateControls() override;

    Window categoryList() const { return item(kNavCategoryList); }
    Window filterList() const { return item(kNavFilterList); }
    // Indices into the model's lists: a pending new item at the top is not counted.
    std::vector<size_t> selectedCategories() const;
    std::vector<size_t> selectedFilters() const;
    void setUpLists();
    void attachButtons();
    void beginNewItem(Window list);
    void editLabel(Window list, int index);
    int trackMenu(HMENU menu, POINT at);
    void runFilterCommand(int id, const std::vector<size_t>& filters);
    std::optional<size_t> categoryUnder(POINT pagePoint) const;
    void endDrag();

    // NavigatorView
    void stopRender() override;
    void presetsChanged() override;
    void activateControls() override;
    void clearControls() override;
    void showCategories(const std::vector<std::string>& names, std::optional<size_t> select) override;
    void showFilters(const std::vector<filters::DatabaseEntry>& filters, std::optional<size_t> select) override;
    void updateFilterIcons(const std::vector<filters::DatabaseEntry>& filters) override;
    void removePendingCategory() override;
    void removePendingFilter() override;
    bool confirmDelete(const std::string& question) override;
    void showMessage(const std::string& text) override;

    filters::FilterDatabase& database_;
    plugin::FilterRunner& runner_;
    filters::FilterDefinition& working_;
    Navigator model_;
    std::unique_ptr<filters::SettingsStore> settings_;
    std::unique_ptr<filters::DatabaseManager> manager_;
    std::string databaseRoot_;
    SystemDialogs system_;
    Window controlPanel_;
    Window presetsPage_;
    FilterDrag drag_;
    LabelEdit edit_;
    bool opened_ = false;
    const plugin::ImageBuffer* editorPreviewSource_ = nullptr;

    ImageList filterImages_;    // shared with the list views, which do not destroy them
    ImageList categoryImages_;
    ImageList databaseIcon_;
    Icon databaseButtonIcon_;
    ImageListButton buttons_[4];
};

}  // namespace lumen::ui
