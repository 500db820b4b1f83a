// The system services behind the windows: message boxes and file dialogs
// answered as a user would, the settings file through the system's profile
// functions, Notepad's command line and the shell's open.

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "modal_answerer.h"
#include "services/notepad_launcher.h"
#include "services/profile_settings_file.h"
#include "services/shell_opener.h"
#include "services/win32_prompter.h"
#include "temp_dir.h"
#include "texts.h"

namespace {

using korv::test::ChildTexts;
using korv::test::ClassOf;
using korv::test::ModalAnswerer;
using korv::test::PressButton;
using korv::test::TempDir;
using korv::test::TextOf;
using korv::winui::Win32Prompter;

// A plain top-level window to own the boxes.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    [[nodiscard]] HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The icon a message box shows, or none.
HICON BoxIcon(HWND box) {
    HICON icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
            icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        }
    }
    return icon;
}

struct SeenBox {
    std::string Caption;
    std::vector<std::string> Texts;
    HWND Owner = nullptr;
    bool HasYes = false;
    bool HasNo = false;
    bool HasOk = false;
    HICON Icon = nullptr;
};

SeenBox Look(HWND box) {
    return {TextOf(box),
            ChildTexts(box),
            GetWindow(box, GW_OWNER),
            GetDlgItem(box, IDYES) != nullptr,
            GetDlgItem(box, IDNO) != nullptr,
            GetDlgItem(box, IDOK) != nullptr,
            BoxIcon(box)};
}

TEST(Win32Prompter, BoxesCarryTheirButtonsIconCaptionAndOwner) {
    enum class Kind { Ask, Error, Message };
    struct Case {
        Kind Box;
        int Press;
        bool Answer;
        bool YesNo;
        LPCWSTR Icon;
    };
    const Case cases[] = {
        {Kind::Ask, IDYES, true, true, IDI_QUESTION},
        {Kind::Ask, IDNO, false, true, IDI_QUESTION},
        {Kind::Error, IDOK, false, false, IDI_HAND},
        {Kind::Message, IDOK, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Press);
        OwnerWindow owner;
        Win32Prompter prompter([&owner] { return owner.Handle(); });
        SeenBox seen;
        ModalAnswerer answerer([&](HWND box) {
            seen = Look(box);
            PressButton(box, c.Press);
        });
        const std::string text = "Line one\r\nline & two";
        bool answer = false;
        switch (c.Box) {
            case Kind::Ask:
                answer = prompter.Ask(text, "Confirmation");
                break;
            case Kind::Error:
                prompter.Error(text, "Error");
                break;
            case Kind::Message:
                prompter.Message(text, "Korvane");
                break;
        }
        EXPECT_EQ(answerer.Answered(), 1);
        EXPECT_EQ(answer, c.Answer);
        EXPECT_EQ(seen.Owner, owner.Handle());
        EXPECT_EQ(seen.Caption, c.Box == Kind::Ask     ? "Confirmation"
                                : c.Box == Kind::Error ? "Error"
                                                       : "Korvane");
        EXPECT_NE(std::find(seen.Texts.begin(), seen.Texts.end(), text), seen.Texts.end());
        EXPECT_EQ(seen.HasYes, c.YesNo);
        EXPECT_EQ(seen.HasNo, c.YesNo);
        EXPECT_EQ(seen.HasOk, !c.YesNo);
        if (c.Icon == nullptr) {
            EXPECT_EQ(seen.Icon, nullptr);
        } else {
            EXPECT_EQ(seen.Icon, LoadIconW(nullptr, c.Icon));
        }
    }
}

