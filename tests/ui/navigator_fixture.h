#pragma once
// A database of three filters in two categories and a placeholder-only one, and a view that
// behaves as the page does: it keeps what it was told to show, selects as told, and logs what
// it was asked to do for the other pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "../filters/test_support.h"
#include "filters/ffx_file.h"
#include "ui/model/navigator.h"

namespace lumen::ui::testing {

class RecordingView : public NavigatorView {
public:
    void stopRender() override { log.push_back("stop"); }
    void presetsChanged() override { log.push_back("presets"); }
    void activateControls() override { log.push_back("1001"); }
    void clearControls() override { log.push_back("1004"); }
    void showCategories(const std::vector<std::string>& names, std::optional<size_t> select) override {
        categories = names;
        filters.clear();
        categorySelection.clear();
        filterSelection.clear();
        if (select) categorySelection = {*select};
        log.push_back("categories");
    }
    void showFilters(const std::vector<filters::DatabaseEntry>& shown, std::optional<size_t> select) override {
        filters = shown;
        filterSelection.clear();
        if (select) filterSelection = {*select};
        log.push_back("filters");
    }
    void updateFilterIcons(const std::vector<filters::DatabaseEntry>& shown) override {
        filters = shown;
        log.push_back("icons");
    }
    void removePendingCategory() override { log.push_back("remove pending category"); }
    void removePendingFilter() override { log.push_back("remove pending filter"); }
    bool confirmDelete(const std::string& question) override {
        questions.push_back(question);
        bool yes = answers.empty() || answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> titles() const {
        std::vector<std::string> shown;
        for (const filters::DatabaseEntry& entry : filters) shown.push_back(entry.title);
        return shown;
    }

    std::vector<std::string> log;
    std::vector<std::string> categories;
    std::vector<filters::DatabaseEntry> filters;
    std::vector<size_t> categorySelection;
    std::vector<size_t> filterSelection;
    std::deque<bool> answers;  // Yes when empty
    std::vector<std::string> questions;
    std::vector<std::string> messages;
};

class NavigatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [category, title, presets] :
             {std::tuple{"Stone", "Tiles", 1}, {"Stone", "Brick", 0}, {"Distort", "Wave", 0}}) {
            filters::FilterDefinition filter = filters::testing::sampleFilter(presets);
            filter.category = category;
            filter.title = title;
            ASSERT_TRUE(filters::saveFfxAs(fs, filter, dir.file(filters::filterFileName(category, title))));
        }
        ASSERT_TRUE(database.open(dir.path()).listed);
        ASSERT_TRUE(database.newCategory("Empty"));
    }

    // The page's control update: the category selection followed, then the filter selection.
    void update() {
        navigator.followCategorySelection(view.categorySelection);
        navigator.followFilterSelection(view.filterSelection);
    }
    size_t categoryItem(const std::string& name) const {
        return size_t(std::find(view.categories.begin(), view.categories.end(), name) - view.categories.begin());
    }
    size_t filterItem(const std::string& title) const {
        std::vector<std::string> titles = view.titles();
        return size_t(std::find(titles.begin(), titles.end(), title) - titles.begin());
    }
    void selectCategory(const std::string& name) {
        view.categorySelection = {categoryItem(name)};
        update();
    }
    void selectFilters(const std::vector<std::string>& titles) {
        view.filterSelection.clear();
        for (const std::string& title : titles) view.filterSelection.push_back(filterItem(title));
        update();
    }
    bool exists(const std::string& name) { return fs.fileExists(dir.file(name)); }

    filters::testing::ScratchDirectory dir;
    filters::testing::FaultyFileSystem fs;
    filters::FilterDatabase database{fs};
    filters::FilterDefinition working;
    RecordingView view;
    Navigator navigator{fs, database, working, view};
};

}  // namespace lumen::ui::testing
