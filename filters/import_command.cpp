#include "filters/import_command.h"

#include <set>

#include "filters/afs_file.h"
#include "filters/ff_plugin.h"
#include "filters/ffx_format.h"
#include "filters/startup.h"

namespace lumen::filters {

namespace {

bool endsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsIgnoringCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

void importLibrary(ImportContext& context, const std::string& path, FileImportResult& result) {
    const FilterLibrary library = loadFilterLibrary(context.fs, path);
    if (library.status == LibraryStatus::Unsupported) context.ui.showMessage(kUnsupportedLibraryMessage);
    if (library.status == LibraryStatus::ReadError || library.status == LibraryStatus::Broken)
        context.ui.showMessage(kErrorReadingFileMessage);
    result.detail = libraryProblem(path, library);
    const std::optional<std::vector<size_t>> picked = context.ui.pickLibraryEntries(path, library);
    if (!picked) {
        result.succeeded = false;
        result.reason = kDialogCanceledReason;
        if (result.detail.empty()) result.detail = path + ": the import was cancelled";
        return;
    }
    // The unpicked entries go; the rest keep file order.
    const std::set<size_t> rows(picked->begin(), picked->end());
    std::vector<FilterLibraryEntry> kept;
    for (size_t row : rows)
        if (row < library.entries.size()) kept.push_back(library.entries[row]);
    const ImportOutcome saved = importLibraryEntries(context.fs, kept, context.database.path(), context.working);
    result.succeeded = static_cast<bool>(saved);
    if (!saved) result.detail = saved.detail;
}

// One file through its importer: whether it worked, and the reason when it did not.
FileImportResult importOne(ImportContext& context, const std::string& path) {
    FileImportResult result{path, importKindOf(path), true, {}, {}};
    const std::string& databasePath = context.database.path();
    ImportOutcome outcome;
    switch (result.kind) {
    case ImportKind::Library:
        importLibrary(context, path, result);
        return result;
    case ImportKind::Plugin:
        outcome = importFfPlugin(context.fs, path, databasePath, context.working);
        result.reason = kInvalidPluginReason;
        break;
    case ImportKind::Afs:
        outcome = importAfs(context.fs, path, databasePath, context.working);
        result.reason = kInvalidAfsReason;
        break;
    case ImportKind::Ffx:
        outcome = copyImportFfx(context.fs, path, databasePath, context.replaceExisting);
        result.reason = kInvalidFfxReason;
        break;
    case ImportKind::Skipped:
        break;
    }
    result.succeeded = static_cast<bool>(outcome);
    result.detail = outcome.detail;
    // A converted filter that could not be saved is not the importer's message to show.
    if (result.succeeded || (outcome.failure == ImportFailure::NotSaved && result.kind != ImportKind::Ffx))
        result.reason.clear();
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

ImportOutcome unreadableFile(const std::string& path) {
    return {ImportFailure::Unreadable, "cannot read " + path + ": " + lastFileError()};
}

ImportOutcome unrecognisedFile(const std::string& path, const std::string& what) {
    return {ImportFailure::NotRecognised, path + ": " + what};
}

ImportOutcome unsavedFile(const std::string& path) {
    return {ImportFailure::NotSaved, "cannot write " + path + ": " + lastFileError()};
}

ImportOutcome copyImportFfx(FileSystem& fs, const std::string& path, const std::string& databasePath,
                            bool replace) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path);
    if (!bytes) return unreadableFile(path);
    if (!looksLikeFfx(*bytes)) return unrecognisedFile(path, "not a Lumenforge filter file (no FFX magic)");
    const std::string name = fileNameOf(path);
    const std::string target = joinPath(databasePath, name);
    if (replace) return fs.writeFileAtomic(target, *bytes) ? ImportOutcome{} : unsavedFile(target);
    if (fs.writeNewFile(target, *bytes)) return {};
    if (!fs.fileExists(target)) return unsavedFile(target);

    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    const std::string stem = name.substr(0, name.size() - extension.size());
    constexpr int kMaxCopies = 999;
    for (int copy = 2; copy <= kMaxCopies; ++copy) {
        const std::string suffix = " (" + std::to_string(copy) + ")" + extension;
        const std::string free = joinPath(databasePath, stem.substr(0, kMaxFileNameLength - suffix.size()) + suffix);
        if (fs.writeNewFile(free, *bytes)) return {};
        if (!fs.fileExists(free)) return unsavedFile(free);
    }
    return {ImportFailure::NameTaken, "cannot import " + path + ": " + target + " and " +
                                          std::to_string(kMaxCopies - 1) + " numbered copies exist already"};
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
        const bool failed = result.kind != ImportKind::Skipped && !result.succeeded && !result.reason.empty();
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
