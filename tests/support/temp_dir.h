#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korv::test {

// A fresh folder under $TMPDIR, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::string& Path() const { return path_; }
    // `name` inside the folder.
    [[nodiscard]] std::string File(std::string_view name) const;
    // Writes `bytes` to `name` inside the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    // The names in the folder, sorted.
    [[nodiscard]] std::vector<std::string> Names() const;

private:
    std::string path_;
};

[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
[[nodiscard]] bool FileExists(const std::string& path);

}  // namespace korv::test
