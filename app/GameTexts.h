#pragma once

#include <QString>
#include <string>

// The texts the game itself hands to the window (the end-of-game box's
// caption and message), in the language the window speaks: they are looked
// up by their Czech text, line by line, so Czech shows them exactly as given.
class GameTexts {
  public:
    static QString Translate(const std::string& text);
};
