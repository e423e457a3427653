#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>

class QKeyEvent;

// Keeps a player's game keys out of the boxes that open while they play: a
// box that pops up in the middle of a game must not be closed by the Space
// or Enter the player is still firing with. While a box is open, a game key
// is ignored when it is auto-repeated or when it has been held down since
// before the box opened (until it is released; under X11 a held key's
// repeats may come as releases and presses of one moment, which count as
// repeats); in a box the game itself
// opened (the end of a game) also within its first half second. Clicks,
// other keys and a fresh press after that reach the box as usual. A key
// whose window lost the keyboard before it went up counts as released.
class HeldKeyFilter : public QObject {
    Q_OBJECT

  public:
    static constexpr int kGraceMs = 500;

    // `isGameKey` tells which key presses the game would take. The filter
    // watches the whole program's keys from now on.
    explicit HeldKeyFilter(std::function<bool(const QKeyEvent&)> isGameKey,
                           QObject* parent = nullptr);
    ~HeldKeyFilter() override;

    // A box opens (boxes may follow one another) or closes; `duringPlay`:
    // the game opened it in the middle of play, not the player.
    void BoxOpened(bool duringPlay);
    void BoxClosed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Ignored(const QKeyEvent& key, bool repeat) const;
    bool Repeated(const QKeyEvent& key) const;

    std::function<bool(const QKeyEvent&)> isGameKey;
    QSet<int> held;                  // keys down now
    QSet<int> heldBefore;            // keys that were down when the last box opened
    QHash<int, quint64> releasedAt;  // when each key last went up
    QElapsedTimer opened;            // valid while the last box opened during play
    int boxes = 0;
};
