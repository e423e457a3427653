#pragma once

#include <boost/asio/ip/address.hpp>
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
    // The client behind the proxies in `trusted` (normalized): the
    // rightmost entry of `Forwarded` (its for= parameters) or, without it,
    // of `X-Forwarded-For` that is not a trusted proxy. `peer` when the
    // headers name nobody usable.
    static std::string Forwarded(std::string_view forwarded, std::string_view forwardedFor,
                                 const std::vector<std::string>& trusted, const std::string& peer);
};

}  // namespace qx::server
