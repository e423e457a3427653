#pragma once

#include <QCoreApplication>
#include <QString>

#include "replay/ReplayError.h"

// The words for why a replay cannot be played or saved.
class ReplayMessages {
    Q_DECLARE_TR_FUNCTIONS(ReplayMessages)

  public:
    static QString CannotPlay(const qx::ReplayError& error);
    static QString CannotSave(const QString& path);

  private:
    static QString Reason(const qx::ReplayError& error);
};
