#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace korv {

// A whole regular file mapped read-only, so a big file is read without
// being copied and without fresh memory.
//
// On POSIX a mapped file cut short by another program would kill the
// process with SIGBUS when the lost part is touched. While a MappedFile
// lives, a process-wide SIGBUS handler puts zeros in place of each lost
// page instead and marks the file, so a reader uses the bytes and then
// asks Intact() before trusting what it read. Faults outside our mappings
// go to the handler that was there before. Windows refuses to cut short a
// file while a view of it is mapped, so there a mapping stays intact.
class MappedFile {
public:
    // An open file of the system layer: a descriptor on POSIX, a HANDLE
    // on Windows.
    using NativeFile = std::intptr_t;

    // Maps the first `size` bytes of `file` (size > 0); nullptr when the
    // system will not map it, and the caller reads the file instead.
    static std::unique_ptr<MappedFile> Map(NativeFile file, std::size_t size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    [[nodiscard]] std::string_view View() const { return {data_, size_}; }
    // False once any part of the mapping was found missing: its bytes
    // read as zeros and must not be used.
    [[nodiscard]] bool Intact() const;

private:
    MappedFile(char* data, std::size_t size, int slot) : data_(data), size_(size), slot_(slot) {}

    char* data_;
    std::size_t size_;
    int slot_;  // in the handler's table of live mappings
};

}  // namespace korv
