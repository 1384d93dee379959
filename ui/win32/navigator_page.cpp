#include "ui/win32/navigator_page.h"

#include <commctrl.h>

#include "filters/import_command.h"
#include "filters/memory_settings.h"
#include "ui/model/navigator_commands.h"
#include "ui/win32/editor_window.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"

namespace lumen::ui {
namespace {

constexpr int kButtonIds[4] = {kNavDatabaseButton, kNavImportButton, kNavInfoButton, kNavEditorButton};
constexpr int kMarkerWidth = 6;
constexpr int kIconSide = 16;

// Long file work: the wait cursor until the scope ends.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

HCURSOR dragCursor(FilterDrag::Cursor cursor) {
    const int id = cursor == FilterDrag::Cursor::Drop ? kDragAllowedCursor : kDragRefusedCursor;
    HCURSOR found = LoadCursorA(resourceModule(), MAKEINTRESOURCEA(id));
    return found ? found : LoadCursorA(pluginModule(), MAKEINTRESOURCEA(id));
}

HMENU loadNavigatorMenu() {
    HMENU menu = LoadMenuA(resourceModule(), MAKEINTRESOURCEA(kNavigatorMenu));
    return menu ? menu : LoadMenuA(pluginModule(), MAKEINTRESOURCEA(kNavigatorMenu));
}

std::vector<size_t> selectedItems(Window list, bool pendingAtTop) {
    std::vector<size_t> items;
    for (int at = -1; (at = static_cast<int>(list.send(LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED))) >= 0;) {
        if (!pendingAtTop)
            items.push_back(static_cast<size_t>(at));
        else if (at > 0)
            items.push_back(static_cast<size_t>(at - 1));
    }
    return items;
}

void setItemState(Window list, int index, UINT state, UINT mask) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    list.send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void selectOnly(Window list, std::optional<size_t> index) {
    setItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (!index) return;
    setItemState(list, static_cast<int>(*index), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.send(LVM_ENSUREVISIBLE, *index, FALSE);
}

void insertItem(Window list, int at, const std::string& text, int image, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    list.send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string itemText(Window list, int index) {
    char text[512] = {};
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    list.send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

// The model's enable rules on a menu of the resource, by command.
void applyStates(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& entry : items)
        if (entry.id != 0)
            EnableMenuItem(menu, static_cast<UINT>(entry.id), MF_BYCOMMAND | (entry.enabled ? MF_ENABLED : MF_GRAYED));
}

void appendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& entry : items) {
        UINT flags = MF_STRING;
        if (!entry.enabled) flags |= MF_GRAYED;
        if (entry.checked) flags |= MF_CHECKED;
        AppendMenuA(menu, flags, static_cast<UINT_PTR>(entry.id), entry.text.c_str());
    }
}

}  // namespace

NavigatorPage::NavigatorPage(filters::FilterDatabase& database, plugin::FilterRunner& runner,
                             filters::FilterDefinition& working)
    : database_(database),
      runner_(runner),
      working_(working),
      model_(filters::nativeFileSystem(), database, working_, *this),
      system_(systemDialogs()) {}

NavigatorPage::~NavigatorPage() {
    // The lists go before the image lists they show.
    destroy();
}

std::span<const NavigatorPage::Command> NavigatorPage::commandTable() {
    static const Command table[] = {
        {kCmdCategoryMenu, &NavigatorPage::onCategoryMenu},
        {kCmdFilterMenu, &NavigatorPage::onFilterMenu},
        {kNavDatabaseButton, &NavigatorPage::onDatabaseButton},
        {kNavImportButton, &NavigatorPage::onImport},
        {kNavInfoButton, &NavigatorPage::onFilterInfo},
        {kNavEditorButton, &NavigatorPage::onEditor},
    };
    return table;
}

std::span<const NavigatorPage::Message> NavigatorPage::messageTable() {
    static const Message table[] = {
        {WM_INITDIALOG, &NavigatorPage::onInit},
        {WM_NOTIFY, &NavigatorPage::onNotify},
        {WM_MOUSEMOVE, &NavigatorPage::onMouseMove},
        {WM_LBUTTONUP, &NavigatorPage::onButtonUp},
        {WM_CAPTURECHANGED, &NavigatorPage::onCaptureChanged},
        {kNavigatorLabelEdited, &NavigatorPage::onLabelEdited},
        {WM_DESTROY, &NavigatorPage::onDestroy},
    };
    return table;
}

std::span<const NavigatorPage::Update> NavigatorPage::updateTable() {
    static const Update table[] = {
        {kNavInfoButton, &NavigatorPage::updateOneFilterButton},
        {kNavEditorButton, &NavigatorPage::updateOneFilterButton},
    };
    return table;
}

bool NavigatorPage::create(HWND mainDialog) { return createChild(mainDialog, kNavigatorPage); }

void NavigatorPage::connect(Window controlPanel, Window presetsPage) {
    controlPanel_ = controlPanel;
    presetsPage_ = presetsPage;
}

void NavigatorPage::open(std::unique_ptr<filters::SettingsStore> settings, const std::string& databaseRoot) {
    settings_ = settings ? std::move(settings) : std::make_unique<filters::MemorySettingsStore>();
    databaseRoot_ = databaseRoot;
    manager_ = std::make_unique<filters::DatabaseManager>(filters::nativeFileSystem(), *settings_, databaseRoot_,
                                                          database_, working_);
    filters::fromBlockFields(working_, runner_.filter());
    opened_ = true;
    model_.initialFill(working_.category, working_.title);
}

INT_PTR NavigatorPage::onInit(WPARAM, LPARAM) {
    setUpLists();
    attachButtons();
    return TRUE;
}

void NavigatorPage::setUpLists() {
    filterImages_.reset(loadImageList(kListMarkersBitmap, kMarkerWidth));
    // One pixel wide: the categories show no icon, yet line up with the filters.
    categoryImages_.reset(loadImageList(kListMarkersBitmap, 1));
    const std::pair<Window, const char*> lists[] = {{categoryList(), "Category"}, {filterList(), "Name"}};
    for (auto [list, header] : lists) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(header);
        column.cx = list.clientRect().right;
        list.send(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    }
    categoryList().send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(categoryImages_.get()));
    filterList().send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(filterImages_.get()));
}

