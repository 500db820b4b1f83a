// Times one run of the window program from outside, as its user sees it:
// answers the confirmation with Yes, takes the time from the moment the
// question goes until the results appear, and all the while pings the main
// window with _NET_WM_PING (the window manager's "not responding" test).
// A window answers a ping only when its event loop turns, so the longest
// round trip bounds the longest time the loop was kept from its events.
//
//     korv_window_probe MAIN_WINDOW_ID
//
// Start it before the run button is pressed; it prints one line,
// "run_ms=R max_ping_ms=P pings=N", once the results dialog is shown, and
// closes that dialog with Return. No window manager may run meanwhile.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

std::string NameOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string text(name);
    XFree(name);
    return text;
}

// Presses Return in `window` through xdotool, without waiting for it, so
// the pings go on meanwhile.
void PressReturnIn(Window window) {
    const std::string id = std::to_string(window);
    const char* argv[] = {"xdotool", "windowfocus", "--sync", id.c_str(), "key", "Return", nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0) {
        std::fprintf(stderr, "cannot start xdotool\n");
        std::exit(2);
    }
}

class Pinger {
public:
    Pinger(Display* display, Window target)
        : display_(display),
          target_(target),
          protocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
          ping_(XInternAtom(display, "_NET_WM_PING", False)) {}

    // Sends the next ping unless one is still out or the last went out
    // less than `kEvery` ago: back-to-back pings would keep one core busy
    // with the window, the server and this probe, and slow the run they
    // measure, while a gap longer than `kEvery` still shows in the round
    // trip of the ping sent next.
    void SendIfDue() {
        constexpr auto kEvery = std::chrono::milliseconds(2);
        if (out_ || (serial_ != 0 && Clock::now() - sent_ < kEvery)) {
            return;
        }
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target_;
        event.xclient.message_type = protocols_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping_);
        event.xclient.data.l[1] = ++serial_;
        event.xclient.data.l[2] = static_cast<long>(target_);
        XSendEvent(display_, target_, False, NoEventMask, &event);
        XFlush(display_);
        sent_ = Clock::now();
        out_ = true;
    }

    // Whether `event` answers the ping that is out; records its round trip
    // when it was sent within the measured span.
    bool Answered(const XEvent& event) {
        if (event.type != ClientMessage || event.xclient.message_type != protocols_ ||
            static_cast<Atom>(event.xclient.data.l[0]) != ping_ ||
            event.xclient.data.l[1] != serial_ || !out_) {
            return false;
        }
        out_ = false;
        if (measuring_) {
            longest_ms_ = std::max(longest_ms_, MsBetween(sent_, Clock::now()));
            ++answered_;
        }
        return true;
    }

    void Measure(bool on) { measuring_ = on; }
    [[nodiscard]] bool Out() const { return out_; }
    [[nodiscard]] double LongestMs() const { return longest_ms_; }
    [[nodiscard]] long Answered() const { return answered_; }

private:
    Display* display_;
    Window target_;
    Atom protocols_;
    Atom ping_;
    long serial_ = 0;
    bool out_ = false;
    bool measuring_ = false;
    Clock::time_point sent_;
    double longest_ms_ = 0;
    long answered_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MAIN_WINDOW_ID\n", argv[0]);
        return 2;
    }
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    Display* dpy = display.get();
    const auto main_window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    // New top-level windows and the pings' answers both reach the root. A
    // window answers a ping to the root with the redirect mask, which the
    // server hands to the one client that redirects the root's children
    // (the window manager), so this probe takes that part: it maps and
    // places windows as they ask, and nothing more.
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask | SubstructureRedirectMask);
    XFlush(dpy);
    std::printf("ready\n");
    std::fflush(stdout);

    Pinger pinger(dpy, main_window);
    Window confirmation = None;
    Clock::time_point started;
    bool running = false;
    bool finished = false;
    double run_ms = 0;
    // After the results show, the last ping still out is waited for.
    while (!finished || pinger.Out()) {
        pinger.SendIfDue();
        if (XPending(dpy) == 0) {
            pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
            poll(&fd, 1, 1);
        }
        while (XPending(dpy) > 0) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (pinger.Answered(event)) {
                continue;
            }
            if (event.type == MapRequest) {
                XMapWindow(dpy, event.xmaprequest.window);
                continue;
            }
            if (event.type == ConfigureRequest) {
                const XConfigureRequestEvent& asked = event.xconfigurerequest;
                XWindowChanges changes{};
                changes.x = asked.x;
                changes.y = asked.y;
                changes.width = asked.width;
                changes.height = asked.height;
                changes.border_width = asked.border_width;
                changes.sibling = asked.above;
                changes.stack_mode = asked.detail;
                XConfigureWindow(dpy, asked.window, static_cast<unsigned>(asked.value_mask),
                                 &changes);
                continue;
            }
            if (event.type == MapNotify && !running && !finished) {
                const Window window = event.xmap.window;
                const std::string name = NameOf(dpy, window);
                if (name == "Confirmation") {
                    confirmation = window;
                    PressReturnIn(window);
                } else if (name == "Results...") {
                    // Only reached when the question went unseen.
                    std::fprintf(stderr, "results before the run started\n");
                    return 1;
                }
            } else if (event.type == UnmapNotify && event.xunmap.window == confirmation &&
                       !running && !finished) {
                started = Clock::now();
                running = true;
                pinger.Measure(true);
            } else if (event.type == MapNotify && running &&
                       NameOf(dpy, event.xmap.window) == "Results...") {
                run_ms = MsBetween(started, Clock::now());
                running = false;
                finished = true;
                PressReturnIn(event.xmap.window);
            }
        }
    }
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    std::printf("run_ms=%.1f max_ping_ms=%.1f pings=%ld\n", run_ms, pinger.LongestMs(),
                pinger.Answered());
    return 0;
}
