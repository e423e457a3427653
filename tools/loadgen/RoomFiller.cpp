#include "tools/loadgen/RoomFiller.h"

#include "net/PacketCodec.h"

namespace qx::loadgen {
namespace {

// 46 packets of about 2.6 KB a second per connection: about 120 KB/s.
constexpr auto kInterval = std::chrono::milliseconds(22);

std::vector<uint8_t> FullPacket(uint32_t firstTick) {
    net::InputPacket p;
    p.sequence = firstTick;
    p.currentTick = firstTick + net::InputPacket::kMaxTicks - 1;
    p.firstTick = firstTick;
    for (size_t t = 0; t < net::InputPacket::kMaxTicks; ++t) {
        net::InputList list;
        for (int32_t i = 0; list.Add(GameInput::Target(100 + i, 200 + i)); ++i) {
        }
        p.inputs.push_back(list);
    }
    return net::EncodePacket(p);
}

}  // namespace

RoomFiller::RoomFiller(boost::asio::io_context& context, EnetClientHost& h, const LoadOptions& o)
    : io(context), host(h), options(o), timer(context), abusers(o.fill) {}

void RoomFiller::Step(Abuser& abuser) {
    const auto state =
        abuser.link ? abuser.link->Client().GetState() : net::MatchClient::State::Failed;
    if (state == net::MatchClient::State::Failed) {
        net::MatchRequest create;
        create.kind = net::MatchRequest::Kind::Create;
        create.side = net::NetSide::Emperor;
        abuser = Abuser{};
        abuser.link = std::make_unique<EnetLink>(host, options.host, options.port, create);
        return;
    }
    if (state != net::MatchClient::State::InRoom) return;
    while (abuser.link->Poll(received) != net::LinkEvent::None) {
    }
    if (!abuser.started) {
        const uint32_t seed = abuser.link->Client().Answer().seed;
        abuser.link->Send(net::EncodePacket(net::StartPacket{seed, net::NetSide::Emperor, 0}),
                          true);
        abuser.started = true;
    }
    abuser.link->Send(FullPacket(abuser.tick + 1), false);
    abuser.tick += net::InputPacket::kMaxTicks;
    ++sent;
}

void RoomFiller::Tick() {
    if (std::chrono::steady_clock::now() >= end) {
        io.stop();
        return;
    }
    for (Abuser& abuser : abusers) Step(abuser);
    timer.expires_at(timer.expiry() + kInterval);
    timer.async_wait([this](const boost::system::error_code& ec) {
        if (!ec) Tick();
    });
}

uint64_t RoomFiller::Run() {
    end = std::chrono::steady_clock::now() + std::chrono::seconds(options.seconds);
    timer.expires_after(std::chrono::milliseconds(0));
    Tick();
    io.run();
    return sent;
}

}  // namespace qx::loadgen
