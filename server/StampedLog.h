#pragma once

#include <streambuf>

namespace qx::server {

// The server's log with each line starting with the time it was written,
// RFC 3339 in UTC to the millisecond ("2026-12-08T11:55:03.123Z "), put in
// front of another stream buffer (standard output's).
class StampedLog : public std::streambuf {
  public:
    explicit StampedLog(std::streambuf* target) : target(target) {}

    // True when standard output goes to the systemd journal, which stamps
    // each line itself (JOURNAL_STREAM names standard output's device and
    // inode).
    static bool JournalStampsOutput();

  protected:
    int_type overflow(int_type c) override;
    int sync() override { return target->pubsync(); }

  private:
    std::streambuf* target;
    bool lineStart = true;
};

}  // namespace qx::server
