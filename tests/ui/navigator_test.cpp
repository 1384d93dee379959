#include "ui/model/navigator.h"

#include "navigator_fixture.h"

namespace lumen::ui::testing {
namespace {

using Strings = std::vector<std::string>;

filters::BlockFilterFields blockFields(const std::string& category, const std::string& title) {
    filters::BlockFilterFields fields;
    fields.category = category;
    fields.title = title;
    fields.code = {"0", "r", "g", "b", "a"};
    fields.controlEnabled.fill(1);
    fields.controlValue.fill(7);
    fields.gradientIndex = 3;
    return fields;
}

TEST_F(NavigatorTest, InitialFillShowsTheRestoredFilterWithItsValuesAndItsFile) {
    filters::fromBlockFields(working, blockFields("Stone", "Tiles"));
    navigator.initialFill("Stone", "Tiles");
    EXPECT_EQ(view.categories, (Strings{"Distort", "Empty", "Stone"}));
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{2});
    EXPECT_EQ(view.titles(), (Strings{"Brick", "Tiles"}));
    EXPECT_EQ(view.filterSelection, std::vector<size_t>{1});
    EXPECT_EQ(view.log, (Strings{"categories", "filters", "presets", "1001"}));
    // The previous run's values survive; presets and saves work on the filter's own file.
    EXPECT_EQ(working.controlValue[0], 7);
    EXPECT_EQ(working.gradientIndex, 3);
    EXPECT_EQ(working.filePath, dir.file("Stone - Tiles.ffx"));
    EXPECT_EQ(working.presets.size(), 1u);

    view.log.clear();
    update();
    EXPECT_TRUE(view.log.empty());
    // Choosing another filter and this one again reads the file.
    selectFilters({"Brick"});
    selectFilters({"Tiles"});
    EXPECT_FALSE(working.restored);
    EXPECT_EQ(working.controlValue[0], filters::testing::sampleFilter(1).controlValue[0]);
}

TEST_F(NavigatorTest, ARestoredFilterNotInTheDatabaseIsShownWithoutASelection) {
    filters::fromBlockFields(working, blockFields("Stone", "Elsewhere"));
    navigator.initialFill("Stone", "Elsewhere");
    EXPECT_TRUE(view.filterSelection.empty());
    EXPECT_EQ(view.log, (Strings{"categories", "filters", "stop", "presets", "1001"}));
    EXPECT_TRUE(navigator.inNoFilterState());
    EXPECT_FALSE(working.restored);
    EXPECT_EQ(working.controlValue[0], 7);

    view.log.clear();
    update();
    EXPECT_TRUE(view.log.empty());
}

TEST_F(NavigatorTest, OneFilterSelectedIsLoadedSeveralOrNoneLeaveTheControlsInactive) {
    navigator.initialFill("", "");
    EXPECT_EQ(view.log, (Strings{"categories", "stop", "1004", "presets"}));
    view.log.clear();
    selectCategory("Stone");
    EXPECT_EQ(view.filterSelection, std::vector<size_t>{0});  // the first filter, at once
    EXPECT_EQ(view.log, (Strings{"filters", "stop", "presets", "1001"}));
    EXPECT_EQ(working.title, "Brick");
    EXPECT_FALSE(navigator.inNoFilterState());

    // Two selected with Ctrl: the render stops, the panel empties, the presets go.
    view.log.clear();
    selectFilters({"Brick", "Tiles"});
    EXPECT_EQ(view.log, (Strings{"stop", "1004", "presets"}));
    EXPECT_TRUE(navigator.inNoFilterState());
    EXPECT_EQ(navigator.rememberedFile(), "");
    view.log.clear();
    selectFilters({});
    EXPECT_TRUE(view.log.empty());

    // One of them again is loaded again.
    selectFilters({"Tiles"});
    EXPECT_EQ(view.log, (Strings{"stop", "presets", "1001"}));
    EXPECT_EQ(working.title, "Tiles");
    EXPECT_EQ(working.presets.size(), 1u);
}

TEST_F(NavigatorTest, AFilterOfTheSameTitleInAnotherCategoryIsLoadedToo) {
    filters::FilterDefinition other = filters::testing::sampleFilter(0);
    other.category = "Distort";
    other.title = "Brick";
    other.author = "Other";
    ASSERT_TRUE(filters::saveFfxAs(fs, other, dir.file("Distort - Brick.ffx")));
    ASSERT_TRUE(database.open(dir.path()).listed);
    navigator.initialFill("Stone", "Brick");
    ASSERT_EQ(working.category, "Stone");
    selectCategory("Distort");
    EXPECT_EQ(view.filterSelection, std::vector<size_t>{filterItem("Brick")});
    EXPECT_EQ(working.category, "Distort");
    EXPECT_EQ(working.author, "Other");
}

TEST_F(NavigatorTest, TheFilterListFollowsOnlyAChangedCategory) {
    navigator.initialFill("Stone", "");
    view.log.clear();
    update();
    update();
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "filters"), 0);
    selectCategory("Distort");
    EXPECT_EQ(view.titles(), Strings{"Wave"});
    EXPECT_EQ(working.title, "Wave");
    // Only the placeholder: no filters, and the panel empties.
    selectCategory("Empty");
    EXPECT_TRUE(view.filters.empty());
    EXPECT_TRUE(navigator.inNoFilterState());
    EXPECT_EQ(navigator.rememberedCategory(), "Empty");
    // No category selected changes nothing.
    view.categorySelection.clear();
    update();
    EXPECT_EQ(navigator.rememberedCategory(), "Empty");
}

