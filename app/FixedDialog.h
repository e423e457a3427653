#pragma once

class QDialog;

// The game's small dialogs keep the size of their layout: a window manager
// shows them with a title and a close button only, and cannot resize,
// minimise or maximise them.
class FixedDialog {
  public:
    // Call once the dialog has its final size.
    static void Apply(QDialog& dialog);
};
