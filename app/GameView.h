#pragma once

#include <QSize>
#include <QWidget>

#include "app/KeyBindings.h"
#include "game/Game.h"
#include "game/GameInput.h"

// The client area of the main window: shows a game's screen 1:1 and sends
// the player's mouse and keyboard out as the game's inputs (Input), at the
// game's level: arena positions and game keys. It changes no game itself;
// whoever shows a game in it decides where the inputs go and what a full
// repaint means for that game (RepaintWanted). Client pixels are device
// pixels (the logical size times the device pixel ratio), so the picture
// stays sharp on a scaled display; mouse positions are scaled alike.
class GameView : public QWidget {
    Q_OBJECT

  public:
    explicit GameView(qx::Game& shown, QWidget* parent = nullptr);

    // Shows another game (a network game, a replay, or the window's own
    // again). Its screen is drawn anew unless it already has the view's size.
    void ShowGame(qx::Game& shown);
    qx::Game& ShownGame() { return *game; }

    // The player's own keys (the defaults until set); kept by the caller.
    void SetKeyBindings(const KeyBindings& bindings) { keys = &bindings; }

    QSize ClientSize() const;
    // Tells the shown game the current client size.
    void SyncSize();
    // Has the whole scene drawn again now and shows it.
    void FullRepaint();
    // Runs the full repaint a resize asked for, if one is waiting.
    void UpdateNow();
    // Schedules for showing only the parts of the screen the game has
    // written since the last call (a tick writes a few small boxes).
    void UpdateWritten();

  signals:
    // The player moved the mouse over the client area, pressed a button or
    // a game key.
    void Input(const qx::GameInput& input);
    // The shown game's whole scene must be drawn again (its size changed, or
    // the window asks for it); the screen is shown right after the call.
    void RepaintWanted();
    // A picture has been put on the window.
    void Presented();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool SizeFollowed() const;

    qx::Game* game;
    const KeyBindings* keys = &KeyBindings::Defaults();
    bool fullRepaintPending = false;
};
