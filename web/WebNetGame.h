#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/GameInput.h"
#include "net/MatchConnection.h"
#include "net/NetGame.h"
#include "net/NetWatch.h"

namespace qx::web {

// A network game in the page through the match server: the room asked for
// (create, join, quick match or watch), then the network game every host
// runs (NetGame for a player, NetWatch for a spectator). The page keeps only
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
        NoRoom,           // the room could not be had: Client() says why
        ServerLost,       // the server's connection ended or went silent
        WatchedToTheEnd,  // a spectator saw the whole game
        Quit,             // the local player left
    };

    WebNetGame(std::unique_ptr<net::MatchConnection> connection, int32_t width, int32_t height);
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
    // The words of the end for the player (net/NetEndTexts), null when none.
    const char* EndText() const;
    const net::MatchClient& Client() const { return connection->Client(); }
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
    void StartInRoom();
    bool Handle(const std::vector<net::NetRequest>& requests);
    void Finish(Outcome why);
    Game* SharedGame();
    const net::RollbackSession* Session() const;
    void Input(const GameInput& input);

    std::unique_ptr<net::MatchConnection> connection;
    std::unique_ptr<net::NetGame> game;
    std::unique_ptr<net::NetWatch> watch;
    int32_t width;
    int32_t height;
    Outcome outcome = Outcome::Running;
    bool endBoxDue = false;
    std::string endCaption;
    std::string endText;
};

}  // namespace qx::web
