#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace qx::server {

class HttpSession;

// The HTTP connections waiting for their client's next request (a
// browser's keep-alives, idle for up to 30 s), by address, oldest first:
// when an address has all the HTTP connections it may, a new one closes
// its oldest idle one instead of being turned away.
class KeepAlives {
  public:
    using Entry = std::list<std::weak_ptr<HttpSession>>::iterator;

    Entry Add(const std::string& address, std::weak_ptr<HttpSession> session);
    void Remove(const std::string& address, Entry entry);
    // Closes the address's oldest idle connection; false when it has none.
    bool CloseOldest(const std::string& address);

  private:
    std::unordered_map<std::string, std::list<std::weak_ptr<HttpSession>>> idle;
};

}  // namespace qx::server
