#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/NetSetup.h"

// The program's command line, read before any window exists: --help and
// --version answer on standard output and end the program; a network game
// is asked for with --net-host PORT [--side emperor|rebel] or --net-join
// HOST:PORT, or through a match server with --server HOST:PORT and one of
// --create [--side ...], --join CODE, --quick, --watch CODE; anything else
// is an error that opens no game. The line is read once, before Qt is
// started (so a bad option needs no display); Qt's own options (-platform
// and the like) are left to Qt. Its messages are written in Czech and
// translated like the window's texts.
class CommandLine {
  public:
    enum class Action { Play, Help, Version, Error };

    struct Outcome {
        Action action = Action::Play;
        QString message;                // what was wrong, for Error
        std::optional<NetSetup> net{};  // the network game asked for, for Play
    };

    // `arguments` as the program got them, its name first.
    static Outcome Parse(const QStringList& arguments);
    static QString Usage();
    static QString Version();

    // Runs the answers that need no window: prints the usage or the version,
    // or the error on standard error. Returns the exit status, or -1 when
    // the game is to start. A bad command line is also shown in a message
    // box when `launched` (started from a launcher, with nobody reading
    // standard error); the application must exist then.
    static int Answer(const Outcome& outcome, bool launched);
    // A bad command line, said in the player's language (the one the window
    // would speak): read again with the language's translation installed,
    // then answered as above. The application (any kind) must exist.
    static int Refuse(const QStringList& arguments, bool launched);
    // Whether the program was started with no terminal at all (none of
    // standard input, output and error is one), as from a launcher, and a
    // display is named where a box could show: only then does a bad command
    // line open a box. `quarnex --bogus 2>&1 | cat` in a terminal only
    // prints.
    static bool StartedFromLauncher();
};
