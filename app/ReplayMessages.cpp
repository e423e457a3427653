#include "app/ReplayMessages.h"

namespace {

QString Reason(const qx::ReplayError& error) {
    using Code = qx::ReplayError::Code;
    const QString line = QString::number(error.line);
    switch (error.code) {
        case Code::None:
            break;
        case Code::CannotOpen:
            return QStringLiteral("Soubor nelze otevrit ani precist.");
        case Code::TooLarge:
            return QStringLiteral("Soubor je prilis velky na zaznam hry.");
        case Code::NotAReplay:
            return QStringLiteral("Soubor neni zaznam hry Quarnex.");
        case Code::WrongVersion:
            return QStringLiteral("Zaznam je v jine verzi, kterou tato hra neumi prehrat.");
        case Code::Truncated:
            return QStringLiteral("Zaznam je neuplny, soubor je zkraceny.");
        case Code::Malformed:
            return QStringLiteral("Zaznam je poskozeny (radek %1).").arg(line);
        case Code::OutOfRange:
            return QStringLiteral("Zaznam obsahuje cislo mimo povoleny rozsah (radek %1).")
                .arg(line);
        case Code::TooLong:
            return QStringLiteral("Zaznam je delsi, nez hra dovoluje (radek %1).").arg(line);
        case Code::Mismatch:
            return QStringLiteral("Zaznam neodpovida prubehu hry (krok %1).")
                .arg(QString::number(error.tick));
        case Code::ChecksumMismatch:
            return QStringLiteral(
                "Kontrolni soucet nesouhlasi: hra by skoncila jinak, nez byla zaznamenana.");
        case Code::Diverged:
            return QStringLiteral("Zaznam je poskozeny: hra se od nej odchyluje v kroku %1.")
                .arg(QString::number(error.tick));
    }
    return {};
}

}  // namespace

QString ReplayMessages::CannotPlay(const qx::ReplayError& error) {
    return QStringLiteral("Zaznam nelze prehrat.\n\n") + Reason(error);
}

QString ReplayMessages::CannotSave(const QString& path) {
    return QStringLiteral("Zaznam nelze ulozit do souboru\n%1").arg(path);
}
