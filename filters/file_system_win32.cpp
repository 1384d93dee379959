#include <windows.h>

#include <algorithm>
#include <atomic>

#include "filters/file_system.h"

namespace lumen::filters {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool close() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

thread_local DWORD lastError = 0;

// Records why the call just made failed; always false, for `return failed();`.
bool failed(DWORD error = GetLastError()) {
    lastError = error;
    return false;
}

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return temporaryPathFor(path, GetCurrentProcessId(), counter++);
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool listInto(const std::string& directory, std::vector<WIN32_FIND_DATAA>& found) {
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(joinPath(directory, "*").c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") found.push_back(data);
    } while (FindNextFileA(find.get(), &data));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

// Junctions and directory links are removed as links; what they point to is never entered.
bool removeTreeAt(const std::string& directory) {
    std::vector<WIN32_FIND_DATAA> found;
    bool ok = listInto(directory, found);
    for (const WIN32_FIND_DATAA& item : found) {
        std::string path = joinPath(directory, item.cFileName);
        DWORD attributes = item.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            ok = DeleteFileA(path.c_str()) && ok;
        else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            ok = RemoveDirectoryA(path.c_str()) && ok;
        else
            ok = removeTreeAt(path) && ok;
    }
    return RemoveDirectoryA(directory.c_str()) && ok;
}

class Win32FileSystem final : public FileSystem {
    bool write(const std::string& path, std::span<const uint8_t> bytes, bool replace) {
        std::string temporary = temporaryNameFor(path);
        FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) return failed();
        DWORD error = 0;
        size_t done = 0;
        while (!error && done < bytes.size()) {
            DWORD written = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            if (!WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) || written == 0)
                error = GetLastError();
            done += written;
        }
        if (!error && !FlushFileBuffers(file.get())) error = GetLastError();
        if (!file.close() && !error) error = GetLastError();
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        if (!error && !MoveFileExA(temporary.c_str(), path.c_str(), flags)) error = GetLastError();
        if (!error) return true;
        DeleteFileA(temporary.c_str());
        return failed(error ? error : ERROR_WRITE_FAULT);
    }

public:
    std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t maxSize) override {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) return failed(), std::nullopt;
        // Devices and pipes (CON.ffx, a named pipe) are not files to read.
        if (GetFileType(file.get()) != FILE_TYPE_DISK) return failed(ERROR_INVALID_FUNCTION), std::nullopt;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size)) return failed(), std::nullopt;
        if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > maxSize)
            return failed(ERROR_FILE_TOO_LARGE), std::nullopt;
        std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD read = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            if (!ReadFile(file.get(), bytes.data() + done, want, &read, nullptr)) return failed(), std::nullopt;
            if (read == 0) break;
            done += read;
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
        return MoveFileA(from.c_str(), to.c_str()) != 0 || failed();
    }

    bool removeFile(const std::string& path) override {
        return DeleteFileA(path.c_str()) != 0 || failed();
    }

    bool fileExists(const std::string& path) override {
        DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool directoryExists(const std::string& path) override {
        if (path.empty()) return false;
        DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool createDirectory(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != 0 || failed();
    }

    std::optional<std::vector<DirectoryItem>> listDirectory(const std::string& path) override {
        if (!directoryExists(path)) return failed(ERROR_PATH_NOT_FOUND), std::nullopt;
        std::vector<WIN32_FIND_DATAA> found;
        if (!listInto(path, found)) return failed(), std::nullopt;
        std::vector<DirectoryItem> items;
        for (const WIN32_FIND_DATAA& item : found) {
            const bool directory = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool device = (item.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0;
            items.push_back({item.cFileName, directory, !directory && !device});
        }
        return items;
    }

    bool removeTree(const std::string& path) override {
        DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
        std::string directory = path;
        while (directory.size() > 3 && (directory.back() == '\\' || directory.back() == '/'))
            directory.pop_back();
        return removeTreeAt(directory);
    }
};

}  // namespace

FileSystem& nativeFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

std::string lastFileError() {
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, lastError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : "error " + std::to_string(lastError);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

bool processIsRunning(uint32_t process) {
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    CloseHandle(handle);
    return running;
}

}  // namespace lumen::filters
