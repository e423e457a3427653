#include "server/ServerRegistry.h"

#include <pqxx/pqxx>
#include <random>

#include "server/PostgresStore.h"

namespace qx::server {

ServerRegistry::ServerRegistry(std::string u, std::string i, std::string a, int64_t c, Post p,
                               std::ostream& out)
    : url(std::move(u)),
      id(std::move(i)),
      address(std::move(a)),
      capacity(c),
      post(std::move(p)),
      log(out) {}

ServerRegistry::~ServerRegistry() {
    Stop();
}

const char* ServerRegistry::NowMsSql() {
    return "CAST(EXTRACT(EPOCH FROM clock_timestamp()) * 1000 AS BIGINT)";
}

std::string ServerRegistry::MakeId(const std::string& host) {
    std::random_device random;
    char digits[16];
    std::snprintf(digits, sizeof digits, "-%08x", static_cast<unsigned>(random()));
    return host + digits;
}

void ServerRegistry::Start() {
    thread = std::thread([this] { Run(); });
}

void ServerRegistry::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
}

void ServerRegistry::SetCounts(int64_t r, int64_t p) {
    rooms.store(r, std::memory_order_relaxed);
    players.store(p, std::memory_order_relaxed);
}

void ServerRegistry::Log(std::string line) {
    post([this, line = std::move(line)] { log << line << std::endl; });
}

void ServerRegistry::Run() {
    for (;;) {
        std::string error;
        const bool beat = Beat(error);
        if (beat && !registered) {
            registered = true;
            Log("quarnex-server: in the fleet as " + id + " at " + address);
        } else if (beat == failing) {  // only the changes are logged
            failing = !beat;
            Log(beat ? "quarnex-server: registered as " + id + " again"
                     : "quarnex-server: cannot register in the fleet (trying every 2 s): " + error);
        }
        std::unique_lock<std::mutex> lock(mutex);
        if (wake.wait_for(lock, kBeatEvery, [this] { return stopping; })) break;
    }
    Remove();
}

bool ServerRegistry::Beat(std::string& error) {
    try {
        if (!connection)
            connection = std::make_unique<pqxx::connection>(PostgresStore::WithTimeouts(url));
        pqxx::work beat(*connection);
        const std::string now = NowMsSql();
        beat.exec_params0(
            "INSERT INTO servers(id, address, capacity, rooms, players, started_at, heartbeat_at)"
            " VALUES($1, $2, $3, $4, $5, " +
                now + ", " + now +
                ") ON CONFLICT(id) DO UPDATE SET address=$2, capacity=$3, rooms=$4, players=$5,"
                " heartbeat_at=" +
                now,
            id, address, capacity, rooms.load(std::memory_order_relaxed),
            players.load(std::memory_order_relaxed));
        // Rows of servers long gone (killed, never back) are cleared away.
        beat.exec("DELETE FROM servers WHERE heartbeat_at < " + now + " - 3600000");
        beat.commit();
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        while (!error.empty() && error.back() == '\n') error.pop_back();
        connection.reset();
        return false;
    }
}

// A server that stops leaves the list at once.
void ServerRegistry::Remove() {
    try {
        if (!connection || !PostgresStore::StillConnected(*connection)) return;
        pqxx::work remove(*connection);
        remove.exec_params0("DELETE FROM servers WHERE id=$1", id);
        remove.commit();
    } catch (const std::exception&) {
        // Its heartbeat ages out all the same.
    }
    connection.reset();
}

}  // namespace qx::server
