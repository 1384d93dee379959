#include "scripting_descriptor.h"

#include "filters/parm_record.h"
#include "plugin/handle_layer.h"
#include "plugin/parameter_block.h"

namespace lumen::plugin {
namespace {

using namespace hostapi;

constexpr DescriptorKeyID kName = fourCharCode("fxNM");
constexpr DescriptorKeyID kCategory = fourCharCode("fxCT");
constexpr DescriptorKeyID kDatabase = fourCharCode("fxDB");
constexpr DescriptorKeyID kGradient = fourCharCode("fxGD");
constexpr DescriptorKeyID sliderKey(int i) { return fourCharCode("fxS0") + static_cast<DescriptorKeyID>(i); }
constexpr DescriptorKeyID codeKey(int i) { return fourCharCode("fxC0") + static_cast<DescriptorKeyID>(i); }

// The next piece up to a colon, skipping a run of colons before it; the colon that ends the
// piece is consumed.
std::string_view nextPiece(std::string_view text, size_t& pos) {
    while (pos < text.size() && text[pos] == ':') ++pos;
    const size_t start = pos;
    while (pos < text.size() && text[pos] != ':') ++pos;
    std::string_view piece = text.substr(start, pos - start);
    if (pos < text.size()) ++pos;
    return piece;
}

}  // namespace

bool descriptorSuiteAvailable(const FilterRecord& record) {
    const PIDescriptorParameters* parameters = record.descriptorParameters;
    if (!parameters || parameters->descriptorParametersVersion != 0) return false;
    const ReadDescriptorProcs* read = parameters->readDescriptorProcs;
    const WriteDescriptorProcs* write = parameters->writeDescriptorProcs;
    if (!read || !write || read->readDescriptorProcsVersion != 0 || read->numReadDescriptorProcs <= 17 ||
        write->writeDescriptorProcsVersion != 0 || write->numWriteDescriptorProcs <= 15)
        return false;
    return read->openReadDescriptorProc && read->closeReadDescriptorProc && read->getKeyProc &&
           read->getIntegerProc && read->getFloatProc && read->getUnitFloatProc && read->getBooleanProc &&
           read->getTextProc && read->getAliasProc && read->getEnumeratedProc && read->getClassProc &&
           read->getSimpleReferenceProc && read->getObjectProc && read->getCountProc && read->getStringProc &&
           read->getPinnedIntegerProc && read->getPinnedFloatProc && read->getPinnedUnitFloatProc;
}

std::string sliderText(const ParameterBlock& block, int slider) {
    return std::to_string(block.sliderInUse[slider] ? 1 : 0) + ":" + std::to_string(block.sliderValue[slider]) +
           ":" + std::string(fieldText(block.sliderLabel[slider]));
}

void applySliderText(std::string_view text, ParameterBlock& block, int slider) {
    size_t pos = 0;
    const std::string_view inUse = nextPiece(text, pos);
    const std::string_view value = nextPiece(text, pos);
    block.sliderInUse[slider] = filters::atoiValue(inUse) != 0 ? 1 : 0;
    block.sliderValue[slider] = filters::atoiValue(value);
    setFieldText(block.sliderLabel[slider], value.empty() ? std::string_view{} : text.substr(pos));
}

void readScriptingDescriptor(FilterRecord& record, ParameterBlock& block) {
    if (!descriptorSuiteAvailable(record)) return;
    PIDescriptorParameters& parameters = *record.descriptorParameters;
    const ReadDescriptorProcs& read = *parameters.readDescriptorProcs;
    HandleLayer handles{record};
    DescriptorKeyID keys[3 + 8 + 5 + 1] = {kName, kCategory, kDatabase};
    for (int i = 0; i < 8; ++i) keys[3 + i] = sliderKey(i);
    for (int i = 0; i < 5; ++i) keys[11 + i] = codeKey(i);

    if (PIReadDescriptor reader = read.openReadDescriptorProc(parameters.descriptor, keys)) {
        DescriptorKeyID key = 0;
        DescType type = 0;
        int32_t flags = 0;
        auto readText = [&]() -> std::string {
            Handle text = nullptr;
            if (read.getTextProc(reader, &text) != noErr || !text) return {};
            return handles.takeText(text);
        };
        while (read.getKeyProc(reader, &key, &type, &flags)) {
            if (key == kName) {
                setFieldText(block.filterName, readText());
            } else if (key == kCategory) {
                setFieldText(block.filterCategory, readText());
            } else if (key == kDatabase) {
                setFieldText(block.databaseName, readText());
            } else if (key >= codeKey(0) && key <= codeKey(4)) {
                setFieldText(block.codeText[key - codeKey(0)], readText());
            } else if (key >= sliderKey(0) && key <= sliderKey(7)) {
                applySliderText(readText(), block, static_cast<int>(key - sliderKey(0)));
            } else if (key == kGradient) {
                int32_t gradient = 0;
                if (read.getIntegerProc(reader, &gradient) == noErr) block.gradientIndex = gradient;
            }
        }
        read.closeReadDescriptorProc(reader);
        if (parameters.descriptor) handles.dispose(parameters.descriptor);
        parameters.descriptor = nullptr;
    }
    block.showDialog = parameters.playInfo == plugInDialogDisplay ? 1 : 0;
}

void writeScriptingDescriptor(FilterRecord& record, const ParameterBlock& block) {
    if (!descriptorSuiteAvailable(record)) return;
    PIDescriptorParameters& parameters = *record.descriptorParameters;
    const WriteDescriptorProcs& write = *parameters.writeDescriptorProcs;
    PIWriteDescriptor writer = write.openWriteDescriptorProc();
    if (!writer) return;
    HandleLayer handles{record};
    // The host copies a text it is given; the handle stays the plug-in's to dispose.
    auto putText = [&](DescriptorKeyID key, std::string_view text) {
        if (Handle handle = handles.textHandle(std::string(text))) {
            write.putTextProc(writer, key, handle);
            handles.dispose(handle);
        }
    };
    putText(kName, fieldText(block.filterName));
    putText(kCategory, fieldText(block.filterCategory));
    putText(kDatabase, fieldText(block.databaseName));
    for (int i = 0; i < 8; ++i) putText(sliderKey(i), sliderText(block, i));
    for (int i = 0; i < 5; ++i) putText(codeKey(i), fieldText(block.codeText[i]));
    write.putIntegerProc(writer, kGradient, block.gradientIndex);

    if (parameters.descriptor) handles.dispose(parameters.descriptor);
    parameters.descriptor = nullptr;
    Handle written = nullptr;
    write.closeWriteDescriptorProc(writer, &written);
    parameters.descriptor = written;
    parameters.recordInfo = plugInDialogOptional;
}

}  // namespace lumen::plugin
