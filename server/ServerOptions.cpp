#include "server/ServerOptions.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "server/AgonesClient.h"
#include "server/ClientAddress.h"
#include "server/GameStore.h"
#include "server/TlsContext.h"

namespace qx::server {
namespace {

bool Number(const char* text, uint64_t low, uint64_t high, uint64_t& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

// "ADDR:PORT" or "[V6ADDR]:PORT".
bool Endpoint(const std::string& text, std::string& address, uint16_t& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    address = text.substr(0, colon);
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    uint64_t n = 0;
    if (!Number(text.c_str() + colon + 1, 1, 65535, n)) return false;
    port = static_cast<uint16_t>(n);
    return !ClientAddress::Parse("[" + address + "]").empty();
}

// "HOST:PORT", the host a name or an address ([V6] in brackets).
bool HostAndPort(const std::string& text, std::string& host, uint16_t& port) {
    const size_t colon = text.rfind(':');
    uint64_t n = 0;
    if (colon == std::string::npos || colon == 0 ||
        !Number(text.c_str() + colon + 1, 1, 65535, n)) {
        return false;
    }
    host = text.substr(0, colon);
    port = static_cast<uint16_t>(n);
    return host.find_first_of(" /@?#") == std::string::npos;
}

// $QUARNEX_DATABASE (the deploy manifests set it from a Secret), when set.
bool DatabaseFromEnvironment(std::string& database, std::string& error) {
    const char* value = std::getenv("QUARNEX_DATABASE");
    if (!value || !*value) return true;
    if (!GameStore::IsPostgresUrl(value)) {
        error = "QUARNEX_DATABASE is no postgresql:// URL";
        return false;
    }
    database = value;
    return true;
}

}  // namespace

const char* ServerOptions::Usage() {
    return "usage: quarnex-server [--port P] [--web DIR] [--max-rooms N] [--bind ADDR]\n"
           "                      [--max-per-address N] [--tls-cert FILE --tls-key FILE]\n"
           "                      [--max-http-per-address N] [--tls-handshakes-per-second N]\n"
           "                      [--trust-proxy ADDR]... [--proxy-header NAME]\n"
           "                      [--metrics ADDR:PORT] [--drain SECONDS] [--agones]\n"
           "                      [--data DIR] [--keep-replays DAYS]\n"
           "                      [--database postgresql://...] [--public-address HOST:PORT]\n";
}

std::string ServerOptions::DefaultDataFolder() {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    if (const std::string state = env("STATE_DIRECTORY"); !state.empty()) {
        return state.substr(0, state.find(':'));
    }
    if (const std::string xdg = env("XDG_STATE_HOME"); !xdg.empty()) return xdg + "/quarnex-server";
    if (const std::string home = env("HOME"); !home.empty()) {
        return home + "/.local/state/quarnex-server";
    }
    return "";
}

bool ServerOptions::Parse(int argc, const char* const* argv, ServerOptions& options,
                          std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--agones") {  // takes no value
            options.agones = true;
            if (!AgonesClient::PortFromEnvironment(options.agonesPort, error)) return false;
            continue;
        }
        if (i + 1 >= argc) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const char* value = argv[++i];
        uint64_t n = 0;
        if (name == "--port") {
            if (!Number(value, 0, 65535, n)) {
                error = std::string("bad port '") + value + "' (0-65535)";
                return false;
            }
            options.port = static_cast<uint16_t>(n);
        } else if (name == "--web") {
            if (!std::filesystem::is_directory(value)) {
                error = std::string("no folder '") + value + "' to serve";
                return false;
            }
            options.web = value;
        } else if (name == "--max-rooms") {
            if (!Number(value, 1, 1'000'000, n)) {
                error = std::string("bad room count '") + value + "'";
                return false;
            }
            options.limits.maxRooms = n;
        } else if (name == "--max-per-address") {
            if (!Number(value, 1, 100'000, n)) {
                error = std::string("bad connection count '") + value + "'";
                return false;
            }
            options.limits.maxConnectionsPerAddress = n;
        } else if (name == "--bind") {
            // ENet, the UDP side, has IPv4 only.
            boost::system::error_code ec;
            boost::asio::ip::make_address_v4(value, ec);
            if (ec) {
                error = std::string("bad address '") + value +
                        "' to bind: an IPv4 address (UDP is IPv4 only; without --bind, TCP "
                        "listens on IPv6 and IPv4)";
                return false;
            }
            options.bind = value;
        } else if (name == "--tls-cert" || name == "--tls-key") {
            (name == "--tls-cert" ? options.tlsCert : options.tlsKey) = value;
        } else if (name == "--trust-proxy") {
            const std::string address = ClientAddress::Parse(value);
            if (address.empty()) {
                error = std::string("bad proxy address '") + value + "'";
                return false;
            }
            options.trustedProxies.push_back(address);
        } else if (name == "--proxy-header") {
            const auto header = ClientAddress::HeaderNamed(value);
            if (!header) {
                error =
                    std::string("bad proxy header '") + value + "' (X-Forwarded-For or Forwarded)";
                return false;
            }
            options.proxyHeader = *header;
        } else if (name == "--tls-handshakes-per-second") {
            if (!Number(value, 1, 100'000, n)) {
                error = std::string("bad handshake rate '") + value + "'";
                return false;
            }
            options.limits.tlsHandshakesPerSecond = static_cast<double>(n);
            options.limits.tlsHandshakeBurst = 3.0 * static_cast<double>(n);
        } else if (name == "--max-http-per-address") {
            if (!Number(value, 1, 100'000, n)) {
                error = std::string("bad connection count '") + value + "'";
                return false;
            }
            options.limits.maxHttpPerAddress = n;
        } else if (name == "--metrics") {
            if (!Endpoint(value, options.metricsBind, options.metricsPort)) {
                error = std::string("bad metrics address '") + value + "' (ADDR:PORT)";
                return false;
            }
        } else if (name == "--drain") {
            if (!Number(value, 0, 86'400, n)) {
                error = std::string("bad drain time '") + value + "' (0-86400 seconds)";
                return false;
            }
            options.drainSeconds = static_cast<uint32_t>(n);
        } else if (name == "--data") {
            if (std::string(value).empty()) {
                error = "--data needs a folder";
                return false;
            }
            options.data = value;
        } else if (name == "--keep-replays") {
            if (!Number(value, 0, 36'500, n)) {
                error = std::string("bad number of days '") + value + "' (0-36500; 0: for ever)";
                return false;
            }
            options.keepReplayDays = static_cast<uint32_t>(n);
        } else if (name == "--database") {
            if (!GameStore::IsPostgresUrl(value)) {
                error = "--database takes a postgresql:// URL (without it, SQLite under --data)";
                return false;
            }
            options.database = value;
        } else if (name == "--public-address") {
            std::string host;
            uint16_t port = 0;
            if (!HostAndPort(value, host, port)) {
                error = std::string("bad public address '") + value + "' (HOST:PORT)";
                return false;
            }
            options.publicAddress = value;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.database.empty() && !DatabaseFromEnvironment(options.database, error)) {
        return false;
    }
    if (options.tlsCert.empty() != options.tlsKey.empty()) {
        error = "--tls-cert and --tls-key go together";
        return false;
    }
    // Unusable files are told at start, not at the first client.
    return options.tlsCert.empty() || TlsContext::Load(options.tlsCert, options.tlsKey, error);
}

}  // namespace qx::server
