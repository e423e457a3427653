#include "server/RepeatedEvents.h"

namespace qx::server {

void RepeatedEvents::Note(const std::string& plural, const std::string& address,
                          const std::string& line, uint64_t nowMs) {
    auto key = std::make_pair(plural, address);
    if (windows.size() >= kMaxEntries && windows.find(key) == windows.end())
        key.second = "other addresses";
    auto [it, fresh] = windows.try_emplace(key, Window{nowMs, 0});
    if (fresh) {
        log << line << std::endl;
    } else {
        ++it->second.more;
    }
}

void RepeatedEvents::Flush(uint64_t nowMs) {
    for (auto it = windows.begin(); it != windows.end();) {
        if (nowMs - it->second.since < kWindowMs) {
            ++it;
            continue;
        }
        if (it->second.more > 0) {
            log << it->second.more << " more " << it->first.first << " from " << it->first.second
                << " in the last " << kWindowMs / 1000 << " s" << std::endl;
        }
        it = windows.erase(it);
    }
}

}  // namespace qx::server
