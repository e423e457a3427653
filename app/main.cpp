#include "app/CommandLine.h"
#include "app/GameApp.h"

int main(int argc, char** argv) {
    // --help and --version need no display.
    QStringList raw;
    for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Outcome early = CommandLine::Parse(raw);
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return CommandLine::Answer(early, false);

    GameApp app(argc, argv);
    // Qt has taken its own options (-platform and the like) out by now.
    const CommandLine::Outcome outcome = CommandLine::Parse(QCoreApplication::arguments());
    if (outcome.action != CommandLine::Action::Play)
        return app.RefuseCommandLine(outcome, CommandLine::StartedFromLauncher());
    return app.Run();
}