void NavigatorPage::attachButtons() {
    for (size_t i = 0; i < std::size(kButtonIds); ++i)
        if (buttons_[i].attach(item(kButtonIds[i]).handle())) buttons_[i].setTextMode(true, TextAlignment::centred);
    databaseIcon_.reset(loadImageList(kDatabaseIconBitmap, kIconSide));
    if (!databaseIcon_.get()) return;
    databaseButtonIcon_.reset(ImageList_GetIcon(databaseIcon_.get(), 0, ILD_TRANSPARENT));
    buttons_[0].setIcon(databaseButtonIcon_.get(), kIconSide, kIconSide);
}

INT_PTR NavigatorPage::onDestroy(WPARAM, LPARAM) {
    runner_.stop();
    return FALSE;
}

std::vector<size_t> NavigatorPage::selectedCategories() const {
    return selectedItems(categoryList(), model_.newCategoryPending());
}

std::vector<size_t> NavigatorPage::selectedFilters() const {
    return selectedItems(filterList(), model_.newFilterPending());
}

void NavigatorPage::updateControls() {
    if (opened_ && !drag_.dragging()) {
        model_.followCategorySelection(selectedCategories());
        model_.followFilterSelection(selectedFilters());
    }
    DialogOf<NavigatorPage>::updateControls();
}

void NavigatorPage::updateOneFilterButton(Window control) {
    const bool one = oneFilterSelected(selectedFilters().size());
    if (control.enabled() != one) control.enable(one);
}

