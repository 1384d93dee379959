#pragma once
// The control panel (template 132): the preview with its progress bar, the working filter's
// title, its eight controls as slider widgets, Randomize and Reset. Commands 1001 and 1004 take
// the working filter in and empty the panel; a preview render starts when a value has settled
// (a drag ended, Randomize, Reset), always stopping the one that runs.
#include <atomic>
#include <functional>
#include <list>
#include <string>

#include "filters/filter_definition.h"
#include "plugin/filter_runner.h"
#include "plugin/image_buffer.h"
#include "ui/model/control_panel_model.h"
#include "ui/win32/dialog.h"
#include "ui/win32/image_list_button.h"

namespace lumen::ui {

struct ControlPanelLinks {
    filters::FilterDefinition& working;
    plugin::FilterRunner& runner;
    const plugin::ImageBuffer* hostImage = nullptr;  // the thumbnail's picture; none: no preview
    const hostapi::FilterRecord* record = nullptr;   // whose displayPixels draws the preview
    bool drawDirect = true;
    std::function<size_t()> selectedFilters;    // in the navigator's filter list
    std::function<std::string()> databasePath;  // recorded with the filter a render uses
};

class ControlPanelPage final : public DialogOf<ControlPanelPage>, private plugin::PreviewProgress {
public:
    explicit ControlPanelPage(ControlPanelLinks links);
    ~ControlPanelPage() override;

    bool create(HWND parent);
    // The sliders show the working filter again and a render starts; the result image and the
    // snapshots for Reset stay (after a gradient change, an applied preset, the editor).
    void refreshFromFilter();

    const plugin::ImageBuffer& previewSource() const { return source_; }
    const plugin::ImageBuffer& previewDestination() const { return destination_; }

    // Renders begun, ended, and ended with every pixel written.
    struct RenderCounts {
        std::atomic<int> started{0};
        std::atomic<int> finished{0};
        std::atomic<int> completed{0};
    };
    const RenderCounts& renders() const { return renders_; }

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();
    static std::span<const Update> updateTable();

private:
    INT_PTR onInit(WPARAM, LPARAM);
    INT_PTR onScroll(WPARAM wParam, LPARAM lParam);
    INT_PTR onRefreshFromFilter(WPARAM, LPARAM);
    INT_PTR onDestroy(WPARAM, LPARAM);
    void onActivate(int, LPARAM);
    void onNoFilter(int, LPARAM);
    void onRandomize(int, LPARAM);
    void onReset(int, LPARAM);
    void updateOneFilterButton(Window control);

    void showSliders();
    void startRender();

    // On the worker thread: posts and invalidations only.
    void started(int32_t lastRow, int32_t gradientByUser) override;
    void reachedRow(int32_t row) override;
    void finished() override;

    ControlPanelLinks links_;
    ControlPanelModel model_;
    plugin::ImageBuffer source_;
    plugin::ImageBuffer destination_;
    HWND preview_ = nullptr;
    HWND progress_ = nullptr;
    HWND parent_ = nullptr;
    std::list<ImageListButton> buttons_;
    RenderCounts renders_;
};

}  // namespace lumen::ui
