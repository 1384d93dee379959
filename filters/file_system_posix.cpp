#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "filters/file_system.h"

namespace lumen::filters {
namespace {

thread_local std::string lastError;

// Records why the call just made failed; always false, for `return failed();`.
bool failed(int error = errno) {
    lastError = std::strerror(error);
    return false;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return temporaryPathFor(path, static_cast<uint32_t>(::getpid()), counter++);
}

bool removeTreeAt(int parent, const char* name, dev_t device);

bool removeContents(int directory, dev_t device) {
    int listFd = ::dup(directory);
    if (listFd < 0) return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    std::vector<std::string> names;
    while (dirent* item = ::readdir(dir)) {
        std::string name = item->d_name;
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    ::closedir(dir);
    bool ok = true;
    for (const std::string& name : names) ok = removeTreeAt(directory, name.c_str(), device) && ok;
    return ok;
}

// Removes `name` inside the open directory `parent`; links are unlinked, never followed, and
// another file system mounted inside (a device other than the tree's) is left alone.
bool removeTreeAt(int parent, const char* name, dev_t device) {
    struct stat info;
    if (::fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(info.st_mode)) return ::unlinkat(parent, name, 0) == 0;
    if (info.st_dev != device) return false;
    FileDescriptor child(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (child.get() < 0) return false;
    struct stat opened;
    if (::fstat(child.get(), &opened) != 0 || opened.st_dev != device || opened.st_ino != info.st_ino) return false;
    if (!removeContents(child.get(), device)) return false;
    return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

class PosixFileSystem final : public FileSystem {
    bool write(const std::string& path, std::span<const uint8_t> bytes, bool replace) {
        std::string temporary = temporaryNameFor(path);
        FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0) return failed();
        int error = 0;
        bool ok = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
        if (!ok) error = errno;
        if (::close(fd.release()) != 0 && ok) ok = false, error = errno;
        if (ok && replace && ::rename(temporary.c_str(), path.c_str()) != 0) ok = false, error = errno;
        if (ok && !replace && !renameNoReplace(temporary, path)) ok = false, error = errno;
        if (!ok) {
            ::unlink(temporary.c_str());
            return failed(error ? error : EIO);
        }
        return true;
    }

public:
    std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t maxSize) override {
        // Looked at before opening: opening a pipe waits for a writer, opening a device may act.
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) return failed(), std::nullopt;
        if (!S_ISREG(info.st_mode)) return failed(S_ISDIR(info.st_mode) ? EISDIR : EINVAL), std::nullopt;
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        if (fd.get() < 0) return failed(), std::nullopt;
        if (::fstat(fd.get(), &info) != 0) return failed(), std::nullopt;
        if (!S_ISREG(info.st_mode)) return failed(EINVAL), std::nullopt;
        if (static_cast<uint64_t>(info.st_size) > maxSize) return failed(EFBIG), std::nullopt;
        std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return failed(), std::nullopt;
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    }

    bool writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override {
        return write(path, bytes, true);
    }

    bool writeNewFile(const std::string& path, std::span<const uint8_t> bytes) override {
        return write(path, bytes, false);
    }

    bool renameNoReplace(const std::string& from, const std::string& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS) return failed();
        // File systems without the flag: a hard link refuses an existing target just as well.
        if (::link(from.c_str(), to.c_str()) != 0) return failed();
        return ::unlink(from.c_str()) == 0 || failed();
    }

    bool removeFile(const std::string& path) override {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) return failed();
        if (S_ISDIR(info.st_mode)) return failed(EISDIR);
        return ::unlink(path.c_str()) == 0 || failed();
    }

    bool fileExists(const std::string& path) override {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    }

    bool directoryExists(const std::string& path) override {
        struct stat info;
        return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool createDirectory(const std::string& path) override {
        return ::mkdir(path.c_str(), 0777) == 0 || failed();
    }

    std::optional<std::vector<DirectoryItem>> listDirectory(const std::string& path) override {
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
        if (fd.get() < 0) return failed(), std::nullopt;
        DIR* dir = ::fdopendir(fd.get());
        if (!dir) return failed(), std::nullopt;
        int dirFd = fd.release();
        std::vector<DirectoryItem> items;
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            struct stat info;
            const bool known = ::fstatat(dirFd, entry->d_name, &info, 0) == 0;
            items.push_back({std::move(name), known && S_ISDIR(info.st_mode), known && S_ISREG(info.st_mode)});
        }
        ::closedir(dir);
        return items;
    }

    bool removeTree(const std::string& path) override {
        // A trailing slash would make the system resolve a link named by the path.
        std::string directory = path;
        while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
        struct stat info;
        if (::lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
        return removeTreeAt(AT_FDCWD, directory.c_str(), info.st_dev);
    }
};

}  // namespace

FileSystem& nativeFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

std::string lastFileError() {
    return lastError.empty() ? std::string("unknown error") : lastError;
}

bool processIsRunning(uint32_t process) {
    if (process == 0 || process > uint32_t(INT32_MAX)) return false;
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

}  // namespace lumen::filters