TEST_F(NavigatorTest, AFilterWhoseFileIsGoneEmptiesThePanelAndIsNotTriedAgain) {
    ASSERT_TRUE(fs.removeFile(dir.file("Distort - Wave.ffx")));
    fs.reads = 0;
    navigator.initialFill("Distort", "Wave");
    update();
    update();
    EXPECT_EQ(fs.reads, 1);
    EXPECT_TRUE(navigator.inNoFilterState());
    EXPECT_EQ(view.log.back(), "1004");
}

TEST_F(NavigatorTest, NewCategoryIsAddedOnceAndANameInUseOrNoNameCancelsIt) {
    navigator.initialFill("Stone", "");
    navigator.beginNewCategory();
    navigator.endCategoryEdit("", std::nullopt);
    EXPECT_EQ(view.log.back(), "remove pending category");
    navigator.beginNewCategory();
    navigator.endCategoryEdit("", "");
    EXPECT_EQ(view.log.back(), "remove pending category");
    std::vector<filters::DatabaseEntry> before = database.entries();
    navigator.beginNewCategory();
    navigator.endCategoryEdit("", "Stone");
    EXPECT_EQ(view.log.back(), "remove pending category");
    EXPECT_EQ(database.entries(), before);
    EXPECT_FALSE(navigator.newCategoryPending());

    navigator.beginNewCategory();
    navigator.endCategoryEdit("", "Rock");
    EXPECT_EQ(view.categories, (Strings{"Distort", "Empty", "Rock", "Stone"}));
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{2});
    std::vector<filters::DatabaseEntry> index;
    ASSERT_TRUE(filters::parseIndex(filters::testing::readBytes(dir.file("index")), index));
    EXPECT_EQ(filters::categoriesOf(index), view.categories);
}

TEST_F(NavigatorTest, RenamingACategoryMovesItsFiltersAndTheLoadedOneFollows) {
    navigator.initialFill("Stone", "Brick");
    ASSERT_EQ(working.title, "Brick");
    navigator.endCategoryEdit("Stone", "");  // an empty rename is dropped
    navigator.endCategoryEdit("Stone", "Rock");
    EXPECT_EQ(view.categories, (Strings{"Distort", "Empty", "Rock"}));
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{2});
    EXPECT_TRUE(exists("Rock - Brick.ffx"));
    EXPECT_TRUE(exists("Rock - Tiles.ffx"));
    EXPECT_FALSE(exists("Stone - Brick.ffx"));
    EXPECT_EQ(working.category, "Rock");
    EXPECT_EQ(working.filePath, dir.file("Rock - Brick.ffx"));
    // The filter list is filled again for the renamed category.
    update();
    EXPECT_EQ(view.titles(), (Strings{"Brick", "Tiles"}));

    // Renaming onto an existing name merges; the placeholder takes the name too.
    navigator.endCategoryEdit("Empty", "Rock");
    EXPECT_EQ(view.categories, (Strings{"Distort", "Rock"}));
    filters::FilterDefinition read;
    ASSERT_TRUE(filters::loadFfxFile(fs, dir.file("Rock - Tiles.ffx"), read));
    EXPECT_EQ(read.category, "Rock");
}

