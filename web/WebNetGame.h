#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/GameInput.h"
#include "net/MatchRoom.h"

namespace qx::web {

// A network game in the page through the match server: the room every host
// drives (net::MatchRoom: the room asked for, then NetGame for a player or
// NetWatch for a spectator). The page keeps only
// its clock, its input and its output: it calls Update on every wake-up
// with the wall clock, and reads the picture, the end-of-game box due and
// the end with its reason from here.
//
// As on the desktop: both sides are persons, there is no New game dialog
// ("Nova" starts a new game on both machines at the same tick), the end of
// a game shows its box on both machines at the same tick and the next game
// starts once both players closed it; local events (a resize, a repaint)
// only show the shared game and change nothing in it.
class WebNetGame {
  public:
    enum class Phase { Connecting, WaitingForPlayer, Playing, Watching, Over };
    // How it is over; End() gives the driver's reason.
    enum class Outcome {
        Running,
        Peer,             // the game ended: End() says why
        NoRoom,           // the room could not be had: RoomEnd() says why
        ServerLost,       // the server's connection ended or went silent
        WatchedToTheEnd,  // a spectator saw the whole game
        Quit,             // the local player left
    };

    // `server` as the player named it (the words of a failure name it).
    WebNetGame(std::unique_ptr<net::MatchConnection> connection, const std::string& server,
               int32_t width, int32_t height);
    WebNetGame(const WebNetGame&) = delete;
    WebNetGame& operator=(const WebNetGame&) = delete;
    ~WebNetGame();

    // Reads what has arrived and runs the ticks due at `nowMs` (the page's
    // wall clock); returns whether the screen may have changed.
    bool Update(uint64_t nowMs);

    Phase GetPhase() const;
    Outcome GetOutcome() const { return outcome; }
    // The driver's end (PeerEnd::None while it runs or before it).
    net::PeerEnd End() const;
    uint32_t EndTick() const;
    // The one end value of every host, and its words for the player
    // (net/NetEndTexts, "%1" for its figure), null when none.
    const net::RoomEnd& RoomEnd() const { return room.End(); }
    const char* EndText() const;
    const net::MatchClient& Client() const { return room.Client(); }
    bool Spectating() const { return Client().Spectating(); }
    // The side this page plays (meaningful once Playing).
    net::NetSide LocalSide() const;

    // The local player's inputs (ignored when watching).
    void MouseMove(int32_t x, int32_t y);
    void Aim(int32_t arenaX, int32_t arenaY);
    void LeftButton();
    void RightButton();
    void Key(GameKey key);
    void NewGame();

    void Resize(int32_t width, int32_t height);
    void Paint();

    // An end-of-game box to open now (once per end); false when none.
    bool TakeEndBox(std::string& caption, std::string& text);
    // The player closed it.
    void CloseEndBox();
    // The player leaves (the other learns it at once).
    void Leave();

    // The figures of the status line.
    net::NetStatus Status() const;
    // The game's latest tick run and latest tick both sides' inputs are in.
    uint32_t CurrentTick() const;
    uint32_t ConfirmedTick() const;

    // The game shown (null before it starts).
    const Game* Shown() const;
    std::vector<Box> TakeScreenWrites();
    // The confirmed ticks so far as a replay file (empty before the start).
    std::string ReplayText() const;
    bool Begun() const;

  private:
    bool Handle(const std::vector<net::RoomRequest>& requests);
    void Finish();
    Game* SharedGame();
    const net::RollbackSession* Session() const;
    void Input(const GameInput& input);
    const net::NetGame* Played() const { return room.Game(); }
    const net::NetWatch* Watched() const { return room.Watch(); }

    net::MatchRoom room;
    int32_t width;
    int32_t height;
    Outcome outcome = Outcome::Running;
    bool endBoxDue = false;
    std::string endCaption;
    std::string endText;
};

}  // namespace qx::web
