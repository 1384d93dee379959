#include "published_host.h"

#include <algorithm>

#include "host/host_handles.h"

namespace lumen::testhost {
namespace {

using namespace hostapi;

template <class Proc>
void (*anyProc(Proc proc))() {
    return reinterpret_cast<void (*)()>(proc);
}

uint8_t clampByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

template <class T>
T field(const void* record, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof(T));
    return value;
}

// The colour model of lumenforge-host (CMYK without black generation), over the published
// record: a plug-in that fills another layout hands over another size or other components.
int16_t colourServices(ColorServicesInfo* info) {
    ColourServiceCalls& calls = PublishedHost::colourCalls();
    calls.lastInfoSize = field<int32_t>(info, color_services_info::infoSize);
    // Nothing past infoSize is read from a record too small for this target.
    if (calls.lastInfoSize < static_cast<int32_t>(color_services_info::size)) {
        ++calls.refused;
        return paramErr;
    }
    const auto selector = field<int16_t>(info, color_services_info::selector);
    const auto source = field<int16_t>(info, color_services_info::sourceSpace);
    const auto result = field<int16_t>(info, color_services_info::resultSpace);
    const bool cmykToRgb = source == plugIncolorServicesCMYKSpace && result == plugIncolorServicesRGBSpace;
    const bool rgbToCmyk = source == plugIncolorServicesRGBSpace && result == plugIncolorServicesCMYKSpace;
    if (selector != plugIncolorServicesConvertColor || !(cmykToRgb || rgbToCmyk)) {
        ++calls.refused;
        return paramErr;
    }
    auto* components = reinterpret_cast<unsigned char*>(info) + color_services_info::colorComponents;
    int16_t values[4];
    std::memcpy(values, components, sizeof values);
    const int black = cmykToRgb ? values[3] : 0;
    for (int i = 0; i < 3; ++i) values[i] = clampByte(255 - values[i] - black);
    values[3] = 0;
    std::memcpy(components, values, sizeof values);
    ++calls.conversions;
    return noErr;
}

int16_t displayPixels(const PSPixelMap* map, const VRect* sourceRect, int32_t destinationRow,
                      int32_t destinationColumn, void* context) {
    DrawnMap& drawn = PublishedHost::drawn();
    const int calls = drawn.calls + 1;
    drawn = DrawnMap{};
    drawn.calls = calls;
    drawn.version = field<int32_t>(map, pixel_map::version);
    for (int i = 0; i < 4; ++i) {
        drawn.bounds[i] = field<int32_t>(map, pixel_map::bounds + 4 * i);
        drawn.sourceRect[i] = field<int32_t>(sourceRect, 4 * i);
    }
    drawn.imageMode = field<int32_t>(map, pixel_map::imageMode);
    drawn.rowBytes = field<int32_t>(map, pixel_map::rowBytes);
    drawn.colBytes = field<int32_t>(map, pixel_map::colBytes);
    drawn.planeBytes = field<int32_t>(map, pixel_map::planeBytes);
    drawn.baseAddr = field<const void*>(map, pixel_map::baseAddr);
    drawn.masks = field<const void*>(map, pixel_map::masks);
    drawn.destinationRow = destinationRow;
    drawn.destinationColumn = destinationColumn;
    drawn.context = context;
    const void* mat = field<const void*>(map, pixel_map::mat);
    const unsigned char* maskData = nullptr;
    if (mat) {
        drawn.hasMat = true;
        drawn.matHasNext = field<const void*>(mat, pixel_mask::next) != nullptr;
        maskData = field<const unsigned char*>(mat, pixel_mask::maskData);
        drawn.matRowBytes = field<int32_t>(mat, pixel_mask::rowBytes);
        drawn.matColBytes = field<int32_t>(mat, pixel_mask::colBytes);
        drawn.matDescription = field<int32_t>(mat, pixel_mask::maskDescription);
    }
    // Read the way a host composes: planes by planeBytes, alpha from the mat at the same pixel.
    const auto* base = static_cast<const unsigned char*>(drawn.baseAddr);
    for (int32_t y = drawn.sourceRect[0]; base && y < drawn.sourceRect[2]; ++y)
        for (int32_t x = drawn.sourceRect[1]; x < drawn.sourceRect[3]; ++x) {
            const unsigned char* pixel = base + ptrdiff_t(y) * drawn.rowBytes + ptrdiff_t(x) * drawn.colBytes;
            for (int plane = 0; plane < 3; ++plane) drawn.rgba.push_back(pixel[plane * drawn.planeBytes]);
            drawn.rgba.push_back(maskData ? maskData[ptrdiff_t(y) * drawn.matRowBytes + ptrdiff_t(x) * drawn.matColBytes]
                                          : 255);
        }
    return PublishedHost::drawResult();
}

}  // namespace

ColourServiceCalls& PublishedHost::colourCalls() {
    static ColourServiceCalls calls;
    return calls;
}

DrawnMap& PublishedHost::drawn() {
    static DrawnMap map;
    return map;
}

int16_t& PublishedHost::drawResult() {
    static int16_t result = noErr;
    return result;
}

