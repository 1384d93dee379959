#include "import_fixtures.h"

#include <algorithm>

namespace lumen::filters::testing {

namespace {

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}
void putU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}
void putText(std::vector<uint8_t>& bytes, size_t at, size_t width, const std::string& text) {
    std::copy_n(text.begin(), std::min(text.size(), width - 1), bytes.begin() + ptrdiff_t(at));
}

size_t align(size_t value, size_t to) { return (value + to - 1) / to * to; }

}  // namespace

std::vector<uint8_t> encodeParmRecord(const ParmRecord& record) {
    std::vector<uint8_t> bytes(kParmRecordSize, 0);
    putU32(bytes, parm::kRecordSizeAt, uint32_t(record.recordSize));
    putU32(bytes, parm::kShowDialogAt, uint32_t(record.showDialog));
    putU32(bytes, parm::kProtectedAt, uint32_t(record.protectedFlag));
    for (size_t i = 0; i < kControlCount; ++i) {
        putU32(bytes, parm::kValuesAt + i * 4, uint32_t(record.values[i]));
        putU32(bytes, parm::kInUseAt + i * 4, uint32_t(record.controlInUse[i]));
        putText(bytes, parm::kLabelsAt + i * parm::kLabelWidth, parm::kLabelWidth, record.controlLabel[i]);
    }
    putText(bytes, parm::kCategoryAt, parm::kCategoryWidth, record.category);
    putText(bytes, parm::kTitleAt, parm::kTitleWidth, record.title);
    for (size_t k = 0; k < kParmFormulaCount; ++k)
        putText(bytes, parm::kFormulasAt + k * parm::kFormulaWidth, parm::kFormulaWidth, record.formula[k]);
    return bytes;
}

ParmRecord sampleParmRecord() {
    ParmRecord record;
    record.recordSize = int32_t(kParmRecordSize);
    record.category = "Cat";
    record.title = "Title";
    for (int i = 0; i < kControlCount; ++i) {
        record.values[size_t(i)] = i * 10 - 5;
        record.controlInUse[size_t(i)] = i % 3 != 2;
        record.controlLabel[size_t(i)] = "L" + std::to_string(i);
    }
    record.formula = {"r/2", "g*ctl(1)/255", "b", "a"};
    return record;
}

