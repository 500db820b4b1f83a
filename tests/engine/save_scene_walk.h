#pragma once

// The fault walk of one save, shared by the scenes every system has and
// those of one system only.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "file_ops.h"
#include "file_test_helpers.h"
#include "temp_dir.h"

namespace korv::test {

// One kind of file a save meets, set up afresh for every injected fault.
struct SaveScene {
    const char* name;
    // Makes the file in `dir` and returns the path to save to.
    std::string (*make)(const TempDir& dir, const std::string& old_bytes);
    // The path whose bytes tell the outcome.
    std::string (*watched)(const TempDir& dir);
};

// Fails each call a save of `scene` makes, in turn: the watched file then
// holds the old bytes or the new, the new ones when no failure was
// reported, and no temporary file is left.
inline void ExpectEveryFailingCallOfASaveLeavesOldOrNewBytes(const SaveScene& scene) {
    const std::string old_bytes = "old line one\r\nold line two\r\n";
    const std::string new_bytes = "the new text\r\n";
    SCOPED_TRACE(scene.name);
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        const std::string path = scene.make(dir, old_bytes);
        calls = EveryCallOf([&] { ReplaceWholeFile(path, new_bytes); });
        ASSERT_EQ(ReadFile(scene.watched(dir)), new_bytes);
    }
    ASSERT_FALSE(calls.empty());
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = scene.make(dir, old_bytes);
        FailNthCall fault(operation, nth, EIO);
        std::string error;
        {
            FaultPlanScope scope(fault);
            error = ErrorOf([&] { ReplaceWholeFile(path, new_bytes); });
        }
        EXPECT_TRUE(fault.Fired());
        const std::string now = ReadFile(scene.watched(dir));
        if (error == "no error") {
            EXPECT_EQ(now, new_bytes);
        } else {
            EXPECT_TRUE(now == old_bytes || now == new_bytes) << now;
        }
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

}  // namespace korv::test
