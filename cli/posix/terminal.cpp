#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "engine_error.h"
#include "terminal.h"

namespace korv::cli {

void UseExactOutput() {
    // Output streams pass their bytes as they are on POSIX.
}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

int TerminalColumns(std::FILE* stream) {
    winsize size{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

std::string ReadStandardInput() {
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
        if (n == 0) {
            return bytes;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw EngineError("Cannot read standard input. " + SystemErrorText(errno));
        }
        bytes.append(block, static_cast<std::size_t>(n));
    }
}

}  // namespace korv::cli
