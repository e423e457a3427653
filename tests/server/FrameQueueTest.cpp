#include "server/FrameQueue.h"

#include <gtest/gtest.h>

namespace qx::server {
namespace {

// Frames come out in the order they went in, also when the ring grows while
// its oldest frame is not at its start, and the byte count follows.
TEST(FrameQueue, KeepsOrderAcrossWrapAndGrowth) {
    FrameQueue queue;
    uint8_t next = 0;
    uint8_t expected = 0;
    size_t bytes = 0;
    const auto push = [&](int n) {
        for (int i = 0; i < n; ++i, ++next) {
            const std::vector<uint8_t> frame(1 + next % 5, next);
            queue.Push(frame.data(), frame.size());
            bytes += frame.size();
        }
    };
    const auto pop = [&](int n) {
        for (int i = 0; i < n; ++i, ++expected) {
            ASSERT_FALSE(queue.Empty());
            EXPECT_EQ(queue.Front(), std::vector<uint8_t>(1 + expected % 5, expected));
            bytes -= queue.Front().size();
            queue.Pop();
            EXPECT_EQ(queue.Bytes(), bytes);
        }
    };
    push(3);
    pop(2);
    push(6);  // wraps, then grows with the oldest frame in the middle
    pop(4);
    push(9);
    pop(12);
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.Bytes(), 0u);
}

}  // namespace
}  // namespace qx::server
