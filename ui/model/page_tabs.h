#pragma once
// Which of the main dialog's pages is shown: exactly the page of the selected tab is shown and
// enabled; the others are hidden and disabled.
#include <array>
#include <cstddef>

namespace lumen::ui::model {

inline constexpr int kPageCount = 3;
enum PageIndex { kNavigatorIndex = 0, kPresetsIndex = 1, kAboutIndex = 2 };

struct PageVisibility {
    std::array<bool, kPageCount> shown{};
    int tabSelection = 0;
    bool pagesChange = false;  // false: only the tab selection is set
};

// Showing page n: for n outside the pages only the tab selection follows n.
PageVisibility showPage(int n);

}  // namespace lumen::ui::model
