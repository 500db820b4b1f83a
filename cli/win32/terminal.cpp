#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "engine_error.h"
#include "terminal.h"

namespace korv::cli {

namespace {

HANDLE HandleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
}

}  // namespace

void UseExactOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool IsTerminal(std::FILE* stream) {
    // A console, not just any character device (NUL is one too).
    DWORD mode = 0;
    const HANDLE handle = HandleOf(stream);
    return handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) == FILE_TYPE_CHAR &&
           ::GetConsoleMode(handle, &mode) != 0;
}

int TerminalColumns(std::FILE* stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (::GetConsoleScreenBufferInfo(HandleOf(stream), &info) != 0) {
        const int columns = info.srWindow.Right - info.srWindow.Left + 1;
        if (columns > 0) {
            return columns;
        }
    }
    return 80;
}

std::string ReadStandardInput() {
    // The bytes exactly: no CR LF turned into LF, no Ctrl-Z taken as the end.
    ::_setmode(::_fileno(stdin), _O_BINARY);
    std::string bytes;
    char block[65536];
    for (;;) {
        const std::size_t n = std::fread(block, 1, sizeof block, stdin);
        bytes.append(block, n);
        if (n < sizeof block) {
            if (std::ferror(stdin) != 0) {
                throw EngineError("Cannot read standard input. " +
                                  SystemErrorText(static_cast<int>(::GetLastError())));
            }
            return bytes;
        }
    }
}

}  // namespace korv::cli