PublishedHost::PublishedHost() {
    colourCalls() = {};
    drawn() = {};
    drawResult() = noErr;

    const HandleProcs& handles = host::hostHandleProcs();
    handleProcs.put<int16_t>(handle_procs::version, 1);
    handleProcs.put<int16_t>(handle_procs::count, 8);
    handleProcs.putProc(handle_procs::newProc, anyProc(handles.newProc));
    handleProcs.putProc(handle_procs::disposeProc, anyProc(handles.disposeProc));
    handleProcs.putProc(handle_procs::getSizeProc, anyProc(handles.getSizeProc));
    handleProcs.putProc(handle_procs::setSizeProc, anyProc(handles.setSizeProc));
    handleProcs.putProc(handle_procs::lockProc, anyProc(handles.lockProc));
    handleProcs.putProc(handle_procs::unlockProc, anyProc(handles.unlockProc));
    handleProcs.putProc(handle_procs::recoverSpaceProc, anyProc(handles.recoverSpaceProc));
    handleProcs.putProc(handle_procs::disposeRegularHandleProc, anyProc(handles.disposeRegularHandleProc));

    const BufferProcs& buffers = host::hostBufferProcs();
    bufferProcs.put<int16_t>(buffer_procs::version, 2);
    bufferProcs.put<int16_t>(buffer_procs::count, 5);
    bufferProcs.put(buffer_procs::allocateProc, buffers.allocateProc);
    bufferProcs.put(buffer_procs::lockProc, buffers.lockProc);
    bufferProcs.put(buffer_procs::unlockProc, buffers.unlockProc);
    bufferProcs.put(buffer_procs::freeProc, buffers.freeProc);
    bufferProcs.put(buffer_procs::spaceProc, buffers.spaceProc);

    // The procedures in their published order.
    const ReadDescriptorProcs& read = *host::hostReadDescriptorProcs();
    void (*const readOrder[read_descriptor_procs::procCount])() = {
        anyProc(read.openReadDescriptorProc), anyProc(read.closeReadDescriptorProc), anyProc(read.getKeyProc),
        anyProc(read.getIntegerProc),         anyProc(read.getFloatProc),            anyProc(read.getUnitFloatProc),
        anyProc(read.getBooleanProc),         anyProc(read.getTextProc),             anyProc(read.getAliasProc),
        anyProc(read.getEnumeratedProc),      anyProc(read.getClassProc),            anyProc(read.getSimpleReferenceProc),
        anyProc(read.getObjectProc),          anyProc(read.getCountProc),            anyProc(read.getStringProc),
        anyProc(read.getPinnedIntegerProc),   anyProc(read.getPinnedFloatProc),      anyProc(read.getPinnedUnitFloatProc)};
    readDescriptorProcs.put<int16_t>(read_descriptor_procs::version, 0);
    readDescriptorProcs.put<int16_t>(read_descriptor_procs::count, read_descriptor_procs::procCount);
    for (size_t i = 0; i < read_descriptor_procs::procCount; ++i)
        readDescriptorProcs.putProc(read_descriptor_procs::firstProc + 8 * i, readOrder[i]);

    const WriteDescriptorProcs& write = *host::hostWriteDescriptorProcs();
    void (*const writeOrder[write_descriptor_procs::procCount])() = {
        anyProc(write.openWriteDescriptorProc), anyProc(write.closeWriteDescriptorProc), anyProc(write.putIntegerProc),
        anyProc(write.putFloatProc),            anyProc(write.putUnitFloatProc),         anyProc(write.putBooleanProc),
        anyProc(write.putTextProc),             anyProc(write.putAliasProc),             anyProc(write.putEnumeratedProc),
        anyProc(write.putClassProc),            anyProc(write.putSimpleReferenceProc),   anyProc(write.putObjectProc),
        anyProc(write.putCountProc),            anyProc(write.putStringProc),            anyProc(write.putScopedClassProc),
        anyProc(write.putScopedObjectProc)};
    writeDescriptorProcs.put<int16_t>(write_descriptor_procs::version, 0);
    writeDescriptorProcs.put<int16_t>(write_descriptor_procs::count, write_descriptor_procs::procCount);
    for (size_t i = 0; i < write_descriptor_procs::procCount; ++i)
        writeDescriptorProcs.putProc(write_descriptor_procs::firstProc + 8 * i, writeOrder[i]);

    descriptorParameters.put<int16_t>(descriptor_parameters::version, 0);
    descriptorParameters.put<int16_t>(descriptor_parameters::playInfo, plugInDialogSilent);
    descriptorParameters.put<int16_t>(descriptor_parameters::recordInfo, plugInDialogRequired);
    descriptorParameters.put<void*>(descriptor_parameters::descriptor, nullptr);
    descriptorParameters.put(descriptor_parameters::writeDescriptorProcs, writeDescriptorProcs.data());
    descriptorParameters.put(descriptor_parameters::readDescriptorProcs, readDescriptorProcs.data());
}

void PublishedHost::attachTo(FilterRecord& record) {
    record.handleProcs = static_cast<HandleProcs*>(handleProcs.data());
    record.bufferProcs = static_cast<BufferProcs*>(bufferProcs.data());
    record.descriptorParameters = static_cast<PIDescriptorParameters*>(descriptorParameters.data());
    record.colorServices = colourServices;
    record.displayPixels = displayPixels;
}

void PublishedHost::giveDescriptor(const host::Descriptor& descriptor) {
    disposeDescriptor();
    descriptorParameters.put(descriptor_parameters::descriptor,
                             host::hostHandleFromBytes(host::encodeDescriptor(descriptor)));
}

Handle PublishedHost::descriptor() const { return descriptorParameters.get<Handle>(descriptor_parameters::descriptor); }

void PublishedHost::disposeDescriptor() {
    if (Handle handle = descriptor()) host::disposeHostHandle(handle);
    descriptorParameters.put<void*>(descriptor_parameters::descriptor, nullptr);
}

PublishedAboutRecord::PublishedAboutRecord(intptr_t window) {
    platform_.put(platform_data::hwnd, window);
    record_.put(about_record::platformData, platform_.data());
}

}  // namespace lumen::testhost
