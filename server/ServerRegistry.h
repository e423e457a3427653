#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <pqxx/connection>
#include <string>
#include <thread>

namespace qx::server {

// This server's row in the shared database's `servers` table (id, public
// address, capacity, rooms, players), written again every 2 s from a
// thread of its own with its own connection, so neither the relay nor the
// history's writes ever hold a heartbeat up. The heartbeat is the
// database's clock, so a server's clock that jumps changes nothing; a
// server that has not beaten for kGoneAfterMs is gone (LiveServersSql).
// Its row goes when it stops; a killed server's row simply ages out.
class ServerRegistry {
  public:
    using Post = std::function<void(std::function<void()>)>;  // onto the relay's loop
    static constexpr int64_t kGoneAfterMs = 10'000;
    static constexpr auto kBeatEvery = std::chrono::seconds(2);

    ServerRegistry(std::string url, std::string id, std::string address, int64_t capacity,
                   Post post, std::ostream& log);
    ~ServerRegistry();
    ServerRegistry(const ServerRegistry&) = delete;
    ServerRegistry& operator=(const ServerRegistry&) = delete;

    void Start();
    // Removes the row and ends the thread.
    void Stop();
    // From the relay's thread, cheaply; sent with the next beat.
    void SetCounts(int64_t rooms, int64_t players);
    const std::string& Id() const { return id; }

    // A unique id for a server on `host`: the host's name and 8 random hex
    // digits (two servers never claim one row).
    static std::string MakeId(const std::string& host);
    // The database's clock in Unix milliseconds, as SQL.
    static const char* NowMsSql();

  private:
    void Run();
    bool Beat(std::string& error);
    void Remove();
    void Log(std::string line);

    std::string url, id, address;
    int64_t capacity;
    Post post;
    std::ostream& log;
    std::atomic<int64_t> rooms{0}, players{0};

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
    // The thread's own.
    std::unique_ptr<pqxx::connection> connection;
    bool failing = false, registered = false;
};

}  // namespace qx::server
