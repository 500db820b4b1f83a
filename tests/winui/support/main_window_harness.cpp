#include "support/main_window_harness.h"

#include <shlobj.h>

#include <chrono>
#include <cstring>

#include "main/message_pump.h"

namespace korv::winui_test {

PanelWindow::PanelWindow(HWND owner) {
    window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 181, 81, owner,
                               nullptr, nullptr, nullptr);
    HWND boxes[3];
    for (int i = 0; i < 3; ++i) {
        boxes[i] = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8,
                                     8 + 20 * i, 150, 17, window, nullptr, nullptr, nullptr);
    }
    cs = std::make_unique<Win32CheckBox>(boxes[0]);
    bu = std::make_unique<Win32CheckBox>(boxes[1]);
    dv = std::make_unique<Win32CheckBox>(boxes[2]);
    panel = std::make_unique<korv::behaviour::OptionsPanel>(
        korv::behaviour::OptionsBoxes{*cs, *bu, *dv}, desktop);
    frame = std::make_unique<Win32Frame>(window);
}

PanelWindow::~PanelWindow() {
    ::DestroyWindow(window);
}

MainWindowHarness::MainWindowHarness(bool show)
    : paths{dir.File("korv.log"), dir.File("settings.ini"), dir.File("versions.txt")} {
    auto store = settings;
    mf = std::make_unique<TMF>(prompter, editor, dialogs, paths, [store](const std::string&) {
        return std::make_unique<MemorySettings>(store);
    });
    af = std::make_unique<PanelWindow>(mf->Handle());
    mf->SetOptionsPanel(af->panel.get(), af->frame.get());
    if (show) {
        mf->Show();
    }
}

MainWindowHarness::~MainWindowHarness() {
    af.reset();
    mf.reset();
    // What the windows left queued goes with them.
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    }
}

std::vector<std::string> MainWindowHarness::Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < mf->Files().Count(); ++i) {
        entries.push_back(mf->Files().Entry(i));
    }
    return entries;
}

HGLOBAL MainWindowHarness::Drop(const std::vector<std::wstring>& dropped) {
    std::wstring names;
    for (const std::wstring& path : dropped) {
        names += path;
        names += L'\0';
    }
    names += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(::GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ::SendMessageW(mf->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    return block;
}

bool PumpUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        ProcessWaitingMessages();
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

RECT PlaceInParent(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace korv::winui_test
