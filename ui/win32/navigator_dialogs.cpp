#include "ui/win32/navigator_dialogs.h"

#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "resources/resource_ids.h"
#include "ui/win32/dialog.h"
#include "ui/win32/gdi.h"
#include "ui/win32/module.h"

namespace lumen::ui {
namespace {

constexpr const char* kMessageCaption = "Lumenforge";

class NewDatabaseDialog final : public DialogOf<NewDatabaseDialog> {
public:
    explicit NewDatabaseDialog(const std::function<DatabaseDialogs::NewDatabaseReply(const std::string&)>& ok)
        : ok_(ok) {}

    static std::span<const Command> commandTable() {
        static const Command table[] = {
            {IDOK, &NewDatabaseDialog::onOk},
            {IDCANCEL, &NewDatabaseDialog::onCancel},
        };
        return table;
    }

private:
    void onOk(int, LPARAM) {
        const std::string name = item(kNewDatabaseName).text();
        if (name.empty()) return;
        const DatabaseDialogs::NewDatabaseReply reply = ok_(name);
        if (!reply.message.empty()) showMessageBox(window().handle(), reply.message);
        if (reply.close) endModal(IDOK);
    }
    void onCancel(int, LPARAM) { endModal(IDCANCEL); }

    const std::function<DatabaseDialogs::NewDatabaseReply(const std::string&)>& ok_;
};

class FilterInfoBox final : public DialogOf<FilterInfoBox> {
public:
    explicit FilterInfoBox(const FilterInfo& info) : info_(info) {}

    static std::span<const Command> commandTable() {
        static const Command table[] = {
            {IDOK, &FilterInfoBox::onClose},
            {IDCANCEL, &FilterInfoBox::onClose},
        };
        return table;
    }
    static std::span<const Message> messageTable() {
        static const Message table[] = {
            {WM_INITDIALOG, &FilterInfoBox::onInit},
            {WM_CTLCOLORSTATIC, &FilterInfoBox::onFieldColour},
        };
        return table;
    }

private:
    INT_PTR onInit(WPARAM, LPARAM) {
        const std::pair<int, const std::string*> fields[] = {
            {kInfoCategory, &info_.category}, {kInfoTitle, &info_.title},     {kInfoCopyright, &info_.copyright},
            {kInfoAuthor, &info_.author},     {kInfoDatabase, &info_.folder}, {kInfoFileName, &info_.fileName},
        };
        for (auto [id, text] : fields) item(id).setText(*text);
        // The texts are read, not edited: none of them starts selected.
        SetFocus(item(IDOK).handle());
        return FALSE;
    }
    // Read-only edits are drawn as statics: black on white, as the texts of a form.
    INT_PTR onFieldColour(WPARAM dc, LPARAM) {
        SetTextColor(reinterpret_cast<HDC>(dc), RGB(0, 0, 0));
        SetBkColor(reinterpret_cast<HDC>(dc), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    void onClose(int, LPARAM) { endModal(IDOK); }

    const FilterInfo& info_;
};

class LibraryImportDialog final : public DialogOf<LibraryImportDialog> {
public:
    explicit LibraryImportDialog(const filters::FilterLibrary& library) : library_(library) {}
    const std::vector<size_t>& picked() const { return picked_; }

    static std::span<const Command> commandTable() {
        static const Command table[] = {
            {IDOK, &LibraryImportDialog::onImport},
            {IDCANCEL, &LibraryImportDialog::onCancel},
            {kLibrarySelectAll, &LibraryImportDialog::onSelectAll},
            {kCmdLoadLibrary, &LibraryImportDialog::onLoad},
        };
        return table;
    }
    static std::span<const Message> messageTable() {
        static const Message table[] = {
            {WM_INITDIALOG, &LibraryImportDialog::onInit},
            {WM_DRAWITEM, &LibraryImportDialog::onDrawItem},
        };
        return table;
    }

private:
    Window list() const { return item(kLibraryList); }

    INT_PTR onInit(WPARAM, LPARAM) {
        const std::pair<const char*, int> columns[] = {{"No.", 30}, {"Category", 150}, {"Name", 180}};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.pszText = const_cast<char*>(columns[i].first);
            column.cx = columns[i].second;
            list().send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        list().send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        window().post(WM_COMMAND, kCmdLoadLibrary);
        return TRUE;
    }

    void onLoad(int, LPARAM) {
        list().send(LVM_DELETEALLITEMS);
        for (size_t i = 0; i < library_.entries.size(); ++i) {
            std::string number = filters::libraryRowNumber(i);
            LVITEMA row{};
            row.mask = LVIF_TEXT | LVIF_PARAM;
            row.iItem = static_cast<int>(i);
            row.pszText = number.data();
            row.lParam = static_cast<LPARAM>(i);
            const auto index = static_cast<int>(list().send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
            const std::string* cells[] = {&library_.entries[i].category, &library_.entries[i].title};
            for (int column = 1; column <= 2; ++column) {
                LVITEMA cell{};
                cell.iSubItem = column;
                cell.pszText = const_cast<char*>(cells[column - 1]->c_str());
                list().send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
            }
        }
    }

    void onSelectAll(int, LPARAM) {
        list().send(WM_SETREDRAW, FALSE);
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        list().send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        list().send(WM_SETREDRAW, TRUE);
        InvalidateRect(list().handle(), nullptr, TRUE);
    }

    void onImport(int, LPARAM) {
        picked_.clear();
        for (int at = -1; (at = static_cast<int>(list().send(LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED))) >= 0;)
            picked_.push_back(static_cast<size_t>(at));
        endModal(IDOK);
    }
    void onCancel(int, LPARAM) { endModal(IDCANCEL); }

    INT_PTR onDrawItem(WPARAM, LPARAM lParam) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!draw || draw->CtlType != ODT_LISTVIEW) return FALSE;
        paintRow(*draw);
        return TRUE;
    }

    void paintRow(const DRAWITEMSTRUCT& draw) {
        // The selection is always shown, so a selected row looks the same with or without focus.
        const bool selected = (draw.itemState & ODS_SELECTED) != 0;
        fillRect(draw.hDC, draw.rcItem, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkMode(draw.hDC, TRANSPARENT);
        constexpr int kCellMargin = 2;
        int left = draw.rcItem.left;
        for (int column = 0; column < 3; ++column) {
            LVCOLUMNA format{};
            format.mask = LVCF_FMT | LVCF_WIDTH;
            if (!list().send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&format))) break;
            char text[512] = {};
            LVITEMA cell{};
            cell.iSubItem = column;
            cell.pszText = text;
            cell.cchTextMax = sizeof text;
            list().send(LVM_GETITEMTEXTA, draw.itemID, reinterpret_cast<LPARAM>(&cell));
            RECT area{left + kCellMargin, draw.rcItem.top, left + format.cx - kCellMargin, draw.rcItem.bottom};
            UINT align = DT_LEFT;
            if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) align = DT_RIGHT;
            if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) align = DT_CENTER;
            DrawTextA(draw.hDC, text, -1, &area, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            left += format.cx;
        }
        if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
    }

