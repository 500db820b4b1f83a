#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace korv::test {

// Answers the modal windows this thread opens: every window activated while
// the answerer lives is handed to `answer` once, from the window's own
// message loop (a posted message), so the modal call in the test returns
// as soon as `answer` closes it. No waiting on time.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(HWND)> answer);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // How many windows were handed to `answer`.
    [[nodiscard]] int Answered() const { return answered_; }

    // Runs `step` once every message posted to this thread before it has
    // been handled, from the message loop that is running then.
    void Then(std::function<void()> step);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    std::function<void(HWND)> answer_;
    HHOOK hook_ = nullptr;
    HWND relay_ = nullptr;
    std::set<HWND> seen_;
    std::vector<std::function<void()>> steps_;
    int answered_ = 0;
};

namespace modal_detail {
inline constexpr UINT kAnswer = WM_APP + 1;
inline constexpr UINT kStep = WM_APP + 2;
inline constexpr wchar_t kRelayClass[] = L"KorvTestModalRelay";
inline ModalAnswerer* current = nullptr;
}  // namespace modal_detail

inline ModalAnswerer::ModalAnswerer(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
    if (modal_detail::current != nullptr) {
        throw std::logic_error("one modal answerer at a time");
    }
    WNDCLASSW relay_class{};
    relay_class.lpfnWndProc = RelayProc;
    relay_class.hInstance = GetModuleHandleW(nullptr);
    relay_class.lpszClassName = modal_detail::kRelayClass;
    RegisterClassW(&relay_class);  // fails harmlessly once registered
    relay_ = CreateWindowExW(0, modal_detail::kRelayClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                             nullptr, relay_class.hInstance, nullptr);
    hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (relay_ == nullptr || hook_ == nullptr) {
        if (relay_ != nullptr) {
            DestroyWindow(relay_);
        }
        throw std::runtime_error("cannot watch for modal windows");
    }
    modal_detail::current = this;
}

inline ModalAnswerer::~ModalAnswerer() {
    modal_detail::current = nullptr;
    UnhookWindowsHookEx(hook_);
    DestroyWindow(relay_);
}

inline LRESULT CALLBACK ModalAnswerer::CbtProc(int code, WPARAM wparam, LPARAM lparam) {
    if (modal_detail::current != nullptr) {
        auto window = reinterpret_cast<HWND>(wparam);
        if (code == HCBT_ACTIVATE && modal_detail::current->seen_.insert(window).second) {
            PostMessageW(modal_detail::current->relay_, modal_detail::kAnswer, wparam, 0);
        } else if (code == HCBT_DESTROYWND) {
            modal_detail::current->seen_.erase(window);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

inline LRESULT CALLBACK ModalAnswerer::RelayProc(HWND hwnd, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    if (message == modal_detail::kAnswer && modal_detail::current != nullptr) {
        auto window = reinterpret_cast<HWND>(wparam);
        if (IsWindow(window)) {
            ++modal_detail::current->answered_;
            modal_detail::current->answer_(window);
        }
        return 0;
    }
    if (message == modal_detail::kStep && modal_detail::current != nullptr) {
        auto& steps = modal_detail::current->steps_;
        if (wparam < steps.size()) {
            auto step = std::move(steps[wparam]);
            step();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

inline void ModalAnswerer::Then(std::function<void()> step) {
    steps_.push_back(std::move(step));
    PostMessageW(relay_, modal_detail::kStep, steps_.size() - 1, 0);
}

// The window's class name.
inline std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// The window's text.
inline std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

inline BOOL CALLBACK AddChildText(HWND child, LPARAM texts) {
    reinterpret_cast<std::vector<std::string>*>(texts)->push_back(TextOf(child));
    return TRUE;
}

// The texts of every child of `window`.
inline std::vector<std::string> ChildTexts(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Presses the button `id` of a dialog as a click would, once the dialog
// takes its next message.
inline void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace korv::test