TEST_F(NavigatorTest, NewFilterStartsAsTheIdentityAndNeverReplacesAnExistingOne) {
    navigator.initialFill("Stone", "Brick");
    std::vector<uint8_t> tiles = filters::testing::readBytes(dir.file("Stone - Tiles.ffx"));
    navigator.beginNewFilter();
    navigator.endFilterEdit(std::nullopt, "Tiles");
    EXPECT_EQ(view.log.back(), "remove pending filter");
    EXPECT_EQ(filters::testing::readBytes(dir.file("Stone - Tiles.ffx")), tiles);
    EXPECT_EQ(working.title, "Brick");
    navigator.beginNewFilter();
    navigator.endFilterEdit(std::nullopt, "");
    EXPECT_EQ(view.log.back(), "remove pending filter");

    view.log.clear();
    navigator.beginNewFilter();
    navigator.endFilterEdit(std::nullopt, "Marble");
    EXPECT_FALSE(navigator.newFilterPending());
    EXPECT_EQ(view.log.front(), "stop");
    EXPECT_TRUE(exists("Stone - Marble.ffx"));
    EXPECT_EQ(working.title, "Marble");
    EXPECT_EQ(working.category, "Stone");
    EXPECT_EQ(working.code, (std::array<std::string, 5>{"0", "r", "g", "b", "a"}));
    EXPECT_EQ(working.controlLabel[7], "Control 7");
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{categoryItem("Stone")});
    update();
    EXPECT_EQ(view.titles(), (Strings{"Brick", "Marble", "Tiles"}));
}

TEST_F(NavigatorTest, AFilterRenameMovesTheFileAndStopsCleanlyWhenTheNameIsTaken) {
    navigator.initialFill("Stone", "Brick");
    navigator.endFilterEdit(filterItem("Brick"), std::nullopt);
    navigator.endFilterEdit(filterItem("Brick"), "");
    EXPECT_TRUE(exists("Stone - Brick.ffx"));

    navigator.endFilterEdit(filterItem("Brick"), "Cobble");
    EXPECT_TRUE(exists("Stone - Cobble.ffx"));
    EXPECT_FALSE(exists("Stone - Brick.ffx"));
    EXPECT_EQ(working.title, "Cobble");
    EXPECT_EQ(working.filePath, dir.file("Stone - Cobble.ffx"));
    view.log.clear();
    update();
    EXPECT_EQ(view.titles(), (Strings{"Cobble", "Tiles"}));
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "stop"), 0);  // not read again

    // The name of another filter: the file rename fails and nothing else changes.
    view.log.clear();
    std::vector<filters::DatabaseEntry> before = database.entries();
    navigator.endFilterEdit(filterItem("Cobble"), "Tiles");
    EXPECT_EQ(database.entries(), before);
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(working.title, "Cobble");
}

TEST_F(NavigatorTest, NamesTooLongForAFilePathAreRefusedWithAMessage) {
    navigator.initialFill("Stone", "Brick");
    const std::string tooLong(kMaxFilePathLength, 'x');
    navigator.endFilterEdit(filterItem("Brick"), tooLong);
    navigator.endCategoryEdit("Stone", tooLong);
    navigator.beginNewCategory();
    navigator.endCategoryEdit("", tooLong);
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_EQ(view.messages[0], kUnusableNameMessage);
    EXPECT_EQ(view.log.back(), "remove pending category");
    EXPECT_TRUE(exists("Stone - Brick.ffx"));
    EXPECT_EQ(database.categories(), (Strings{"Distort", "Empty", "Stone"}));
}

