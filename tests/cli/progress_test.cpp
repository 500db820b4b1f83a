// korv-cli's progress line: its text, and on a terminal drawn while a run
// is held up and erased at the end.

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "progress_meter.h"

namespace {

using korv::cli::ProgressText;
using korv::cli::RunProgress;
using korv::test::CliTest;
using std::chrono::milliseconds;

TEST(ProgressTextTest, ShowsFilesBytesSpeedAndTimeLeftCutToTheTerminal) {
    constexpr std::uint64_t kMiB = 1 << 20;
    struct Case {
        RunProgress progress;
        milliseconds elapsed;
        int columns;
        std::string line;
    };
    const std::vector<Case> cases{
        {{3, 8, 192 * kMiB, 512 * kMiB},
         milliseconds(300),
         80,
         "3/8 files, 192.0 MiB read, 640.0 MiB/s, 0:01 left"},
        {{0, 50000, 0, 0}, milliseconds(600), 80, "0/50000 files, 0 B read, 0 B/s"},
        // No sizes known: the time left goes by the files.
        {{10, 40, 0, 0}, milliseconds(20000), 80, "10/40 files, 0 B read, 0 B/s, 1:00 left"},
        {{1, 2, 1536, 1024 * kMiB * 8},
         milliseconds(1000),
         80,
         "1/2 files, 1.5 KiB read, 1.5 KiB/s, 1553:26:44 left"},
        {{3, 8, 192 * kMiB, 512 * kMiB}, milliseconds(300), 12, "3/8 files, "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressText(c.progress, c.elapsed, c.columns), c.line);
    }
}

// Collects what a terminal shows: a CR goes back to the start of the
// line, other bytes overwrite what stands there.
std::string ScreenLine(const std::string& bytes) {
    std::string line;
    std::size_t column = 0;
    for (const char c : bytes) {
        if (c == '\r') {
            column = 0;
        } else if (c == '\n') {
            line.clear();
            column = 0;
        } else {
            if (column < line.size()) {
                line[column] = c;
            } else {
                line += c;
            }
            ++column;
        }
    }
    return line;
}

// Reads from `fd` until `done` holds of what was read, or the end.
void ReadUntil(int fd, std::string& into, const std::function<bool(const std::string&)>& done) {
    char buffer[65536];
    while (!done(into)) {
        pollfd ready{fd, POLLIN, 0};
        // A generous bound, so a fault fails the test instead of hanging it.
        if (::poll(&ready, 1, 60000) <= 0) {
            ADD_FAILURE() << "nothing more came; so far: " << into;
            return;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return;
        }
        into.append(buffer, static_cast<std::size_t>(n));
    }
}

TEST_F(CliTest, OnATerminalTheLineIsDrawnWhileTheRunIsHeldUpAndErasedAtTheEnd) {
    // A diff far larger than a pipe holds: the run waits on its standard
    // output until the test reads it, which it does only once the line
    // is on the terminal.
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += "foo\n";
    }
    const std::string big = dir_.Write("big.txt", text);
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminal = ::ptsname(master);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const std::string log = LogPath();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int slave = ::open(terminal.c_str(), O_RDWR | O_NOCTTY);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(out[1], 1);
        ::dup2(slave, 2);
        ::execl(KORV_CLI_PATH, KORV_CLI_PATH, "--log", log.c_str(), "--diff", "-y", "-f", "foo",
                "-r", "bar", big.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string shown;
    ReadUntil(master, shown, [](const std::string& s) { return s.find(" files, ") != s.npos; });
    EXPECT_TRUE(korv::test::Contains(shown, "0/1 files, 0 B read")) << shown;

    std::string diff;
    ReadUntil(out[0], diff, [](const std::string&) { return false; });
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(diff.ends_with(korv::test::Results(1, 1))) << diff.substr(diff.size() - 200);
    // The child has gone, so the rest of what it showed is there to read.
    ReadUntil(master, shown, [](const std::string&) { return false; });
    ::close(master);
    EXPECT_EQ(ScreenLine(shown).find_first_not_of(' '), std::string::npos) << shown;

    // --no-progress, or standard error not a terminal: no line at all.
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--no-progress"}, std::vector<std::string>{}}) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {"-n", "-y", "-f", "foo", "-r", "bar", big});
        EXPECT_EQ(Cli(args).err, "");
    }
}

}  // namespace
