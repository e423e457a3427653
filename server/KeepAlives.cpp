#include "server/KeepAlives.h"

#include "server/HttpSession.h"

namespace qx::server {

KeepAlives::Entry KeepAlives::Add(const std::string& address, std::weak_ptr<HttpSession> session) {
    auto& list = idle[address];
    return list.insert(list.end(), std::move(session));
}

void KeepAlives::Remove(const std::string& address, Entry entry) {
    auto it = idle.find(address);
    if (it == idle.end()) return;
    it->second.erase(entry);
    if (it->second.empty()) idle.erase(it);
}

bool KeepAlives::CloseOldest(const std::string& address) {
    auto it = idle.find(address);
    if (it == idle.end()) return false;
    const std::shared_ptr<HttpSession> oldest = it->second.front().lock();
    // Closing takes it off the list (and may empty the list).
    if (!oldest) {
        Remove(address, it->second.begin());
        return CloseOldest(address);
    }
    oldest->CloseIdle();
    return true;
}

}  // namespace qx::server
