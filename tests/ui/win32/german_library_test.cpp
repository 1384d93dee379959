// lmflngde.dll beside the plug-in: the main dialog speaks German with it and English without;
// it holds every dialog, menu, picture and string of the plug-in; and each of its texts fits
// its control at 96 DPI, measured with the dialog's own font.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/win32/gdi.h"
#include "ui/win32/main_dialog_window.h"
#include "ui/win32/module.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

const std::filesystem::path kBuiltLibrary = std::filesystem::path(LUMEN_BINARY_DIR) / "lmflngde.dll";

std::filesystem::path besideProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path() / "lmflngde.dll";
}

// The library lies beside the program, as beside the plug-in, and is loaded afresh.
class LibraryBesideProgram {
public:
    LibraryBesideProgram() {
        releaseWindows();
        std::filesystem::copy_file(kBuiltLibrary, besideProgram(), std::filesystem::copy_options::overwrite_existing);
    }
    ~LibraryBesideProgram() {
        releaseWindows();
        std::error_code ignored;
        std::filesystem::remove(besideProgram(), ignored);
    }
};

std::string textOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> tabTexts(HWND tabs) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

struct MainTexts {
    std::vector<std::string> tabs;
    std::string apply, cancel, help;
};

MainTexts mainDialogTexts(const char* screenshot) {
    MainTexts texts;
    MainDialogWindow dialog{nullptr};
    runDriven([&] { dialog.runModal(); },
              [&](DWORD ui) {
                  HWND window = waitForWindowWith(ui, kMainTabs);
                  ASSERT_TRUE(window);
                  texts.tabs = tabTexts(GetDlgItem(window, kMainTabs));
                  texts.apply = textOf(GetDlgItem(window, kMainApply));
                  texts.cancel = textOf(GetDlgItem(window, kMainCancel));
                  texts.help = textOf(GetDlgItem(window, kMainHelp));
                  if (screenshot) {
                      saveScreenshot(window, screenshot);
                      selectTab(window, kMainTabs, 2);
                      saveScreenshot(window, std::string(screenshot) + "-about");
                  }
                  pressButton(window, kMainCancel);
              });
    return texts;
}

TEST(GermanLibrary, MainDialogSpeaksGermanWithTheLibraryAndEnglishWithout) {
    ASSERT_TRUE(std::filesystem::exists(kBuiltLibrary)) << kBuiltLibrary;
    {
        LibraryBesideProgram library;
        const MainTexts german = mainDialogTexts("main-dialog-german");
        EXPECT_EQ(german.tabs, (std::vector<std::string>{" Navigator ", " Vorgaben ", " Info "}));
        EXPECT_EQ(german.apply, "Anwenden");
        EXPECT_EQ(german.cancel, "Abbrechen");
        EXPECT_EQ(german.help, "Hilfe");
        EXPECT_EQ(loadString(kStrInvalidAfs), "Ung\xFCltiges AFS-Format.");
        // The models' English messages are shown from the library too.
        EXPECT_EQ(fromStringTable("Are you sure you want to delete all selected filters?"),
                  "Wollen Sie wirklich alle gew\xE4hlten Filter l\xF6schen?");
        EXPECT_EQ(fromStringTable("Confirm delete"), "L\xF6schen best\xE4tigen");
        EXPECT_EQ(fromStringTable("Line 1, column 4: a"), "Line 1, column 4: a");
    }
    const MainTexts english = mainDialogTexts(nullptr);
    EXPECT_EQ(english.tabs, (std::vector<std::string>{" Navigator ", " Presets ", " About "}));
    EXPECT_EQ(english.apply, "Apply");
    EXPECT_EQ(english.cancel, "Cancel");
    EXPECT_EQ(english.help, "Help");
    EXPECT_EQ(loadString(kStrInvalidAfs), "Invalid AFS format.");
}

