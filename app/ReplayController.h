#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "app/ReplayPlayback.h"
#include "game/Game.h"
#include "replay/ReplayRecorder.h"

class GameView;

// Replays in the window: records the game being played (every input at the
// game's level, every tick and the answers of the modal windows) from its
// start, saves that record ("Ulozit zaznam...") and plays a replay file over
// the window ("Prehrat zaznam..."). While a replay plays, the window's own
// game stands still; any key or click ends the playback and the game goes on
// where it stood. PlaybackStarted and PlaybackStopped let the window hold
// its game and let it go on.
class ReplayController : public QObject {
    Q_OBJECT

  public:
    // `window` parents the file dialogs and messages.
    explicit ReplayController(QWidget* window);
    ~ReplayController() override;

    // Follows the game from now on; call before the game starts. A replay
    // plays in `view`, which shows `game` again afterwards.
    void Attach(qx::Game& game, GameView& view);
    // The New game command has run: the first one ends the game's start-up.
    void AfterNewGame();

    // The menu commands: ask for a file, then save or play.
    void OnSave();
    void OnPlay();
    // The same without the file dialog. Return false after showing why not.
    bool SaveTo(const QString& path);
    bool PlayFrom(const QString& path);

    bool Playing() const { return playback != nullptr; }
    const ReplayPlayback* Playback() const { return playback.get(); }
    void StopPlayback();

  signals:
    void PlaybackStarted();
    void PlaybackStopped();
    // The replay played one more tick.
    void PlaybackStepped();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StartPlayback(qx::Replay replay);
    QString StartFolder() const;
    static QString Filter();

    QWidget* window;
    bool swallowKey = false;  // the key that ended the playback is still on its way
    qx::ReplayRecorder recorder;
    qx::Game* game = nullptr;
    QPointer<GameView> view;
    std::unique_ptr<ReplayPlayback> playback;
    QString lastFolder;
};
