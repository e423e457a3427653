#include "app/CommandLine.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/NetSetup.h"

namespace {

bool TakesValue(const QString& name) {
    static const QStringList named = {"--net-host", "--net-join", "--side",
                                      "--server",   "--join",     "--watch"};
    return named.contains(name);
}

bool IsFlag(const QString& name) {
    return name == QLatin1String("--create") || name == QLatin1String("--quick");
}

}  // namespace

// --help and --version win over anything else on the line, as in most
// programs.
CommandLine::Outcome CommandLine::Parse(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            return {Action::Help, {}};
        }
        if (name == QLatin1String("--version")) return {Action::Version, {}};
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (TakesValue(name)) {
            ++i;  // the value is checked below, with the other network options
            continue;
        }
        if (IsFlag(name)) continue;
        return {Action::Error, name.startsWith(QLatin1Char('-'))
                                   ? QStringLiteral("unknown option '%1'").arg(name)
                                   : QStringLiteral("unexpected argument '%1'").arg(name)};
    }
    QString error;
    NetSetup::FromArguments(arguments, error);
    if (!error.isEmpty()) return {Action::Error, error};
    return {};
}

QString CommandLine::Usage() {
    return QStringLiteral(
        "Usage: quarnex [OPTION]...\n"
        "An arcade duel of the Emperor's white ship against the Rebel's red ship.\n"
        "\n"
        "  --net-host PORT          host a network game on UDP port PORT\n"
        "  --side emperor|rebel     the side this machine plays when hosting or\n"
        "                           creating (emperor)\n"
        "  --net-join HOST:PORT     join the network game hosted at HOST:PORT\n"
        "  --server HOST[:PORT]     play through the match server at HOST (port 29030)\n"
        "                           with one of:\n"
        "    --create               create a game there and show its invite code\n"
        "                           (--side chooses this player's side)\n"
        "    --join CODE            join the game with this invite code\n"
        "    --quick                play the next player who asks for anyone\n"
        "    --watch CODE           watch the game with this invite code\n"
        "                           (CODE@HOST:PORT names its server: no --server)\n"
        "  -h, --help               show this help and exit\n"
        "      --version            show the version and exit\n"
        "\n"
        "Without options the game starts with the New game dialog. Replays are saved\n"
        "and played from the game's menu; see quarnex(6).\n");
}

QString CommandLine::Version() {
    return QStringLiteral("quarnex 2.00\n");
}

bool CommandLine::StartedFromLauncher() {
    return !isatty(STDIN_FILENO) || !isatty(STDERR_FILENO);
}

int CommandLine::Answer(const Outcome& outcome, bool launched) {
    switch (outcome.action) {
        case Action::Play:
            return -1;
        case Action::Help:
            std::fputs(qPrintable(Usage()), stdout);
            return 0;
        case Action::Version:
            std::fputs(qPrintable(Version()), stdout);
            return 0;
        case Action::Error:
            break;
    }
    std::fprintf(stderr, "quarnex: %s\nTry 'quarnex --help' for more information.\n",
                 qPrintable(outcome.message));
    if (launched && qApp) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Quarnex 2.00"),
                        QCoreApplication::translate("CommandLine",
                                                    "Hru nelze spustit, prikazovy radek je "
                                                    "chybny:\n%1")
                            .arg(outcome.message),
                        QMessageBox::Ok);
        box.exec();
    }
    return 2;
}