TEST_F(NavigatorTest, DropMovesTheSelectedFiltersAndAFailedRenameStopsTheMoveThere) {
    navigator.initialFill("Stone", "Brick");
    // Tiles cannot move: a file of its new name is in the way.
    filters::testing::writeBytes(dir.file("Distort - Tiles.ffx"), {1, 2, 3});
    navigator.drop({filterItem("Brick"), filterItem("Tiles")}, categoryItem("Distort"));
    EXPECT_TRUE(exists("Distort - Brick.ffx"));
    EXPECT_TRUE(exists("Stone - Tiles.ffx"));
    EXPECT_EQ(working.filePath, dir.file("Distort - Brick.ffx"));
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{categoryItem("Distort")});
    // The move stopped before the sort: the list shows the entries as they lie.
    update();
    EXPECT_THAT(view.titles(), ::testing::UnorderedElementsAre("Brick", "Wave"));
    // The next open brings the index in step with the files.
    filters::FilterDatabase reopened(fs);
    reopened.open(dir.path());
    EXPECT_EQ(reopened.filtersOf("Distort").size(), 2u);

    ASSERT_TRUE(fs.removeFile(dir.file("Distort - Tiles.ffx")));
    selectCategory("Stone");
    navigator.drop({filterItem("Tiles")}, categoryItem("Distort"));
    EXPECT_EQ(view.categories, (Strings{"Distort", "Empty"}));
    filters::FilterDefinition read;
    ASSERT_TRUE(filters::loadFfxFile(fs, dir.file("Distort - Tiles.ffx"), read));
    EXPECT_EQ(read.category, "Distort");
}

TEST(FilterDrag, TheTargetFollowsThePointerAndOnlyAValidOneIsDroppedOn) {
    FilterDrag drag;
    EXPECT_EQ(drag.end(), std::nullopt);  // no drag began
    drag.begin();
    EXPECT_TRUE(drag.dragging());
    EXPECT_EQ(drag.hover(3), FilterDrag::Cursor::Drop);
    EXPECT_EQ(drag.target(), 3u);
    EXPECT_EQ(drag.hover(std::nullopt), FilterDrag::Cursor::NoDrop);
    EXPECT_EQ(drag.end(), std::nullopt);
    EXPECT_FALSE(drag.dragging());
    drag.begin();
    drag.hover(1);
    EXPECT_EQ(drag.end(), 1u);
    EXPECT_EQ(drag.end(), std::nullopt);
}

TEST_F(NavigatorTest, DeletingAsksFirstAndTheLastFilterTakesItsCategoryUnlessItHasAPlaceholder) {
    navigator.initialFill("Distort", "");
    update();
    view.answers = {false};
    navigator.deleteFilters({0}, categoryItem("Distort"));
    EXPECT_EQ(view.questions, Strings{kConfirmDeleteFilters});
    EXPECT_TRUE(exists("Distort - Wave.ffx"));
    navigator.deleteFilters({0}, categoryItem("Distort"));
    EXPECT_FALSE(exists("Distort - Wave.ffx"));
    EXPECT_EQ(view.categories, (Strings{"Empty", "Stone"}));
    EXPECT_TRUE(view.categorySelection.empty());

    // A category made with "&New..." keeps its placeholder when its last filter goes.
    navigator.beginNewCategory();
    navigator.endCategoryEdit("", "Rock");
    update();
    navigator.beginNewFilter();
    navigator.endFilterEdit(std::nullopt, "Slate");
    update();
    ASSERT_EQ(view.titles(), Strings{"Slate"});
    navigator.deleteFilters({0}, categoryItem("Rock"));
    EXPECT_FALSE(exists("Rock - Slate.ffx"));
    EXPECT_EQ(view.categories, (Strings{"Empty", "Rock", "Stone"}));
    EXPECT_EQ(view.categorySelection, std::vector<size_t>{1});
    update();
    EXPECT_TRUE(view.filters.empty());
    EXPECT_TRUE(navigator.inNoFilterState());
}

TEST_F(NavigatorTest, AFailedRemoveStopsTheDeletionAndTheListsShowWhatWasDone) {
    navigator.initialFill("Stone", "");
    fs.failRemove = [](const std::string& path) { return path.ends_with("Tiles.ffx"); };
    navigator.deleteFilters({0, 1}, categoryItem("Stone"));
    EXPECT_FALSE(exists("Stone - Brick.ffx"));
    EXPECT_TRUE(exists("Stone - Tiles.ffx"));
    update();
    EXPECT_EQ(view.titles(), Strings{"Tiles"});
}

