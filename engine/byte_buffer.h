#pragma once

#include <cstddef>
#include <string_view>

namespace korv {

// A growable run of bytes for whole files. Unlike std::string it does not
// fill new room with zeros, and large buffers come straight from the
// system in huge pages where it has them, so reading a 64 MiB file into a
// fresh buffer costs a few page faults instead of sixteen thousand.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    [[nodiscard]] char* Data() { return data_; }
    [[nodiscard]] const char* Data() const { return data_; }
    [[nodiscard]] std::size_t Size() const { return size_; }
    [[nodiscard]] bool Empty() const { return size_ == 0; }
    [[nodiscard]] std::string_view View() const { return {data_, size_}; }

    // Sets the size to `size`. The first bytes, up to the old size, are
    // kept; bytes beyond it are left for the caller to fill. Throws
    // std::bad_alloc.
    void Resize(std::size_t size);
    void Assign(std::string_view bytes);
    void Clear() { size_ = 0; }
    void Swap(ByteBuffer& other) noexcept;

private:
    void Release() noexcept;

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool mapped_ = false;  // from AllocatePages, not malloc
};

}  // namespace korv
