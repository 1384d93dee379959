#pragma once
// The navigator page without its windows: which filter is loaded as the lists' selections
// change, and what each menu command, label edit and drop does to the database. The page
// mirrors the two lists the model shows and reports their selections as item indices.
#include <optional>
#include <string>
#include <vector>

#include "filters/database_entry.h"
#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "filters/filter_definition.h"

namespace lumen::ui {

inline constexpr const char* kConfirmDeleteTitle = "Confirm delete";
inline constexpr const char* kConfirmDeleteCategory =
    "Are you sure you want to delete all filters of the selected category?";
inline constexpr const char* kConfirmDeleteFilters = "Are you sure you want to delete all selected filters?";
// Shown when a category or title would give a file path the file system cannot take.
inline constexpr const char* kUnusableNameMessage =
    "This name is too long to be used for a filter file. Please choose a shorter one.";

// The longest file path the plug-in hands the file system (the Windows ANSI limit, terminator
// excluded).
constexpr size_t kMaxFilePathLength = 259;

// What the page does on windows and on the other pages when the model asks.
class NavigatorView {
public:
    virtual ~NavigatorView() = default;
    // Under the render lock: stop the preview's render thread and wait for it.
    virtual void stopRender() = 0;
    // The presets page re-lists the working filter's presets.
    virtual void presetsChanged() = 0;
    // Command 1001 (take the working filter) and 1004 (no filter) to the control panel.
    virtual void activateControls() = 0;
    virtual void clearControls() = 0;
    // Both lists emptied, the categories listed; `select` is selected and focused.
    virtual void showCategories(const std::vector<std::string>& names, std::optional<size_t> select) = 0;
    // The filter list refilled; `select` alone is selected and focused.
    virtual void showFilters(const std::vector<filters::DatabaseEntry>& filters, std::optional<size_t> select) = 0;
    // The listed filters' icons (presets flag) redrawn; the selection stays.
    virtual void updateFilterIcons(const std::vector<filters::DatabaseEntry>& filters) = 0;
    // The empty item a "&New..." inserted at the top of a list goes again.
    virtual void removePendingCategory() = 0;
    virtual void removePendingFilter() = 0;
    // "Confirm delete" with Yes and No; true for Yes.
    virtual bool confirmDelete(const std::string& question) = 0;
    virtual void showMessage(const std::string& text) = 0;
};

// The six texts of the "Filter Info" box.
struct FilterInfo {
    std::string category;
    std::string title;
    std::string copyright;
    std::string author;
    std::string folder;    // drive and directory of the filter's file
    std::string fileName;  // name and extension
};

// A drag of filters from the filter list: the drop target follows the pointer over the
// category list's labels; releasing the button answers where to drop, if anywhere.
class FilterDrag {
public:
    enum class Cursor { Drop, NoDrop };  // cursors 105 and 106

    void begin() {
        dragging_ = true;
        target_.reset();
    }
    // The category item whose label is under the pointer, or nothing.
    Cursor hover(std::optional<size_t> categoryItem) {
        target_ = categoryItem;
        return target_ ? Cursor::Drop : Cursor::NoDrop;
    }
    std::optional<size_t> end() {
        std::optional<size_t> target = dragging_ ? target_ : std::nullopt;
        dragging_ = false;
        target_.reset();
        return target;
    }
    bool dragging() const { return dragging_; }
    std::optional<size_t> target() const { return target_; }

private:
    bool dragging_ = false;
    std::optional<size_t> target_;
};

class Navigator {
public:
    Navigator(filters::FileSystem& fs, filters::FilterDatabase& database, filters::FilterDefinition& working,
              NavigatorView& view);

    // The lists as the page was last told to show them.
    const std::vector<std::string>& categories() const { return categories_; }
    const std::vector<filters::DatabaseEntry>& filters() const { return filters_; }
    bool inNoFilterState() const { return noFilter_; }
    const std::string& rememberedCategory() const { return rememberedCategory_; }
    // The file of the filter last loaded for the selection.
    const std::string& rememberedFile() const { return rememberedFile_; }

    // The page opens on the category and filter the parameter block names. A restored filter
    // that is found keeps the block's values and takes its file, texts and presets from disk.
    void initialFill(const std::string& category, const std::string& title);
    // Both lists refilled from the database as it is now.
    void refill(const std::string& selectCategory = {});

    // Run with every control update, with the selected items' indices into categories() and
    // filters() (a pending new item at the top not counted).
    void followCategorySelection(const std::vector<size_t>& selected);
    void followFilterSelection(const std::vector<size_t>& selected);

    // "&New..." of either menu: the page inserts an empty item and edits its label.
    void beginNewCategory() { newCategoryPending_ = true; }
    void beginNewFilter() { newFilterPending_ = true; }
    bool newCategoryPending() const { return newCategoryPending_; }
    bool newFilterPending() const { return newFilterPending_; }
    // End of a label edit: the old item text (empty for the pending item) and the edited
    // text (nothing when the edit was cancelled).
    void endCategoryEdit(const std::string& oldName, const std::optional<std::string>& newName);
    void endFilterEdit(std::optional<size_t> item, const std::optional<std::string>& newTitle);

    // The filter menu's and the category menu's actions on the selected items.
    void deleteCategory(size_t category);
    void deleteFilters(const std::vector<size_t>& selected, std::optional<size_t> selectedCategory);
    void duplicate();
    // The selected filters onto the category item `target`.
    void drop(const std::vector<size_t>& selected, size_t target);

    // A preset was added or deleted: the listed filters' icons follow their entries.
    void presetsSaved();

    FilterInfo filterInfo() const;
    // The editor closed with OK: its values taken back and saved. The gradient index for 1092.
    int32_t editorAccepted(const filters::FilterEdit& edit);

    // Before the database or the working filter is replaced under the page (import, another
    // database) the render stops; afterwards the lists are refilled.
    void stopRender() { view_.stopRender(); }
    void databaseReplaced();

private:
    std::vector<std::string> fileNamesOf(const std::vector<size_t>& selected) const;
    std::optional<size_t> categoryIndex(const std::string& name) const;
    // Refuses, with a message, a name whose filter file path the file system cannot take.
    bool usableName(const std::string& category, const std::string& title);
    const filters::DatabaseEntry* entryOfFile(const std::string& fileName) const;
    void loadFilter(const filters::DatabaseEntry& entry);
    // The working filter follows its file when a move gave the file a new name.
    void followMovedWorkingFilter(const std::vector<std::string>& movedFileNames, const std::string& newCategory);
    void renameCategory(const std::string& oldName, const std::string& newName);
    void createFilter(const std::string& title);

    filters::FileSystem& fs_;
    filters::FilterDatabase& database_;
    filters::FilterDefinition& working_;
    NavigatorView& view_;

    std::vector<std::string> categories_;
    std::vector<filters::DatabaseEntry> filters_;
    std::string rememberedCategory_;
    std::string rememberedFile_;
    std::string selectTitle_;  // selected instead of the first filter when the list is next filled
    bool noFilter_ = false;
    bool newCategoryPending_ = false;
    bool newFilterPending_ = false;
};

}  // namespace lumen::ui
