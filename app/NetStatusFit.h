#pragma once

#include <QString>

class QLabel;
class QMenuBar;

// Fits the network figures ("ping 12 ms, zpozdeni 1, navraty 3/s,
// ztraceno 0", perhaps followed by " - cekam na soupere") into the room
// the menus leave at the right of the menu bar: the last figures give way
// first (packets lost, then rollbacks, then the delay); what the game waits
// for and the ping stay, cut short only when nothing else fits.
class NetStatusFit {
  public:
    // Shows `full` in `label`, the menu bar's corner widget, as it fits.
    static void Show(QLabel& label, QMenuBar& bar, const QString& full);
    // The width the menu titles take.
    static int MenusWidth(const QMenuBar& bar);
};
