// The navigator's own work on a database of 2000 filters, the largest category holding 500:
// filling the category list, filling it and the largest category's filter list, choosing a
// category (its list filled, its first filter loaded), and renaming a filter (file renamed and
// rewritten, index written, lists refilled). The list views' own drawing is not part of it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "filters/filter_database.h"
#include "ui/model/navigator.h"

namespace {

using namespace lumen;
using namespace lumen::filters;

constexpr int kFilterCount = 2000;
constexpr int kLargestCategory = 500;
inline constexpr const char* kLargestName = "Category Large";

class NullView final : public ui::NavigatorView {
public:
    void stopRender() override {}
    void presetsChanged() override {}
    void activateControls() override {}
    void clearControls() override {}
    void showCategories(const std::vector<std::string>& names, std::optional<size_t>) override {
        benchmark::DoNotOptimize(names.data());
    }
    void showFilters(const std::vector<DatabaseEntry>& filters, std::optional<size_t>) override {
        benchmark::DoNotOptimize(filters.data());
    }
    void updateFilterIcons(const std::vector<DatabaseEntry>&) override {}
    void removePendingCategory() override {}
    void removePendingFilter() override {}
    bool confirmDelete(const std::string&) override { return true; }
    void showMessage(const std::string&) override {}
};

class NavigatorScene {
public:
    NavigatorScene() {
        std::random_device random;
        path_ = (std::filesystem::temp_directory_path() / ("lumen-bench-nav-" + std::to_string(random()) + ".db")).string();
        std::filesystem::create_directory(path_);
        database.open(path_);
        for (int i = 0; i < kFilterCount; ++i) {
            FilterDefinition filter;
            const std::string category = i < kLargestCategory ? kLargestName : "Category " + std::to_string(i % 25);
            database.newFilter(filter, category, "Filter " + std::to_string(i));
        }
        navigator.refill();
        const std::vector<std::string>& names = navigator.categories();
        largest = size_t(std::find(names.begin(), names.end(), kLargestName) - names.begin());
    }
    ~NavigatorScene() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    FilterDatabase database{nativeFileSystem()};
    FilterDefinition working;
    NullView view;
    ui::Navigator navigator{nativeFileSystem(), database, working, view};
    size_t largest = 0;

private:
    std::string path_;
};

NavigatorScene& scene() {
    static NavigatorScene instance;
    return instance;
}

void BM_NavigatorFillCategories(benchmark::State& state) {
    NavigatorScene& s = scene();
    for (auto _ : state) s.navigator.refill();
    state.SetItemsProcessed(state.iterations() * kFilterCount);
}
BENCHMARK(BM_NavigatorFillCategories)->Unit(benchmark::kMicrosecond);

void BM_NavigatorFillCategoriesAndLargestCategory(benchmark::State& state) {
    NavigatorScene& s = scene();
    for (auto _ : state) {
        s.navigator.refill();
        s.navigator.followCategorySelection({s.largest});
    }
    state.SetItemsProcessed(state.iterations() * kFilterCount);
}
BENCHMARK(BM_NavigatorFillCategoriesAndLargestCategory)->Unit(benchmark::kMicrosecond);

// A click on a category as the page's next update carries it out: the filter list refilled and
// its first filter read from its file (the two categories alternate, so every load is real).
void BM_NavigatorSelectCategoryAndLoadFirstFilter(benchmark::State& state) {
    NavigatorScene& s = scene();
    s.navigator.refill();
    const size_t other = s.largest == 0 ? 1 : 0;
    bool large = false;
    for (auto _ : state) {
        large = !large;
        s.navigator.followCategorySelection({large ? s.largest : other});
        s.navigator.followFilterSelection({0});
    }
    benchmark::DoNotOptimize(s.working.title.data());
}
BENCHMARK(BM_NavigatorSelectCategoryAndLoadFirstFilter)->Unit(benchmark::kMicrosecond);

void BM_NavigatorRenameFilter(benchmark::State& state) {
    NavigatorScene& s = scene();
    bool renamed = false;
    s.navigator.refill();
    s.navigator.followCategorySelection({s.largest});
    for (auto _ : state) {
        const std::vector<DatabaseEntry>& shown = s.navigator.filters();
        size_t item = 0;
        const std::string from = renamed ? "Filter 0 renamed" : "Filter 0";
        while (item < shown.size() && shown[item].title != from) ++item;
        // The rename itself refills the category list; the filter list follows in the next update.
        s.navigator.endFilterEdit(item, renamed ? "Filter 0" : "Filter 0 renamed");
        s.navigator.followCategorySelection({s.largest});
        renamed = !renamed;
    }
}
BENCHMARK(BM_NavigatorRenameFilter)->Unit(benchmark::kMillisecond);

}  // namespace
