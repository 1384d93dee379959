#include "ui/model/control_panel_model.h"

#include <chrono>

namespace lumen::ui {

uint32_t clockSeed() {
    return uint32_t(std::chrono::system_clock::now().time_since_epoch().count());
}

void ControlPanelModel::activate(const filters::FilterDefinition& filter) {
    resetValues_ = filter.controlValue;
    resetGradient_ = filter.gradientIndex;
    refresh(filter);
}

void ControlPanelModel::refresh(const filters::FilterDefinition& filter) {
    title_ = filter.title;
    for (int k = 0; k < kSliderCount; ++k)
        sliders_[k] = filter.controlEnabled[k] ? SliderState{filter.controlValue[k], filter.controlLabel[k], true}
                                               : SliderState{};
}

void ControlPanelModel::noFilter() {
    title_.clear();
    for (SliderState& slider : sliders_) slider.active = false;
}

bool ControlPanelModel::sliderMoved(filters::FilterDefinition& filter, int slider, int code, int value) {
    if (slider >= 0 && slider < kSliderCount && sliders_[slider].active) sliders_[slider].value = value;
    // An inactive widget shows 0, but its control's value is still read by the formulas (a
    // hidden control is a constant): only the active widgets' values are taken.
    for (int k = 0; k < kSliderCount; ++k)
        if (sliders_[k].active) filter.controlValue[k] = sliders_[k].value;
    return code == kSliderEndScroll;
}

void ControlPanelModel::randomize(filters::FilterDefinition& filter) {
    for (int k = 0; k < kSliderCount; ++k)
        if (sliders_[k].active) filter.controlValue[k] = sliders_[k].value = int(random_() & 0xFF);
}

int32_t ControlPanelModel::reset(filters::FilterDefinition& filter) {
    for (int k = 0; k < kSliderCount; ++k)
        if (sliders_[k].active) filter.controlValue[k] = sliders_[k].value = resetValues_[k];
    filter.gradientIndex = resetGradient_;
    return resetGradient_;
}

}  // namespace lumen::ui
