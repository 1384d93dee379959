#include <gtest/gtest.h>

#include "ui/model/status_line.h"

namespace lumen::ui::model {
namespace {

TEST(StatusLine, DatabaseNameIsCutBeforeTheFirstDotDb) {
    EXPECT_EQ(databaseDisplayName("C:\\Plug-ins\\Korvath Filters.db\\"), "Korvath Filters");
    EXPECT_EQ(databaseDisplayName("/home/u/Art.db.old/"), "Art");
    EXPECT_EQ(databaseDisplayName("/home/u/Mine"), "Mine");
    EXPECT_EQ(databaseDisplayName("C:\\x.db\\Nested\\"), "Nested");
    EXPECT_EQ(databaseDisplayName(".db"), "");
    EXPECT_EQ(databaseDisplayName(""), "");
}

TEST(StatusLine, CountIsDecimal) {
    EXPECT_EQ(filterCountText(0), "0");
    EXPECT_EQ(filterCountText(1234), "1234");
}

}  // namespace
}  // namespace lumen::ui::model
