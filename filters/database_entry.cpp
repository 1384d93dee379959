#include "filters/database_entry.h"

#include "filters/ffx_format.h"
#include "filters/file_system.h"

namespace lumen::filters {
namespace {

std::string_view trimmedForFileName(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.back() == '.') text.remove_suffix(1);
    return text;
}

std::string withAlphabetOnly(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (!inFileNameAlphabet(c)) c = '_';
    return result;
}

int compareFolded(std::string_view a, std::string_view b, size_t& ai, size_t& bi) {
    while (ai < a.size() && bi < b.size()) {
        auto x = static_cast<unsigned char>(foldCase(a[ai]));
        auto y = static_cast<unsigned char>(foldCase(b[bi]));
        if (x != y) return x < y ? -1 : 1;
        ++ai;
        ++bi;
    }
    return 0;
}

}  // namespace

bool inFileNameAlphabet(char c) {
    auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9'))
        return true;
    switch (byte) {
        case 0xF6: case 0xE4: case 0xFC: case 0xD6: case 0xDC: case 0xDF:
        case '_': case '(': case ')': case '\'': case ',': case ' ':
            return true;
        default:
            return false;
    }
}

std::string filterFileName(std::string_view category, std::string_view title) {
    return withAlphabetOnly(trimmedForFileName(category)) + " - " +
           withAlphabetOnly(trimmedForFileName(title)) + ".ffx";
}

int compareEntryKeys(const DatabaseEntry& a, const DatabaseEntry& b) {
    // The key is the three texts joined; walking them as one sequence avoids building it.
    const std::string_view partsA[] = {a.category, a.title, a.fileName};
    const std::string_view partsB[] = {b.category, b.title, b.fileName};
    size_t pa = 0, pb = 0, ia = 0, ib = 0;
    while (true) {
        while (pa < 3 && ia == partsA[pa].size()) ++pa, ia = 0;
        while (pb < 3 && ib == partsB[pb].size()) ++pb, ib = 0;
        if (pa == 3 || pb == 3) return pa == 3 ? (pb == 3 ? 0 : -1) : 1;
        int order = compareFolded(partsA[pa], partsB[pb], ia, ib);
        if (order != 0) return order;
    }
}

void sortEntries(std::vector<DatabaseEntry>& entries) {
    size_t gap = 1;
    while (gap * 3 + 1 < entries.size()) gap = gap * 3 + 1;
    for (; gap > 0; gap /= 3) {
        for (size_t i = gap; i < entries.size(); ++i) {
            DatabaseEntry moving = std::move(entries[i]);
            size_t j = i;
            for (; j >= gap && compareEntryKeys(moving, entries[j - gap]) < 0; j -= gap)
                entries[j] = std::move(entries[j - gap]);
            entries[j] = std::move(moving);
        }
    }
}

std::vector<std::string> categoriesOf(std::span<const DatabaseEntry> entries) {
    std::vector<std::string> categories;
    for (const DatabaseEntry& entry : entries)
        if (categories.empty() || categories.back() != entry.category)
            categories.push_back(entry.category);
    return categories;
}

std::vector<uint8_t> serializeIndex(std::span<const DatabaseEntry> entries) {
    imaging::ByteWriter writer;
    writer.writeI32(static_cast<int32_t>(entries.size()));
    for (const DatabaseEntry& entry : entries) {
        writeFfxString(writer, entry.category);
        writeFfxString(writer, entry.title);
        writeFfxString(writer, entry.fileName);
        writer.writeU32(entry.flags);
    }
    return writer.take();
}

bool parseIndex(std::span<const uint8_t> bytes, std::vector<DatabaseEntry>& entries) {
    imaging::ByteReader reader(bytes);
    int32_t count;
    if (!reader.readI32(count) || count < 0) return false;
    for (int32_t i = 0; i < count; ++i) {
        DatabaseEntry entry;
        if (!readFfxString(reader, entry.category) || !readFfxString(reader, entry.title) ||
            !readFfxString(reader, entry.fileName) || !reader.readU32(entry.flags))
            return false;
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace lumen::filters
