#include "main_dialog.h"

#include "plugin/parameter_block.h"

namespace lumen::plugin {
namespace {

// Without a user interface a run that asks for the dialog goes on as if Apply was pressed.
class ApplyingDialog final : public MainDialog {
public:
    DialogResult runModal() override { return DialogResult::apply; }
};

std::unique_ptr<MainDialog> makeApplyingDialog(PluginInstance&) { return std::make_unique<ApplyingDialog>(); }

MainDialogFactory factory = makeApplyingDialog;

}  // namespace

void setMainDialogFactory(MainDialogFactory replacement) {
    factory = replacement ? replacement : makeApplyingDialog;
}

std::unique_ptr<MainDialog> makeMainDialog(PluginInstance& instance, const ParameterBlock& block) {
    std::unique_ptr<MainDialog> dialog = factory(instance);
    dialog->runner().setFilter(currentFilterFromBlock(block));
    return dialog;
}

}  // namespace lumen::plugin