INT_PTR NavigatorPage::onNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const auto id = static_cast<int>(header->idFrom);
    if (id != kNavCategoryList && id != kNavFilterList) return FALSE;
    switch (header->code) {
    case NM_DBLCLK:
        if (id == kNavFilterList && reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0)
            window().parent().post(WM_COMMAND, kCmdShowPresetsPage);
        return TRUE;
    case NM_RCLICK:
        window().post(WM_COMMAND, id == kNavCategoryList ? kCmdCategoryMenu : kCmdFilterMenu);
        return TRUE;
    case LVN_BEGINDRAG:
        if (id != kNavFilterList || !opened_) return FALSE;
        drag_.begin();
        SetCapture(window().handle());
        SetCursor(dragCursor(FilterDrag::Cursor::Drop));
        return TRUE;
    case LVN_BEGINLABELEDITA:
        return answer(FALSE);
    case LVN_ENDLABELEDITA: {
        const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
        edit_.list = id;
        edit_.item = info->item.iItem;
        edit_.oldText = itemText(id == kNavCategoryList ? categoryList() : filterList(), info->item.iItem);
        edit_.newText.reset();
        if (info->item.pszText) edit_.newText = info->item.pszText;
        window().post(kNavigatorLabelEdited);
        // The list never keeps the edited text: it is rebuilt from the database.
        return answer(FALSE);
    }
    default:
        return FALSE;
    }
}

INT_PTR NavigatorPage::onLabelEdited(WPARAM, LPARAM) {
    const LabelEdit edit = edit_;
    if (edit.list == kNavCategoryList) {
        WaitCursor wait;
        model_.endCategoryEdit(model_.newCategoryPending() ? std::string() : edit.oldText, edit.newText);
        return TRUE;
    }
    std::optional<size_t> entry;
    if (!model_.newFilterPending() && edit.item >= 0) entry = static_cast<size_t>(edit.item);
    model_.endFilterEdit(entry, edit.newText);
    return TRUE;
}

void NavigatorPage::beginNewItem(Window list) {
    insertItem(list, 0, "", 0, -1);
    editLabel(list, 0);
}

void NavigatorPage::editLabel(Window list, int index) {
    SetFocus(list.handle());
    list.send(LVM_EDITLABELA, static_cast<WPARAM>(index));
}

int NavigatorPage::trackMenu(HMENU menu, POINT at) {
    return static_cast<int>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                                           at.y, 0, window().handle(), nullptr));
}

void NavigatorPage::onCategoryMenu(int, LPARAM) {
    HMENU menu = loadNavigatorMenu();
    if (!menu || !opened_) return;
    const std::vector<size_t> selected = selectedCategories();
    HMENU popup = GetSubMenu(menu, 0);
    applyStates(popup, categoryMenu(selected.size()));
    POINT at{};
    GetCursorPos(&at);
    const int id = trackMenu(popup, at);
    DestroyMenu(menu);
    if (id == kCategoryNew) {
        model_.beginNewCategory();
        beginNewItem(categoryList());
    } else if (id == kCategoryRename && selected.size() == 1) {
        editLabel(categoryList(), static_cast<int>(selected[0]));
    } else if (id == kCategoryDelete && selected.size() == 1) {
        WaitCursor wait;
        model_.deleteCategory(selected[0]);
    }
}

void NavigatorPage::onFilterMenu(int, LPARAM) {
    HMENU menu = loadNavigatorMenu();
    if (!menu || !opened_) return;
    const std::vector<size_t> categories = selectedCategories();
    const std::vector<size_t> filters = selectedFilters();
    const std::vector<MenuItem> items = filterMenu(categories.size(), filters.size(), manager_->recentMenu());
    HMENU popup = GetSubMenu(menu, 1);
    applyStates(popup, items);
    HMENU copyTo = GetSubMenu(popup, GetMenuItemCount(popup) - 1);
    if (copyTo) {
        DeleteMenu(copyTo, kMenuCopyToPlaceholder, MF_BYCOMMAND);
        appendItems(copyTo, items.back().submenu);
    }
    POINT at{};
    GetCursorPos(&at);
    const int id = trackMenu(popup, at);
    DestroyMenu(menu);
    runFilterCommand(id, filters);
}

