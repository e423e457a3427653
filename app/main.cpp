#include <QCoreApplication>

#include "app/CommandLine.h"
#include "app/GameApp.h"

#if defined(__SANITIZE_ADDRESS__)
// In a build with AddressSanitizer: the system's D-Bus library keeps what it
// allocated for Qt's accessibility and theme queries until the process ends;
// LeakSanitizer would report it at every exit. Read by LeakSanitizer itself,
// together with any LSAN_OPTIONS suppressions.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

// ... and without a list of the suppressions used at every exit.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

int main(int argc, char** argv) {
    // The command line is read once, before any display is opened: --help,
    // --version and a bad option need none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Outcome outcome = CommandLine::Parse(arguments);
    if (outcome.action == CommandLine::Action::Play) {
        GameApp app(argc, argv);
        return app.Run(outcome.net);
    }
    if (outcome.action != CommandLine::Action::Error) return CommandLine::Answer(outcome, false);
    // A bad line is said in the player's language, which needs an
    // application (still no display, unless a box is to show it).
    if (CommandLine::StartedFromLauncher()) {
        GameApp app(argc, argv);
        return app.RefuseCommandLine(arguments);
    }
    QCoreApplication app(argc, argv);
    return CommandLine::Refuse(arguments, false);
}
