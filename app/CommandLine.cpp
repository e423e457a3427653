#include "app/CommandLine.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/Language.h"
#include "app/NetSetup.h"
#include "app/Settings.h"

namespace {

bool TakesValue(const QString& name) {
    static const QStringList named = {"--net-host", "--net-join", "--side",
                                      "--server",   "--join",     "--watch"};
    return named.contains(name);
}

bool IsFlag(const QString& name) {
    return name == QLatin1String("--create") || name == QLatin1String("--quick");
}

// The options Qt takes for itself when the application starts (documented
// with QGuiApplication, QApplication and the X11 platform), with one dash or
// two; how many values each takes (0 or 1), or -1 for none of Qt's.
int QtOptionValues(const QString& argument) {
    static const QStringList withValue = {"platform",    "platformpluginpath", "platformtheme",
                                          "plugin",      "qmljsdebugger",      "qwindowgeometry",
                                          "qwindowicon", "qwindowtitle",       "session",
                                          "style",       "stylesheet",         "display",
                                          "geometry"};
    static const QStringList flags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    if (!argument.startsWith(QLatin1Char('-'))) return -1;
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    if (withValue.contains(name)) return 1;
    return flags.contains(name) ? 0 : -1;
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
        if (const int values = QtOptionValues(name); values >= 0) {
            i += values;
            continue;
        }
        return {
            Action::Error,
            name.startsWith(QLatin1Char('-'))
                ? QCoreApplication::translate("CommandLine", "neznama volba '%1'").arg(name)
                : QCoreApplication::translate("CommandLine", "necekany argument '%1'").arg(name)};
    }
    QString error;
    Outcome play;
    play.net = NetSetup::FromArguments(arguments, error);
    if (!error.isEmpty()) return {Action::Error, error};
    return play;
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
    const bool terminal = isatty(STDIN_FILENO) || isatty(STDOUT_FILENO) || isatty(STDERR_FILENO);
    const bool display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return !terminal && display;
}

int CommandLine::Refuse(const QStringList& arguments, bool launched) {
    Language language;
    language.Apply(Language::Chosen(Settings().ReadLanguage()));
    return Answer(Parse(arguments), launched);
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
    std::fprintf(stderr, "quarnex: %s\n%s\n", qPrintable(outcome.message),
                 qPrintable(QCoreApplication::translate("CommandLine",
                                                        "Vice o volbach rekne 'quarnex --help'.")));
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
