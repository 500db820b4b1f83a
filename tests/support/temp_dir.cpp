#include "temp_dir.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace korv::test {

TempDir::TempDir() {
    // A fresh name each try: create_directory refuses one that exists, so
    // two tests never share a folder.
    static std::mt19937_64 random{std::random_device{}()};
    static std::mutex random_lock;
    const fs::path parent = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t number = 0;
        {
            const std::lock_guard<std::mutex> lock(random_lock);
            number = random();
        }
        const fs::path candidate = parent / ("korv-test-" + std::to_string(number % 1000000000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder in " + parent.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind, and read-only files, which
    // Windows will not delete; open them up so they can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (it->is_symlink(ignored)) {
            continue;
        }
        const bool folder = it->is_directory(ignored);
        fs::permissions(it->path(), folder ? fs::perms::owner_all : fs::perms::owner_write,
                        fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const {
    return (fs::path(path_) / std::string(name)).string();
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
    std::string path = File(name);
    WriteFile(path, bytes);
    return path;
}

std::vector<std::string> TempDir::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    // In blocks: byte by byte, an unoptimised build takes seconds for the
    // big files some tests read back dozens of times.
    std::string bytes;
    std::array<char, 64 * 1024> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0) {
        bytes.append(block.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace korv::test
