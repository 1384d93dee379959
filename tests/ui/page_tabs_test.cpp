#include <gtest/gtest.h>

#include "ui/model/page_tabs.h"

namespace lumen::ui::model {
namespace {

TEST(PageTabs, OnlyTheChosenPageIsShown) {
    for (int n = 0; n < kPageCount; ++n) {
        const PageVisibility visibility = showPage(n);
        EXPECT_TRUE(visibility.pagesChange);
        EXPECT_EQ(visibility.tabSelection, n);
        for (int other = 0; other < kPageCount; ++other)
            EXPECT_EQ(visibility.shown[static_cast<size_t>(other)], other == n) << n << " " << other;
    }
}

TEST(PageTabs, PageOutsideTheRangeOnlyMovesTheSelection) {
    for (int n : {-1, 3, 7}) {
        const PageVisibility visibility = showPage(n);
        EXPECT_FALSE(visibility.pagesChange);
        EXPECT_EQ(visibility.tabSelection, n);
    }
}

}  // namespace
}  // namespace lumen::ui::model
