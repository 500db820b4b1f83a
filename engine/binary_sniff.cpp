#include "binary_sniff.h"

#include <optional>

#include "file_ops.h"
#include "utf16_text.h"

namespace korv {

bool LooksBinary(const std::string& path) {
    const std::optional<std::string> head = ReadFileHead(path, kBinarySniffBytes);
    return head && EncodingOf(*head) == TextEncoding::Bytes &&
           head->find('\0') != std::string::npos;
}

}  // namespace korv
