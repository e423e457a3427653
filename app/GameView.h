#pragma once

#include <QSize>
#include <QWidget>

#include "app/InputRoute.h"
#include "app/KeyBindings.h"
#include "game/Game.h"

// The client area of the main window: shows the game's screen 1:1 and passes
// the mouse and the keyboard to the game's input handlers. Client pixels are
// device pixels (the logical size times the device pixel ratio), so the
// picture stays sharp on a scaled display; mouse positions are scaled alike.
class GameView : public QWidget {
    Q_OBJECT

  public:
    explicit GameView(qx::Game& game, QWidget* parent = nullptr);

    // Shows another game (a network game, or the window's own again). With
    // a route the player's inputs go there, and repaints draw the state
    // without changing it; without one they are the game's own.
    void ShowGame(qx::Game& shown, InputRoute* inputRoute);
    qx::Game& ShownGame() { return *game; }

    // The player's own keys (the defaults until set); kept by the caller.
    void SetKeyBindings(const KeyBindings& bindings) { keys = &bindings; }

    QSize ClientSize() const;
    // Tells the game the current client size.
    void SyncSize();
    // Runs the full repaint now and shows it.
    void FullRepaint();
    // Runs the full repaint a resize asked for, if one is waiting.
    void UpdateNow();
    // Schedules for showing only the parts of the screen the game has
    // written since the last call (a tick writes a few small boxes).
    void UpdateWritten();

  signals:
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
    void Repaint();
    void Deliver(const qx::GameInput& input);

    qx::Game* game;
    InputRoute* route = nullptr;
    const KeyBindings* keys = &KeyBindings::Defaults();
    bool fullRepaintPending = false;
};
