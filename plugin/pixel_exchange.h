#pragma once
// Pixels between the host's planes and the plug-in's four-channel images, in every mode the
// plug-in takes: Grayscale, RGB, CMYK (through the host's colour services) and Multichannel.
#include <cstdint>
#include <memory>

#include "plugin/host_api.h"

namespace lumen::plugin {

class ImageBuffer;

// Reads the delivered input (the whole filter rectangle) into `source`. Results: noErr;
// filterBadMode for a CMYK image on a host without colour services (nothing is read);
// memFullErr when the image cannot be held; paramErr when the host delivered no usable data.
int16_t readInputFromHost(const hostapi::FilterRecord& record, ImageBuffer& source);
// Writes `working` into the delivered output area, the mirror of the read.
int16_t writeOutputToHost(const hostapi::FilterRecord& record, const ImageBuffer& working);

// Shown while the host converts a CMYK image row by row; platforms without windows show none.
class ConversionProgress {
public:
    virtual ~ConversionProgress() = default;
    virtual void setRow(int32_t row) = 0;
};
std::unique_ptr<ConversionProgress> showConversionProgress(int32_t rows);

}  // namespace lumen::plugin