    const filters::FilterLibrary& library_;
    std::vector<size_t> picked_;
};

// "a|b||" as the open dialog wants it: "a\0b\0\0".
std::string fileTypeFilter() {
    std::string types = loadString(kStrImportTypes);
    if (types.empty()) types = filters::kImportFileTypes;
    for (char& c : types)
        if (c == '|') c = '\0';
    return types + '\0';
}

filters::FileDialogResult openFiles(HWND owner, const std::string& initialPath, uint32_t fileType) {
    filters::FileDialogResult result;
    std::vector<char> names(filters::kImportNameBufferSize, '\0');
    initialPath.copy(names.data(), names.size() - 1);
    const std::string filter = fileTypeFilter();
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = fileType == 0 ? 1 : fileType;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) {
        result.outcome = CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? filters::FileDialogOutcome::NameBufferTooSmall
                                                                         : filters::FileDialogOutcome::Cancelled;
        return result;
    }
    result.outcome = filters::FileDialogOutcome::Chosen;
    result.fileType = dialog.nFilterIndex;
    // One file: its full path. Several: the directory, then each name, each ended by a zero.
    std::vector<std::string> parts;
    for (const char* at = names.data(); *at && at < names.data() + names.size(); at += parts.back().size() + 1)
        parts.emplace_back(at);
    if (parts.size() == 1) {
        result.paths = parts;
        return result;
    }
    std::string directory = parts.empty() ? std::string() : parts[0];
    if (!directory.empty() && directory.back() != '\\') directory += '\\';
    for (size_t i = 1; i < parts.size(); ++i) result.paths.push_back(directory + parts[i]);
    return result;
}

std::optional<std::string> browseForFolder(HWND owner, const std::string& title, const std::string& root) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PIDLIST_ABSOLUTE rootList = root.empty() ? nullptr : ILCreateFromPathA(root.c_str());
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = rootList;
    browse.lpszTitle = title.empty() ? "Open" : title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE picked = SHBrowseForFolderA(&browse)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(picked, path)) chosen = path;
        CoTaskMemFree(picked);
    }
    if (rootList) ILFree(rootList);
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

}  // namespace

SystemDialogs systemDialogs() { return {openFiles, browseForFolder}; }

void showMessageBox(HWND owner, const std::string& text) {
    MessageBoxA(owner, fromStringTable(text).c_str(), kMessageCaption, MB_OK);
}

bool askYesNo(HWND owner, const std::string& text, const std::string& caption, UINT icon) {
    return MessageBoxA(owner, fromStringTable(text).c_str(), fromStringTable(caption).c_str(), MB_YESNO | icon) == IDYES;
}

void showFilterInfo(HWND owner, const FilterInfo& info) {
    FilterInfoBox box{info};
    box.runModal(owner, kFilterInfoDialog);
}

bool NavigatorDialogs::newDatabase(const std::function<NewDatabaseReply(const std::string&)>& ok) {
    NewDatabaseDialog dialog{ok};
    return dialog.runModal(owner_, kNewDatabaseDialog) == IDOK;
}

std::optional<std::string> NavigatorDialogs::browseFolder(const std::string& title, const std::string& root) {
    return system_.browseFolder(owner_, title, root);
}

bool NavigatorDialogs::confirmDelete(const std::string& question) {
    return askYesNo(owner_, question, kConfirmDeleteTitle, MB_ICONQUESTION);
}

void NavigatorDialogs::showMessage(const std::string& text) { showMessageBox(owner_, text); }

filters::FileDialogResult NavigatorDialogs::chooseFiles(const std::string& initialPath, uint32_t fileType) {
    return system_.chooseFiles(owner_, initialPath, fileType);
}

std::optional<std::vector<size_t>> NavigatorDialogs::pickLibraryEntries(const std::string&,
                                                                        const filters::FilterLibrary& library) {
    LibraryImportDialog dialog{library};
    if (dialog.runModal(owner_, kLibraryImportDialog) != IDOK) return std::nullopt;
    return dialog.picked();
}

bool NavigatorDialogs::askToContinue(const std::string& question) {
    return askYesNo(owner_, question, filters::kImportCaption, MB_ICONEXCLAMATION);
}

}  // namespace lumen::ui
