#include <gtest/gtest.h>

#include <set>

#include "net/MatchClient.h"
#include "net/MatchProtocol.h"
#include "net/PacketCodec.h"
#include "net/SpectatorFeed.h"

namespace qx::net {
namespace {

MatchMessage Message(MatchType type) {
    MatchMessage m;
    m.type = type;
    return m;
}

TEST(MatchProtocol, EveryMessageRoundTripsAndRequestsOutweighAnswers) {
    std::vector<MatchMessage> all;
    MatchMessage create = Message(MatchType::Create);
    create.side = NetSide::Rebel;
    create.hasSeed = true;
    create.seed = 0xDEADBEEF;
    create.ticks = 3000;
    all.push_back(create);
    MatchMessage join = Message(MatchType::Join);
    join.code = "7K2M9QXZ";
    all.push_back(join);
    MatchMessage quick = Message(MatchType::Quick);
    quick.ticks = 10;
    all.push_back(quick);
    MatchMessage watch = join;
    watch.type = MatchType::Watch;
    all.push_back(watch);
    MatchMessage created = Message(MatchType::Created);
    created.code = "ABCDEFGH";
    created.side = NetSide::Rebel;
    created.seed = 77;
    created.ticks = 100;
    all.push_back(created);
    MatchMessage joined = created;
    joined.type = MatchType::Joined;
    all.push_back(joined);
    MatchMessage watching = Message(MatchType::Watching);
    watching.code = "ABCDEFGH";
    watching.seed = 5;
    all.push_back(watching);
    all.push_back(Message(MatchType::PeerJoined));
    MatchMessage left = Message(MatchType::PeerLeft);
    left.side = NetSide::Rebel;
    all.push_back(left);
    all.push_back(Message(MatchType::Ended));
    MatchMessage error = Message(MatchType::Error);
    error.error = MatchError::Throttled;
    all.push_back(error);

    for (const MatchMessage& m : all) {
        const std::vector<uint8_t> bytes = EncodeMatch(m);
        MatchMessage back;
        const char* why = nullptr;
        ASSERT_TRUE(DecodeMatch(bytes.data(), bytes.size(), back, why))
            << static_cast<int>(m.type) << ": " << why;
        EXPECT_EQ(back, m);
        const bool request = m.type <= MatchType::Watch;
        if (request) {
            EXPECT_EQ(bytes.size(), kRequestSize);
        } else {
            EXPECT_LT(bytes.size(), kRequestSize);
        }
    }
}

TEST(MatchProtocol, MalformedMessagesAreRefused) {
    MatchMessage join = Message(MatchType::Join);
    join.code = "7K2M9QXZ";
    const std::vector<uint8_t> good = EncodeMatch(join);
    MatchMessage out;
    const char* why = nullptr;
    std::vector<uint8_t> bad = good;
    bad.pop_back();
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));  // short
    bad = good;
    bad[4] = 'O';  // not in the alphabet
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));
    bad = good;
    bad.back() = 1;  // padding must be zeros
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));
    bad = good;
    bad[2] = 9;  // version
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));
    bad = good;
    bad[3] = 99;  // type
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));
    MatchMessage create = Message(MatchType::Create);
    bad = EncodeMatch(create);
    bad[4] = 3;  // side
    EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why));
    EXPECT_FALSE(DecodeMatch(nullptr, 0, out, why));
}

