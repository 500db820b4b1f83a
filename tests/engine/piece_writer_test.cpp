// The pieces of a new content reach the sink whole and in order, gathered
// or passed as they are, on this thread or the writing one; after a failed
// write nothing more is written and the failure is reported.

#include "piece_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv {
namespace {

// Records what reaches it; the write numbered `fail_at` (from 0) fails.
class RecordingSink final : public ContentSink {
public:
    explicit RecordingSink(std::optional<int> fail_at) : fail_at_(fail_at) {}

    bool Write(std::string_view bytes) override {
        const int number = writes++;
        if (fail_at_ && number >= *fail_at_) {
            return false;
        }
        written.append(bytes);
        return true;
    }

    std::string written;
    int writes = 0;

private:
    std::optional<int> fail_at_;
};

// Small pieces around big ones, as a dense text with a few long runs gives.
std::vector<std::string> Pieces() {
    std::vector<std::string> pieces;
    for (int i = 0; i < 20000; ++i) {
        pieces.push_back("line " + std::to_string(i) + "\r\n");
        if (i % 5000 == 17) {
            pieces.emplace_back(300 * 1024 + static_cast<std::size_t>(i),
                                static_cast<char>('a' + i % 26));
        }
    }
    return pieces;
}

TEST(PieceWriterTest, WritesEveryPieceInOrderOrReportsTheFailedWrite) {
    const std::vector<std::string> pieces = Pieces();
    std::string whole;
    for (const std::string& piece : pieces) {
        whole += piece;
    }
    for (const bool pipelined : {false, true}) {
        for (const std::optional<int> fail_at :
             {std::optional<int>(), std::optional<int>(0), std::optional<int>(3)}) {
            SCOPED_TRACE(std::string(pipelined ? "pipelined" : "on this thread") + ", failing at " +
                         (fail_at ? std::to_string(*fail_at) : "none"));
            RecordingSink sink(fail_at);
            bool ok = true;
            {
                PieceWriter out(sink, pipelined);
                for (const std::string& piece : pieces) {
                    ok = out.Add(piece) && ok;
                }
                ok = out.Finish() && ok;
            }
            if (!fail_at) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(sink.written, whole);
                // Gathered: far fewer writes than pieces.
                EXPECT_LT(sink.writes, 40);
            } else {
                EXPECT_FALSE(ok);
                EXPECT_EQ(sink.writes, *fail_at + 1) << "a write after the failed one";
                EXPECT_EQ(sink.written, whole.substr(0, sink.written.size()));
            }
        }
    }
}

}  // namespace
}  // namespace korv
