#include "server/GameHistory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <ostream>

namespace qx::server {
namespace {

constexpr auto kRetry = std::chrono::seconds(2);
constexpr auto kFirstPause = std::chrono::milliseconds(250);
constexpr auto kLongestPause = std::chrono::milliseconds(4000);
constexpr auto kSummaryEvery = std::chrono::seconds(30);
constexpr int64_t kPruneEveryMs = 3'600'000;
constexpr int64_t kDayMs = 86'400'000;

int64_t UnixMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

GameHistory::GameHistory(std::string dir, const std::string& database, uint32_t days, Post p,
                         std::ostream& out)
    : folder(std::move(dir)),
      keepReplayDays(days),
      post(std::move(p)),
      log(out),
      journal(folder + "/journal.bin"),
      store(GameStore::Make(database.empty() ? folder + "/history.sqlite" : database)) {}

GameHistory::~GameHistory() {
    Stop();
    if (lockFd >= 0) ::close(lockFd);
}

bool GameHistory::Open(std::string& error, std::vector<std::string>& notes) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    lockFd = ::open((folder + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd >= 0 && ::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        error = folder + " is used by another quarnex-server (give each its own --data)";
        return false;
    }
    std::string why;
    const GameStore::OpenResult opened = store->Open(why);
    if (opened == GameStore::OpenResult::Damaged) {
        error = "the history's database is damaged: " + why +
                " (restore it from a backup, or move it away to start a new one)";
        return false;
    }
    // A shared database that does not answer at start is most likely a
    // wrong URL: said at once rather than found out games later.
    if (opened != GameStore::OpenResult::Ok && GameStore::IsPostgresUrl(store->Where())) {
        error = "the history's database cannot be used: " + why;
        return false;
    }
    if (!store->IsOpen()) problem = "the database cannot be opened: " + why;
    if (lockFd < 0 && problem.empty()) problem = folder + ": cannot be written";
    std::string journalNote;
    for (FinishedGame& game : journal.ReadAll(journalNote)) {
        pending.push_back({std::move(game), true});
        journalHolds = true;
    }
    if (!journalNote.empty()) notes.push_back("quarnex-server: history: " + journalNote);
    if (!pending.empty()) {
        notes.push_back("quarnex-server: history: " + std::to_string(pending.size()) +
                        " finished games from the journal to save");
    }
    if (!problem.empty()) {
        notes.push_back("quarnex-server: history degraded: " + problem);
        degradedSince = lastSummary = std::chrono::steady_clock::now();
    }
    return true;
}

void GameHistory::Start() {
    thread = std::thread([this] { Run(); });
}

void GameHistory::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
}

void GameHistory::Submit(FinishedGame game) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        handed.push_back(std::move(game));
    }
    wake.notify_one();
}

void GameHistory::Ask(std::function<Answer(GameStore&)> question,
                      std::function<void(Answer)> done) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        questions.push_back({std::move(question), std::move(done)});
    }
    wake.notify_one();
}

std::string GameHistory::Problem() const {
    std::lock_guard<std::mutex> lock(mutex);
    return problem;
}

// Logs the first problem and the end of it; between them the problems
// are counted and summed up (Summarise), not logged one by one.
void GameHistory::SetProblem(const std::string& now) {
    bool began = false, ended = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        began = problem.empty() && !now.empty();
        ended = !problem.empty() && now.empty();
        problem = now;
    }
    const auto clock = std::chrono::steady_clock::now();
    if (began) {
        degradedSince = lastSummary = clock;
        failedTries = 0;
        Log("quarnex-server: history degraded: " + now);
    } else if (ended) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(clock - degradedSince).count();
        Log("quarnex-server: history writes again (after " + std::to_string(seconds) + " s)");
    } else if (!now.empty()) {
        ++failedTries;
        Summarise();
    }
}

