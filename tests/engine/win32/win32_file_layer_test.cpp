// What only the Win32 file layer has: share modes, the read-only attribute,
// hard links written in place, attributes kept by a safe save, names the
// ANSI code page cannot hold, and a fault walk over its calls.

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../counting_fault_plan.h"
#include "engine_error.h"
#include "file_ops.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::CountingFaultPlan;
using test::FaultKinds;
using test::FaultPlanScope;
using test::ReadFile;
using test::TempDir;

std::wstring Wide(const std::string& ansi) {
    const int size =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return wide;
}

// The system's text for `error`, as the layer cuts it.
std::string SystemText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer, length);
    ::LocalFree(buffer);
    while (!text.empty() && std::string(" \t\r\n.").find(text.back()) != std::string::npos) {
        text.pop_back();
    }
    return text;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2];
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return std::string(full, length);
}

// Another program's handle on a file, open for as long as it lives.
class OtherHandle {
public:
    OtherHandle(const std::string& path, DWORD access, DWORD share)
        : handle_(::CreateFileW(Wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OtherHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    OtherHandle(const OtherHandle&) = delete;
    OtherHandle& operator=(const OtherHandle&) = delete;
    [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EngineError& error) {
        return error.what();
    }
    return "(no failure)";
}

bool Readable(const std::string& path) {
    try {
        (void)ReadFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str());
}

// The names in `dir` that hold the temporary marker.
std::vector<std::string> Leftovers(const TempDir& dir) {
    std::vector<std::string> found;
    for (const std::string& name : dir.Names()) {
        if (name.find(kTempMarker) != std::string::npos) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(Win32FileLayer, AFileAnotherHandleHoldsOpenForWritingFailsToLoadWithTheSystemsText) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "text\r\n");
    OtherHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.Valid());
    TextDocument document;
    EXPECT_EQ(
        MessageOf([&] { document.LoadFile(path); }),
        "Cannot open file \"" + FullPath(path) + "\". " + SystemText(ERROR_SHARING_VIOLATION));
}

TEST(Win32FileLayer, ASaveOverAFileAnotherHandleHoldsOpenFailsAndKeepsItsBytes) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old\r\n");
    {
        OtherHandle other(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(other.Valid());
        EXPECT_EQ(MessageOf([&] { ReplaceWholeFile(path, "new\r\n"); }),
                  "Cannot create file \"" + FullPath(path) + "\". " +
                      SystemText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadFile(path), "old\r\n");
    EXPECT_TRUE(Leftovers(dir).empty());
}

TEST(Win32FileLayer, AReadOnlyFileFailsToSaveAndKeepsItsBytes) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(MessageOf([&] { ReplaceWholeFile(path, "new\r\n"); }),
              "Cannot create file \"" + FullPath(path) + "\". " + SystemText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFile(path), "old\r\n");
    EXPECT_TRUE(Leftovers(dir).empty());
    ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileLayer, AHardLinkedFileIsWrittenInPlaceAndBothNamesSeeTheNewText) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old\r\n");
    const std::string other = dir.File("b.txt");
    ASSERT_TRUE(::CreateHardLinkW(Wide(other).c_str(), Wide(path).c_str(), nullptr));
    ReplaceWholeFile(path, "new text\r\n");
    EXPECT_EQ(ReadFile(path), "new text\r\n");
    EXPECT_EQ(ReadFile(other), "new text\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// The file index of `path`: another one once the file was replaced.
std::uint64_t FileIndexOf(const std::string& path) {
    OtherHandle file(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info)) {
        return 0;
    }
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

TEST(Win32FileLayer, ASaveThroughASymbolicLinkWritesItsTargetAndKeepsTheLink) {
    TempDir dir;
    const std::string target = dir.Write("target.txt", "old\r\n");
    const std::string link = dir.File("link.txt");
    ASSERT_TRUE(::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(), 0));
    if ((AttributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || !Readable(link)) {
        GTEST_SKIP() << "this system's symbolic links are no reparse points one can read "
                        "through (Wine's)";
    }
    ReplaceWholeFile(link, "new\r\n");
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_NE(AttributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0U);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link.txt", "target.txt"}));
}

TEST(Win32FileLayer, ABackupReplacesALinkAtItsNameAndNeverFollowsIt) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "to back up\r\n");
    const std::string elsewhere = dir.Write("elsewhere.txt", "not ours\r\n");
    ASSERT_TRUE(::CreateSymbolicLinkW(Wide(path + ".bak").c_str(), Wide(elsewhere).c_str(), 0));
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_EQ(ReadFile(elsewhere), "not ours\r\n");
    EXPECT_EQ(ReadFile(path + ".bak"), "to back up\r\n");
    EXPECT_EQ(AttributesOf(path + ".bak") & FILE_ATTRIBUTE_REPARSE_POINT, 0U);
}

