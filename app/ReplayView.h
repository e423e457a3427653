#pragma once

#include <QWidget>

#include "game/Game.h"

// Shows a replay being played back over the game's own view. Its picture is
// the played game's screen; a resize draws the scene again from the state
// alone (ShowState), so watching never changes the played game. A key or a
// click asks for the playback to end.
class ReplayView : public QWidget {
    Q_OBJECT

  public:
    ReplayView(qx::Game& game, QWidget* parent);

    // Schedules for showing the parts of the screen a tick wrote.
    void UpdateWritten();

  signals:
    void StopRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QSize ClientSize() const;

    qx::Game& game;
};
