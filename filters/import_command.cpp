#include "filters/import_command.h"

#include <set>

#include "filters/afs_file.h"
#include "filters/ff_plugin.h"
#include "filters/ffx_format.h"
#include "filters/startup.h"

namespace lumen::filters {

namespace {

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool endsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsIgnoringCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

bool importLibrary(ImportContext& context, const std::string& path) {
    const FilterLibrary library = loadFilterLibrary(context.fs, path);
    if (library.status == LibraryStatus::Unsupported) context.ui.showMessage(kUnsupportedLibraryMessage);
    if (library.status == LibraryStatus::ReadError) context.ui.showMessage(kErrorReadingFileMessage);
    const std::optional<std::vector<size_t>> picked = context.ui.pickLibraryEntries(path, library);
    if (!picked) return false;
    // The unpicked entries go; the rest keep file order.
    const std::set<size_t> rows(picked->begin(), picked->end());
    std::vector<FilterLibraryEntry> kept;
    for (size_t row : rows)
        if (row < library.entries.size()) kept.push_back(library.entries[row]);
    importLibraryEntries(context.fs, kept, context.database.path(), context.working);
    return true;
}

// One file through its importer: whether it worked, and the reason when it did not.
FileImportResult importOne(ImportContext& context, const std::string& path) {
    FileImportResult result{path, importKindOf(path), true, {}};
    const std::string& databasePath = context.database.path();
    switch (result.kind) {
    case ImportKind::Library:
        result.succeeded = importLibrary(context, path);
        result.reason = kDialogCanceledReason;
        break;
    case ImportKind::Plugin:
        result.succeeded = importFfPlugin(context.fs, path, databasePath, context.working);
        result.reason = kInvalidPluginReason;
        break;
    case ImportKind::Afs:
        result.succeeded = importAfs(context.fs, path, databasePath, context.working);
        result.reason = kInvalidAfsReason;
        break;
    case ImportKind::Ffx:
        result.succeeded = copyImportFfx(context.fs, path, databasePath);
        result.reason = kInvalidFfxReason;
        break;
    case ImportKind::Skipped:
        break;
    }
    if (result.succeeded) result.reason.clear();
    return result;
}

}  // namespace

std::string fileExtensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool isPluginPath(const std::string& path) {
    const std::string extension = fileExtensionOf(path);
    if (!extension.empty()) return equalsIgnoringCase(extension, ".8bf");
    return path.size() >= 5 && endsWithIgnoringCase(path, "_8bf");
}

ImportKind importKindOf(const std::string& path) {
    const std::string extension = fileExtensionOf(path);
    if (equalsIgnoringCase(extension, ".ffl")) return ImportKind::Library;
    if (isPluginPath(path)) return ImportKind::Plugin;
    if (equalsIgnoringCase(extension, ".afs")) return ImportKind::Afs;
    if (equalsIgnoringCase(extension, ".ffx")) return ImportKind::Ffx;
    return ImportKind::Skipped;
}

std::string continueQuestion(const std::string& path, const std::string& reason) {
    return "Import of file \"" + path + "\" failed for the following reason:\n" + reason +
           "\n\nDo you want to continue importing files?";
}

bool copyImportFfx(FileSystem& fs, const std::string& path, const std::string& databasePath) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path);
    if (!bytes || !looksLikeFfx(*bytes)) return false;
    return fs.writeFileAtomic(joinPath(databasePath, fileNameOf(path)), *bytes);
}

ImportReport runImport(ImportContext& context) {
    ImportReport report;
    const FileDialogResult chosen = context.ui.chooseFiles(readStringSetting(context.settings, kRecentImportPathValue),
                                                           readDwordSetting(context.settings, kRecentImportFilterValue));
    if (chosen.outcome == FileDialogOutcome::NameBufferTooSmall) {
        context.ui.showMessage(kTooManyFilesMessage);
        return report;
    }
    if (chosen.outcome == FileDialogOutcome::Cancelled || chosen.paths.empty()) return report;
    report.ran = true;

    context.working.clear();
    const size_t count = chosen.paths.size();
    writeStringSetting(context.settings, kRecentImportPathValue, chosen.paths.back());
    writeDwordSetting(context.settings, kRecentImportFilterValue, chosen.fileType);

    for (const std::string& path : chosen.paths) {
        FileImportResult result = importOne(context, path);
        const bool failed = result.kind != ImportKind::Skipped && !result.succeeded;
        report.files.push_back(result);
        if (!failed) continue;
        if (count == 1) {
            if (result.kind != ImportKind::Library) context.ui.showMessage(result.reason);
        } else if (!context.ui.askToContinue(continueQuestion(path, result.reason))) {
            report.stopped = true;
            break;
        }
    }
    openCurrentDatabase(context.database, context.settings, context.database.path(), &context.working);
    return report;
}

}  // namespace lumen::filters
