#pragma once

#include <boost/asio/ip/address.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::server {

// A client's address as the limits and the log name it: IPv4 addresses
// written as IPv4 even when they came through an IPv6 socket, and behind a
// trusted reverse proxy the address that proxy saw.
class ClientAddress {
  public:
    // "192.0.2.7" for ::ffff:192.0.2.7; every other address as Asio writes it.
    static std::string Normalize(const boost::asio::ip::address& address);
    // Null address when `text` is none (also "[v6]:port" and "v4:port").
    static std::string Parse(std::string_view text);
    static bool IsLoopback(const std::string& address);
    // Which header a trusted reverse proxy writes the client's address in.
    enum class Header : uint8_t { XForwardedFor, Forwarded };
    // Null when `name` is neither (case does not matter).
    static std::optional<Header> HeaderNamed(std::string_view name);
    static const char* HeaderName(Header header);
    // The client a trusted proxy names in the lines of its header (in the
    // order they came): only the last entry of the last line, the one the
    // proxy itself wrote (a Forwarded element's for=), since everything
    // before it came from the client. `peer` when it names nobody usable.
    static std::string FromProxy(const std::vector<std::string_view>& lines, Header header,
                                 const std::string& peer);
};

}  // namespace qx::server