// Identify carries a name and a key in a fixed size (longer than any
// answer it can get); Names carries both players' names after the start.
TEST(MatchProtocol, IdentifyAndNamesRoundTripAndRefuseMalformed) {
    MatchMessage identify = Message(MatchType::Identify);
    identify.hasIdentity = true;
    identify.rated = true;
    identify.name = "\xc5\xbdofie \xe6\x9d\x8e";  // "Zofie" with a caron, and a Han character
    identify.key.fill(0xA5);
    MatchMessage anonymous = Message(MatchType::Identify);
    MatchMessage names = Message(MatchType::Names);
    names.names = {"Ada", std::string(kMaxNameBytes, 'x')};
    MatchMessage oneAnonymous = names;
    oneAnonymous.names[0].clear();
    for (const MatchMessage& m : {identify, anonymous, names, oneAnonymous}) {
        const std::vector<uint8_t> bytes = EncodeMatch(m);
        MatchMessage back;
        const char* why = nullptr;
        ASSERT_TRUE(DecodeMatch(bytes.data(), bytes.size(), back, why)) << why;
        EXPECT_EQ(back, m);
        if (m.type == MatchType::Identify) {
            EXPECT_EQ(bytes.size(), kIdentifySize);
        }
    }
    MatchMessage error = Message(MatchType::Error);
    error.error = MatchError::BadName;
    EXPECT_LT(EncodeMatch(error).size(), kIdentifySize);
    EXPECT_STREQ(MatchErrorText(MatchError::BadName), "bad-name");

    const std::vector<uint8_t> good = EncodeMatch(identify);
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    };
    const Case cases[] = {
        {"unknown flag", 4, 4},
        {"name longer than its room", 5, kMaxNameBytes + 1},
        {"bytes after the name", 6 + 20, 1},
        {"bytes after the key", kIdentifySize - 1, 1},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        bad[c.at] = c.value;
        MatchMessage out;
        const char* why = nullptr;
        EXPECT_FALSE(DecodeMatch(bad.data(), bad.size(), out, why)) << c.what;
    }
    std::vector<uint8_t> flagless = EncodeMatch(anonymous);
    flagless[10] = 'x';  // a name without the flag
    MatchMessage out;
    const char* why = nullptr;
    EXPECT_FALSE(DecodeMatch(flagless.data(), flagless.size(), out, why));
    std::vector<uint8_t> shortNames = EncodeMatch(names);
    shortNames.pop_back();
    EXPECT_FALSE(DecodeMatch(shortNames.data(), shortNames.size(), out, why));
}

TEST(MatchProtocol, CodesCarryFortyBitsAndAreReadLeniently) {
    std::set<std::string> codes;
    for (uint64_t bits :
         {uint64_t{0}, uint64_t{1}, (uint64_t{1} << 40) - 1, uint64_t{0x123456789A}}) {
        const std::string code = CodeFromBits(bits);
        EXPECT_EQ(code.size(), kCodeLength);
        EXPECT_EQ(NormalizeCode(code), code);
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 4u);
    EXPECT_EQ(CodeFromBits((uint64_t{1} << 40) - 1), "ZZZZZZZZ");
    EXPECT_EQ(NormalizeCode("7k2m-9qxz"), "7K2M9QXZ");
    EXPECT_EQ(NormalizeCode("OIL2 3456"),
              "0112"
              "3456");
    EXPECT_EQ(NormalizeCode("7K2M9QX"), "");    // too short
    EXPECT_EQ(NormalizeCode("7K2M9QXZZ"), "");  // too long
    EXPECT_EQ(NormalizeCode("7K2M9QXU"), "");   // U is left out
}

TEST(MatchProtocol, FeedCarriesOneSidesTicksThroughTheGameDecoder) {
    InputList a;
    a.Add(GameInput::Target(100, 200));
    a.Add(GameInput::Fire(Weapon::Up));
    InputList empty;
    std::vector<uint8_t> lists;
    AppendTickInputs(a, lists);
    AppendTickInputs(empty, lists);
    EXPECT_EQ(TickInputsSize(lists.data(), lists.size()), 1u + 5 + 2);
    const std::vector<uint8_t> frame =
        EncodeFeed(NetSide::Emperor, 41, 2, lists.data(), lists.size());
    FeedFrame feed;
    const char* why = nullptr;
    ASSERT_TRUE(DecodeFeed(frame.data(), frame.size(), feed, why)) << why;
    EXPECT_EQ(feed.firstTick, 41u);
    ASSERT_EQ(feed.inputs.size(), 2u);
    EXPECT_EQ(feed.inputs[0], a);
    EXPECT_TRUE(feed.inputs[1].Empty());

    // The Emperor's inputs in a feed said to be the Rebel's are refused.
    const std::vector<uint8_t> wrong =
        EncodeFeed(NetSide::Rebel, 41, 2, lists.data(), lists.size());
    EXPECT_FALSE(DecodeFeed(wrong.data(), wrong.size(), feed, why));
    // A count larger than the lists that follow.
    const std::vector<uint8_t> lying =
        EncodeFeed(NetSide::Emperor, 1, 3, lists.data(), lists.size());
    EXPECT_FALSE(DecodeFeed(lying.data(), lying.size(), feed, why));
}

