#include "mapped_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "temp_dir.h"

namespace korv {
namespace {

// A file handle closed when it goes.
class FileHandle {
public:
    FileHandle(const std::string& path, DWORD access)
        : handle_(CreateFileA(path.c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    [[nodiscard]] bool Ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }
    [[nodiscard]] MappedFile::NativeFile Native() const {
        return reinterpret_cast<MappedFile::NativeFile>(handle_);
    }
    void Close() {
        if (Ok()) {
            CloseHandle(handle_);
        }
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

std::string Pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    return text;
}

TEST(MappedFileWin32, AViewOutlivesTheHandleItWasMadeFrom) {
    test::TempDir dir;
    const std::string bytes = Pattern((std::size_t{3} << 20) + 5);
    const std::string path = dir.Write("big.txt", bytes);
    FileHandle file(path, GENERIC_READ);
    ASSERT_TRUE(file.Ok());
    std::unique_ptr<MappedFile> mapped = MappedFile::Map(file.Native(), bytes.size());
    ASSERT_NE(mapped, nullptr);
    file.Close();
    EXPECT_TRUE(mapped->View() == bytes);
    EXPECT_TRUE(mapped->Intact());
}

// Intact() is always true here because the system refuses to cut short a
// file while a view of it lives.
TEST(MappedFileWin32, AMappedFileCannotBeCutShort) {
    test::TempDir dir;
    const std::string bytes = Pattern(std::size_t{1} << 20);
    const std::string path = dir.Write("big.txt", bytes);
    FileHandle file(path, GENERIC_READ);
    ASSERT_TRUE(file.Ok());
    std::unique_ptr<MappedFile> mapped = MappedFile::Map(file.Native(), bytes.size());
    ASSERT_NE(mapped, nullptr);

    FileHandle writer(path, GENERIC_WRITE);
    ASSERT_TRUE(writer.Ok());
    LARGE_INTEGER at{};
    at.QuadPart = 10;
    ASSERT_TRUE(SetFilePointerEx(writer.Get(), at, nullptr, FILE_BEGIN));
    EXPECT_FALSE(SetEndOfFile(writer.Get()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_USER_MAPPED_FILE));
    EXPECT_TRUE(mapped->View() == bytes);
    EXPECT_TRUE(mapped->Intact());
    writer.Close();
    file.Close();
    mapped.reset();
    EXPECT_EQ(test::ReadFile(path), bytes);
}

TEST(MappedFileWin32, AHandleThatCannotReadIsNotMapped) {
    test::TempDir dir;
    const std::string path = dir.Write("a.txt", "some text");
    FileHandle file(path, FILE_WRITE_ATTRIBUTES);
    ASSERT_TRUE(file.Ok());
    EXPECT_EQ(MappedFile::Map(file.Native(), 9), nullptr);
}

}  // namespace
}  // namespace korv