// The file dialog's name box, where a user types.
HWND NameBox(HWND dialog) {
    for (int id : {cmb13, edt1}) {
        if (HWND box = GetDlgItem(dialog, id); box != nullptr && IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

// Answers a file dialog by typing `typed` (when not empty) and pressing
// Open or Save; any other window that comes up on the way (a question
// before replacing a file) is counted and answered Yes.
struct DialogAnswer {
    std::string Typed;
    int FileDialogs = 0;
    int OtherWindows = 0;
    std::string ShownName;
    bool ReadOnlyBoxShown = true;
    bool Resizable = false;
};

void AnswerFileDialog(HWND window, DialogAnswer& answer) {
    if (HWND name = NameBox(window); name != nullptr) {
        ++answer.FileDialogs;
        answer.ShownName = TextOf(name);
        HWND read_only = GetDlgItem(window, chx1);
        answer.ReadOnlyBoxShown = read_only != nullptr && IsWindowVisible(read_only);
        // Wine sizes every such dialog; Windows only with OFN_ENABLESIZING.
        answer.Resizable = (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
        if (!answer.Typed.empty()) {
            SetWindowTextA(name, answer.Typed.c_str());
        }
        PressButton(window, IDOK);
    } else {
        ++answer.OtherWindows;
        PressButton(window, GetDlgItem(window, IDYES) != nullptr ? IDYES : IDOK);
    }
}

korv::behaviour::FileDialogSetup ListDialog(std::string file_name = {}) {
    return {korv::behaviour::text::kFilenameListFilter, 2, std::move(file_name),
            korv::behaviour::text::kFilenameListExt};
}

TEST(Win32Prompter, SaveDialogAddsTheExtensionAndNeverAsksBeforeReplacing) {
    TempDir dir;
    const std::string existing = dir.Write("names.list", "old\r\n");
    OwnerWindow owner;
    Win32Prompter prompter([&owner] { return owner.Handle(); });
    DialogAnswer answer;
    answer.Typed = dir.File("names");
    ModalAnswerer answerer([&answer](HWND window) { AnswerFileDialog(window, answer); });

    const korv::behaviour::FileChoice choice = prompter.GetSaveFileName(ListDialog());

    EXPECT_EQ(answer.FileDialogs, 1);
    EXPECT_EQ(answer.OtherWindows, 0);
    EXPECT_FALSE(answer.ReadOnlyBoxShown);
    EXPECT_TRUE(answer.Resizable);
    ASSERT_EQ(choice.Files.size(), 1u);
    EXPECT_EQ(choice.Files[0], existing);
    EXPECT_EQ(choice.FilterIndex, 2);
}

TEST(Win32Prompter, OpenDialogShowsTheRememberedNameAndGivesItBack) {
    TempDir dir;
    const std::string file = dir.Write("kept.list", "");
    OwnerWindow owner;
    Win32Prompter prompter([&owner] { return owner.Handle(); });
    DialogAnswer answer;
    ModalAnswerer answerer([&answer](HWND window) { AnswerFileDialog(window, answer); });

    const korv::behaviour::FileChoice choice = prompter.GetOpenFileName(ListDialog(file));

    EXPECT_EQ(answer.FileDialogs, 1);
    ASSERT_EQ(choice.Files.size(), 1u);
    EXPECT_EQ(choice.Files[0], file);
}

TEST(Win32Prompter, OpenDialogGivesEveryChosenFileAsAFullPath) {
    TempDir dir;
    const std::string a = dir.Write("a.txt", "");
    const std::string b = dir.Write("b b.txt", "");
    OwnerWindow owner;
    Win32Prompter prompter([&owner] { return owner.Handle(); });
    DialogAnswer answer;
    answer.Typed = "\"a.txt\" \"b b.txt\"";
    ModalAnswerer answerer([&answer](HWND window) { AnswerFileDialog(window, answer); });

    const korv::behaviour::FileChoice choice =
        prompter.GetOpenFileNames({korv::behaviour::text::kAllFilesFilter, 1, a, std::string()});

    EXPECT_EQ(answer.FileDialogs, 1);
    EXPECT_EQ(choice.Files, (std::vector<std::string>{a, b}));
    EXPECT_FALSE(answer.ReadOnlyBoxShown);
    EXPECT_TRUE(answer.Resizable);
}

TEST(Win32Prompter, CancelledDialogGivesNoFiles) {
    OwnerWindow owner;
    Win32Prompter prompter([&owner] { return owner.Handle(); });
    ModalAnswerer answerer([](HWND window) { PressButton(window, IDCANCEL); });
    EXPECT_TRUE(
        prompter.GetOpenFileNames({korv::behaviour::text::kAllFilesFilter, 1, "", ""}).Cancelled());
    EXPECT_EQ(answerer.Answered(), 1);
}

using korv::winui::EIniFileException;
using korv::winui::ProfileSettingsFile;

TEST(ProfileSettingsFile, WritesTheProfileLayoutAndReadsItBack) {
    TempDir dir;
    const ProfileSettingsFile ini(dir.File("settings.ini"));
    EXPECT_EQ(ini.ReadString("Options", "BU", "none"), "none");
    EXPECT_FALSE(korv::test::FileExists(ini.FileName())) << "a read creates no file";

    ini.WriteString("Options", "BU", "True");
    ini.WriteString("Options", "CS", "False");
    ini.WriteString("Options", "BU", "False");

    EXPECT_EQ(korv::test::ReadFile(ini.FileName()), "[Options]\r\nBU=False\r\nCS=False\r\n");
    EXPECT_EQ(ini.ReadString("Options", "CS", ""), "False");
    EXPECT_EQ(ini.ReadString("Options", "DV", ""), "");
}

TEST(ProfileSettingsFile, KeepsOtherSectionsAndCutsLongValues) {
    TempDir dir;
    const std::string path = dir.Write(
        "settings.ini",
        "[Other]\r\nX=1\r\n[Options]\r\nCS = True \r\nDV=" + std::string(3000, 'v') + "\r\n");
    const ProfileSettingsFile ini(path);

    EXPECT_EQ(ini.ReadString("Options", "CS", ""), "True");
    EXPECT_EQ(ini.ReadString("Options", "DV", ""), std::string(2047, 'v'));
    ini.WriteString("Options", "BU", "True");
    EXPECT_EQ(ini.ReadString("Other", "X", ""), "1");
    EXPECT_EQ(ini.ReadString("Options", "BU", ""), "True");
}

TEST(ProfileSettingsFile, RefusedWriteNamesTheFullPath) {
    TempDir dir;
    const ProfileSettingsFile ini(dir.File("missing folder\\settings.ini"));
    try {
        ini.WriteString("Options", "CS", "True");
        FAIL() << "the write into a missing folder went through";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write to " + dir.File("missing folder\\settings.ini"));
    }
}

TEST(ProfileSettingsFile, BareNameStaysInTheCurrentFolder) {
    TempDir dir;
    char previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    const ProfileSettingsFile ini("settings.ini");
    SetCurrentDirectoryA(previous);

    ini.WriteString("Options", "DV", "True");
    EXPECT_EQ(ini.FileName(), dir.File("settings.ini"));
    EXPECT_EQ(korv::test::ReadFile(dir.File("settings.ini")), "[Options]\r\nDV=True\r\n");
}

TEST(NotepadLauncher, StartsNotepadFromTheWindowsFolderOnTheUnquotedPath) {
    const char* windir = std::getenv("windir");
    ASSERT_NE(windir, nullptr);
    for (UINT show : {1u, 5u}) {
        std::vector<std::pair<std::string, UINT>> started;
        korv::winui::NotepadLauncher notepad(show, [&started](const std::string& line, UINT how) {
            started.emplace_back(line, how);
        });
        notepad.OpenInEditor("C:\\My Files\\korv.log");
        ASSERT_EQ(started.size(), 1u);
        EXPECT_TRUE(
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, started[0].first.c_str(), -1,
                           (std::string(windir) + "\\NOTEPAD.EXE C:\\My Files\\korv.log").c_str(),
                           -1) == CSTR_EQUAL)
            << started[0].first;
        EXPECT_EQ(started[0].second, show);
    }
}

TEST(ShellOpener, MissingDocumentShowsNothing) {
    TempDir dir;
    ModalAnswerer answerer([](HWND window) { PressButton(window, IDCANCEL); });
    korv::winui::ShellOpener().Open(dir.File("dv.html"));
    EXPECT_EQ(answerer.Answered(), 0);
}

}  // namespace
