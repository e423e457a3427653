#include "server/ClientAddress.h"

#include <algorithm>
#include <cctype>

namespace qx::server {
namespace {

namespace ip = boost::asio::ip;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, end - start)));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

bool StartsWithFor(std::string_view pair) {
    return pair.size() > 4 && std::tolower(static_cast<unsigned char>(pair[0])) == 'f' &&
           std::tolower(static_cast<unsigned char>(pair[1])) == 'o' &&
           std::tolower(static_cast<unsigned char>(pair[2])) == 'r' && pair[3] == '=';
}

// The for= value of one Forwarded element ("" without one).
std::string ForwardedFor(std::string_view element) {
    std::string value;
    for (std::string_view pair : Split(element, ';')) {
        if (!StartsWithFor(pair)) continue;
        std::string_view v = pair.substr(4);
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        value = std::string(v);
    }
    return value;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string ClientAddress::Normalize(const ip::address& address) {
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        return ip::make_address_v4(ip::v4_mapped, address.to_v6()).to_string();
    return address.to_string();
}

std::string ClientAddress::Parse(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return {};
        text = text.substr(1, close - 1);
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        text = text.substr(0, text.find(':'));
    }
    boost::system::error_code ec;
    const ip::address address = ip::make_address(std::string(text), ec);
    return ec ? std::string() : Normalize(address);
}

bool ClientAddress::IsLoopback(const std::string& address) {
    boost::system::error_code ec;
    const ip::address parsed = ip::make_address(address, ec);
    return !ec && parsed.is_loopback();
}

std::optional<ClientAddress::Header> ClientAddress::HeaderNamed(std::string_view name) {
    if (SameName(name, "X-Forwarded-For")) return Header::XForwardedFor;
    if (SameName(name, "Forwarded")) return Header::Forwarded;
    return std::nullopt;
}

const char* ClientAddress::HeaderName(Header header) {
    return header == Header::Forwarded ? "Forwarded" : "X-Forwarded-For";
}

std::string ClientAddress::FromProxy(const std::vector<std::string_view>& lines, Header header,
                                     const std::string& peer) {
    if (lines.empty()) return peer;
    const std::string_view last = Split(lines.back(), ',').back();
    const std::string client = Parse(header == Header::Forwarded ? ForwardedFor(last) : last);
    return client.empty() ? peer : client;
}

}  // namespace qx::server
