// The help window as a user meets it: Help opens the guide at its contents, a link opens its
// topic and Back returns; the reference opens on a built-in's page with its picture; find marks
// what is there; a missing or damaged book gives the message and no window.
#include "ui/win32/help_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "help/help_file.h"
#include "resources/resource_ids.h"
#include "ui/win32/help_viewer_page.h"
#include "ui/win32/main_dialog_window.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

std::filesystem::path moduleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

help::HelpDocument builtBook(const std::string& name) {
    std::ifstream in(std::filesystem::path(LUMEN_BINARY_DIR) / name, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto read = help::readHelpFile(bytes);
    EXPECT_TRUE(read.document) << name;
    return read.document ? std::move(*read.document) : help::HelpDocument{};
}

// The books lie beside the program, as beside the plug-in, for as long as the test runs.
class BooksBesideProgram {
public:
    BooksBesideProgram() {
        for (const char* name : {kUserGuideFile, kReferenceFile})
            std::filesystem::copy_file(std::filesystem::path(LUMEN_BINARY_DIR) / name, moduleFolder() / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
    ~BooksBesideProgram() {
        std::error_code ignored;
        for (const char* name : {kUserGuideFile, kReferenceFile}) std::filesystem::remove(moduleFolder() / name, ignored);
    }
};

HWND findHelpWindow(DWORD thread) {
    HWND found = nullptr;
    waitUntil([&] {
        found = FindWindowExA(nullptr, nullptr, kHelpWindowClass, nullptr);
        return found && GetWindowThreadProcessId(found, nullptr) == thread && IsWindowVisible(found);
    });
    return found;
}

std::string captionOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string captionFor(const std::string& title) { return "Lumenforge Help - " + title; }

// The number, among the topic's links, of the first one to `target`.
int linkNumber(const help::Topic& topic, const std::string& target) {
    int number = 0;
    for (const help::Block& block : topic.blocks)
        for (const help::Span& span : block.spans)
            if (span.kind == help::SpanKind::link) {
                if (span.target == target) return number;
                ++number;
            }
    return -1;
}

void clickLink(HWND viewer, int number) {
    HWND page = GetDlgItem(viewer, kHelpPage);
    RECT rect{};
    ASSERT_TRUE(SendMessageA(page, kHelpPageLinkRect, static_cast<WPARAM>(number), reinterpret_cast<LPARAM>(&rect)));
    const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    postMouse(page, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    postMouse(page, WM_LBUTTONUP, 0, x, y);
}

// Runs the thread's messages until the help windows are gone, as a host's loop would.
void pumpWhileHelpIsOpen() {
    MSG message;
    const DWORD start = GetTickCount();
    while (FindWindowExA(nullptr, nullptr, kHelpWindowClass, nullptr) && GetTickCount() - start < 20000) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TEST(HelpViewer, HelpOpensTheGuideAtItsContentsALinkOpensItsTopicAndBackReturns) {
    BooksBesideProgram books;
    const help::HelpDocument guide = builtBook(kUserGuideFile);
    ASSERT_FALSE(guide.topics.empty());
    const help::Topic& contents = guide.topics.front();
    const help::Topic* linked = guide.findTopic("install");
    ASSERT_TRUE(linked);
    const int link = linkNumber(contents, "install");
    ASSERT_GE(link, 0);
    MainDialogWindow dialog{nullptr};
    runDriven([&] { dialog.runModal(); },
              [&](DWORD ui) {
                  HWND window = waitForWindowWith(ui, kMainTabs);
                  ASSERT_TRUE(window);
                  pressButton(window, kMainHelp);
                  HWND viewer = findHelpWindow(ui);
                  ASSERT_TRUE(viewer);
                  EXPECT_EQ(GetWindow(viewer, GW_OWNER), window) << "it stays over the dialog";
                  EXPECT_TRUE(IsWindowEnabled(window)) << "modeless: the dialog still works";
                  EXPECT_EQ(captionOf(viewer), captionFor(contents.title));
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, kHelpBackButton)));
                  saveScreenshot(viewer, "help-viewer-contents");

                  clickLink(viewer, link);
                  EXPECT_TRUE(waitUntil([&] { return captionOf(viewer) == captionFor(linked->title); }))
                      << captionOf(viewer);
                  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(viewer, kHelpBackButton)));
                  pressButton(viewer, kHelpBackButton);
                  EXPECT_TRUE(waitUntil([&] { return captionOf(viewer) == captionFor(contents.title); }))
                      << captionOf(viewer);
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, kHelpBackButton)));

                  // Help again brings the same window back at the contents.
                  clickLink(viewer, link);
                  EXPECT_TRUE(waitUntil([&] { return captionOf(viewer) == captionFor(linked->title); }));
                  pressButton(window, kMainHelp);
                  EXPECT_TRUE(waitUntil([&] { return captionOf(viewer) == captionFor(contents.title); }));
                  EXPECT_EQ(FindWindowExA(nullptr, viewer, kHelpWindowClass, nullptr), nullptr);
                  pressButton(window, kMainCancel);
                  // The dialog's windows go with it.
                  EXPECT_TRUE(waitUntil([&] { return !IsWindow(viewer); }));
              });
}

