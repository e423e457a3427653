#include "net/ReplayRecordingHost.h"

namespace qx {

void ReplayRecordingHost::ShowEndOfGame(const std::string& caption, const std::string& text) {
    inner.ShowEndOfGame(caption, text);
    if (recorder) recorder->OnEndOfGameClosed();
}

// A dialog closed without OK leaves the players as they were, which is
// recorded as that answer.
bool ReplayRecordingHost::RunNewGameDialog(PlayerChoice& choice) {
    const PlayerChoice before = choice;
    const bool accepted = inner.RunNewGameDialog(choice);
    if (recorder) recorder->OnDialogAnswer(accepted ? choice : before);
    return accepted;
}

}  // namespace qx
