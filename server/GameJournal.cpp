#include "server/GameJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace qx::server {
namespace {

constexpr char kMagic[4] = {'Q', 'X', 'G', '1'};
constexpr size_t kHead = 4 + 8 + 8;  // magic, length, checksum

uint64_t Fnv1a(const uint8_t* data, size_t size) {
    uint64_t h = 0xcbf29ce484222325ULL;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 0x100000001b3ULL;
    return h;
}

void PutU64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t GetU64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= uint64_t{p[i]} << (8 * i);
    return v;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool GameJournal::Append(const FinishedGame& game, std::string& error) {
    const std::vector<uint8_t> body = game.Encode();
    std::vector<uint8_t> record(kMagic, kMagic + 4);
    PutU64(record, body.size());
    PutU64(record, Fnv1a(body.data(), body.size()));
    record.insert(record.end(), body.begin(), body.end());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const off_t end = ::lseek(fd, 0, SEEK_END);
    const bool ok = WriteAll(fd, record.data(), record.size()) && ::fsync(fd) == 0;
    if (!ok) {
        error = path + ": " + std::strerror(errno);
        // A record cut short would hide the ones after it: take it back.
        if (end >= 0 && ::ftruncate(fd, end) != 0) error += " (and it could not be cut back)";
    }
    ::close(fd);
    return ok;
}

std::vector<FinishedGame> GameJournal::ReadAll(std::string& error) const {
    std::vector<FinishedGame> games;
    std::ifstream in(path, std::ios::binary);
    if (!in) return games;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    size_t pos = 0;
    while (bytes.size() - pos >= kHead && std::memcmp(bytes.data() + pos, kMagic, 4) == 0) {
        const uint64_t length = GetU64(bytes.data() + pos + 4);
        const uint64_t sum = GetU64(bytes.data() + pos + 12);
        const uint8_t* body = bytes.data() + pos + kHead;
        FinishedGame game;
        if (length > bytes.size() - pos - kHead || Fnv1a(body, length) != sum ||
            !FinishedGame::Decode(body, length, game)) {
            break;
        }
        games.push_back(std::move(game));
        pos += kHead + length;
    }
    if (pos != bytes.size()) {
        error = path + ": " + std::to_string(bytes.size() - pos) +
                " bytes at its end are no whole game (cut short by a crash); left out";
    }
    return games;
}

bool GameJournal::Clear(std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::fsync(fd) != 0) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace qx::server
