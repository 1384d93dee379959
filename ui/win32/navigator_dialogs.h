#pragma once
// The small windows the navigator opens: "New Database" (150), "Filter Info" (148), "Selective
// FFL Import" (146), the message boxes, and the system's open dialog and folder browser. The
// two system dialogs sit behind replaceable functions, so tests script them as a user would
// answer them; every window of our own is real.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "filters/import_command.h"
#include "ui/model/navigator.h"
#include "ui/model/navigator_commands.h"

namespace lumen::ui {

// The system's dialogs, as the navigator calls them.
struct SystemDialogs {
    // Open dialog with several files allowed: the file types of text 17018, `initialPath`
    // filled in, `fileType` (from 1; 0 the first) preselected, a name buffer of 2048 bytes.
    std::function<filters::FileDialogResult(HWND owner, const std::string& initialPath, uint32_t fileType)> chooseFiles;
    // The folder browser with `title`, rooted at `root`: the chosen folder's full path.
    std::function<std::optional<std::string>(HWND owner, const std::string& title, const std::string& root)>
        browseFolder;
};
SystemDialogs systemDialogs();

// Message boxes with the plug-in's name as caption unless one is given.
void showMessageBox(HWND owner, const std::string& text);
bool askYesNo(HWND owner, const std::string& text, const std::string& caption, UINT icon);

// Dialog 148 with the six texts; closes with OK.
void showFilterInfo(HWND owner, const FilterInfo& info);

// The windows behind the Database menu and the Import command, owned by the navigator page.
class NavigatorDialogs final : public DatabaseDialogs, public filters::ImportUi {
public:
    NavigatorDialogs(HWND owner, const SystemDialogs& system) : owner_(owner), system_(system) {}

    bool newDatabase(const std::function<NewDatabaseReply(const std::string&)>& ok) override;
    std::optional<std::string> browseFolder(const std::string& title, const std::string& root) override;
    bool confirmDelete(const std::string& question) override;
    void showMessage(const std::string& text) override;

    filters::FileDialogResult chooseFiles(const std::string& initialPath, uint32_t fileType) override;
    std::optional<std::vector<size_t>> pickLibraryEntries(const std::string& path,
                                                          const filters::FilterLibrary& library) override;
    bool askToContinue(const std::string& question) override;

private:
    HWND owner_;
    const SystemDialogs& system_;
};

}  // namespace lumen::ui