std::vector<uint8_t> buildResourceImage(const std::vector<TestResource>& resources, bool pe32Plus) {
    // The resource section: root, one directory per type, one per name, data entries, names, data.
    struct Node {
        imaging::ResourceKey type;
        std::vector<size_t> items;  // indices into resources
    };
    std::vector<Node> types;
    for (size_t i = 0; i < resources.size(); ++i) {
        auto found = std::find_if(types.begin(), types.end(),
                                  [&](const Node& n) { return n.type.matches(resources[i].type); });
        if (found == types.end()) found = types.insert(types.end(), Node{resources[i].type, {}});
        found->items.push_back(i);
    }
    auto directorySize = [](size_t entries) { return 16 + entries * 8; };
    size_t at = directorySize(types.size());
    std::vector<size_t> typeDirectory, nameDirectory(resources.size()), dataEntry(resources.size());
    for (const Node& node : types) {
        typeDirectory.push_back(at);
        at += directorySize(node.items.size());
    }
    for (size_t i = 0; i < resources.size(); ++i) {
        nameDirectory[i] = at;
        at += directorySize(1);
    }
    for (size_t i = 0; i < resources.size(); ++i) {
        dataEntry[i] = at;
        at += 16;
    }
    std::vector<std::pair<std::string, size_t>> names;
    auto nameOffset = [&](const std::string& name) {
        for (const auto& [text, offset] : names)
            if (text == name) return offset;
        names.emplace_back(name, at);
        at += 2 + name.size() * 2;
        return names.back().second;
    };
    auto keyField = [&](const imaging::ResourceKey& key) {
        return key.isName ? uint32_t(0x80000000u | nameOffset(key.name)) : uint32_t(key.id);
    };
    std::vector<uint32_t> typeKeys, nameKeys(resources.size());
    for (const Node& node : types) typeKeys.push_back(keyField(node.type));
    for (size_t i = 0; i < resources.size(); ++i) nameKeys[i] = keyField(resources[i].name);
    std::vector<size_t> dataAt(resources.size());
    for (size_t i = 0; i < resources.size(); ++i) {
        at = align(at, 4);
        dataAt[i] = at;
        at += resources[i].data.size();
    }

    const size_t sectionSize = at;
    constexpr size_t kPeAt = 0x40, kRawAt = 0x200;
    constexpr uint32_t kSectionRva = 0x1000;
    const size_t optionalSize = pe32Plus ? 240 : 224;
    std::vector<uint8_t> image(kRawAt + align(sectionSize, 0x200), 0);
    image[0] = 'M';
    image[1] = 'Z';
    putU32(image, 0x3C, kPeAt);
    putU32(image, kPeAt, 0x00004550);
    putU16(image, kPeAt + 4, pe32Plus ? 0x8664 : 0x14C);
    putU16(image, kPeAt + 6, 1);
    putU16(image, kPeAt + 20, uint16_t(optionalSize));
    putU16(image, kPeAt + 22, 0x2102);  // executable image, DLL
    const size_t optional = kPeAt + 24;
    putU16(image, optional, pe32Plus ? 0x20B : 0x10B);
    const size_t directories = optional + (pe32Plus ? 112 : 96);
    putU32(image, directories - 4, 16);
    putU32(image, directories + 16, kSectionRva);
    putU32(image, directories + 20, uint32_t(sectionSize));
    const size_t section = optional + optionalSize;
    std::copy_n(".rsrc", 5, image.begin() + ptrdiff_t(section));
    putU32(image, section + 8, uint32_t(sectionSize));
    putU32(image, section + 12, kSectionRva);
    putU32(image, section + 16, uint32_t(align(sectionSize, 0x200)));
    putU32(image, section + 20, kRawAt);

    auto directory = [&](size_t offset, size_t named, size_t identified) {
        putU16(image, kRawAt + offset + 12, uint16_t(named));
        putU16(image, kRawAt + offset + 14, uint16_t(identified));
    };
    auto entry = [&](size_t offset, size_t index, uint32_t key, uint32_t target) {
        putU32(image, kRawAt + offset + 16 + index * 8, key);
        putU32(image, kRawAt + offset + 16 + index * 8 + 4, target);
    };
    directory(0, types.size(), 0);
    for (size_t t = 0; t < types.size(); ++t) {
        entry(0, t, typeKeys[t], uint32_t(0x80000000u | typeDirectory[t]));
        directory(typeDirectory[t], types[t].items.size(), 0);
        for (size_t n = 0; n < types[t].items.size(); ++n) {
            const size_t i = types[t].items[n];
            entry(typeDirectory[t], n, nameKeys[i], uint32_t(0x80000000u | nameDirectory[i]));
            directory(nameDirectory[i], 0, 1);
            entry(nameDirectory[i], 0, resources[i].language, uint32_t(dataEntry[i]));
            putU32(image, kRawAt + dataEntry[i], uint32_t(kSectionRva + dataAt[i]));
            putU32(image, kRawAt + dataEntry[i] + 4, uint32_t(resources[i].data.size()));
            std::copy(resources[i].data.begin(), resources[i].data.end(), image.begin() + ptrdiff_t(kRawAt + dataAt[i]));
        }
    }
    for (const auto& [text, offset] : names) {
        putU16(image, kRawAt + offset, uint16_t(text.size()));
        for (size_t c = 0; c < text.size(); ++c) putU16(image, kRawAt + offset + 2 + c * 2, uint8_t(text[c]));
    }
    return image;
}

std::vector<uint8_t> buildFfPlugin(const std::vector<uint8_t>& parm, bool pe32Plus) {
    return buildResourceImage({{imaging::ResourceKey::fromName("PARM"), imaging::ResourceKey::fromId(16), 0x409, parm},
                               {imaging::ResourceKey::fromId(10), imaging::ResourceKey::fromName("OTHER"), 0x409, {1, 2}}},
                              pe32Plus);
}

}  // namespace lumen::filters::testing
