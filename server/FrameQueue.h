#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx::server {

// The frames waiting to go out on one connection, oldest first, in a ring
// of buffers that are reused: once a connection has warmed up, queueing a
// frame copies its bytes and allocates nothing.
class FrameQueue {
  public:
    void Push(const uint8_t* data, size_t size);
    // The oldest frame; only when not Empty.
    const std::vector<uint8_t>& Front() const { return slots[head]; }
    void Pop();

    bool Empty() const { return count == 0; }
    size_t Count() const { return count; }
    size_t Bytes() const { return bytes; }

  private:
    std::vector<std::vector<uint8_t>> slots;
    size_t head = 0;
    size_t count = 0;
    size_t bytes = 0;
};

}  // namespace qx::server
