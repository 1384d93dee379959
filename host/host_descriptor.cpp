#include "host_descriptor.h"

#include <mutex>
#include <set>

#include "host/host_handles.h"
#include "host/json_text.h"
#include "imaging/byte_reader.h"

namespace lumen::host {
namespace {

using namespace hostapi;

struct Reader {
    Descriptor items;
    size_t next = 0;  // the item after the current one
};

struct Writer {
    Descriptor items;
};

Reader* readerOf(PIReadDescriptor reader) { return static_cast<Reader*>(reader); }
const DescriptorItem* currentItem(PIReadDescriptor reader) {
    Reader* r = readerOf(reader);
    return r && r->next > 0 ? &r->items[r->next - 1] : nullptr;
}

PIReadDescriptor openRead(Handle descriptor, DescriptorKeyIDArray) {
    auto* reader = new Reader;
    if (descriptor) {
        std::optional<Descriptor> items = decodeDescriptor(hostHandleBytes(descriptor));
        if (!items) {
            delete reader;
            return nullptr;
        }
        reader->items = std::move(*items);
    }
    return reader;
}

int16_t closeRead(PIReadDescriptor reader) {
    delete readerOf(reader);
    return noErr;
}

Boolean getKey(PIReadDescriptor reader, DescriptorKeyID* key, DescType* type, int32_t* flags) {
    Reader* r = readerOf(reader);
    if (!r || r->next >= r->items.size()) return false;
    const DescriptorItem& item = r->items[r->next++];
    if (key) *key = item.key;
    if (type) *type = item.type;
    if (flags) *flags = 0;
    return true;
}

int16_t getInteger(PIReadDescriptor reader, int32_t* value) {
    const DescriptorItem* item = currentItem(reader);
    if (!item || item->type != typeInteger || !value) return paramErr;
    *value = item->integer;
    return noErr;
}

int16_t getText(PIReadDescriptor reader, Handle* text) {
    const DescriptorItem* item = currentItem(reader);
    if (!item || item->type != typeChar || !text) return paramErr;
    *text = hostHandleFromBytes(item->text);
    return *text ? noErr : memFullErr;
}

int16_t getFloat(PIReadDescriptor, double*) { return paramErr; }
int16_t getUnitFloat(PIReadDescriptor, uint32_t*, double*) { return paramErr; }
int16_t getBoolean(PIReadDescriptor, Boolean*) { return paramErr; }
int16_t getOther(PIReadDescriptor, void*) { return paramErr; }

std::mutex writtenLock;
std::set<uint64_t> writtenSerials;

PIWriteDescriptor openWrite() { return new Writer; }

int16_t closeWrite(PIWriteDescriptor writer, Handle* newDescriptor) {
    auto* w = static_cast<Writer*>(writer);
    if (!w) return paramErr;
    Handle handle = hostHandleFromBytes(encodeDescriptor(w->items));
    delete w;
    if (handle) {
        std::lock_guard<std::mutex> guard(writtenLock);
        writtenSerials.insert(hostHandleSerial(handle));
    }
    if (newDescriptor) *newDescriptor = handle;
    else disposeHostHandle(handle);
    return handle ? noErr : memFullErr;
}

int16_t putInteger(PIWriteDescriptor writer, DescriptorKeyID key, int32_t value) {
    if (!writer) return paramErr;
    static_cast<Writer*>(writer)->items.push_back({key, typeInteger, value, {}});
    return noErr;
}

int16_t putText(PIWriteDescriptor writer, DescriptorKeyID key, Handle text) {
    if (!writer) return paramErr;
    static_cast<Writer*>(writer)->items.push_back({key, typeChar, 0, hostHandleBytes(text)});
    return noErr;
}

int16_t putOther(PIWriteDescriptor, DescriptorKeyID, const void*) { return paramErr; }

ReadDescriptorProcs readProcs = {0, 18, openRead, closeRead, getKey, getInteger, getFloat, getUnitFloat,
                                 getBoolean, getText, getOther, getOther, getOther, getOther, getOther,
                                 getOther, getOther, getOther, getOther, getOther};
WriteDescriptorProcs writeProcs = {0, 16, openWrite, closeWrite, putInteger, putOther, putOther, putOther,
                                   putText, putOther, putOther, putOther, putOther, putOther, putOther,
                                   putOther, putOther, putOther};

}  // namespace

bool isWrittenDescriptor(Handle handle) {
    std::lock_guard<std::mutex> guard(writtenLock);
    return handle && writtenSerials.count(hostHandleSerial(handle)) != 0;
}

std::string encodeDescriptor(const Descriptor& descriptor) {
    imaging::ByteWriter out;
    for (const DescriptorItem& item : descriptor) {
        out.writeU32(item.key);
        out.writeU32(item.type);
        if (item.type == typeInteger) {
            out.writeU32(4);
            out.writeI32(item.integer);
        } else {
            out.writeU32(static_cast<uint32_t>(item.text.size()));
            out.writeText(item.text);
        }
    }
    return {out.bytes().begin(), out.bytes().end()};
}

std::optional<Descriptor> decodeDescriptor(const std::string& bytes) {
    imaging::ByteReader in{{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}};
    Descriptor descriptor;
    while (in.remaining() > 0) {
        DescriptorItem item;
        uint32_t length = 0;
        if (!in.readU32(item.key) || !in.readU32(item.type) || !in.readU32(length)) return std::nullopt;
        if (item.type == typeInteger) {
            if (length != 4 || !in.readI32(item.integer)) return std::nullopt;
        } else if (!in.readText(length, item.text)) {
            return std::nullopt;
        }
        descriptor.push_back(std::move(item));
    }
    return descriptor;
}

std::optional<DescriptorItem> descriptorItemFromArgument(const std::string& argument) {
    size_t equals = argument.find('=');
    if (equals != 4) return std::nullopt;
    DescriptorItem item;
    for (int i = 0; i < 4; ++i) item.key = item.key << 8 | static_cast<uint8_t>(argument[i]);
    std::string value = argument.substr(5);
    if (item.key == fourCharCode("fxGD")) {
        try {
            size_t used = 0;
            item.integer = std::stoi(value, &used);
            if (used != value.size()) return std::nullopt;
        } catch (...) {
            return std::nullopt;
        }
        item.type = typeInteger;
    } else {
        item.type = typeChar;
        item.text = value;
    }
    return item;
}

nlohmann::ordered_json descriptorJson(const Descriptor& descriptor) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const DescriptorItem& item : descriptor) {
        json[fourCharText(item.key)] = item.type == typeInteger ? nlohmann::ordered_json(item.integer)
                                                                : nlohmann::ordered_json(latin1ToUtf8(item.text));
    }
    return json;
}

hostapi::ReadDescriptorProcs* hostReadDescriptorProcs() { return &readProcs; }
hostapi::WriteDescriptorProcs* hostWriteDescriptorProcs() { return &writeProcs; }

}  // namespace lumen::host
