#pragma once
// Where the tests find Filter Factory text filters. The project's own files (tests/data/afs) are
// always there; a file named "refused-*" must be refused by the reader, every other one must
// read, compile and render. Real filters written by other people may not be copied into the
// project: they live in an external corpus, and the tests over them run where it is present and
// are skipped, with the reason, where it is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace lumen::test_files {

inline std::filesystem::path ownAfsDirectory() { return LUMEN_OWN_AFS_DIR; }

inline bool ownFileIsRefused(const std::filesystem::path& file) {
    return file.filename().string().rfind("refused-", 0) == 0;
}

// The environment's LUMEN_CORPUS_DIR overrides the configured place, so the test command can
// check that a machine without the corpus skips these tests instead of failing them.
inline std::filesystem::path externalCorpusDirectory() {
    const char* overridden = std::getenv("LUMEN_CORPUS_DIR");
    return overridden ? std::filesystem::path(overridden) : std::filesystem::path(LUMEN_CORPUS_DIR);
}

inline std::filesystem::path externalAfsDirectory() { return externalCorpusDirectory() / "afs"; }

inline bool externalCorpusPresent() { return std::filesystem::is_directory(externalAfsDirectory()); }

// The .afs files of a directory in name order, so failures read the same on every machine.
inline std::vector<std::filesystem::path> afsFilesIn(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.path().extension() == ".afs") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace lumen::test_files

#define LUMEN_SKIP_WITHOUT_EXTERNAL_CORPUS()                                                       \
    do {                                                                                           \
        if (!::lumen::test_files::externalCorpusPresent())                                         \
            GTEST_SKIP() << "external Filter Factory corpus not found at "                         \
                         << ::lumen::test_files::externalAfsDirectory().string()                   \
                         << "; the project's own files in tests/data/afs cover the same ground";  \
    } while (0)
