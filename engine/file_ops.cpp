#include "file_ops.h"

// What the file layer's entry points share on every system; the system
// layer (posix/ or win32/file_ops.cpp) implements the rest.

namespace korv {

void ReplaceWholeFile(const std::string& path, std::string_view bytes,
                      const FileVersion* unchanged_since) {
    ReplaceWholeFile(
        path, [bytes](ContentSink& sink) { return sink.Write(bytes); }, unchanged_since);
}

}  // namespace korv
