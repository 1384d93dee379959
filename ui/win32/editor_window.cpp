#include "ui/win32/editor_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <list>
#include <mutex>

#include "plugin/render_tables.h"
#include "resources/resource_ids.h"
#include "ui/model/control_panel_model.h"
#include "ui/model/editor_model.h"
#include "ui/win32/dialog.h"
#include "ui/win32/dialog_frame.h"
#include "ui/win32/editor_dialogs.h"
#include "ui/win32/help_viewer.h"
#include "ui/win32/image_list_button.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"
#include "ui/win32/navigator_dialogs.h"
#include "ui/win32/preview_window.h"
#include "ui/win32/slider_widget.h"

namespace lumen::ui {
namespace {

constexpr char kSourceLetters[] = "IRGBA";
// What the parameter block keeps: a longer source would be saved whole but applied cut.
constexpr UINT kSourceLimit = filters::kMaxBlockSourceLength;

// Posted by the worker: wParam non-zero shows the mark of source lParam, zero hides it.
constexpr UINT kShowErrorMark = WM_USER + 100;
// Posted by the worker: wParam non-zero shows the gradient bar.
constexpr UINT kShowEditorGradientBar = WM_APP + 60;
// The line under the edits that says where the failing source stopped; made at run time.
constexpr int kErrorLine = 1200;

// Multi-line edits break lines only at CR LF; sources written elsewhere may hold bare LFs. A
// source the added CRs would push past the limit is shown as it is.
std::string withWindowsLineEnds(const std::string& text) {
    std::string converted;
    converted.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) converted += '\r';
        converted += text[i];
    }
    return converted.size() <= kSourceLimit ? converted : text;
}

// The open dialog of the Import button: one existing file of the types of text 16998.
std::optional<std::string> chooseFileToImport(HWND owner, const std::string& initialPath) {
    std::string types = loadString(kStrEditorImportTypes);
    for (char& c : types)
        if (c == '|') c = '\0';
    char path[MAX_PATH] = {};
    if (initialPath.size() < sizeof path) initialPath.copy(path, initialPath.size());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = types.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(path);
}

class EditorWindow final : public DialogOf<EditorWindow>, private plugin::PreviewProgress {
public:
    EditorWindow(const filters::FilterDefinition& filter, const EditorSurroundings& surroundings)
        : model_(filter, clockSeed()), surroundings_(surroundings), runner_(this) {
        runner_.setColours(surroundings.colours);
        runner_.setSwapRedBlue(surroundings.swapRedBlue);
        // Its own copy of the panel's image, with alpha, so the preview shows what A gives.
        const plugin::ImageBuffer* panel = surroundings.previewSource;
        if (panel && !panel->empty() &&
            source_.allocate(panel->width(), panel->height(), plugin::ImageBuffer::kFourChannels, true) &&
            panel->copyInto(source_)) {
            // The panel's image stands for the host's, whose ranges hmin and hmax read.
            source_.setRanges(panel->rangesOrFound());
            preview_.allocate(panel->width(), panel->height(), plugin::ImageBuffer::kFourChannels, true);
        }
    }
    ~EditorWindow() override { runner_.stop(); }

    const EditorModel& model() const { return model_; }

    static std::span<const Message> messageTable() {
        static const Message table[] = {{WM_INITDIALOG, &EditorWindow::onInit},
                                        {WM_NCHITTEST, &EditorWindow::onHitTest},
                                        {WM_HSCROLL, &EditorWindow::onSliderScroll},
                                        {kShowErrorMark, &EditorWindow::onShowErrorMark},
                                        {kShowEditorGradientBar, &EditorWindow::onShowGradientBar}};
        return table;
    }
    static std::span<const Command> commandTable() {
        static const Command table[] = {
            {IDOK, &EditorWindow::onSave},
            {IDCANCEL, &EditorWindow::onCancel},
            {kCmdUpdatePreview, &EditorWindow::onUpdatePreview},
            {kEditSourceI, &EditorWindow::onSourceEdit},
            {kEditSourceR, &EditorWindow::onSourceEdit},
            {kEditSourceG, &EditorWindow::onSourceEdit},
            {kEditSourceB, &EditorWindow::onSourceEdit},
            {kEditSourceA, &EditorWindow::onSourceEdit},
            {kEditMarkI, &EditorWindow::onErrorClicked},
            {kEditMarkR, &EditorWindow::onErrorClicked},
            {kEditMarkG, &EditorWindow::onErrorClicked},
            {kEditMarkB, &EditorWindow::onErrorClicked},
            {kEditMarkA, &EditorWindow::onErrorClicked},
            {kErrorLine, &EditorWindow::onErrorClicked},
            {kEditSliderSettings, &EditorWindow::onSliderSettings},
            {kEditRandomize, &EditorWindow::onRandomize},
            {kEditImport, &EditorWindow::onImport},
            {kEditFilterInfo, &EditorWindow::onFilterInfo},
            {kEditReference, &EditorWindow::onLanguageReference},
            {kEditGradientBar, &EditorWindow::onGradientChosen},
        };
        return table;
    }

private:
    INT_PTR onInit(WPARAM, LPARAM) {
        placeLogo(window(), kEditLogo, logo_);
        Window bar = item(kEditGradientBar);
        const plugin::RenderTables& tables = plugin::renderTables();
        bar.send(kGradientBarSetTable, tables.gradientTable ? plugin::kGradientCount : 0,
                 reinterpret_cast<LPARAM>(tables.gradientTable));
        bar.send(kGradientBarSetIndex, static_cast<WPARAM>(model_.copies().gradientIndex));
        item(kEditTitle).setText(model_.title());
        layOutSliders(window(), kEditSliderIds);
        showSliders();
        const RECT area = item(kEditPreviewArea).rectInParent();
        previewWindow_ = createPreviewWindow(window().handle(), area,
                                             PreviewLook{preview_.empty() ? nullptr : &preview_, nullptr, true});
        createErrorLine();
        for (int mark : kEditMarkIds) {
            Window picture = item(mark);
            SetWindowLongA(picture.handle(), GWL_STYLE, GetWindowLongA(picture.handle(), GWL_STYLE) | SS_NOTIFY);
        }
        attachTextButtons(buttons_, window(), {kEditSliderSettings, kEditRandomize, kEditImport, kEditFilterInfo,
                                               kEditReference});
        filling_ = true;
        for (int i = 0; i < filters::kSourceCount; ++i) {
            item(kEditSourceIds[i]).send(EM_LIMITTEXT, kSourceLimit);
            item(kEditSourceIds[i]).setText(withWindowsLineEnds(model_.copies().code[i]));
        }
        filling_ = false;
        requestUpdate();
        return TRUE;
    }

