#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/FinishedGame.h"
#include "server/GameJournal.h"
#include "server/GameOutcome.h"
#include "server/GameStore.h"

namespace qx::server {

// The history of games on its own thread, so the relay never waits for a
// disk: finished games are handed over (Submit, a move under a lock),
// journaled (fsync: from then on the game is kept, "room CODE game kept"),
// their results computed from their inputs and written to the database
// ("room CODE game N saved"). When the database cannot be written
// (unwritable, disk full, locked, a PostgreSQL server down or out of
// reach) the games wait in memory and in the journal, the history says it
// is degraded (once, then a summary every half minute), and tries again
// with growing pauses (0.25 s doubling up to 4 s). The HTTP routes'
// questions run on the same thread.
class GameHistory {
  public:
    struct Answer {
        unsigned status = 200;
        std::string type = "application/json";
        std::string body;
    };
    using Post = std::function<void(std::function<void()>)>;  // onto the relay's loop

    // `post` runs work on the relay's thread (its log lines among it).
    // `database`: a postgresql:// URL; empty: history.sqlite in `folder`
    // (which holds the journal either way).
    GameHistory(std::string folder, const std::string& database, uint32_t keepReplayDays, Post post,
                std::ostream& log);
    ~GameHistory();

    // Before the thread starts: takes the folder (one server at a time),
    // opens the database and reads the journal. False with `error` when the
    // database is damaged, or a PostgreSQL URL is wrong or unreachable (the
    // server must not start); a SQLite file that cannot be opened now only
    // makes the history degraded. `notes` gets
    // what the log should say once the server is listening.
    bool Open(std::string& error, std::vector<std::string>& notes);
    void Start();
    // Journals and saves what was handed over, then ends the thread.
    void Stop();

    // From the relay's thread; never waits for the disk.
    void Submit(FinishedGame game);
    void Ask(std::function<Answer(GameStore&)> question, std::function<void(Answer)> done);

    // Empty when healthy; else what is wrong (from any thread).
    std::string Problem() const;
    // The database, for messages (a URL without its password).
    std::string Where() const { return store->Where(); }

  private:
    struct Pending {
        FinishedGame game;
        bool journaled = false;
    };
    struct Question {
        std::function<Answer(GameStore&)> ask;
        std::function<void(Answer)> done;
    };

    void Run();
    void Work();
    void Journal(Pending& pending);
    bool Save();
    void Prune();
    void SetProblem(const std::string& problem);
    void Summarise();
    void Log(std::string line);

    std::string folder;
    uint32_t keepReplayDays;
    Post post;
    std::ostream& log;
    GameJournal journal;
    std::unique_ptr<GameStore> store;
    int lockFd = -1;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<FinishedGame> handed;
    std::deque<Question> questions;
    std::string problem;
    bool stopping = false;

    // The writer's own (its thread only).
    std::deque<Pending> pending;
    bool journalHolds = false;
    int64_t lastPrune = 0;
    // While degraded: since when, the failed tries since the last summary,
    // the pause before the next try.
    std::chrono::steady_clock::time_point degradedSince, lastSummary;
    int failedTries = 0;
    std::chrono::milliseconds pause{0};
    std::thread thread;
};

}  // namespace qx::server