TEST(MatchClient, GoesFromRequestToRoomAndReportsRefusals) {
    MatchClient client;
    MatchRequest request;
    request.kind = MatchRequest::Kind::Join;
    request.code = "7k2m9qxz";
    client.SetRequest(request);
    const std::vector<uint8_t> sent = client.OnConnected();
    MatchMessage asked;
    const char* why = nullptr;
    ASSERT_TRUE(DecodeMatch(sent.data(), sent.size(), asked, why));
    EXPECT_EQ(asked.code, "7K2M9QXZ");

    // Game packets before the room are not for the game yet.
    const std::vector<uint8_t> hello = EncodePacket(HelloPacket{5});
    client.OnFrame(hello.data(), hello.size());
    EXPECT_FALSE(client.HasEvent());

    MatchMessage joined = Message(MatchType::Joined);
    joined.code = "7K2M9QXZ";
    joined.side = NetSide::Rebel;
    const std::vector<uint8_t> answer = EncodeMatch(joined);
    client.OnFrame(answer.data(), answer.size());
    EXPECT_EQ(client.GetState(), MatchClient::State::InRoom);
    std::vector<uint8_t> data;
    EXPECT_EQ(client.Next(data), LinkEvent::Connected);
    client.OnFrame(hello.data(), hello.size());
    EXPECT_EQ(client.Next(data), LinkEvent::Received);
    EXPECT_EQ(data, hello);
    const std::vector<uint8_t> left = EncodeMatch(Message(MatchType::PeerLeft));
    client.OnFrame(left.data(), left.size());
    EXPECT_EQ(client.Next(data), LinkEvent::Disconnected);

    MatchClient refused;
    refused.SetRequest(request);
    refused.OnConnected();
    MatchMessage error = Message(MatchType::Error);
    error.error = MatchError::RoomFull;
    const std::vector<uint8_t> full = EncodeMatch(error);
    refused.OnFrame(full.data(), full.size());
    EXPECT_EQ(refused.GetState(), MatchClient::State::Failed);
    EXPECT_TRUE(refused.Refused());
    EXPECT_EQ(refused.Refusal(), MatchError::RoomFull);
}

}  // namespace
}  // namespace qx::net

namespace qx::net {
namespace {

TEST(SpectatorFeed, PutsBothSidesBackIntoTicks) {
    SpectatorFeed feed;
    const std::vector<uint8_t> start = EncodePacket(StartPacket{99, NetSide::Rebel, 500});
    ASSERT_TRUE(feed.Add(start.data(), start.size()));
    EXPECT_FALSE(feed.Add(start.data(), start.size()));  // only one start
    EXPECT_EQ(feed.Start()->seed, 99u);

    InputList steer;
    steer.Add(GameInput::Target(3, 4));
    InputList key;
    key.Add(GameInput::Key(GameKey::Left));
    std::vector<uint8_t> emperorLists, rebelLists;
    for (int i = 0; i < 3; ++i) AppendTickInputs(steer, emperorLists);
    AppendTickInputs(key, rebelLists);
    const auto emperor =
        EncodeFeed(NetSide::Emperor, 1, 3, emperorLists.data(), emperorLists.size());
    const auto rebel = EncodeFeed(NetSide::Rebel, 1, 1, rebelLists.data(), rebelLists.size());
    const auto gap = EncodeFeed(NetSide::Rebel, 5, 1, rebelLists.data(), rebelLists.size());
    ASSERT_TRUE(feed.Add(emperor.data(), emperor.size()));
    uint32_t tick = 0;
    InputList e, r;
    EXPECT_FALSE(feed.Next(tick, e, r));  // the Rebel's side is not here yet
    ASSERT_TRUE(feed.Add(rebel.data(), rebel.size()));
    EXPECT_FALSE(feed.Add(gap.data(), gap.size()));
    ASSERT_TRUE(feed.Next(tick, e, r));
    EXPECT_EQ(tick, 1u);
    EXPECT_EQ(e, steer);
    EXPECT_EQ(r, key);
    EXPECT_FALSE(feed.Next(tick, e, r));
    EXPECT_EQ(feed.Received(NetSide::Emperor), 3u);
}

}  // namespace
}  // namespace qx::net
