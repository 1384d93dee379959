#pragma once
// A host whose procedure tables and records are laid out byte by byte at the offsets the
// published API gives for 64-bit targets, written here from that table and not from our own
// declarations of the records. A plug-in that reads one of them with another layout calls
// through the wrong slot or reads the wrong field, which the tests then see. The procedures
// behind the tables are lumenforge-host's own, so handles and descriptors stay comparable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/host_descriptor.h"

namespace lumen::testhost {

static_assert(sizeof(void*) == 8, "the published offsets written here are those of 64-bit targets");

// Field offsets and sizes of the published records on 64-bit targets.
namespace handle_procs {
constexpr size_t version = 0, count = 2, newProc = 8, disposeProc = 16, getSizeProc = 24, setSizeProc = 32,
                 lockProc = 40, unlockProc = 48, recoverSpaceProc = 56, disposeRegularHandleProc = 64, size = 72;
}
namespace buffer_procs {
constexpr size_t version = 0, count = 2, allocateProc = 8, lockProc = 16, unlockProc = 24, freeProc = 32,
                 spaceProc = 40, size = 72;
}
namespace color_services_info {
constexpr size_t infoSize = 0, selector = 4, sourceSpace = 6, resultSpace = 8, resultGamutInfoValid = 10,
                 resultInGamut = 11, reservedSourceSpaceInfo = 16, reservedResultSpaceInfo = 24,
                 colorComponents = 32, reserved = 40, selectorParameter = 48, size = 56;
}
namespace pixel_mask {
constexpr size_t next = 0, maskData = 8, rowBytes = 16, colBytes = 20, maskDescription = 24, size = 32;
}
namespace pixel_map {
constexpr size_t version = 0, bounds = 4, imageMode = 20, rowBytes = 24, colBytes = 28, planeBytes = 32,
                 baseAddr = 40, mat = 48, masks = 56, maskPhaseRow = 64, maskPhaseCol = 68, size = 88;
}
namespace descriptor_parameters {
constexpr size_t version = 0, playInfo = 2, recordInfo = 4, descriptor = 8, writeDescriptorProcs = 16,
                 readDescriptorProcs = 24, size = 32;
}
namespace read_descriptor_procs {
constexpr size_t version = 0, count = 2, firstProc = 8, procCount = 18, size = 152;
}
namespace write_descriptor_procs {
constexpr size_t version = 0, count = 2, firstProc = 8, procCount = 16, size = 136;
}
namespace about_record {
constexpr size_t platformData = 0, sSPBasic = 8, plugInRef = 16, reserved = 24, size = 272;
}
namespace platform_data {
constexpr size_t hwnd = 0, size = 8;
}

// One record as the host keeps it: exactly its published size, so a plug-in that takes it for
// a larger one reads past its end (which the address sanitizer reports).
class RawRecord {
public:
    explicit RawRecord(size_t size) : bytes_(size) {}
    template <class T>
    void put(size_t offset, T value) {
        std::memcpy(at(offset, sizeof(T)), &value, sizeof(T));
    }
    template <class T>
    T get(size_t offset) const {
        T value;
        std::memcpy(&value, const_cast<RawRecord*>(this)->at(offset, sizeof(T)), sizeof(T));
        return value;
    }
    void putProc(size_t offset, void (*proc)()) { put(offset, reinterpret_cast<void*>(proc)); }
    void* data() { return bytes_.data(); }

private:
    unsigned char* at(size_t offset, size_t size) {
        if (offset > bytes_.size() || size > bytes_.size() - offset) std::abort();  // a fault of the test itself
        return bytes_.data() + offset;
    }
    std::vector<unsigned char> bytes_;
};

// What the host's colour services were asked, read at the published offsets.
struct ColourServiceCalls {
    int conversions = 0;  // answered
    int refused = 0;      // a record too small for this target, or not a conversion we make
    int32_t lastInfoSize = 0;
};

// What displayPixels was handed last, read at the published offsets.
struct DrawnMap {
    int calls = 0;
    int32_t version = 0;
    int32_t bounds[4] = {};  // top, left, bottom, right
    int32_t imageMode = 0, rowBytes = 0, colBytes = 0, planeBytes = 0;
    const void* baseAddr = nullptr;
    bool hasMat = false, matHasNext = false;
    int32_t matRowBytes = 0, matColBytes = 0, matDescription = -1;
    const void* masks = nullptr;
    int32_t sourceRect[4] = {};
    int32_t destinationRow = 0, destinationColumn = 0;
    void* context = nullptr;
    std::vector<uint8_t> rgba;  // the pixels as the host reads them through the map, alpha from the mat
};

class PublishedHost {
public:
    PublishedHost();

    // Points the record's suites at this host's tables (the record's own layout is asserted
    // against the published one where it is declared).
    void attachTo(hostapi::FilterRecord& record);

    RawRecord handleProcs{handle_procs::size};
    RawRecord bufferProcs{buffer_procs::size};
    RawRecord readDescriptorProcs{read_descriptor_procs::size};
    RawRecord writeDescriptorProcs{write_descriptor_procs::size};
    RawRecord descriptorParameters{descriptor_parameters::size};

    // The descriptor handle the plug-in reads at start and leaves written after the output.
    void giveDescriptor(const host::Descriptor& descriptor);
    hostapi::Handle descriptor() const;
    void disposeDescriptor();

    static ColourServiceCalls& colourCalls();
    static DrawnMap& drawn();
    // What displayPixels answers.
    static int16_t& drawResult();
};

// An about record with its platform data, holding the host's window.
class PublishedAboutRecord {
public:
    explicit PublishedAboutRecord(intptr_t window);
    void* data() { return record_.data(); }

private:
    RawRecord platform_{platform_data::size};
    RawRecord record_{about_record::size};
};

}  // namespace lumen::testhost
