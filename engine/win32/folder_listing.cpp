#include "folder_listing.h"

#include <windows.h>

#include "ansi_text.h"
#include "engine_error.h"
#include "sys_calls.h"
#include "wide_names.h"

namespace korv {

namespace {

struct FindCloser {
    HANDLE handle;
    ~FindCloser() { ::FindClose(handle); }
};

// What the entry `found` of the folder `folder` (`path` as the program
// holds it) is; `entry` is its name in the code page.
EntryKind KindOf(const std::string& path, const std::wstring& folder, const std::string& entry,
                 const WIN32_FIND_DATAW& found) {
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder : EntryKind::File;
    }
    // A link: what it leads to decides, and a link to a folder is not entered.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EntryKind::Other;
    }
    return sys::LeadsToFile(path + "\\" + entry, folder + L"\\" + found.cFileName)
               ? EntryKind::File
               : EntryKind::Other;
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
    const HANDLE search = sys::FindFirst(path, *folder + L"\\*", found);
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
        item.kind = win32::ToAnsi(name, item.name) ? KindOf(path, *folder, item.name, found)
                                                   : EntryKind::Other;
        items.push_back(std::move(item));
    } while (sys::FindNext(search, found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) {
        problem = SystemErrorText(static_cast<int>(::GetLastError()));
        return false;
    }
    return true;
}

bool IsFolder(const std::string& path) {
    const std::optional<std::wstring> name = WideName(path);
    if (!name) {
        return false;
    }
    const DWORD attributes = sys::AttributesOf(path, *name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace korv
