#include "app/NetSetup.h"

namespace {

bool ParsePort(const QString& text, uint16_t& port) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
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
            error = name + QStringLiteral(" needs a value");
            return std::nullopt;
        }
        const QString& value = arguments[++i];
        bool ok = true;
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
            error = QStringLiteral("bad value for %1: '%2'").arg(name, value);
            return std::nullopt;
        }
    }
    if (sideGiven && !wanted) {
        error = QStringLiteral("--side needs --net-host or --net-join");
        return std::nullopt;
    }
    if (!wanted) return std::nullopt;
    return setup;
}
