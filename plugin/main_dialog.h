#pragma once
// The main dialog as the entry sees it. Building it restores the working filter from the
// parameter block, so a replay without the dialog works on the stored filter; showing it is
// asked for only when the block says so. Platforms without a user interface, and the tests,
// supply their own dialogs through setMainDialogFactory.
#include <memory>

#include "plugin/filter_runner.h"

namespace lumen::plugin {

class PluginInstance;
struct ParameterBlock;

enum class DialogResult { apply, cancel };

class MainDialog {
public:
    virtual ~MainDialog() = default;
    // Runs the dialog modally; apply means the user pressed Apply.
    virtual DialogResult runModal() = 0;

    // Holds the working filter (restored from the parameter block when the dialog is built,
    // changed by the user in it) and renders the preview and the apply.
    FilterRunner& runner() { return runner_; }

private:
    FilterRunner runner_;
};

using MainDialogFactory = std::unique_ptr<MainDialog> (*)(PluginInstance& instance);

// The factory the input phase uses; null restores the platform's default.
void setMainDialogFactory(MainDialogFactory factory);
std::unique_ptr<MainDialog> makeMainDialog(PluginInstance& instance, const ParameterBlock& block);

}  // namespace lumen::plugin