TEST(HelpViewer, ReferenceShowsABuiltinsPageWithItsPictureAndFindMarksWhatIsThere) {
    BooksBesideProgram books;
    const help::HelpDocument reference = builtBook(kReferenceFile);
    ASSERT_FALSE(reference.topics.empty());
    const help::Topic* sine = reference.findTopic("fn-sin");
    ASSERT_TRUE(sine);
    const int link = linkNumber(reference.topics.front(), "fn-sin");
    ASSERT_GE(link, 0);
    bool opened = false;
    runDriven(
        [&] {
            opened = openLanguageReference(nullptr);
            pumpWhileHelpIsOpen();
        },
        [&](DWORD ui) {
            HWND viewer = findHelpWindow(ui);
            ASSERT_TRUE(viewer);
            EXPECT_EQ(captionOf(viewer), captionFor(reference.topics.front().title));
            clickLink(viewer, link);
            ASSERT_TRUE(waitUntil([&] { return captionOf(viewer) == captionFor(sine->title); })) << captionOf(viewer);
            HWND page = GetDlgItem(viewer, kHelpPage);
            EXPECT_TRUE(SendMessageA(page, kHelpPageFind, 0, reinterpret_cast<LPARAM>("AMPLITUDE")) ||
                        SendMessageA(page, kHelpPageFind, 0, reinterpret_cast<LPARAM>("sine")));
            EXPECT_FALSE(SendMessageA(page, kHelpPageFind, 0, reinterpret_cast<LPARAM>("no such words here")));
            SetDlgItemTextA(viewer, kHelpFindText, "512");
            pressButton(viewer, kHelpFindButton);
            saveScreenshot(viewer, "help-viewer-builtin");
            PostMessageA(viewer, WM_CLOSE, 0, 0);
        });
    EXPECT_TRUE(opened);
}

// The message box the thread shows, and its text; null when none came.
HWND waitForMessageBox(DWORD thread, std::string& text) {
    HWND found = nullptr;
    waitUntil([&] {
        found = FindWindowExA(nullptr, nullptr, "#32770", nullptr);
        return found && GetWindowThreadProcessId(found, nullptr) == thread && IsWindowVisible(found);
    });
    if (!found) return nullptr;
    char buffer[1024] = {};
    GetDlgItemTextA(found, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    return found;
}

TEST(HelpViewer, AMissingOrDamagedBookGivesTheMessageAndNoWindow) {
    const std::filesystem::path damaged = moduleFolder() / "damaged.hlp";
    {
        std::vector<uint8_t> bytes = help::writeHelpFile(builtBook(kUserGuideFile));
        bytes.resize(bytes.size() / 2);
        std::ofstream(damaged, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }
    for (const std::string& path : {(moduleFolder() / "missing.hlp").string(), damaged.string()}) {
        bool opened = true;
        runDriven([&] { opened = openHelpFile(nullptr, path); },
                  [&](DWORD ui) {
                      std::string text;
                      HWND box = waitForMessageBox(ui, text);
                      ASSERT_TRUE(box) << path;
                      EXPECT_NE(text.find(path), std::string::npos) << text;
                      EXPECT_NE(text.find("missing or damaged"), std::string::npos) << text;
                      if (path == damaged.string()) saveScreenshot(box, "help-viewer-missing");
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                  });
        EXPECT_FALSE(opened);
        EXPECT_EQ(FindWindowExA(nullptr, nullptr, kHelpWindowClass, nullptr), nullptr);
    }
    std::error_code ignored;
    std::filesystem::remove(damaged, ignored);
}

}  // namespace
}  // namespace lumen::ui
