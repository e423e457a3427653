#include "tools/sim/PlayerKey.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace qx::sim {
namespace {

constexpr char kHex[] = "0123456789abcdef";

bool FromHex(const std::string& text, PlayerKey& key) {
    if (text.size() != 2 * key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const char* hi = std::strchr(kHex, text[2 * i]);
        const char* lo = std::strchr(kHex, text[2 * i + 1]);
        if (!hi || !lo || !*hi || !*lo) return false;
        key[i] = static_cast<uint8_t>((hi - kHex) * 16 + (lo - kHex));
    }
    return true;
}

}  // namespace

bool MakePlayerKey(PlayerKey& key, std::string& error) {
    if (getentropy(key.data(), key.size()) == 0) return true;
    error = std::string("no random key: ") + std::strerror(errno);
    return false;
}

bool LoadOrMakePlayerKey(const std::string& path, PlayerKey& key, std::string& error) {
    std::ifstream in(path);
    if (in) {
        std::string text;
        std::getline(in, text);
        if (!FromHex(text, key)) {
            error = path + ": not a key (64 hex digits)";
            return false;
        }
        return true;
    }
    if (!MakePlayerKey(key, error)) return false;
    std::string text;
    for (uint8_t b : key) {
        text += kHex[b >> 4];
        text += kHex[b & 15];
    }
    text += '\n';
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace qx::sim
