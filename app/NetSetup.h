#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "net/Packet.h"

// How this machine takes part in a network game: it hosts on a UDP port
// (and chooses its side; the other machine gets the other one) or joins a
// host at an address and port; or it goes through a match server, where it
// creates a room (and chooses its side), joins one by its invite code, asks
// for anyone (quick match) or watches a room by its code.
struct NetSetup {
    static constexpr uint16_t kDefaultPort = 29030;
    // What the match server is asked for; None plays by address.
    enum class Server { None, Create, Join, Quick, Watch };

    bool hosting = true;
    QString host;
    uint16_t port = kDefaultPort;
    qx::net::NetSide side = qx::net::NetSide::Emperor;
    Server server = Server::None;
    QString serverAddress{};  // HOST:PORT, or HOST for the default port
    QString code{};           // Join, Watch: the invite code as typed
    QString name{};           // the player's name shown to the others ("" none)
    bool nameGiven = false;   // chosen in the dialog (else the stored one counts)

    // From the command line: --net-host PORT [--side emperor|rebel],
    // --net-join HOST:PORT, or --server HOST:PORT with --create [--side
    // emperor|rebel], --join CODE, --quick or --watch CODE (a CODE@HOST:PORT
    // names its server and needs no --server). Nothing (and no
    // error) when none is given; nothing with `error` set when they are
    // wrong.
    static std::optional<NetSetup> FromArguments(const QStringList& arguments, QString& error);
    // A match server's HOST[:PORT] (the port 29030 when left out); false
    // when the text is none.
    static bool SplitServerAddress(const QString& text, QString& host, uint16_t& port);
    // Whether the text is an invite code (8 letters and digits, read
    // leniently), or CODE@HOST:PORT as shared in a link.
    static bool IsCode(const QString& text);
    // An invite as shared: CODE, or CODE@HOST[:PORT] naming its server
    // (`server` empty when it names none); false when it is neither.
    static bool SplitInvite(const QString& text, QString& code, QString& server);
};
