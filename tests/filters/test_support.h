#pragma once
// Shared pieces of the filter tests: a scratch directory, a file system that counts reads and
// fails on request, and a filter with presets.
#include <filesystem>
#include <functional>
#include <string>

#include "filters/file_system.h"
#include "filters/filter_definition.h"

namespace lumen::filters::testing {

class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return joinPath(path_, name); }

private:
    std::string path_;
};

// Passes everything to the native file system, except what a test tells it to fail.
class FaultyFileSystem final : public FileSystem {
public:
    std::function<bool(const std::string&)> failWrite = [](const std::string&) { return false; };
    std::function<bool(const std::string&)> failRemove = [](const std::string&) { return false; };
    int reads = 0;
    int writes = 0;

    std::optional<std::vector<uint8_t>> readFile(const std::string& path, size_t maxSize) override {
        ++reads;
        return nativeFileSystem().readFile(path, maxSize);
    }
    bool writeFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override {
        ++writes;
        return !failWrite(path) && nativeFileSystem().writeFileAtomic(path, bytes);
    }
    bool writeNewFile(const std::string& path, std::span<const uint8_t> bytes) override {
        ++writes;
        return !failWrite(path) && nativeFileSystem().writeNewFile(path, bytes);
    }
    bool renameNoReplace(const std::string& from, const std::string& to) override {
        return nativeFileSystem().renameNoReplace(from, to);
    }
    bool removeFile(const std::string& path) override {
        return !failRemove(path) && nativeFileSystem().removeFile(path);
    }
    bool fileExists(const std::string& path) override { return nativeFileSystem().fileExists(path); }
    bool directoryExists(const std::string& path) override {
        return nativeFileSystem().directoryExists(path);
    }
    bool createDirectory(const std::string& path) override {
        return nativeFileSystem().createDirectory(path);
    }
    std::optional<std::vector<DirectoryItem>> listDirectory(const std::string& path) override {
        return nativeFileSystem().listDirectory(path);
    }
    bool removeTree(const std::string& path) override { return nativeFileSystem().removeTree(path); }
};

imaging::Bitmap gradientBitmap(int width, int height);
// Texts, controls and gradients all differ from each other, with `presetCount` presets.
FilterDefinition sampleFilter(int presetCount);
std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace lumen::filters::testing
