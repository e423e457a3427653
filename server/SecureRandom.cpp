#include "server/SecureRandom.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace qx::server {

void SecureRandom::Fill(uint8_t* data, uint64_t size) {
    while (size > 0) {
        const ssize_t got = getrandom(data, size, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            // Codes from a weak source would be guessable: better no server.
            std::perror("quarnex-server: getrandom");
            std::abort();
        }
        data += got;
        size -= static_cast<uint64_t>(got);
    }
}

uint64_t SecureRandom::Bits(int count) {
    uint8_t bytes[8];
    Fill(bytes, sizeof bytes);
    uint64_t v = 0;
    for (uint8_t b : bytes) v = (v << 8) | b;
    return count >= 64 ? v : v & ((uint64_t{1} << count) - 1);
}

}  // namespace qx::server