TEST_F(NavigatorTest, DeletingACategoryRemovesItsFilesAndItsPlaceholder) {
    navigator.initialFill("Stone", "");
    view.answers = {false, true};
    navigator.deleteCategory(categoryItem("Stone"));
    EXPECT_TRUE(exists("Stone - Brick.ffx"));
    navigator.deleteCategory(categoryItem("Stone"));
    EXPECT_EQ(view.questions, (Strings{kConfirmDeleteCategory, kConfirmDeleteCategory}));
    EXPECT_FALSE(exists("Stone - Brick.ffx"));
    EXPECT_FALSE(exists("Stone - Tiles.ffx"));
    EXPECT_EQ(view.categories, (Strings{"Distort", "Empty"}));
    EXPECT_EQ(navigator.rememberedCategory(), "");
    // Only a placeholder: it goes as well.
    navigator.deleteCategory(categoryItem("Empty"));
    EXPECT_EQ(view.categories, Strings{"Distort"});
}

TEST_F(NavigatorTest, DuplicateSelectsAndLoadsTheCopyAndNeverOverwritesAnEarlierCopy) {
    navigator.initialFill("Stone", "");
    selectFilters({"Tiles"});
    navigator.duplicate();
    EXPECT_TRUE(exists("Stone - Copy of Tiles.ffx"));
    update();
    EXPECT_EQ(view.titles(), (Strings{"Brick", "Copy of Tiles", "Tiles"}));
    EXPECT_EQ(view.filterSelection, std::vector<size_t>{1});
    EXPECT_EQ(working.title, "Copy of Tiles");
    EXPECT_EQ(working.filePath, dir.file("Stone - Copy of Tiles.ffx"));
    EXPECT_TRUE(view.filters[1].hasPresets());

    // The copy is changed; duplicating the original again must keep that change.
    working.controlValue[0] = 99;
    ASSERT_TRUE(filters::writeFfxFile(fs, working));
    std::vector<uint8_t> copy = filters::testing::readBytes(dir.file("Stone - Copy of Tiles.ffx"));
    selectFilters({"Tiles"});
    navigator.duplicate();
    EXPECT_EQ(filters::testing::readBytes(dir.file("Stone - Copy of Tiles.ffx")), copy);
    EXPECT_EQ(working.title, "Tiles");
}

TEST_F(NavigatorTest, FilterInfoSplitsTheFilePathAndIconsFollowThePresetsFlag) {
    navigator.initialFill("Stone", "Brick");
    FilterInfo info = navigator.filterInfo();
    EXPECT_EQ(info.title, "Brick");
    EXPECT_EQ(info.category, "Stone");
    EXPECT_EQ(info.fileName, "Stone - Brick.ffx");
    EXPECT_EQ(info.folder, filters::withTrailingSeparator(dir.path()));
    EXPECT_EQ(info.author, working.author);

    EXPECT_FALSE(view.filters[0].hasPresets());
    filters::addPreset(working, "one", filters::testing::gradientBitmap(4, 4));
    ASSERT_TRUE(database.savePresetChange(working));
    navigator.presetsSaved();
    EXPECT_EQ(view.log.back(), "icons");
    EXPECT_TRUE(view.filters[0].hasPresets());
}

TEST_F(NavigatorTest, AcceptedEditIsSavedWithoutItsTitle) {
    navigator.initialFill("Stone", "Brick");
    filters::FilterEdit edit;
    edit.author = "Someone";
    edit.code = {"1", "r", "g", "b", "a"};
    edit.controlValue.fill(5);
    edit.gradientIndex = 12;
    EXPECT_EQ(navigator.editorAccepted(edit), 12);
    filters::FilterDefinition read;
    ASSERT_TRUE(filters::loadFfxFile(fs, dir.file("Stone - Brick.ffx"), read));
    EXPECT_EQ(read.title, "Brick");
    EXPECT_EQ(read.author, "Someone");
    EXPECT_EQ(read.controlDefault[3], 5);
    EXPECT_EQ(read.gradientDefault, 12);
}

}  // namespace
}  // namespace lumen::ui::testing
