#pragma once

// A file held in memory (memfd) that the file layer can open by path and
// the fuzz targets can fill and read back without touching the disk.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace korv::fuzz {

class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("korv-fuzz", 0)) {
        if (fd_ < 0) {
            std::abort();
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    [[nodiscard]] int Fd() const { return fd_; }
    [[nodiscard]] const std::string& Path() const { return path_; }

    // Makes the file hold `bytes`, with the offset at its start.
    void Fill(std::string_view bytes) {
        Empty();
        if (pwrite(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
            std::abort();
        }
    }
    // Cuts the file to nothing, with the offset at its start.
    void Empty() {
        if (ftruncate(fd_, 0) != 0 || lseek(fd_, 0, SEEK_SET) != 0) {
            std::abort();
        }
    }
    [[nodiscard]] std::string Contents() const {
        std::string bytes;
        char buffer[65536];
        for (off_t at = 0;; at += static_cast<off_t>(sizeof buffer)) {
            ssize_t n = pread(fd_, buffer, sizeof buffer, at);
            if (n < 0) {
                std::abort();
            }
            if (n == 0) {
                return bytes;
            }
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string path_;
};

}  // namespace korv::fuzz
