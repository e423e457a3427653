#include "app/ReplayMessages.h"

QString ReplayMessages::Reason(const qx::ReplayError& error) {
    using Code = qx::ReplayError::Code;
    const QString line = QString::number(error.line);
    switch (error.code) {
        case Code::None:
            break;
        case Code::CannotOpen:
            return tr("Soubor nelze otevrit ani precist.");
        case Code::TooLarge:
            return tr("Soubor je prilis velky na zaznam hry.");
        case Code::NotAReplay:
            return tr("Soubor neni zaznam hry Quarnex.");
        case Code::WrongVersion:
            return tr("Zaznam je v jine verzi, kterou tato hra neumi prehrat.");
        case Code::Truncated:
            return tr("Zaznam je neuplny, soubor je zkraceny.");
        case Code::Malformed:
            return tr("Zaznam je poskozeny (radek %1).").arg(line);
        case Code::OutOfRange:
            return tr("Zaznam obsahuje cislo mimo povoleny rozsah (radek %1).").arg(line);
        case Code::TooLong:
            return tr("Zaznam je delsi, nez hra dovoluje (radek %1).").arg(line);
        case Code::Mismatch:
            return tr("Zaznam neodpovida prubehu hry (krok %1).").arg(QString::number(error.tick));
        case Code::ChecksumMismatch:
            return tr("Kontrolni soucet nesouhlasi: hra by skoncila jinak, nez byla zaznamenana.");
        case Code::Diverged:
            return tr("Zaznam je poskozeny: hra se od nej odchyluje v kroku %1.")
                .arg(QString::number(error.tick));
    }
    return {};
}

QString ReplayMessages::CannotPlay(const qx::ReplayError& error) {
    return tr("Zaznam nelze prehrat.\n\n") + Reason(error);
}

QString ReplayMessages::CannotSave(const QString& path) {
    return tr("Zaznam nelze ulozit do souboru\n%1").arg(path);
}