void NavigatorPage::runFilterCommand(int id, const std::vector<size_t>& filters) {
    if (id == kFilterNew) {
        model_.beginNewFilter();
        beginNewItem(filterList());
    } else if (id == kFilterEdit) {
        window().post(WM_COMMAND, kNavEditorButton);
    } else if (id == kFilterRename && filters.size() == 1) {
        editLabel(filterList(), static_cast<int>(filters[0]));
    } else if (id == kFilterDelete) {
        const std::vector<size_t> categories = selectedCategories();
        WaitCursor wait;
        model_.deleteFilters(filters, categories.size() == 1 ? std::optional<size_t>(categories[0]) : std::nullopt);
    } else if (id == kFilterDuplicate) {
        WaitCursor wait;
        model_.duplicate();
    } else if (id >= kCopyToFirst && id <= kCopyToLast) {
        WaitCursor wait;
        runCopyTo(id, filters, *manager_, model_);
    }
}

void NavigatorPage::onDatabaseButton(int, LPARAM) {
    if (!opened_) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    std::vector<MenuItem> items = databaseMenu(manager_->recentMenu());
    // The three commands in the language of the resources.
    const int texts[] = {kStrDatabaseNew, kStrDatabaseOpen, kStrDatabaseDelete};
    for (size_t i = 0; i < std::size(texts); ++i)
        if (std::string text = loadString(texts[i]); !text.empty()) items[i].text = text;
    appendItems(menu, items);
    const RECT button = item(kNavDatabaseButton).rectInParent();
    POINT at{button.right, button.top};
    ClientToScreen(window().handle(), &at);
    const int id = trackMenu(menu, at);
    DestroyMenu(menu);
    NavigatorDialogs dialogs{window().handle(), system_};
    WaitCursor wait;
    runDatabaseCommand(id, *manager_, databaseRoot_, dialogs, model_);
}

void NavigatorPage::onImport(int, LPARAM) {
    if (!opened_) return;
    NavigatorDialogs dialogs{window().handle(), system_};
    filters::ImportContext context{filters::nativeFileSystem(), *settings_, database_, working_, dialogs};
    runImportCommand(context, model_);
}

void NavigatorPage::onFilterInfo(int, LPARAM) {
    if (opened_ && oneFilterSelected(selectedFilters().size())) showFilterInfo(window().handle(), model_.filterInfo());
}

void NavigatorPage::onEditor(int, LPARAM) {
    if (!opened_ || !oneFilterSelected(selectedFilters().size())) return;
    stopRender();
    EditorSurroundings surroundings;
    surroundings.previewSource = editorPreviewSource_;
    surroundings.settings = settings_.get();
    surroundings.fileSystem = &filters::nativeFileSystem();
    filters::FilterEdit edit;
    if (runFilterEditor(window().parent().handle(), working_, surroundings, edit)) {
        const int32_t gradient = model_.editorAccepted(edit);
        runner_.setFilter(filters::toBlockFields(working_, database_.path()));
        window().parent().post(WM_COMMAND, kCmdShowGradient, gradient);
        if (controlPanel_) controlPanel_.post(kPanelRefreshFromFilter);
    }
    categoryList().invalidate();
    filterList().invalidate();
    if (controlPanel_) controlPanel_.invalidate();
}

std::optional<size_t> NavigatorPage::categoryUnder(POINT pagePoint) const {
    POINT screen = pagePoint;
    ClientToScreen(window().handle(), &screen);
    Window list = categoryList();
    if (WindowFromPoint(screen) != list.handle()) return std::nullopt;
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(list.handle(), &hit.pt);
    const auto index = static_cast<int>(list.send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index < 0 || !(hit.flags & LVHT_ONITEMLABEL)) return std::nullopt;
    return static_cast<size_t>(index);
}

