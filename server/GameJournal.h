#pragma once

#include <string>
#include <vector>

#include "server/FinishedGame.h"

namespace qx::server {

// Finished games not yet in the database, in a file of the data folder:
// each game is appended and flushed to the disk (fsync) before the server
// calls it kept, so a crash or a kill loses none of them; at start they are
// read back and written to the database. Records are framed with their
// length and a checksum, so a record cut short by a crash is recognized and
// ignored (it was never acknowledged).
class GameJournal {
  public:
    explicit GameJournal(std::string path) : path(std::move(path)) {}

    bool Append(const FinishedGame& game, std::string& error);
    // The games in the file, in order; a damaged tail is left out.
    std::vector<FinishedGame> ReadAll(std::string& error) const;
    // Empties the file (every game in it is in the database).
    bool Clear(std::string& error);
    const std::string& Path() const { return path; }

  private:
    std::string path;
};

}  // namespace qx::server