// A module loaded for its resources only, freed at the end.
class ResourceModule {
public:
    explicit ResourceModule(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ResourceModule() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<int>*>(context)->push_back(int(reinterpret_cast<uintptr_t>(name)));
    return TRUE;
}

std::vector<int> resourceIds(HMODULE module, LPCSTR type) {
    std::vector<int> ids;
    EnumResourceNamesA(module, type, collectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

TEST(GermanLibrary, HoldsEveryDialogMenuPictureAndStringOfThePlugin) {
    ResourceModule plugin(LUMEN_PLUGIN_PATH), german(kBuiltLibrary.string());
    ASSERT_TRUE(plugin.get());
    ASSERT_TRUE(german.get());
    for (LPCSTR type : {RT_DIALOG, RT_MENU, RT_BITMAP, RT_GROUP_CURSOR}) {
        const std::vector<int> ids = resourceIds(plugin.get(), type);
        EXPECT_FALSE(ids.empty());
        for (int id : ids)
            EXPECT_TRUE(FindResourceA(german.get(), MAKEINTRESOURCEA(id), type))
                << "type " << reinterpret_cast<uintptr_t>(type) << " id " << id;
    }
    int strings = 0;
    for (int block : resourceIds(plugin.get(), RT_STRING))
        for (int id = (block - 1) * 16; id < block * 16; ++id) {
            char english[1024], translated[1024];
            if (LoadStringA(plugin.get(), UINT(id), english, sizeof english) <= 0) continue;
            ++strings;
            EXPECT_GT(LoadStringA(german.get(), UINT(id), translated, sizeof translated), 0) << "string " << id;
        }
    EXPECT_GT(strings, 25);
    // The data resources stay the plug-in's own.
    EXPECT_FALSE(FindResourceA(german.get(), MAKEINTRESOURCEA(175), "GRAD"));
}

std::string withoutAccelerators(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

INT_PTR CALLBACK quietProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Overflow {
    int dialog;
    int control;
    std::string text;
    int needed, available;
};

// Every visible text of a button or a text static that needs more room than its control has.
void measureDialog(int id, const DLGTEMPLATE* layout, HWND parent, std::vector<Overflow>& overflows) {
    const bool child = (layout->style & WS_CHILD) != 0;
    HWND dialog = CreateDialogIndirectParamA(pluginModule(), layout, child ? parent : nullptr, quietProcedure, 0);
    ASSERT_TRUE(dialog) << "dialog " << id;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const std::string text = withoutAccelerators(textOf(control));
        if (!(style & WS_VISIBLE) || text.empty()) continue;
        char className[32] = {};
        GetClassNameA(control, className, sizeof className);
        const RECT client = Window(control).clientRect();
        int available = client.right, needed = 0;
        WindowDc dc(control);
        Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc.get(), text.c_str(), int(text.size()), &extent);
        if (_stricmp(className, "Button") == 0) {
            const LONG kind = style & BS_TYPEMASK;
            if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)
                available -= 6;  // the edges and the focus rectangle
            else if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
                available -= 16;  // the box and the gap after it
            else
                continue;
            needed = extent.cx;
        } else if (_stricmp(className, "Static") == 0) {
            const LONG kind = style & SS_TYPEMASK;
            if (kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE) {
                needed = extent.cx;
            } else if (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT) {
                // Wrapping text: what it needs is the height of its lines.
                RECT room{0, 0, client.right, 0};
                DrawTextA(dc.get(), text.c_str(), int(text.size()), &room, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                needed = room.bottom;
                available = client.bottom;
                if (room.right > client.right) needed = available + 1;  // one word wider than the control
            } else {
                continue;
            }
        } else {
            continue;
        }
        if (needed > available) overflows.push_back({id, GetDlgCtrlID(control), text, needed, available});
    }
    DestroyWindow(dialog);
}

TEST(GermanLibrary, NoTextIsWiderThanItsControlAt96Dpi) {
    {
        WindowDc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), 96);
    }
    ASSERT_TRUE(prepareWindows());
    ResourceModule german(kBuiltLibrary.string());
    ASSERT_TRUE(german.get());
    HWND parent = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    std::vector<Overflow> overflows;
    const std::vector<int> dialogs = resourceIds(german.get(), RT_DIALOG);
    EXPECT_GE(dialogs.size(), 10u);
    for (int id : dialogs) {
        HRSRC found = FindResourceA(german.get(), MAKEINTRESOURCEA(id), RT_DIALOG);
        const auto* layout = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(german.get(), found)));
        ASSERT_TRUE(layout);
        measureDialog(id, layout, parent, overflows);
    }
    DestroyWindow(parent);
    for (const Overflow& overflow : overflows)
        ADD_FAILURE() << "dialog " << overflow.dialog << ", control " << overflow.control << ": \"" << overflow.text
                      << "\" needs " << overflow.needed << " pixels, has " << overflow.available;
}

}  // namespace
}  // namespace lumen::ui
