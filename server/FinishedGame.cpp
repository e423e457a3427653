#include "server/FinishedGame.h"

#include <cstring>

namespace qx::server {
namespace {

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out(out) {}
    void U64(uint64_t v) {
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Bytes(const void* data, size_t size) {
        U64(size);
        const auto* p = static_cast<const uint8_t*>(data);
        out.insert(out.end(), p, p + size);
    }
    void Text(const std::string& s) { Bytes(s.data(), s.size()); }

  private:
    std::vector<uint8_t>& out;
};

class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : p(data), left(size) {}
    bool U64(uint64_t& v) {
        if (left < 8) return false;
        v = 0;
        for (int i = 0; i < 8; ++i) v |= uint64_t{p[i]} << (8 * i);
        p += 8;
        left -= 8;
        return true;
    }
    template <typename T>
    bool Number(T& v) {
        uint64_t n = 0;
        if (!U64(n)) return false;
        v = static_cast<T>(n);
        return true;
    }
    bool Bytes(std::vector<uint8_t>& out) {
        uint64_t n = 0;
        if (!U64(n) || n > left) return false;
        out.assign(p, p + n);
        p += n;
        left -= n;
        return true;
    }
    bool Text(std::string& out) {
        std::vector<uint8_t> bytes;
        if (!Bytes(bytes)) return false;
        out.assign(bytes.begin(), bytes.end());
        return true;
    }
    bool Done() const { return left == 0; }

  private:
    const uint8_t* p;
    size_t left;
};

}  // namespace

std::vector<uint8_t> FinishedGame::Encode() const {
    std::vector<uint8_t> out;
    Writer w(out);
    w.Text(id);
    w.Text(code);
    w.U64(seed);
    w.U64(agreedTicks);
    w.U64((quick ? 1 : 0) | (ratedAsked ? 2 : 0) | (recordedAll ? 4 : 0));
    for (size_t s = 0; s < 2; ++s) {
        w.Text(players[s].name);
        w.Text(players[s].keyHash);
        w.U64(bye[s] | (silent[s] ? 0x100 : 0));
        w.Bytes(inputs[s].data(), inputs[s].size());
    }
    w.U64(static_cast<uint64_t>(startedAt));
    w.U64(static_cast<uint64_t>(endedAt));
    w.U64(static_cast<uint64_t>(static_cast<int64_t>(firstOut) + 1));
    w.Text(ending);
    w.U64(confirmed);
    return out;
}

bool FinishedGame::Decode(const uint8_t* data, size_t size, FinishedGame& g) {
    Reader r(data, size);
    uint64_t flags = 0, firstOutPlus = 0;
    bool ok = r.Text(g.id) && r.Text(g.code) && r.Number(g.seed) && r.Number(g.agreedTicks) &&
              r.U64(flags);
    for (size_t s = 0; ok && s < 2; ++s) {
        uint64_t side = 0;
        ok = r.Text(g.players[s].name) && r.Text(g.players[s].keyHash) && r.U64(side) &&
             r.Bytes(g.inputs[s]);
        g.bye[s] = static_cast<uint8_t>(side & 0xFF);
        g.silent[s] = (side & 0x100) != 0;
    }
    ok = ok && r.Number(g.startedAt) && r.Number(g.endedAt) && r.U64(firstOutPlus) &&
         r.Text(g.ending) && r.Number(g.confirmed) && r.Done() && firstOutPlus <= 2;
    g.quick = (flags & 1) != 0;
    g.ratedAsked = (flags & 2) != 0;
    g.recordedAll = (flags & 4) != 0;
    g.firstOut = static_cast<int>(firstOutPlus) - 1;
    return ok;
}

}  // namespace qx::server
