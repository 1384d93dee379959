#include "ui/model/navigator.h"

#include <algorithm>

#include "filters/ffx_file.h"
#include "filters/ffx_format.h"
#include "filters/startup.h"

namespace lumen::ui {

using filters::DatabaseEntry;

namespace {

std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Navigator::Navigator(filters::FileSystem& fs, filters::FilterDatabase& database, filters::FilterDefinition& working,
                     NavigatorView& view)
    : fs_(fs), database_(database), working_(working), view_(view) {}

void Navigator::initialFill(const std::string& category, const std::string& title) {
    refill(category);
    std::optional<size_t> categoryItem = categoryIndex(category);
    if (!categoryItem) {
        followFilterSelection({});
        return;
    }
    rememberedCategory_ = category;
    filters_ = database_.filtersOf(category);
    std::optional<size_t> filterItem;
    for (size_t i = 0; i < filters_.size(); ++i)
        if (filters_[i].title == title) {
            filterItem = i;
            break;
        }
    view_.showFilters(filters_, filterItem);
    if (!filterItem || !working_.restored) {
        followFilterSelection(filterItem ? std::vector<size_t>{*filterItem} : std::vector<size_t>{});
        return;
    }
    // The previous run's values stay; what the block does not carry comes from the file, so
    // that presets and saves work on the filter's own file.
    filters::FilterDefinition stored;
    const std::string path = database_.filePathOf(filters_[*filterItem].fileName);
    if (filters::loadFfxFile(fs_, path, stored)) {
        working_.filePath = path;
        working_.author = stored.author;
        working_.copyright = stored.copyright;
        working_.controlDefault = stored.controlDefault;
        working_.gradientDefault = stored.gradientDefault;
        working_.presets = std::move(stored.presets);
    }
    rememberedFile_ = filters_[*filterItem].fileName;
    noFilter_ = false;
    view_.presetsChanged();
    view_.activateControls();
}

void Navigator::refill(const std::string& selectCategory) {
    // Filling the category list empties the filter list, so the category it showed is
    // forgotten: the next update lists the selected category's filters again.
    categories_ = database_.categories();
    filters_.clear();
    rememberedCategory_.clear();
    view_.showCategories(categories_, categoryIndex(selectCategory));
}

void Navigator::followCategorySelection(const std::vector<size_t>& selected) {
    if (selected.size() != 1 || selected[0] >= categories_.size()) return;
    const std::string& name = categories_[selected[0]];
    if (name == rememberedCategory_) return;
    filters_ = database_.filtersOf(name);
    std::optional<size_t> select;
    if (!filters_.empty()) select = 0;
    if (!selectTitle_.empty())
        for (size_t i = 0; i < filters_.size(); ++i)
            if (filters_[i].title == selectTitle_) select = i;
    selectTitle_.clear();
    view_.showFilters(filters_, select);
    rememberedCategory_ = name;
}

void Navigator::followFilterSelection(const std::vector<size_t>& selected) {
    if (selected.size() == 1 && selected[0] < filters_.size()) {
        // Compared by file: a filter of the same title in another category is another filter.
        if (!filters::equalsIgnoringCase(filters_[selected[0]].fileName, rememberedFile_))
            loadFilter(filters_[selected[0]]);
        return;
    }
    if (working_.restored) {
        view_.stopRender();
        view_.presetsChanged();
        view_.activateControls();
        noFilter_ = true;
        working_.restored = false;
        return;
    }
    if (noFilter_) return;
    view_.stopRender();
    view_.clearControls();
    working_.presets.clear();
    view_.presetsChanged();
    noFilter_ = true;
    rememberedFile_.clear();
}

void Navigator::loadFilter(const DatabaseEntry& entry) {
    view_.stopRender();
    working_.restored = false;
    // The filter is remembered even when its file cannot be read, so that every later update
    // does not try again.
    rememberedFile_ = entry.fileName;
    if (!filters::readFfxFile(fs_, database_.filePathOf(entry.fileName), working_)) {
        working_.clear();
        view_.presetsChanged();
        view_.clearControls();
        noFilter_ = true;
        return;
    }
    view_.presetsChanged();
    view_.activateControls();
    noFilter_ = false;
}

std::optional<size_t> Navigator::categoryIndex(const std::string& name) const {
    if (name.empty()) return std::nullopt;
    auto found = std::find(categories_.begin(), categories_.end(), name);
    if (found == categories_.end()) return std::nullopt;
    return size_t(found - categories_.begin());
}

std::vector<std::string> Navigator::fileNamesOf(const std::vector<size_t>& selected) const {
    std::vector<std::string> names;
    for (size_t item : selected)
        if (item < filters_.size()) names.push_back(filters_[item].fileName);
    return names;
}

bool Navigator::usableName(const std::string& category, const std::string& title) {
    const size_t pathLength = database_.path().size() + filters::filterFileName(category, title).size();
    if (pathLength <= kMaxFilePathLength && category.size() <= filters::kMaxFfxStringLength &&
        title.size() <= filters::kMaxFfxStringLength)
        return true;
    view_.showMessage(kUnusableNameMessage);
    return false;
}

const DatabaseEntry* Navigator::entryOfFile(const std::string& fileName) const {
    for (const DatabaseEntry& entry : database_.entries())
        if (filters::equalsIgnoringCase(entry.fileName, fileName)) return &entry;
    return nullptr;
}

void Navigator::followMovedWorkingFilter(const std::vector<std::string>& movedFileNames,
                                         const std::string& newCategory) {
    const std::string current = fileNameOf(working_.filePath);
    if (working_.filePath.empty() ||
        std::none_of(movedFileNames.begin(), movedFileNames.end(),
                     [&](const std::string& name) { return filters::equalsIgnoringCase(name, current); }))
        return;
    const DatabaseEntry* moved = entryOfFile(filters::filterFileName(newCategory, working_.title));
    if (!moved || moved->category != newCategory) return;
    working_.category = newCategory;
    working_.filePath = database_.filePathOf(moved->fileName);
    if (filters::equalsIgnoringCase(rememberedFile_, current)) rememberedFile_ = moved->fileName;
}

void Navigator::endCategoryEdit(const std::string& oldName, const std::optional<std::string>& newName) {
    const bool pending = newCategoryPending_;
    newCategoryPending_ = false;
    if (!newName || newName->empty()) {
        if (pending) view_.removePendingCategory();
        return;
    }
    if (pending) {
        if (categoryIndex(*newName) || !usableName(*newName, "") || !database_.newCategory(*newName)) {
            view_.removePendingCategory();
            return;
        }
        refill(*newName);
        return;
    }
    if (*newName != oldName) renameCategory(oldName, *newName);
}

void Navigator::renameCategory(const std::string& oldName, const std::string& newName) {
    std::vector<std::string> moved;
    for (const DatabaseEntry& entry : database_.filtersOf(oldName)) {
        if (!usableName(newName, entry.title)) return;
        moved.push_back(entry.fileName);
    }
    // A failed move ends without a message; the lists show what was done.
    database_.renameCategory(oldName, newName);
    followMovedWorkingFilter(moved, newName);
    refill(newName);
}

void Navigator::endFilterEdit(std::optional<size_t> item, const std::optional<std::string>& newTitle) {
    const bool pending = newFilterPending_;
    newFilterPending_ = false;
    if (!newTitle || newTitle->empty()) {
        if (pending) view_.removePendingFilter();
        return;
    }
    if (pending) {
        createFilter(*newTitle);
        return;
    }
    if (!item || *item >= filters_.size()) return;
    const DatabaseEntry entry = filters_[*item];
    if (*newTitle == entry.title || !usableName(entry.category, *newTitle)) return;
    if (!database_.renameFilter(entry.fileName, *newTitle) && entryOfFile(entry.fileName)) return;
    const bool workingRenamed = filters::equalsIgnoringCase(fileNameOf(working_.filePath), entry.fileName);
    if (workingRenamed) {
        working_.title = *newTitle;
        working_.filePath = database_.filePathOf(filters::filterFileName(entry.category, *newTitle));
        rememberedFile_ = fileNameOf(working_.filePath);
    }
    refill(entry.category);
}

void Navigator::createFilter(const std::string& title) {
    const std::string category = rememberedCategory_;
    // A filter of that name exists already: it is never overwritten by an empty one.
    if (category.empty() || !usableName(category, title) ||
        fs_.fileExists(database_.filePathOf(filters::filterFileName(category, title)))) {
        view_.removePendingFilter();
        return;
    }
    view_.stopRender();
    if (database_.newFilter(working_, category, title)) {
        rememberedFile_ = fileNameOf(working_.filePath);
        noFilter_ = false;
        view_.presetsChanged();
        view_.activateControls();
    }
    refill(category);
}

void Navigator::deleteCategory(size_t category) {
    if (category >= categories_.size() || !view_.confirmDelete(kConfirmDeleteCategory)) return;
    database_.deleteCategory(categories_[category]);
    refill();
}

void Navigator::deleteFilters(const std::vector<size_t>& selected, std::optional<size_t> selectedCategory) {
    std::vector<std::string> names = fileNamesOf(selected);
    if (names.empty() || !view_.confirmDelete(kConfirmDeleteFilters)) return;
    const std::string category =
        selectedCategory && *selectedCategory < categories_.size() ? categories_[*selectedCategory] : std::string();
    // A file that cannot be removed ends the deletion; the lists show what was done.
    database_.deleteFilters(names);
    refill(category);
}

void Navigator::duplicate() {
    if (working_.filePath.empty()) return;
    const std::string copyTitle = filters::kCopyOfPrefix + working_.title;
    // An earlier copy of the same name may hold the user's changes: it is not overwritten.
    if (!usableName(working_.category, copyTitle) ||
        fs_.fileExists(database_.filePathOf(filters::filterFileName(working_.category, copyTitle))))
        return;
    if (!database_.duplicateFilter(working_)) return;
    selectTitle_ = working_.title;
    refill(working_.category);
}

void Navigator::drop(const std::vector<size_t>& selected, size_t target) {
    if (target >= categories_.size()) return;
    const std::string category = categories_[target];
    std::vector<std::string> moved;
    for (size_t item : selected) {
        if (item >= filters_.size()) continue;
        if (!usableName(category, filters_[item].title)) return;
        moved.push_back(filters_[item].fileName);
    }
    if (moved.empty()) return;
    database_.moveFilters(moved, category);
    followMovedWorkingFilter(moved, category);
    refill(category);
}

void Navigator::presetsSaved() {
    for (DatabaseEntry& listed : filters_)
        if (const DatabaseEntry* entry = entryOfFile(listed.fileName)) listed.flags = entry->flags;
    view_.updateFilterIcons(filters_);
}

FilterInfo Navigator::filterInfo() const {
    return {working_.category, working_.title, working_.copyright, working_.author,
            filters::directoryOf(working_.filePath), fileNameOf(working_.filePath)};
}

int32_t Navigator::editorAccepted(const filters::FilterEdit& edit) {
    filters::saveEdit(fs_, working_, edit);
    return working_.gradientIndex;
}

void Navigator::databaseReplaced() {
    rememberedFile_.clear();
    noFilter_ = false;
    refill();
}

}  // namespace lumen::ui
