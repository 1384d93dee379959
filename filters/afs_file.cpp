#include "filters/afs_file.h"

#include <string_view>

#include "filters/database_entry.h"
#include "filters/ffx_file.h"

namespace lumen::filters {

namespace {

// Text files bigger than this are not Filter Factory's.
constexpr size_t kMaxAfsFileSize = 16u << 20;

class CrLines {
public:
    explicit CrLines(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    // False at the end of the data: a line counts only with its carriage return.
    bool next(std::string_view& line) {
        for (size_t end = at_; end < bytes_.size(); ++end)
            if (bytes_[end] == '\r') {
                line = std::string_view(reinterpret_cast<const char*>(bytes_.data()) + at_, end - at_);
                at_ = end + 1;
                return true;
            }
        at_ = bytes_.size();
        return false;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

// Removes every backslash + `letter`, including pairs that only meet once another is gone.
std::string withoutEscape(const std::string& text, char letter) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out.push_back(c);
        if (out.size() >= 2 && out[out.size() - 2] == '\\' && c == letter) out.resize(out.size() - 2);
    }
    return out;
}

}  // namespace

bool readAfs(std::span<const uint8_t> bytes, ParmRecord& record) {
    record = ParmRecord{};
    record.recordSize = int32_t(kParmRecordSize);
    record.showDialog = 1;
    for (int i = 0; i < kControlCount; ++i) {
        record.controlInUse[size_t(i)] = 1;
        record.controlLabel[size_t(i)] = "Control " + std::to_string(i);
    }

    CrLines lines(bytes);
    std::string_view line;
    if (!lines.next(line) || line != kAfsMagic) return false;
    for (int32_t& value : record.values) {
        if (!lines.next(line)) return false;
        value = atoiValue(line);
    }
    for (std::string& formula : record.formula) {
        std::string joined;
        for (;;) {
            if (!lines.next(line)) return false;
            if (line.empty()) break;
            joined += line;
        }
        joined = withoutEscape(withoutEscape(joined, 'r'), 'n');
        if (joined.size() > kMaxAfsExpressionLength) return false;
        // The record keeps zero-terminated texts.
        formula = joined.substr(0, joined.find('\0'));
    }
    return true;
}

bool readAfsFile(FileSystem& fs, const std::string& path, ParmRecord& record) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path, kMaxAfsFileSize);
    return bytes && readAfs(*bytes, record);
}

std::string fileTitleOf(const std::string& path) {
    const size_t slash = path.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

ImportOutcome importAfs(FileSystem& fs, const std::string& path, const std::string& databasePath,
                        FilterDefinition& working) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path, kMaxAfsFileSize);
    if (!bytes) return unreadableFile(path);
    ParmRecord record;
    if (!readAfs(*bytes, record)) return unrecognisedFile(path, "not a Filter Factory text file (%RGB-1.0)");
    convertParmRecord(record, working);
    working.category = kAfsImportCategory;
    working.title = fileTitleOf(path);
    const std::string target = joinPath(databasePath, filterFileName(working.category, working.title));
    if (!saveFfxAs(fs, working, target)) return unsavedFile(target);
    return {};
}

}  // namespace lumen::filters
