#pragma once
// The navigator's Import command: files of four kinds chosen in one dialog, each handed to its
// importer, failures reported per file, and the database reopened at the end.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "filters/ffl_file.h"
#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "filters/filter_definition.h"
#include "filters/import_outcome.h"
#include "filters/settings_store.h"

namespace lumen::filters {

inline constexpr const char* kImportFileTypes =
    "Filter Factory Library Files (*.ffl)|*.ffl|Filter Factory Files (*.afs; *.8bf)|*.afs;*.8bf|"
    "Lumenforge Files (*.ffx)|*.ffx|All Files (*.*)|*.*||";
constexpr size_t kImportNameBufferSize = 2048;
inline constexpr const char* kTooManyFilesMessage =
    "Sorry, too many files selected.\nThis is a restriction of Microsoft Windows.\n"
    "Please select a reduced numer of files.";
inline constexpr const char* kDialogCanceledReason = "Dialog canceled";
inline constexpr const char* kInvalidPluginReason = "No or invalid Filter Factory plugin.";
inline constexpr const char* kInvalidAfsReason = "Invalid AFS format.";
inline constexpr const char* kInvalidFfxReason = "Invalid FFX format or version conflict.";
inline constexpr const char* kImportCaption = "Import";

enum class FileDialogOutcome { Chosen, Cancelled, NameBufferTooSmall };

struct FileDialogResult {
    FileDialogOutcome outcome = FileDialogOutcome::Cancelled;
    std::vector<std::string> paths;  // full paths in the dialog's order
    uint32_t fileType = 0;           // the file-type entry chosen, from 1
};

// What the command needs of the user interface; the dialogs implement it, tests script it.
class ImportUi {
public:
    virtual ~ImportUi() = default;
    // Open dialog with several files allowed, the file types of kImportFileTypes, the given
    // file name filled in and file type preselected, and a name buffer of kImportNameBufferSize.
    virtual FileDialogResult chooseFiles(const std::string& initialPath, uint32_t fileType) = 0;
    // "Selective FFL Import": the library's rows; the indices of the rows picked, or nothing
    // for Cancel.
    virtual std::optional<std::vector<size_t>> pickLibraryEntries(const std::string& path,
                                                                  const FilterLibrary& library) = 0;
    virtual void showMessage(const std::string& text) = 0;
    // Yes/No with the exclamation icon and the caption kImportCaption; true for Yes.
    virtual bool askToContinue(const std::string& question) = 0;
};

enum class ImportKind { Library, Plugin, Afs, Ffx, Skipped };

// The text from the last full stop of the file name on, the full stop included.
std::string fileExtensionOf(const std::string& path);
// ".8bf" in any case, or no extension and a path ending in "_8bf" (any case).
bool isPluginPath(const std::string& path);
ImportKind importKindOf(const std::string& path);
std::string continueQuestion(const std::string& path, const std::string& reason);

// A file that passes the looks-like-FFX test is copied unchanged under its own name. When a file
// of that name is in the database already it is kept: the copy takes the first free name of
// "NAME (2).ffx", "NAME (3).ffx" ..., unless `replace` asks to put the copy in its place.
ImportOutcome copyImportFfx(FileSystem& fs, const std::string& path, const std::string& databasePath,
                            bool replace = false);

struct FileImportResult {
    std::string path;
    ImportKind kind = ImportKind::Skipped;
    bool succeeded = false;
    // The text the dialogs show for the failure; empty for a failure they do not report (a
    // filter that could not be saved).
    std::string reason;
    std::string detail;  // what happened and to which file, for the command line
};

struct ImportReport {
    bool ran = false;      // files were chosen (the dialog neither cancelled nor failed)
    bool stopped = false;  // the user answered No
    std::vector<FileImportResult> files;  // those handled, in order
};

struct ImportContext {
    FileSystem& fs;
    SettingsStore& settings;
    FilterDatabase& database;
    FilterDefinition& working;
    ImportUi& ui;
    bool replaceExisting = false;  // copied .ffx files replace those of their name
};

// The whole command; the caller refreshes its category list afterwards.
ImportReport runImport(ImportContext& context);

}  // namespace lumen::filters
