#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>

namespace qx::server {

// Keeps a flood of one event from drowning the log: the first time an
// event happens for an address it is logged in full, and the repeats in the
// next 10 seconds are only counted and then told in one line ("47 more
// refusals (throttled) from 203.0.113.5 in the last 10 s"). Every line is
// one log line of its own, as the journal takes them.
class RepeatedEvents {
  public:
    static constexpr uint64_t kWindowMs = 10'000;
    // Past this many events and addresses at once, the rest share one entry.
    static constexpr size_t kMaxEntries = 1024;

    explicit RepeatedEvents(std::ostream& log) : log(log) {}

    // `what` happened for `address`: `line` is logged unless it already
    // happened in the window; `plural` names the repeats in the summary.
    void Note(const std::string& plural, const std::string& address, const std::string& line,
              uint64_t nowMs);
    // Tells the windows that have ended; call every second or so.
    void Flush(uint64_t nowMs);

  private:
    struct Window {
        uint64_t since = 0;
        uint64_t more = 0;
    };

    std::ostream& log;
    std::map<std::pair<std::string, std::string>, Window> windows;
};

}  // namespace qx::server
