#include "mapped_file.h"

#include <windows.h>

namespace korv {

std::unique_ptr<MappedFile> MappedFile::Map(NativeFile file, std::size_t size) {
    HANDLE handle = reinterpret_cast<HANDLE>(file);
    const auto wide_size = static_cast<unsigned long long>(size);
    HANDLE mapping =
        CreateFileMappingW(handle, nullptr, PAGE_READONLY, static_cast<DWORD>(wide_size >> 32),
                           static_cast<DWORD>(wide_size & 0xFFFFFFFFu), nullptr);
    if (mapping == nullptr) {
        return nullptr;
    }
    // The view keeps the section alive on its own.
    void* data = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    CloseHandle(mapping);
    if (data == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<char*>(data), size, -1));
}

MappedFile::~MappedFile() {
    UnmapViewOfFile(data_);
}

bool MappedFile::Intact() const {
    return true;
}

}  // namespace korv
