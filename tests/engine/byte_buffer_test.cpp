// The buffers that hold whole files.

#include "byte_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace korv {
namespace {

TEST(ByteBufferTest, GrowingKeepsWhatWasThereAcrossEveryKindOfBlock) {
    // Sizes cross from the heap to mapped blocks and back down.
    const std::vector<std::size_t> sizes = {
        0, 1, 100, 5000, std::size_t{2} << 20, (std::size_t{5} << 20) + 3, 7, std::size_t{9} << 20};
    ByteBuffer buffer;
    std::string expected;
    for (std::size_t size : sizes) {
        const std::size_t kept = std::min(size, expected.size());
        buffer.Resize(size);
        ASSERT_EQ(buffer.Size(), size);
        ASSERT_TRUE(buffer.View().substr(0, kept) == std::string_view(expected).substr(0, kept))
            << "size " << size;
        expected.assign(buffer.Data(), kept);
        for (std::size_t i = kept; i < size; ++i) {
            buffer.Data()[i] = static_cast<char>('a' + i % 23);
            expected += static_cast<char>('a' + i % 23);
        }
    }
}

TEST(ByteBufferTest, AssignTakesBytesFromItselfOrElsewhere) {
    ByteBuffer buffer;
    buffer.Assign("hello, world");
    buffer.Assign(buffer.View().substr(7));
    EXPECT_EQ(buffer.View(), "world");
    const std::string big(std::size_t{3} << 20, 'z');
    buffer.Assign(big);
    EXPECT_TRUE(buffer.View() == big);
    buffer.Assign("");
    EXPECT_TRUE(buffer.Empty());

    ByteBuffer other;
    other.Assign("other");
    buffer.Swap(other);
    EXPECT_EQ(buffer.View(), "other");
    EXPECT_TRUE(other.Empty());
    ByteBuffer moved(std::move(buffer));
    EXPECT_EQ(moved.View(), "other");
    other = std::move(moved);
    EXPECT_EQ(other.View(), "other");
}

}  // namespace
}  // namespace korv
