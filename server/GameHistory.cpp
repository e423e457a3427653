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
constexpr int64_t kPruneEveryMs = 3'600'000;
constexpr int64_t kDayMs = 86'400'000;

int64_t UnixMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

GameHistory::GameHistory(std::string dir, uint32_t days, Post p, std::ostream& out)
    : folder(std::move(dir)),
      databasePath(folder + "/history.sqlite"),
      keepReplayDays(days),
      post(std::move(p)),
      log(out),
      journal(folder + "/journal.bin") {}

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
    if (store.Open(databasePath, why) == GameStore::OpenResult::Damaged) {
        error = "the history's database is damaged: " + why +
                " (restore it from a backup, or move it away to start a new one)";
        return false;
    }
    if (!store.IsOpen()) problem = "the database cannot be opened: " + why;
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
    if (!problem.empty()) notes.push_back("quarnex-server: history degraded: " + problem);
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

void GameHistory::SetProblem(const std::string& now) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (problem == now) return;
        problem = now;
    }
    Log(now.empty() ? "quarnex-server: history writes again"
                    : "quarnex-server: history degraded: " + now);
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
        nextTry = std::chrono::steady_clock::now() + kRetry;
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
        if (store.IsOpen()) {
            answer = q.ask(store);
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
    if (!store.IsOpen() && store.Open(databasePath, error) != GameStore::OpenResult::Ok) {
        if (!pending.empty()) SetProblem("the database cannot be opened: " + error);
        return false;
    }
    while (!pending.empty()) {
        const Pending& p = pending.front();
        const GameOutcome outcome = GameOutcome::Of(p.game);
        int64_t id = 0;
        if (!store.Keep(p.game, outcome, id, error)) {
            store.Close();  // opened again on the next round, as the file may have changed
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
    if (!store.DropReplaysBefore(now - int64_t{keepReplayDays} * kDayMs, error)) {
        Log("quarnex-server: history: cannot drop old replays: " + error);
    }
}

}  // namespace qx::server
