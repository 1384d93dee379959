#include "ui/win32/editor_dialogs.h"

#include "resources/resource_ids.h"
#include "ui/model/editor_model.h"
#include "ui/win32/dialog.h"

namespace lumen::ui {
namespace {

class SliderSettingsDialog final : public DialogOf<SliderSettingsDialog> {
public:
    SliderSettingsDialog(std::array<std::string, filters::kControlCount>& labels,
                         std::array<uint8_t, filters::kControlCount>& active)
        : labels_(labels), active_(active) {}

    static std::span<const Message> messageTable() {
        static const Message table[] = {{WM_INITDIALOG, &SliderSettingsDialog::onInit}};
        return table;
    }
    static std::span<const Command> commandTable() {
        static const Command table[] = {{IDOK, &SliderSettingsDialog::onOk}, {IDCANCEL, &SliderSettingsDialog::onCancel}};
        return table;
    }

private:
    INT_PTR onInit(WPARAM, LPARAM) {
        for (int k = 0; k < filters::kControlCount; ++k) {
            // The parameter block keeps no longer label: a longer one would be cut unseen.
            item(kSliderLabelIds[k]).send(EM_LIMITTEXT, filters::kMaxBlockLabelLength);
            item(kSliderLabelIds[k]).setText(labels_[k]);
            item(kSliderActiveIds[k]).send(BM_SETCHECK, active_[k] ? BST_CHECKED : BST_UNCHECKED);
        }
        return TRUE;
    }
    void onOk(int, LPARAM) {
        for (int k = 0; k < filters::kControlCount; ++k) {
            labels_[k] = item(kSliderLabelIds[k]).text();
            active_[k] = item(kSliderActiveIds[k]).send(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
        }
        endModal(IDOK);
    }
    void onCancel(int, LPARAM) { endModal(IDCANCEL); }

    std::array<std::string, filters::kControlCount>& labels_;
    std::array<uint8_t, filters::kControlCount>& active_;
};

class AuthorDialog final : public DialogOf<AuthorDialog> {
public:
    AuthorDialog(filters::SettingsStore& settings, std::string& author, std::string& copyright)
        : settings_(settings), author_(author), copyright_(copyright) {}

    static std::span<const Message> messageTable() {
        static const Message table[] = {{WM_INITDIALOG, &AuthorDialog::onInit}};
        return table;
    }
    static std::span<const Command> commandTable() {
        static const Command table[] = {{IDOK, &AuthorDialog::onOk},
                                        {IDCANCEL, &AuthorDialog::onCancel},
                                        {kEditorInfoLoadDefaults, &AuthorDialog::onLoadDefaults},
                                        {kEditorInfoSaveDefaults, &AuthorDialog::onSaveDefaults}};
        return table;
    }

private:
    INT_PTR onInit(WPARAM, LPARAM) {
        show({author_, copyright_});
        return TRUE;
    }
    void show(const AuthorDefaults& texts) {
        item(kEditorInfoAuthor).setText(texts.author);
        item(kEditorInfoCopyright).setText(texts.copyright);
    }
    AuthorDefaults shown() const { return {item(kEditorInfoAuthor).text(), item(kEditorInfoCopyright).text()}; }
    void onLoadDefaults(int, LPARAM) { show(loadAuthorDefaults(settings_)); }
    void onSaveDefaults(int, LPARAM) { saveAuthorDefaults(settings_, shown()); }
    void onOk(int, LPARAM) {
        const AuthorDefaults texts = shown();
        author_ = texts.author;
        copyright_ = texts.copyright;
        endModal(IDOK);
    }
    void onCancel(int, LPARAM) { endModal(IDCANCEL); }

    filters::SettingsStore& settings_;
    std::string& author_;
    std::string& copyright_;
};

}  // namespace

bool editSliderSettings(HWND owner, std::array<std::string, filters::kControlCount>& labels,
                        std::array<uint8_t, filters::kControlCount>& active) {
    SliderSettingsDialog dialog(labels, active);
    return dialog.runModal(owner, kSliderSettingsDialog) == IDOK;
}

bool editAuthorAndCopyright(HWND owner, filters::SettingsStore& settings, std::string& author,
                            std::string& copyright) {
    AuthorDialog dialog(settings, author, copyright);
    return dialog.runModal(owner, kEditorInfoDialog) == IDOK;
}

}  // namespace lumen::ui