    void createErrorLine() {
        RECT area{16, 259, 204, 275};
        MapDialogRect(window().handle(), &area);
        HWND line = CreateWindowExA(0, "Static", "", WS_CHILD | SS_NOTIFY | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, area.left,
                                    area.top, area.right - area.left, area.bottom - area.top, window().handle(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kErrorLine)), nullptr, nullptr);
        SendMessageA(line, WM_SETFONT, window().send(WM_GETFONT), FALSE);
    }

    INT_PTR onHitTest(WPARAM, LPARAM lParam) { return answer(backgroundDragHitTest(window(), lParam)); }

    void showSliders() {
        const filters::FilterEdit& copies = model_.copies();
        for (int k = 0; k < kSliderCount; ++k)
            showSlider(item(kEditSliderIds[k]), {copies.controlValue[k], copies.controlLabel[k], copies.controlEnabled[k] != 0});
    }

    INT_PTR onSliderScroll(WPARAM wParam, LPARAM) {
        std::array<int, kSliderCount> values{};
        for (int k = 0; k < kSliderCount; ++k) values[k] = static_cast<int>(item(kEditSliderIds[k]).send(kSliderGetValue));
        if (model_.sliderMoved(values, LOWORD(wParam))) requestUpdate();
        return TRUE;
    }

    void onSourceEdit(int notifyCode, LPARAM) {
        if (notifyCode == EN_CHANGE && !filling_) requestUpdate();
    }

    // Keystrokes that arrive faster than they are handled ask for one check and render, of the
    // text they leave.
    void requestUpdate() {
        if (updateRequested_) return;
        updateRequested_ = window().post(WM_COMMAND, kCmdUpdatePreview);
    }

    void onUpdatePreview(int, LPARAM) {
        updateRequested_ = false;
        runner_.stop();
        for (int i = 0; i < filters::kSourceCount; ++i) model_.setSource(i, item(kEditSourceIds[i]).text());
        if (preview_.empty()) {
            // Nothing to preview on: the sources are still checked, here and at once.
            std::array<const char*, filters::kSourceCount> texts{};
            for (int i = 0; i < filters::kSourceCount; ++i) texts[i] = model_.copies().code[i].c_str();
            sourcesChecked(formula::compileFilter(texts), model_.copies().code);
            return;
        }
        plugin::CurrentFilter filter;
        filter.code = model_.copies().code;
        filter.controlValue = model_.copies().controlValue;
        filter.gradientIndex = model_.copies().gradientIndex;
        runner_.setFilter(filter);
        runner_.runAsynchronous(source_, preview_);
    }

    // The worker's side: only posts.
    void sourcesChecked(const formula::FilterCompileResult& compiled,
                        const std::array<std::string, formula::kSourceCount>& sources) override {
        const EditorCheck check = checkMarks(compiled, sources);
        if (check.failingSource >= 0) {
            std::lock_guard lock{errorLock_};
            error_ = check;
        }
        for (const SourceMark& mark : check.marks)
            window().post(kShowErrorMark, mark.shown ? 1 : 0, mark.source);
    }
    void started(int32_t lastRow, int32_t gradientByUser) override {
        item(kEditProgress).post(PBM_SETRANGE32, 0, lastRow);
        window().post(kShowEditorGradientBar, gradientByUser != 0);
    }
    void reachedRow(int32_t row) override {
        item(kEditProgress).post(PBM_SETPOS, static_cast<WPARAM>(row));
        InvalidateRect(previewWindow_, nullptr, FALSE);
    }
    void finished() override {
        item(kEditProgress).post(PBM_SETPOS, 0);
        InvalidateRect(previewWindow_, nullptr, FALSE);
        if (surroundings_.renderFinished) surroundings_.renderFinished(runner_.renderedEveryPixel(), preview_);
    }

    INT_PTR onShowErrorMark(WPARAM shown, LPARAM source) {
        if (source < 0 || source >= filters::kSourceCount) return TRUE;
        item(kEditMarkIds[source]).show(shown != 0);
        Window line = item(kErrorLine);
        if (shown) {
            std::lock_guard lock{errorLock_};
            shownError_ = error_;
            line.setText(std::string(1, kSourceLetters[source]) + ": " + error_.errorText);
            line.show(true);
        } else if (source == shownError_.failingSource) {
            line.show(false);
            shownError_ = {};
        }
        return TRUE;
    }

    INT_PTR onShowGradientBar(WPARAM visible, LPARAM) {
        item(kEditGradientBar).show(visible != 0);
        return TRUE;
    }

    void onErrorClicked(int notifyCode, LPARAM) {
        if (notifyCode != STN_CLICKED || shownError_.failingSource < 0) return;
        Window edit = item(kEditSourceIds[shownError_.failingSource]);
        SetFocus(edit.handle());
        edit.send(EM_SETSEL, static_cast<WPARAM>(shownError_.errorOffset), shownError_.errorOffset);
        edit.send(EM_SCROLLCARET);
    }

    void onSliderSettings(int, LPARAM) {
        std::array<std::string, filters::kControlCount> labels = model_.copies().controlLabel;
        std::array<uint8_t, filters::kControlCount> active = model_.copies().controlEnabled;
        if (!editSliderSettings(window().handle(), labels, active)) return;
        model_.setSliderSettings(labels, active);
        showSliders();
    }

    void onRandomize(int, LPARAM) {
        if (!model_.randomize()) return;
        showSliders();
        requestUpdate();
    }

    void onImport(int, LPARAM) {
        if (!surroundings_.settings || !surroundings_.fileSystem) return;
        const std::string recent = filters::readStringSetting(*surroundings_.settings, filters::kRecentEditorImportPathValue);
        const std::optional<std::string> path = surroundings_.chooseImportFile
                                                    ? surroundings_.chooseImportFile(window().handle(), recent)
                                                    : chooseFileToImport(window().handle(), recent);
        if (!path) return;
        switch (model_.importFile(*surroundings_.fileSystem, *surroundings_.settings, *path)) {
            case EditorImport::Imported:
                refillSources();
                showSliders();
                requestUpdate();
                break;
            case EditorImport::NotAFilterFactoryPlugin:
                showMessageBox(window().handle(), loadString(kStrInvalidPlugin));
                break;
            case EditorImport::NothingDone:
                break;
        }
    }

    void refillSources() {
        filling_ = true;
        for (int i = 0; i < filters::kSourceCount; ++i)
            item(kEditSourceIds[i]).setText(withWindowsLineEnds(model_.copies().code[i]));
        filling_ = false;
    }

    void onFilterInfo(int, LPARAM) {
        if (!surroundings_.settings) return;
        std::string author = model_.copies().author, copyright = model_.copies().copyright;
        if (editAuthorAndCopyright(window().handle(), *surroundings_.settings, author, copyright))
            model_.setInfo(std::move(author), std::move(copyright));
    }

    void onLanguageReference(int, LPARAM) { openLanguageReference(window().handle()); }

    void onGradientChosen(int, LPARAM index) {
        model_.setGradient(static_cast<int32_t>(index));
        requestUpdate();
    }

    void onSave(int, LPARAM) {
        runner_.stop();
        for (int i = 0; i < filters::kSourceCount; ++i) model_.setSource(i, item(kEditSourceIds[i]).text());
        endModal(IDOK);
    }
    void onCancel(int, LPARAM) {
        runner_.stop();
        endModal(IDCANCEL);
    }

    EditorModel model_;
    EditorSurroundings surroundings_;
    plugin::ImageBuffer source_;
    plugin::ImageBuffer preview_;
    HWND previewWindow_ = nullptr;
    Bitmap logo_;
    std::list<ImageListButton> buttons_;
    bool filling_ = false;  // edits filled by the editor itself: one update follows, not five
    bool updateRequested_ = false;
    std::mutex errorLock_;
    EditorCheck error_;       // the worker's latest failure
    EditorCheck shownError_;  // the one the marks and the line show
    plugin::FilterRunner runner_;  // last: its worker stops before the rest goes
};

}  // namespace

bool runFilterEditor(HWND owner, const filters::FilterDefinition& filter, const EditorSurroundings& surroundings,
                     filters::FilterEdit& edit) {
    if (!prepareWindows()) return false;
    EditorWindow editor(filter, surroundings);
    if (editor.runModal(owner, kEditorDialog) != IDOK) return false;
    edit = editor.model().save();
    return true;
}

}  // namespace lumen::ui
