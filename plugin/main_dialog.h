#pragma once
// The main dialog as the entry sees it. Building it restores the working filter from the
// parameter block, so a replay without the dialog works on the stored filter; showing it is
// asked for only when the block says so. Platforms without a user interface, and the tests,
// supply their own dialogs through setMainDialogFactory.
#include <memory>

namespace lumen::plugin {

class PluginInstance;

enum class DialogResult { apply, cancel };

class MainDialog {
public:
    virtual ~MainDialog() = default;
    // Runs the dialog modally; apply means the user pressed Apply.
    virtual DialogResult runModal() = 0;
};

using MainDialogFactory = std::unique_ptr<MainDialog> (*)(PluginInstance& instance);

// The factory the input phase uses; null restores the platform's default.
void setMainDialogFactory(MainDialogFactory factory);
std::unique_ptr<MainDialog> makeMainDialog(PluginInstance& instance);

}  // namespace lumen::plugin
