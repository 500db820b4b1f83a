#include "byte_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "page_memory.h"

namespace korv {

namespace {

// From this size on, buffers come straight from the system.
constexpr std::size_t kMapFrom = std::size_t{2} << 20;

}  // namespace

ByteBuffer::~ByteBuffer() {
    Release();
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept {
    Swap(other);
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        Swap(other);
    }
    return *this;
}

void ByteBuffer::Swap(ByteBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(mapped_, other.mapped_);
}

void ByteBuffer::Release() noexcept {
    if (data_ != nullptr) {
        if (mapped_) {
            FreePages(data_, capacity_);
        } else {
            std::free(data_);
        }
    }
    data_ = nullptr;
    size_ = capacity_ = 0;
    mapped_ = false;
}

void ByteBuffer::Resize(std::size_t size) {
    if (size <= capacity_) {
        size_ = size;
        return;
    }
    // Grow by half again at least, so a buffer filled piece by piece is
    // copied a bounded number of times.
    std::size_t capacity = size;
    if (capacity < capacity_ + capacity_ / 2) {
        capacity = capacity_ + capacity_ / 2;
    }
    char* data = nullptr;
    bool mapped = false;
    if (capacity >= kMapFrom) {
        data = static_cast<char*>(AllocatePages(capacity));
        if (data == nullptr) {
            throw std::bad_alloc();
        }
        mapped = true;
    } else {
        data = static_cast<char*>(std::malloc(capacity));
        if (data == nullptr) {
            throw std::bad_alloc();
        }
    }
    if (size_ > 0) {
        std::memcpy(data, data_, size_);
    }
    Release();
    data_ = data;
    size_ = size;
    capacity_ = capacity;
    mapped_ = mapped;
}

void ByteBuffer::Assign(std::string_view bytes) {
    if (bytes.size() > capacity_) {
        // Too big to lie inside this buffer, so the old room can go.
        size_ = 0;
        Resize(bytes.size());
        std::memcpy(data_, bytes.data(), bytes.size());
        return;
    }
    // The bytes may be a part of this buffer's own.
    if (!bytes.empty()) {
        std::memmove(data_, bytes.data(), bytes.size());
    }
    size_ = bytes.size();
}

}  // namespace korv
