#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "net/Packet.h"

// How this machine takes part in a network game: it hosts on a UDP port
// (and chooses its side; the other machine gets the other one) or joins a
// host at an address and port.
struct NetSetup {
    static constexpr uint16_t kDefaultPort = 29030;

    bool hosting = true;
    QString host;
    uint16_t port = kDefaultPort;
    qx::net::NetSide side = qx::net::NetSide::Emperor;

    // From the command line: --net-host PORT [--side emperor|rebel] or
    // --net-join HOST:PORT. Nothing (and no error) when neither is given;
    // nothing with `error` set when they are wrong.
    static std::optional<NetSetup> FromArguments(const QStringList& arguments, QString& error);
};
