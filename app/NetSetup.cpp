#include "app/NetSetup.h"

#include <QCoreApplication>

#include "net/MatchProtocol.h"

namespace {

using Server = NetSetup::Server;

// The command line's messages (marked for the translation with
// QT_TRANSLATE_NOOP) speak the player's language, as the window does.
QString Say(const char* text) {
    return QCoreApplication::translate("NetSetup", text);
}

bool ParsePort(const QString& text, uint16_t& port) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

// The ways of playing; only one may be given.
bool IsWay(const QString& name) {
    static const QStringList ways = {"--net-host", "--net-join", "--create",
                                     "--join",     "--quick",    "--watch"};
    return ways.contains(name);
}

bool TakesNoValue(const QString& name) {
    return name == QLatin1String("--create") || name == QLatin1String("--quick");
}

bool IsNetOption(const QString& name) {
    return IsWay(name) || name == QLatin1String("--side") || name == QLatin1String("--server");
}

// What is wrong with one option's value, in the words of the window's messages.
QString WrongValue(const QString& name, const QString& value) {
    if (name == QLatin1String("--net-host")) {
        return Say(QT_TRANSLATE_NOOP(
                       "NetSetup",
                       "Chybny port pro --net-host: '%1' (port je cislo od 1 do 65535)."))
            .arg(value);
    }
    if (name == QLatin1String("--net-join")) {
        return Say(QT_TRANSLATE_NOOP("NetSetup",
                                     "Chybna adresa pro --net-join: '%1' (ocekava se POCITAC:PORT, "
                                     "port je cislo od 1 do 65535)."))
            .arg(value);
    }
    if (name == QLatin1String("--server")) {
        return Say(QT_TRANSLATE_NOOP(
                       "NetSetup",
                       "Chybna adresa serveru pro --server: '%1' (ocekava se POCITAC:PORT, "
                       "port je cislo od 1 do 65535)."))
            .arg(value);
    }
    if (name == QLatin1String("--join") || name == QLatin1String("--watch")) {
        return Say(QT_TRANSLATE_NOOP("NetSetup",
                                     "Chybny kod hry pro %1: '%2' (kod ma 8 pismen a cislic)."))
            .arg(name, value);
    }
    return Say(QT_TRANSLATE_NOOP("NetSetup",
                                 "Chybna strana pro --side: '%1' (emperor nebo rebel)."))
        .arg(value);
}

// Takes one way of playing (and its value) into the setup; false when the
// value is wrong.
bool TakeWay(const QString& name, const QString& value, NetSetup& setup) {
    if (name == QLatin1String("--net-host")) {
        setup.hosting = true;
        return ParsePort(value, setup.port);
    }
    if (name == QLatin1String("--net-join")) {
        const int colon = value.lastIndexOf(QLatin1Char(':'));
        setup.hosting = false;
        setup.host = value.left(colon);
        return colon > 0 && ParsePort(value.mid(colon + 1), setup.port);
    }
    if (name == QLatin1String("--create")) {
        setup.server = Server::Create;
    } else if (name == QLatin1String("--quick")) {
        setup.server = Server::Quick;
    } else {
        setup.server = name == QLatin1String("--join") ? Server::Join : Server::Watch;
        setup.code = value;
        return NetSetup::IsCode(value);
    }
    return true;
}

// How the options fit together, once each is right by itself.
QString WrongTogether(const NetSetup& setup, bool wanted, bool sideGiven, bool serverGiven) {
    const bool viaServer = setup.server != Server::None;
    if (serverGiven && !viaServer) {
        return Say(QT_TRANSLATE_NOOP(
            "NetSetup",
            "Volba --server plati jen spolu s --create, --join, --quick nebo --watch."));
    }
    if (viaServer && !serverGiven) {
        return Say(QT_TRANSLATE_NOOP(
            "NetSetup", "Hra pres server potrebuje adresu serveru: --server POCITAC:PORT."));
    }
    if (sideGiven && !wanted) {
        return Say(QT_TRANSLATE_NOOP(
            "NetSetup", "Volba --side plati jen spolu s --net-host, --net-join nebo --create."));
    }
    if (sideGiven && viaServer && setup.server != Server::Create) {
        return Say(QT_TRANSLATE_NOOP(
            "NetSetup",
            "Volba --side plati jen spolu s --create: strany vybira ten, kdo hru zalozil."));
    }
    return {};
}

}  // namespace

bool NetSetup::SplitServerAddress(const QString& text, QString& host, uint16_t& port) {
    const QString trimmed = text.trimmed();
    const int colon = trimmed.lastIndexOf(QLatin1Char(':'));
    host = colon < 0 ? trimmed : trimmed.left(colon);
    port = kDefaultPort;
    if (host.isEmpty() || host.contains(QLatin1Char(' '))) return false;
    return colon < 0 || ParsePort(trimmed.mid(colon + 1), port);
}

bool NetSetup::IsCode(const QString& text) {
    QString code;
    QString server;
    return SplitInvite(text, code, server);
}

bool NetSetup::SplitInvite(const QString& text, QString& code, QString& server) {
    const int at = text.indexOf(QLatin1Char('@'));
    code = (at < 0 ? text : text.left(at)).trimmed();
    server = at < 0 ? QString() : text.mid(at + 1).trimmed();
    QString host;
    uint16_t port = kDefaultPort;
    if (at >= 0 && !SplitServerAddress(server, host, port)) return false;
    return !qx::net::NormalizeCode(code.toStdString()).empty();
}

std::optional<NetSetup> NetSetup::FromArguments(const QStringList& arguments, QString& error) {
    NetSetup setup;
    bool wanted = false;
    bool sideGiven = false;
    bool serverGiven = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (!IsNetOption(name)) continue;
        if (IsWay(name) && wanted) {
            error = Say(QT_TRANSLATE_NOOP(
                "NetSetup",
                "Zadejte jen jedno z --net-host, --net-join, --create, --join, --quick a "
                "--watch."));
            return std::nullopt;
        }
        if (TakesNoValue(name)) {
            wanted = TakeWay(name, {}, setup);
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = Say(QT_TRANSLATE_NOOP("NetSetup", "Volba %1 potrebuje hodnotu.")).arg(name);
            return std::nullopt;
        }
        const QString& value = arguments[++i];
        bool ok = true;
        if (IsWay(name)) {
            ok = TakeWay(name, value, setup);
            wanted = true;
        } else if (name == QLatin1String("--server")) {
            QString host;
            uint16_t port = kDefaultPort;
            ok = SplitServerAddress(value, host, port);
            setup.serverAddress = value.trimmed();
            serverGiven = true;
        } else {
            ok = value == QLatin1String("emperor") || value == QLatin1String("rebel");
            setup.side = value == QLatin1String("rebel") ? qx::net::NetSide::Rebel
                                                         : qx::net::NetSide::Emperor;
            sideGiven = true;
        }
        if (!ok) {
            error = WrongValue(name, value);
            return std::nullopt;
        }
    }
    QString code;
    QString invited;
    // The server an invite names is the one that holds its room.
    if (SplitInvite(setup.code, code, invited) && !invited.isEmpty()) {
        setup.code = code;
        setup.serverAddress = invited;
        serverGiven = true;
    }
    error = WrongTogether(setup, wanted, sideGiven, serverGiven);
    if (!error.isEmpty() || !wanted) return std::nullopt;
    return setup;
}
