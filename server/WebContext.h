#pragma once

#include <cstdint>
#include <functional>

namespace qx::server {

class MatchServer;
class StaticFiles;
struct Metrics;

// What the TCP side's sessions share: the server's rules, its figures, the
// files it serves (null: none) and its clock in milliseconds.
struct WebContext {
    MatchServer& server;
    Metrics& metrics;
    const StaticFiles* files;
    std::function<uint64_t()> clock;
};

}  // namespace qx::server
