// Writes starting points for the match server's fuzzer into the folder
// given: fuzz_match_seeds <dir>. Each is a few frames as the fuzzer reads
// them (connection and clock byte, two bytes of length, the frame).
#include <fstream>
#include <string>
#include <vector>

#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"

namespace {

using namespace qx;
using namespace qx::net;

void Add(std::vector<uint8_t>& out, uint8_t connection, const std::vector<uint8_t>& frame) {
    out.push_back(static_cast<uint8_t>(connection | (10 << 2)));
    out.push_back(static_cast<uint8_t>(frame.size()));
    out.push_back(static_cast<uint8_t>(frame.size() >> 8));
    out.insert(out.end(), frame.begin(), frame.end());
}

void Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dir + "/match-" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    MatchMessage watch;
    watch.type = MatchType::Watch;
    watch.code = CodeFromBits(12345);
    InputPacket inputs;
    inputs.firstTick = 1;
    inputs.inputs.resize(2);
    inputs.inputs[0].Add(GameInput::Target(10, 20));
    InputPacket keys = inputs;
    keys.inputs[0].Clear();
    keys.inputs[1].Add(GameInput::Key(GameKey::Up));

    std::vector<uint8_t> game;
    Add(game, 2, EncodePacket(HelloPacket{100}));
    Add(game, 1, EncodePacket(StartPacket{0, NetSide::Emperor, 100}));
    Add(game, 1, EncodePacket(inputs));
    Add(game, 2, EncodePacket(keys));
    Add(game, 3, EncodePacket(inputs));
    Add(game, 2, EncodePacket(ByePacket{ByeReason::Quit, 2}));
    Write(dir, "game", game);

    std::vector<uint8_t> lobby;
    Add(lobby, 0, EncodeMatch(watch));
    MatchMessage quick;
    quick.type = MatchType::Quick;
    Add(lobby, 0, EncodeMatch(quick));
    Write(dir, "lobby", lobby);
    Write(dir, "watch", EncodeMatch(watch));
    std::vector<uint8_t> lists;
    AppendTickInputs(inputs.inputs[0], lists);
    Write(dir, "feed", EncodeFeed(NetSide::Emperor, 1, 1, lists.data(), lists.size()));
    return 0;
}