void GameHistory::Summarise() {
    const auto clock = std::chrono::steady_clock::now();
    if (clock - lastSummary < kSummaryEvery) return;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(clock - degradedSince).count();
    Log("quarnex-server: history still degraded after " + std::to_string(seconds) + " s, " +
        std::to_string(failedTries) + " tries failed since the last word, " +
        std::to_string(pending.size()) + " games wait: " + Problem());
    lastSummary = clock;
    failedTries = 0;
}

void GameHistory::Log(std::string line) {
    post([this, line = std::move(line)] { log << line << std::endl; });
}

void GameHistory::Run() {
    auto nextTry = std::chrono::steady_clock::now();
    for (;;) {
        bool last = false;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait_until(lock, nextTry,
                            [this] { return stopping || !handed.empty() || !questions.empty(); });
            last = stopping;
        }
        Work();
        // Growing pauses while the database is away; the usual round when
        // it is there.
        const bool degraded = !Problem().empty();
        pause = degraded ? std::min<std::chrono::milliseconds>(
                               pause.count() ? pause * 2 : kFirstPause, kLongestPause)
                         : std::chrono::milliseconds(0);
        nextTry = std::chrono::steady_clock::now() +
                  (degraded ? pause : std::chrono::milliseconds(kRetry));
        if (last) {
            Work();  // what came while stopping
            return;
        }
    }
}

// One round: questions first (they wait for an answer), then the games
// handed over are journaled, then what waits is saved.
void GameHistory::Work() {
    std::deque<FinishedGame> games;
    std::deque<Question> asked;
    {
        std::lock_guard<std::mutex> lock(mutex);
        games.swap(handed);
        asked.swap(questions);
    }
    for (Question& q : asked) {
        Answer answer;
        if (store->IsOpen()) {
            answer = q.ask(*store);
        } else {
            answer = {503, "text/plain; charset=utf-8", "the history is unavailable\n"};
        }
        post([done = std::move(q.done), answer = std::move(answer)]() mutable {
            done(std::move(answer));
        });
    }
    for (FinishedGame& game : games) pending.push_back({std::move(game), false});
    for (Pending& p : pending) {
        if (!p.journaled) Journal(p);
    }
    if (Save()) Prune();
}

void GameHistory::Journal(Pending& p) {
    std::string error;
    if (!journal.Append(p.game, error)) {
        SetProblem("cannot journal finished games: " + error);
        return;
    }
    p.journaled = journalHolds = true;
    Log("room " + p.game.code + " game kept");
}

// Saves the waiting games in order; false when the database is not there.
bool GameHistory::Save() {
    std::string error;
    if (!store->IsOpen() && store->Open(error) != GameStore::OpenResult::Ok) {
        if (!pending.empty()) SetProblem("the database cannot be opened: " + error);
        return false;
    }
    while (!pending.empty()) {
        const Pending& p = pending.front();
        const GameOutcome outcome = GameOutcome::Of(p.game);
        int64_t id = 0;
        if (!store->Keep(p.game, outcome, id, error)) {
            store->Close();  // opened again on the next round, as the file may have changed
            SetProblem("cannot write to the database: " + error + " (" +
                       std::to_string(pending.size()) + " games wait)");
            return false;
        }
        Log("room " + p.game.code + " game " + std::to_string(id) +
            " saved: " + ResultText(outcome.result) + " (" + outcome.reason + ")" +
            (outcome.rated ? ", rated" : ""));
        pending.pop_front();
    }
    if (journalHolds) {
        if (!journal.Clear(error)) {
            SetProblem("cannot empty the journal: " + error);
            return true;
        }
        journalHolds = false;
    }
    SetProblem("");
    return true;
}

void GameHistory::Prune() {
    const int64_t now = UnixMs();
    if (keepReplayDays == 0 || now - lastPrune < kPruneEveryMs) return;
    lastPrune = now;
    std::string error;
    if (!store->DropReplaysBefore(now - int64_t{keepReplayDays} * kDayMs, error)) {
        Log("quarnex-server: history: cannot drop old replays: " + error);
    }
}

}  // namespace qx::server
