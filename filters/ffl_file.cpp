#include "filters/ffl_file.h"

#include <algorithm>
#include <set>
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
    size_t linesLeft() const {
        if (at_ >= text_.size()) return 0;
        const std::string_view rest = text_.substr(at_);
        return size_t(std::count(rest.begin(), rest.end(), '\n')) + (rest.back() == '\n' ? 0 : 1);
    }
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
    library.claimedCount = count;
    library.linesAfterCount = lines.linesLeft();
    if (count > 0 && size_t(count) > library.linesAfterCount) {
        library.status = LibraryStatus::Broken;
        return library;
    }
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

std::string libraryProblem(const std::string& path, const FilterLibrary& library) {
    switch (library.status) {
    case LibraryStatus::Unsupported:
        return path + ": not a filter library (the first line is not " + kFflMagic + ")";
    case LibraryStatus::ReadError:
        return unreadableFile(path).detail;
    case LibraryStatus::Broken:
        return path + ": a broken library: it claims " + std::to_string(library.claimedCount) +
               " filters but holds only " + std::to_string(library.linesAfterCount) + " more lines";
    case LibraryStatus::Loaded:
        break;
    }
    return {};
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

ImportOutcome importLibraryEntries(FileSystem& fs, std::span<const FilterLibraryEntry> entries,
                                   const std::string& databasePath, FilterDefinition& working) {
    std::vector<std::string> targets;
    for (const FilterLibraryEntry& entry : entries)
        targets.push_back(joinPath(databasePath, filterFileName(entry.category, entry.title)));
    std::set<std::string> savedLater;
    std::vector<bool> save(entries.size());
    for (size_t i = entries.size(); i-- > 0;) save[i] = savedLater.insert(targets[i]).second;

    ImportOutcome outcome;
    size_t failures = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        convertLibraryEntry(entries[i], working);
        if (!save[i] || saveFfxAs(fs, working, targets[i])) continue;
        if (failures++ == 0) outcome = unsavedFile(targets[i]);
    }
    if (failures > 1) outcome.detail += " (and " + std::to_string(failures - 1) + " more filters not saved)";
    return outcome;
}

}  // namespace lumen::filters
