#pragma once
// How one importer's work on one file ended, with a text for the command line that says what
// happened and to which file. The dialogs show the fixed reasons of the import command instead.
#include <string>

namespace lumen::filters {

enum class ImportFailure {
    None,
    Unreadable,     // the file could not be read
    NotRecognised,  // read, but not a file of the importer's kind
    NotSaved,       // read and converted, but a filter file could not be written
    NameTaken,      // a filter of that file name exists, and replacing it was not asked for
};

struct ImportOutcome {
    ImportFailure failure = ImportFailure::None;
    std::string detail;

    explicit operator bool() const { return failure == ImportFailure::None; }
};

// "cannot read PATH: why", with the file system's reason.
ImportOutcome unreadableFile(const std::string& path);
ImportOutcome unrecognisedFile(const std::string& path, const std::string& what);
ImportOutcome unsavedFile(const std::string& path);

}  // namespace lumen::filters
