// libFuzzer entry for the network packet decoder: any byte string must
// either be refused with a reason or decode to a packet whose inputs may all
// travel between machines and which encodes back to exactly the same bytes
// (there is one way to write each message), without a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <variant>

#include "net/PacketCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qx::net::Packet packet;
    const char* error = nullptr;
    if (!qx::net::DecodePacket(data, size, packet, error)) {
        if (error == nullptr || *error == '\0') __builtin_trap();
        return 0;
    }
    if (error != nullptr) __builtin_trap();
    if (const auto* inputs = std::get_if<qx::net::InputPacket>(&packet)) {
        if (inputs->inputs.size() > qx::net::InputPacket::kMaxTicks) __builtin_trap();
        for (const qx::net::InputList& list : inputs->inputs) {
            for (const qx::GameInput& in : list) {
                if (!qx::net::IsWireInput(in)) __builtin_trap();
            }
        }
    }
    const std::vector<uint8_t> again = qx::net::EncodePacket(packet);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0) __builtin_trap();
    return 0;
}
