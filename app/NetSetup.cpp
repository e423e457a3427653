#include "app/NetSetup.h"

namespace {

bool ParsePort(const QString& text, uint16_t& port) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

// What is wrong with one option, in the words of the window's messages.
QString Wrong(const QString& name, const QString& value, bool twice) {
    if (twice) return QStringLiteral("Zadejte jen jedno z --net-host a --net-join.");
    if (name == QLatin1String("--net-host")) {
        return QStringLiteral("Chybny port pro --net-host: '%1' (port je cislo od 1 do 65535).")
            .arg(value);
    }
    if (name == QLatin1String("--net-join")) {
        return QStringLiteral(
                   "Chybna adresa pro --net-join: '%1' (ocekava se POCITAC:PORT, "
                   "port je cislo od 1 do 65535).")
            .arg(value);
    }
    return QStringLiteral("Chybna strana pro --side: '%1' (emperor nebo rebel).").arg(value);
}

}  // namespace

std::optional<NetSetup> NetSetup::FromArguments(const QStringList& arguments, QString& error) {
    NetSetup setup;
    bool wanted = false;
    bool sideGiven = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name != QLatin1String("--net-host") && name != QLatin1String("--net-join") &&
            name != QLatin1String("--side")) {
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("Volba %1 potrebuje hodnotu.").arg(name);
            return std::nullopt;
        }
        const QString& value = arguments[++i];
        bool ok = true;
        const bool twice = wanted && name != QLatin1String("--side");
        if (name == QLatin1String("--net-host")) {
            setup.hosting = true;
            ok = !wanted && ParsePort(value, setup.port);
            wanted = true;
        } else if (name == QLatin1String("--net-join")) {
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            setup.hosting = false;
            setup.host = value.left(colon);
            ok = !wanted && colon > 0 && ParsePort(value.mid(colon + 1), setup.port);
            wanted = true;
        } else {
            ok = value == QLatin1String("emperor") || value == QLatin1String("rebel");
            setup.side = value == QLatin1String("rebel") ? qx::net::NetSide::Rebel
                                                         : qx::net::NetSide::Emperor;
            sideGiven = true;
        }
        if (!ok) {
            error = Wrong(name, value, twice);
            return std::nullopt;
        }
    }
    if (sideGiven && !wanted) {
        error = QStringLiteral("Volba --side plati jen spolu s --net-host nebo --net-join.");
        return std::nullopt;
    }
    if (!wanted) return std::nullopt;
    return setup;
}
