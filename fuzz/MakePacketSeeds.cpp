// Writes one file per kind of network message into the folder given, as
// starting points for the packet decoder's fuzzer: fuzz_packet_seeds <dir>.
#include <fstream>
#include <iostream>
#include <string>

#include "net/PacketCodec.h"

namespace {

using namespace qx;
using namespace qx::net;

void Write(const std::string& dir, const std::string& name, const Packet& packet) {
    const std::vector<uint8_t> bytes = EncodePacket(packet);
    std::ofstream out(dir + "/packet-" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

InputPacket Inputs(int ticks) {
    InputPacket p;
    p.sequence = 7;
    p.ack = 12;
    p.currentTick = 14;
    p.advantage = 1;
    p.confirmedTick = 12;
    p.checksum = 0x1122334455667788ull;
    p.dismissedEnd = 5;
    p.firstTick = 13;
    p.inputs.resize(static_cast<size_t>(ticks));
    for (int i = 0; i < ticks; ++i) {
        InputList& list = p.inputs[static_cast<size_t>(i)];
        if (i % 2 == 0) list.Add(GameInput::Target(100 + i, 50 + i));
        if (i % 3 == 0) list.Add(GameInput::Fire(Weapon::Forward));
        if (i % 5 == 0) list.Add(GameInput::Key(GameKey::Left));
        if (i == 4) list.Add(GameInput::NewGame(PlayerChoice{true, true}));
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_packet_seeds <directory>\n";
        return 2;
    }
    const std::string dir = argv[1];
    Write(dir, "hello", HelloPacket{3000});
    Write(dir, "start", StartPacket{42, NetSide::Rebel, 3000});
    Write(dir, "bye", ByePacket{ByeReason::Desync, 99});
    Write(dir, "inputs-empty", InputPacket{});
    Write(dir, "inputs-few", Inputs(3));
    Write(dir, "inputs-many", Inputs(static_cast<int>(InputPacket::kMaxTicks)));
    return 0;
}
