#include "ui/win32/about_box.h"

#include "resources/resource_ids.h"
#include "ui/win32/dialog.h"
#include "ui/win32/module.h"

namespace lumen::ui {
namespace {

class AboutBox final : public DialogOf<AboutBox> {
public:
    static std::span<const Command> commandTable() {
        static const Command table[] = {{IDOK, &AboutBox::onClose}, {IDCANCEL, &AboutBox::onClose}};
        return table;
    }

private:
    void onClose(int, LPARAM) { endModal(IDOK); }
};

}  // namespace

void showAboutBox(const hostapi::AboutRecord* about) {
    if (!prepareWindows()) return;
    HWND owner = nullptr;
    if (about && about->platformData)
        owner = reinterpret_cast<HWND>(static_cast<const hostapi::PlatformData*>(about->platformData)->hwnd);
    AboutBox box;
    box.runModal(owner, kAboutBoxDialog);
}

}  // namespace lumen::ui
