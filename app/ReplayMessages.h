#pragma once

#include <QString>

#include "replay/ReplayError.h"

// The Czech words for why a replay cannot be played.
class ReplayMessages {
  public:
    static QString CannotPlay(const qx::ReplayError& error);
    static QString CannotSave(const QString& path);
};
