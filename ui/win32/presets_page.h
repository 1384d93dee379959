#pragma once
// The presets page (template 143): the working filter's presets as owner-drawn items of 86
// pixels (thumbnail and word-wrapped description), Add, Edit, Delete, up, dn, Apply (also a
// double click) and Set default. Every change but Apply is saved into the filter's file at once.
#include <functional>
#include <list>

#include "filters/filter_database.h"
#include "filters/filter_definition.h"
#include "ui/win32/dialog.h"
#include "ui/win32/gdi.h"
#include "ui/win32/image_list_button.h"

namespace lumen::ui {

class ControlPanelPage;

struct PresetsPageLinks {
    filters::FilterDefinition& working;
    filters::FilterDatabase& database;
    ControlPanelPage& panel;                  // its preview is grabbed; it shows an applied preset
    std::function<size_t()> selectedFilters;  // in the navigator's filter list
    std::function<void()> presetsFlagChanged;  // the navigator redraws its filters' icons
};

class PresetsPage final : public DialogOf<PresetsPage> {
public:
    explicit PresetsPage(PresetsPageLinks links) : links_(std::move(links)) {}
    ~PresetsPage() override { destroy(); }

    bool create(HWND parent);
    // The navigator loaded another filter or none: the list follows (message kPresetsFilterChanged).
    void filterChanged();

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();
    static std::span<const Update> updateTable();

private:
    INT_PTR onInit(WPARAM, LPARAM);
    INT_PTR onMeasureItem(WPARAM, LPARAM lParam);
    INT_PTR onDrawItem(WPARAM, LPARAM lParam);
    INT_PTR onFilterChanged(WPARAM, LPARAM);
    void onList(int notifyCode, LPARAM);
    void onAdd(int, LPARAM);
    void onEdit(int, LPARAM);
    void onDelete(int, LPARAM);
    void onUp(int, LPARAM);
    void onDown(int, LPARAM);
    void onApply(int, LPARAM);
    void onSetDefault(int, LPARAM);
    void updateButton(Window control);

    std::optional<size_t> selection() const;
    void select(std::optional<size_t> index);
    void fillList();
    void move(bool up);
    void drawItem(const DRAWITEMSTRUCT& draw) const;

    PresetsPageLinks links_;
    HWND parent_ = nullptr;
    ImageList arrows_;  // bitmap 147: up, down; before the buttons that draw with it
    std::list<ImageListButton> buttons_;
};

}  // namespace lumen::ui
