#include "ui/win32/control_panel_page.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "ui/model/preview_model.h"
#include "ui/win32/messages.h"
#include "ui/win32/preview_window.h"
#include "ui/win32/slider_widget.h"

namespace lumen::ui {

ControlPanelPage::ControlPanelPage(ControlPanelLinks links) : links_(std::move(links)) {}

ControlPanelPage::~ControlPanelPage() {
    // The worker renders into this panel's images and reports to it.
    links_.runner.stop();
    links_.runner.setPreviewProgress(nullptr);
    destroy();
}

bool ControlPanelPage::create(HWND parent) {
    parent_ = parent;
    return createChild(parent, kControlPanel);
}

std::span<const ControlPanelPage::Command> ControlPanelPage::commandTable() {
    static const Command table[] = {
        {kCmdActivateFilter, &ControlPanelPage::onActivate},
        {kCmdNoFilter, &ControlPanelPage::onNoFilter},
        {kPanelRandomize, &ControlPanelPage::onRandomize},
        {kPanelReset, &ControlPanelPage::onReset},
    };
    return table;
}

std::span<const ControlPanelPage::Message> ControlPanelPage::messageTable() {
    static const Message table[] = {
        {WM_INITDIALOG, &ControlPanelPage::onInit},
        {WM_HSCROLL, &ControlPanelPage::onScroll},
        {kPanelRefreshFromFilter, &ControlPanelPage::onRefreshFromFilter},
        {WM_DESTROY, &ControlPanelPage::onDestroy},
    };
    return table;
}

std::span<const ControlPanelPage::Update> ControlPanelPage::updateTable() {
    static const Update table[] = {
        {kPanelRandomize, &ControlPanelPage::updateOneFilterButton},
        {kPanelReset, &ControlPanelPage::updateOneFilterButton},
    };
    return table;
}

INT_PTR ControlPanelPage::onInit(WPARAM, LPARAM) {
    layOutSliders(window(), kPanelSliderIds);
    attachTextButtons(buttons_, window(), {kPanelRandomize, kPanelReset});

    progress_ = item(kPanelProgress).handle();
    const RECT area = item(kPanelPreviewArea).rectInParent();
    if (links_.hostImage)
        makePreviewThumbnail(*links_.hostImage, {area.right - area.left, area.bottom - area.top}, source_,
                             destination_);
    const PreviewLook look{destination_.empty() ? nullptr : &destination_, links_.record, links_.drawDirect};
    preview_ = createPreviewWindow(window().handle(), area, look);
    links_.runner.setPreviewProgress(this);
    return TRUE;
}

INT_PTR ControlPanelPage::onDestroy(WPARAM, LPARAM) {
    links_.runner.stop();
    return FALSE;
}

void ControlPanelPage::showSliders() {
    item(kPanelTitle).setText(model_.title());
    for (int k = 0; k < kSliderCount; ++k) {
        const SliderState& state = model_.sliders()[static_cast<size_t>(k)];
        showSlider(item(kPanelSliderIds[k]), state);
    }
}

void ControlPanelPage::startRender() {
    // The apply renders what the runner holds, preview or not.
    links_.runner.setFilter(filters::toBlockFields(links_.working, links_.databasePath ? links_.databasePath() : ""));
    if (!destination_.empty()) {
        ++renders_.started;
        links_.runner.runAsynchronous(source_, destination_);
    }
    window().invalidate();
}

void ControlPanelPage::onActivate(int, LPARAM) {
    // The worker must not be writing the image that is reset under it.
    links_.runner.stop();
    if (!source_.empty()) source_.copyInto(destination_);
    model_.activate(links_.working);
    showSliders();
    startRender();
}

void ControlPanelPage::refreshFromFilter() {
    model_.refresh(links_.working);
    showSliders();
    startRender();
}

INT_PTR ControlPanelPage::onRefreshFromFilter(WPARAM, LPARAM) {
    refreshFromFilter();
    return TRUE;
}

void ControlPanelPage::onNoFilter(int, LPARAM) {
    links_.runner.stop();
    model_.noFilter();
    showSliders();
    if (!source_.empty()) source_.copyInto(destination_);
    if (preview_) InvalidateRect(preview_, nullptr, FALSE);
    window().invalidate();
}

INT_PTR ControlPanelPage::onScroll(WPARAM wParam, LPARAM lParam) {
    const auto widget = reinterpret_cast<HWND>(lParam);
    for (int k = 0; k < kSliderCount; ++k)
        if (item(kPanelSliderIds[k]).handle() == widget) {
            if (model_.sliderMoved(links_.working, k, LOWORD(wParam), HIWORD(wParam))) startRender();
            break;
        }
    return TRUE;
}

void ControlPanelPage::onRandomize(int, LPARAM) {
    model_.randomize(links_.working);
    showSliders();
    startRender();
}

void ControlPanelPage::onReset(int, LPARAM) {
    const int32_t gradient = model_.reset(links_.working);
    showSliders();
    PostMessageA(parent_, WM_COMMAND, kCmdShowGradient, gradient);
    startRender();
}

void ControlPanelPage::updateOneFilterButton(Window control) {
    const bool one = links_.selectedFilters && links_.selectedFilters() == 1;
    if (control.enabled() != one) control.enable(one);
}

void ControlPanelPage::started(int32_t lastRow, int32_t gradientByUser) {
    PostMessageA(progress_, PBM_SETRANGE32, 0, lastRow);
    PostMessageA(parent_, WM_COMMAND, kCmdGradientBarVisible, gradientByUser);
}

void ControlPanelPage::reachedRow(int32_t row) {
    PostMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(row), 0);
    InvalidateRect(preview_, nullptr, FALSE);
}

void ControlPanelPage::finished() {
    PostMessageA(progress_, PBM_SETPOS, 0, 0);
    InvalidateRect(preview_, nullptr, FALSE);
    if (links_.runner.renderedEveryPixel()) ++renders_.completed;
    ++renders_.finished;
}

}  // namespace lumen::ui