TEST(Win32FileLayer, TheAttributesSurviveASafeSave) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM;
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), kKept));
    const std::uint64_t before = FileIndexOf(path);
    ReplaceWholeFile(path, "new\r\n");
    EXPECT_EQ(ReadFile(path), "new\r\n");
    // Saved through a new file that replaced the old one, not in place.
    EXPECT_NE(FileIndexOf(path), before);
    EXPECT_EQ(AttributesOf(path) & kKept, kKept);
    EXPECT_TRUE(Leftovers(dir).empty());
    ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileLayer, ABackupOfAReadOnlyFileCanBeReplacedByTheNextBackup) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "first\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    test::WriteFile(path, "second\r\n");
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_EQ(ReadFile(path + ".bak"), "second\r\n");
}

TEST(Win32FileLayer, AFileOf2GiBFailsToLoadAndIsLeftUntouched) {
    TempDir dir;
    const std::string path = dir.Write("big.txt", "head\r\n");
    {
        // Sparse where the system allows: no disk space for the rest.
        OtherHandle file(path, GENERIC_WRITE, 0);
        ASSERT_TRUE(file.Valid());
        DWORD ignored = 0;
        ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = std::int64_t{1} << 31;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.Get()));
    }
    TextDocument document;
    EXPECT_EQ(MessageOf([&] { document.LoadFile(path); }),
              "Cannot open file \"" + FullPath(path) + "\". File too large");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 0U);
    EXPECT_EQ(data.nFileSizeLow, 0x80000000U);
}

TEST(Win32FileLayer, ANameTheAnsiCodePageCannotHoldFailsWithoutReachingAnotherFile) {
    // A conversion puts '?' where the code page has no character; such a
    // name must not be taken for a pattern or for another file.
    TempDir dir;
    const std::string neighbour = dir.Write("caf_.txt", "untouched\r\n");
    const std::string lost = dir.File("caf?.txt");
    TextDocument document;
    EXPECT_EQ(MessageOf([&] { document.LoadFile(lost); }),
              "Cannot open file \"" + FullPath(lost) +
                  "\". Its name holds a character the ANSI code page of this system cannot "
                  "hold");
    EXPECT_EQ(MessageOf([&] { ReplaceWholeFile(lost, "x"); }).rfind("Cannot create file", 0), 0U);
    EXPECT_EQ(ReadFile(neighbour), "untouched\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"caf_.txt"});
}

// A save, a backup and two log appends with each call of the layer failing
// in turn: every file holds its old bytes or its whole new ones, and no
// temporary file is left.
TEST(Win32FileLayer, EveryFailingCallLeavesWholeFilesAndNoTemporaryFile) {
    auto lay = [](const TempDir& dir) {
        dir.Write("a.txt", "old a\r\n");
        dir.Write("b.txt", "old b\r\n");
        dir.Write("b.txt.bak", "older b\r\n");
        dir.Write("korv.log", "line one\r\n");
        const std::string linked = dir.Write("c.txt", "old c\r\n");
        ::CreateHardLinkW(Wide(dir.File("c.link")).c_str(), Wide(linked).c_str(), nullptr);
    };
    auto act = [](const TempDir& dir) {
        auto attempt = [](const std::function<void()>& step) {
            try {
                step();
            } catch (const EngineError&) {
            }
        };
        attempt([&] { ReplaceWholeFile(dir.File("a.txt"), "new a\r\n"); });
        TextDocument::MakeBackup(dir.File("b.txt"));
        attempt([&] { ReplaceWholeFile(dir.File("c.txt"), "new c\r\n"); });
        attempt([&] { AppendToFile(dir.File("korv.log"), "line two\r\n"); });
        attempt([&] { ReplaceFileTail(dir.File("korv.log"), 10, "line three\r\n"); });
    };
    long calls = 0;
    {
        TempDir dir;
        lay(dir);
        CountingFaultPlan counter(0, 0, false);
        FaultPlanScope scope(counter);
        act(dir);
        calls = counter.Calls();
    }
    ASSERT_GT(calls, 20);
    for (const test::FaultKind& kind : FaultKinds()) {
        for (long n = 1; n <= calls; ++n) {
            SCOPED_TRACE("call " + std::to_string(n) + " fails with errno " +
                         std::to_string(kind.error) + (kind.persistent ? " for good" : ""));
            TempDir dir;
            lay(dir);
            CountingFaultPlan plan(n, kind.error, kind.persistent);
            {
                FaultPlanScope scope(plan);
                act(dir);
            }
            const std::string a = ReadFile(dir.File("a.txt"));
            EXPECT_TRUE(a == "old a\r\n" || a == "new a\r\n") << a;
            const std::string bak = ReadFile(dir.File("b.txt.bak"));
            EXPECT_TRUE(bak == "older b\r\n" || bak == "old b\r\n") << bak;
            // A file written in place gets its old bytes back only while
            // writing still works.
            const std::string c = ReadFile(dir.File("c.txt"));
            if (!kind.persistent) {
                EXPECT_TRUE(c == "old c\r\n" || c == "new c\r\n") << c;
            }
            EXPECT_EQ(ReadFile(dir.File("c.link")), c);
            const std::string log = ReadFile(dir.File("korv.log"));
            EXPECT_TRUE(log == "line one\r\n" || log == "line one\r\nline two\r\n" ||
                        log == "line one\r\nline three\r\n")
                << log;
            EXPECT_TRUE(Leftovers(dir).empty());
            if (HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace korv
