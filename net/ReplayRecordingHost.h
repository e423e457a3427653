#pragma once

#include "game/GameHost.h"
#include "net/ReplayRecorder.h"

namespace qx {

// A GameHost that passes everything on to the host it wraps and reports the
// close of the modal windows, with the New game dialog's answer, to a
// recorder (none: it only passes on).
class ReplayRecordingHost : public GameHost {
  public:
    ReplayRecordingHost(GameHost& inner, ReplayRecorder* recorder)
        : inner(inner), recorder(recorder) {}

    void SetRecorder(ReplayRecorder* target) { recorder = target; }

    uint32_t SetGameTimer() override { return inner.SetGameTimer(); }
    void KillGameTimer() override { inner.KillGameTimer(); }
    void ShowEndOfGame(const std::string& caption, const std::string& text) override;
    bool RunNewGameDialog(PlayerChoice& choice) override;

  private:
    GameHost& inner;
    ReplayRecorder* recorder;
};

}  // namespace qx
