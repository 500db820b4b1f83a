#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "file_fault.h"

// What the Win32 system layer shares with the fault plan (see
// file_fault.h), and the calls of the folder listing, each first asking
// the plan whether it should fail. They behave like the calls they wrap:
// failure with GetLastError() set. `path` names the file as the program
// holds it, for the plan; `name` is its wide form, for the system.
namespace korv::sys {

// True, with the last error set to the Win32 code that stands for the
// plan's errno, when the fault plan makes `call` fail.
bool Injected(FileCall call, const FileCallDetail& detail = {});

// The first entry of the listing of the folder `path` (`pattern` is its
// wide name and "\\*"); INVALID_HANDLE_VALUE on failure.
HANDLE FindFirst(std::string_view path, const std::wstring& pattern, WIN32_FIND_DATAW& found);
// The next entry; false at the end (ERROR_NO_MORE_FILES) or on failure.
bool FindNext(HANDLE search, WIN32_FIND_DATAW& found);
// Whether the link `path` leads to a file that is no folder.
bool LeadsToFile(std::string_view path, const std::wstring& name);
// The attributes of what `path` names; INVALID_FILE_ATTRIBUTES on failure.
DWORD AttributesOf(std::string_view path, const std::wstring& name);

}  // namespace korv::sys
