#pragma once

#include <string_view>

#include "file_ops.h"

namespace korv {

// A sink that writes to a file descriptor from its current offset.
class FdSink final : public ContentSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    bool Write(std::string_view bytes) override;

private:
    int fd_;
};

}  // namespace korv
