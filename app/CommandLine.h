#pragma once

#include <QString>
#include <QStringList>

// The program's command line, read before any window exists: --help and
// --version answer on standard output and end the program; a network game
// is asked for with --net-host PORT [--side emperor|rebel] or --net-join
// HOST:PORT, or through a match server with --server HOST:PORT and one of
// --create [--side ...], --join CODE, --quick, --watch CODE; anything else
// is an error that opens no game.
class CommandLine {
  public:
    enum class Action { Play, Help, Version, Error };

    struct Outcome {
        Action action = Action::Play;
        QString message;  // what was wrong, for Error
    };

    // `arguments` as the program got them, its name first (Qt's own options
    // such as -platform already taken out).
    static Outcome Parse(const QStringList& arguments);
    static QString Usage();
    static QString Version();

    // Runs the answers that need no window: prints the usage or the version,
    // or the error on standard error. Returns the exit status, or -1 when
    // the game is to start. A bad command line is also shown in a message
    // box when `launched` (started from a launcher, with nobody reading
    // standard error) and a display can be opened.
    static int Answer(const Outcome& outcome, bool launched);
    // Whether the program was started without a terminal to read its errors.
    static bool StartedFromLauncher();
};
