#pragma once

#include <memory>

#include "temp_dir.h"

namespace korv::test {

// A fresh folder in memory where the system has one, else under the
// temporary folder: for tests that rewrite many megabytes, which a disk's
// write-back would slow to a crawl. Files behave the same there for the
// file layer.
[[nodiscard]] std::unique_ptr<TempDir> MakeTempDirInMemory();

}  // namespace korv::test
