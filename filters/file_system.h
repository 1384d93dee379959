#pragma once
// The file operations the filter files, the database and the settings need, behind one
// interface so that tests can inject failures and count what was opened. Paths are 8-bit
// Windows-1252 text: raw bytes on POSIX, the ANSI code page on Windows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::filters {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Files larger than this are never read whole: no file of ours comes near it.
constexpr size_t kMaxReadSize = 256u * 1024u * 1024u;

struct DirectoryItem {
    std::string name;  // name and extension, no directory
    bool isDirectory = false;
    // Only regular files are ever opened: a pipe or device named like a filter would block or
    // worse.
    bool isRegularFile = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::optional<std::vector<uint8_t>> readFile(const std::string& path,
                                                         size_t maxSize = kMaxReadSize) = 0;
    // Writes a temporary file beside the target and renames it over the target only once the
    // whole content is on disk; on failure the old target is untouched.
    virtual bool writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes) = 0;
    // The same, but fails (the existing file untouched) when the target exists already.
    virtual bool writeNewFile(const std::string& path, std::span<const uint8_t> bytes) = 0;
    // Fails when `to` exists already: a rename never replaces a file.
    virtual bool renameNoReplace(const std::string& from, const std::string& to) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    virtual bool createDirectory(const std::string& path) = 0;
    virtual std::optional<std::vector<DirectoryItem>> listDirectory(const std::string& path) = 0;
    // Deletes a directory with everything in it. A symbolic link inside is removed as a link;
    // what it points to is never touched.
    virtual bool removeTree(const std::string& path) = 0;
};

// The operating system's file system.
FileSystem& nativeFileSystem();

// Why the native file system's last failed call on this thread failed, for messages
// ("No such file or directory").
std::string lastFileError();

// The longest file name (one path component) the file systems we meet accept.
constexpr size_t kMaxFileNameLength = 255;

// Temporary files are named "<name>.~<process>-<counter>", the name cut so that the whole stays
// within kMaxFileNameLength.
std::string temporaryPathFor(const std::string& path, uint32_t process, unsigned counter);
// The process that made the temporary file of this name, or nothing for any other name.
std::optional<uint32_t> temporaryFileOwner(std::string_view name);
bool processIsRunning(uint32_t process);

// A name given for a file or database inside a directory: not empty, not "." or "..", and
// without separators, so it cannot reach outside.
bool isPlainName(std::string_view name);
std::string fileNameOf(const std::string& path);

// `directory` with exactly one separator at its end (an empty text stays empty).
std::string withTrailingSeparator(std::string directory);
std::string joinPath(const std::string& directory, std::string_view name);

// ASCII-only case folding: the comparisons of file names and sort keys use it.
char foldCase(char c);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace lumen::filters
