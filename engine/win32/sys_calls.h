#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The Win32 calls of the file layer, each first asking the installed fault
// plan (see file_fault.h) whether it should fail. They behave like the
// calls they wrap: failure with GetLastError() set.
namespace korv::sys {

HANDLE CreateFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                  DWORD flags);
// Reads up to `size` bytes at the handle's position; false on failure.
bool Read(HANDLE file, void* buffer, DWORD size, DWORD& done);
bool Write(HANDLE file, const void* buffer, DWORD size, DWORD& done);
bool Seek(HANDLE file, std::int64_t offset, DWORD from);
bool SetEnd(HANDLE file);
bool FileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION& info);
// The same less the file's identity (volume and index), which is the dear
// part of the query above.
bool FileInformationLessIdentity(HANDLE file, FILE_BASIC_INFO& basic, FILE_STANDARD_INFO& standard);
bool IsDiskFile(HANDLE file);
// The attributes of the name itself (a link's own); INVALID_FILE_ATTRIBUTES
// on failure.
DWORD AttributesOf(const std::wstring& path);
bool SetAttributes(const std::wstring& path, DWORD attributes);
// The owner, group and access list of the file at `path`; false on failure.
bool SecurityOf(const std::wstring& path, std::string& descriptor);
bool SetSecurity(const std::wstring& path, const std::string& descriptor);
// The first entry of a folder listing (`pattern` is the folder and "\\*");
// INVALID_HANDLE_VALUE on failure.
HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& found);
bool FindNext(HANDLE search, WIN32_FIND_DATAW& found);
bool MoveReplacing(const std::wstring& from, const std::wstring& to);
// Cleaning up must not be made to fail, or a test would see leftovers that
// only its own plan caused.
bool Delete(const std::wstring& path);
bool Close(HANDLE file);

}  // namespace korv::sys
