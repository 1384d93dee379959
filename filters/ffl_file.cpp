#include "filters/ffl_file.h"

#include <string_view>

#include "filters/database_entry.h"
#include "filters/ffx_file.h"
#include "filters/parm_record.h"

namespace lumen::filters {

namespace {

constexpr size_t kMaxLibraryFileSize = 64u << 20;

class TextLines {
public:
    explicit TextLines(std::span<const uint8_t> bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}
    // Past the end every line is empty.
    std::string next() {
        if (at_ >= text_.size()) return {};
        size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return std::string(line.substr(0, line.find('\0')));
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

FilterLibrary parseFilterLibrary(std::span<const uint8_t> bytes) {
    FilterLibrary library;
    TextLines lines(bytes);
    if (lines.next() != kFflMagic) {
        library.status = LibraryStatus::Unsupported;
        return library;
    }
    const int32_t count = atoiValue(lines.next());
    const size_t blocks = count <= 0 ? 0 : std::min(size_t(count), kMaxLibraryEntries);
    library.entries.reserve(blocks);
    for (size_t b = 0; b < blocks; ++b) {
        FilterLibraryEntry& entry = library.entries.emplace_back();
        entry.sourceName = lines.next();
        entry.category = lines.next();
        entry.title = lines.next();
        entry.author = lines.next();
        entry.copyright = lines.next();
        for (std::string& name : entry.mapName) name = lines.next();
        for (std::string& label : entry.controlLabel) label = lines.next();
        for (int32_t& value : entry.controlValue) value = atoiValue(lines.next());
        for (std::string& formula : entry.formula) formula = lines.next();
    }
    return library;
}

FilterLibrary loadFilterLibrary(FileSystem& fs, const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path, kMaxLibraryFileSize);
    if (!bytes) return {LibraryStatus::ReadError, {}};
    return parseFilterLibrary(*bytes);
}

std::string libraryRowNumber(size_t index) {
    const std::string padded = "    " + std::to_string(index + 1);
    return padded.substr(padded.size() - 4);
}

void convertLibraryEntry(const FilterLibraryEntry& entry, FilterDefinition& working) {
    working.category = entry.category;
    working.title = entry.title;
    working.author = entry.author;
    working.copyright = entry.copyright;
    for (size_t i = 0; i < kControlCount; ++i) {
        working.controlLabel[i] = entry.controlLabel[i];
        working.controlValue[i] = entry.controlValue[i];
        working.controlDefault[i] = entry.controlValue[i];
        working.controlEnabled[i] = !entry.controlLabel[i].empty() || entry.controlValue[i] != 0 ? 1 : 0;
    }
    working.code[0].assign(1, '0');  // not = "0": GCC 12 inlines that into a false -Wrestrict warning
    for (size_t k = 0; k < entry.formula.size(); ++k) working.code[k + 1] = entry.formula[k];
    working.gradientIndex = 0;
    working.gradientDefault = 0;
}

void importLibraryEntries(FileSystem& fs, std::span<const FilterLibraryEntry> entries,
                          const std::string& databasePath, FilterDefinition& working) {
    for (const FilterLibraryEntry& entry : entries) {
        convertLibraryEntry(entry, working);
        saveFfxAs(fs, working, joinPath(databasePath, filterFileName(working.category, working.title)));
    }
}

}  // namespace lumen::filters
