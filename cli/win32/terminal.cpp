#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "ansi_text.h"
#include "engine_error.h"
#include "terminal.h"
#include "wide_names.h"

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

namespace {

struct FindCloser {
    HANDLE handle;
    ~FindCloser() { ::FindClose(handle); }
};

EntryKind KindOf(const std::wstring& folder, const WIN32_FIND_DATAW& found) {
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder : EntryKind::File;
    }
    // A link: what it leads to decides, and a link to a folder is not entered.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EntryKind::Other;
    }
    const std::wstring path = folder + L"\\" + found.cFileName;
    const HANDLE target =
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        return EntryKind::Other;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool regular = ::GetFileInformationByHandle(target, &info) != 0 &&
                         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(target);
    return regular ? EntryKind::File : EntryKind::Other;
}

}  // namespace

bool ListFolder(const std::string& path, std::vector<FolderItem>& items, std::string& problem) {
    items.clear();
    const std::optional<std::wstring> folder = WideName(path);
    if (!folder) {
        problem = kNameNotInCodePage;
        return false;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((*folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        problem = SystemErrorText(static_cast<int>(::GetLastError()));
        return false;
    }
    const FindCloser closer{search};
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        FolderItem item;
        // A name the code page cannot hold could only be reached as another
        // file: it is listed as something not to take.
        item.kind = win32::ToAnsi(name, item.name) ? KindOf(*folder, found) : EntryKind::Other;
        items.push_back(std::move(item));
    } while (::FindNextFileW(search, &found) != 0);
    if (::GetLastError() != ERROR_NO_MORE_FILES) {
        problem = SystemErrorText(static_cast<int>(::GetLastError()));
        return false;
    }
    return true;
}

}  // namespace korv::cli