INT_PTR NavigatorPage::onMouseMove(WPARAM, LPARAM lParam) {
    if (!drag_.dragging()) return FALSE;
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const std::optional<size_t> target = categoryUnder(at);
    if (target) {
        // The focus mark, not the selection, shows where the filters go.
        setItemState(categoryList(), static_cast<int>(*target), LVIS_FOCUSED, LVIS_FOCUSED);
        RedrawWindow(categoryList().handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    SetCursor(dragCursor(drag_.hover(target)));
    return TRUE;
}

void NavigatorPage::endDrag() {
    if (GetCapture() == window().handle()) ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

INT_PTR NavigatorPage::onButtonUp(WPARAM, LPARAM) {
    if (!drag_.dragging()) return FALSE;
    const std::optional<size_t> target = drag_.end();
    endDrag();
    if (target) {
        WaitCursor wait;
        model_.drop(selectedFilters(), *target);
    }
    return TRUE;
}

INT_PTR NavigatorPage::onCaptureChanged(WPARAM, LPARAM) {
    // Capture taken away (another window, a message box): the drag ends without a drop.
    if (drag_.dragging()) drag_.end();
    return FALSE;
}

void NavigatorPage::stopRender() { runner_.stop(); }

void NavigatorPage::presetsChanged() {
    if (presetsPage_) presetsPage_.post(kPresetsFilterChanged);
}

void NavigatorPage::activateControls() {
    runner_.setFilter(filters::toBlockFields(working_, database_.path()));
    if (controlPanel_) controlPanel_.post(WM_COMMAND, kCmdActivateFilter);
}

void NavigatorPage::clearControls() {
    if (controlPanel_) controlPanel_.post(WM_COMMAND, kCmdNoFilter);
}

void NavigatorPage::showCategories(const std::vector<std::string>& names, std::optional<size_t> select) {
    Window categories = categoryList();
    filterList().send(LVM_DELETEALLITEMS);
    categories.send(WM_SETREDRAW, FALSE);
    categories.send(LVM_DELETEALLITEMS);
    for (size_t i = 0; i < names.size(); ++i)
        insertItem(categories, static_cast<int>(i), names[i], 0, static_cast<LPARAM>(i));
    categories.send(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    filterList().send(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    selectOnly(categories, select);
    categories.send(WM_SETREDRAW, TRUE);
    InvalidateRect(categories.handle(), nullptr, TRUE);
}

void NavigatorPage::showFilters(const std::vector<filters::DatabaseEntry>& shown, std::optional<size_t> select) {
    Window filters = filterList();
    filters.send(WM_SETREDRAW, FALSE);
    filters.send(LVM_DELETEALLITEMS);
    for (size_t i = 0; i < shown.size(); ++i)
        insertItem(filters, static_cast<int>(i), shown[i].title, static_cast<int>(shown[i].flags & 1u),
                   static_cast<LPARAM>(i));
    filters.send(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    selectOnly(filters, select);
    filters.send(WM_SETREDRAW, TRUE);
    InvalidateRect(filters.handle(), nullptr, TRUE);
}

void NavigatorPage::updateFilterIcons(const std::vector<filters::DatabaseEntry>& shown) {
    const int offset = model_.newFilterPending() ? 1 : 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        LVITEMA icon{};
        icon.mask = LVIF_IMAGE;
        icon.iItem = static_cast<int>(i) + offset;
        icon.iImage = static_cast<int>(shown[i].flags & 1u);
        filterList().send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&icon));
    }
}

void NavigatorPage::removePendingCategory() { categoryList().send(LVM_DELETEITEM, 0); }

void NavigatorPage::removePendingFilter() { filterList().send(LVM_DELETEITEM, 0); }

bool NavigatorPage::confirmDelete(const std::string& question) {
    return askYesNo(window().handle(), question, kConfirmDeleteTitle, MB_ICONQUESTION);
}

void NavigatorPage::showMessage(const std::string& text) { showMessageBox(window().handle(), text); }

}  // namespace lumen::ui
