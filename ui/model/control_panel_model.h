#pragma once
// The control panel without its windows: the eight slider widgets' states, the snapshots that
// Reset returns to, and what activate, no filter, a slider move, Randomize and Reset do to the
// working filter.
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "filters/filter_definition.h"
#include "ui/model/slider_model.h"

namespace lumen::ui {

struct SliderState {
    int value = 0;
    std::string label;
    bool active = false;
    bool operator==(const SliderState&) const = default;
};

// A seed from the clock, as the panel takes when it opens.
uint32_t clockSeed();

class ControlPanelModel {
public:
    explicit ControlPanelModel(uint32_t seed = clockSeed()) : random_(seed) {}

    const std::array<SliderState, kSliderCount>& sliders() const { return sliders_; }
    const std::string& title() const { return title_; }
    const filters::ControlValues& resetValues() const { return resetValues_; }
    int32_t resetGradient() const { return resetGradient_; }

    // Command 1001: the filter taken in and the snapshots for Reset taken.
    void activate(const filters::FilterDefinition& filter);
    // After a gradient change, an applied preset or the editor: the widgets show the filter
    // again; the snapshots stay.
    void refresh(const filters::FilterDefinition& filter);
    // Command 1004: no title, every widget inactive.
    void noFilter();

    // A widget's scroll notification with its value. The active widgets' values go into the
    // filter; true when a render is to start (the drag ended).
    bool sliderMoved(filters::FilterDefinition& filter, int slider, int code, int value);
    // Each active control a random 0 ... 255 (the generator's low 8 bits), in control order.
    void randomize(filters::FilterDefinition& filter);
    // Each active control back to its snapshot, the gradient too. The gradient index for 1092.
    int32_t reset(filters::FilterDefinition& filter);

private:
    std::array<SliderState, kSliderCount> sliders_;
    std::string title_;
    filters::ControlValues resetValues_{};
    int32_t resetGradient_ = 0;
    std::mt19937 random_;
};

}  // namespace lumen::ui
