// Times a batch run in the window program's own main window: the files of
// a filename list are dropped on it, the two texts typed, and the run
// started with its button; the time is taken from the click to the results.
// Usage: korv_window_bench.exe LIST FIND REPLACE
// Prints "window run: SECONDS s, searched N, replaced M, failed F".

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "main/control_ids.h"
#include "main/tmf.h"

namespace {

// Answers every question Yes and counts the per-file messages.
class YesPrompter final : public korv::behaviour::Prompter {
public:
    bool Ask(const std::string&, const std::string&) override { return true; }
    void Error(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
    void Message(const std::string&, const std::string&) override { ++messages; }
    korv::behaviour::FileChoice GetOpenFileNames(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
    korv::behaviour::FileChoice GetOpenFileName(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
    korv::behaviour::FileChoice GetSaveFileName(const korv::behaviour::FileDialogSetup&) override {
        return {};
    }
    int messages = 0;
};

class NoEditor final : public korv::behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string&) override {}
};

class NoSettings final : public korv::behaviour::SettingsFile {
public:
    [[nodiscard]] std::string ReadString(const std::string&, const std::string&,
                                         const std::string& fallback) const override {
        return fallback;
    }
    void WriteString(const std::string&, const std::string&, const std::string&) const override {}
};

// Takes the time when the results would show.
class TimedResults final : public TmfDialogs {
public:
    void ShowResults(HWND, std::int32_t files_searched, std::int64_t files_replaced) override {
        end = std::chrono::steady_clock::now();
        searched = files_searched;
        replaced = files_replaced;
    }
    void ShowAbout(HWND) override {}

    std::chrono::steady_clock::time_point end;
    std::int32_t searched = -1;
    std::int64_t replaced = -1;
};

std::vector<std::wstring> ReadList(const char* path) {
    std::vector<std::wstring> paths;
    std::ifstream list(path, std::ios::binary);
    std::string line;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        std::wstring wide(line.size(), L'\0');
        const int length =
            ::MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                                  wide.data(), static_cast<int>(wide.size()));
        wide.resize(static_cast<std::size_t>(length));
        paths.push_back(wide);
    }
    return paths;
}

// Drops `paths` as the shell does: one DROPFILES block that the window
// releases.
void Drop(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) {
        names += path;
        names += L'\0';
    }
    names += L'\0';
    HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(::GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ::SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

std::string TempLog() {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "korv_window_bench.log";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: korv_window_bench LIST FIND REPLACE\n");
        return 2;
    }
    YesPrompter prompter;
    NoEditor editor;
    TimedResults results;
    const std::string log = TempLog();
    ::DeleteFileA(log.c_str());
    {
        TMF mf(prompter, editor, results, {log, "", ""},
               [](const std::string&) { return std::make_unique<NoSettings>(); });
        mf.Show();
        Drop(mf.Handle(), ReadList(argv[1]));
        ::SetWindowTextA(mf.Control(tmf_id::Edit2), argv[2]);
        ::SetWindowTextA(mf.Control(tmf_id::Edit3), argv[3]);
        const auto start = std::chrono::steady_clock::now();
        ::SendMessageW(mf.Control(tmf_id::Button), BM_CLICK, 0, 0);
        if (results.searched < 0) {
            std::fprintf(stderr, "the run showed no results\n");
            return 1;
        }
        const double seconds = std::chrono::duration<double>(results.end - start).count();
        std::printf("window run: %.3f s, searched %d, replaced %lld, failed %d\n", seconds,
                    results.searched, static_cast<long long>(results.replaced), prompter.messages);
    }
    ::DeleteFileA(log.c_str());
    return 0;
}
