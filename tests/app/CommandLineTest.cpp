// The command line: answers that need no window, and bad options that open
// no game.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>

#include "ModalDriver.h"
#include "app/CommandLine.h"

using Action = CommandLine::Action;

namespace {

CommandLine::Outcome Parse(QStringList arguments) {
    arguments.prepend("quarnex");
    return CommandLine::Parse(arguments);
}

}  // namespace

TEST(CommandLine, HelpAndVersionWinAndNetworkOptionsAreCheckedBeforeAnyWindow) {
    EXPECT_EQ(Parse({}).action, Action::Play);
    EXPECT_EQ(Parse({"--net-host", "29030", "--side", "rebel"}).action, Action::Play);
    EXPECT_EQ(Parse({"--net-join", "example.org:29030"}).action, Action::Play);
    EXPECT_EQ(Parse({"--server", "example.org", "--create", "--side", "rebel"}).action,
              Action::Play);
    EXPECT_EQ(Parse({"--quick", "--server", "example.org:4000"}).action, Action::Play);
    EXPECT_EQ(Parse({"--server", "example.org", "--watch", "7k2m-9qxz"}).action, Action::Play);
    EXPECT_EQ(Parse({"--join", "7K2M9QXZ@example.org:4000"}).action, Action::Play);
    EXPECT_EQ(Parse({"--help"}).action, Action::Help);
    EXPECT_EQ(Parse({"-h"}).action, Action::Help);
    EXPECT_EQ(Parse({"--bogus", "--version"}).action, Action::Version);
    const std::pair<QStringList, const char*> bad[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"stray"}, "unexpected argument 'stray'"},
        // The network options are checked by the network set-up, in Czech.
        {{"--net-host"}, "--net-host potrebuje hodnotu"},
        {{"--net-host", "0"}, "Chybny port pro --net-host: '0'"},
        {{"--net-join", "nohostport"}, "Chybna adresa pro --net-join"},
        {{"--side", "rebel"}, "--side plati jen spolu s --net-host, --net-join nebo --create"},
        // Through a match server: one way, a server, a code that is a code.
        {{"--create"}, "potrebuje adresu serveru: --server"},
        {{"--server", "example.org"}, "--server plati jen spolu s --create"},
        {{"--server", "example.org:0", "--quick"}, "Chybna adresa serveru pro --server"},
        {{"--server", "example.org", "--join", "UUUUUUUU"}, "Chybny kod hry pro --join"},
        {{"--server", "a", "--watch"}, "--watch potrebuje hodnotu"},
        {{"--server", "a", "--quick", "--join", "7K2M9QXZ"}, "Zadejte jen jedno z"},
        {{"--server", "a", "--quick", "--side", "rebel"}, "--side plati jen spolu s --create"},
        {{"--watch", "7K2M9QXZ@example.org:0"}, "Chybny kod hry pro --watch"},
    };
    for (const auto& [arguments, words] : bad) {
        const CommandLine::Outcome outcome = Parse(arguments);
        EXPECT_EQ(outcome.action, Action::Error) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.message.contains(words)) << outcome.message.toStdString();
    }
    EXPECT_TRUE(CommandLine::Usage().contains("--net-join HOST:PORT"));
    EXPECT_TRUE(CommandLine::Usage().contains("--watch CODE"));
}

TEST(CommandLine, ALauncherSeesABadCommandLineInAMessageBox) {
    QString text;
    ModalDriver driver({[&](QWidget* window) {
        text = qobject_cast<QMessageBox*>(window)->text();
        ModalDriver::Press(window);
    }});
    EXPECT_EQ(CommandLine::Answer({Action::Error, "unknown option '--bogus'"}, true), 2);
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(text.contains("--bogus")) << text.toStdString();
    EXPECT_EQ(CommandLine::Answer({Action::Play, {}}, true), -1);
}

// The real program: --help, --version and a bad option need no display (a
// bad option ends it with status 2 and the reason on standard error); in a
// terminal a bad option is only printed, even with standard error piped.
TEST(CommandLine, TheProgramAnswersAndExits) {
    const QString program = QStringLiteral(QUARNEX_BINARY_DIR "/app/quarnex");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    for (const auto& [option, words] :
         {std::pair{"--help", "Usage: quarnex"}, std::pair{"--version", "quarnex 2.00"}}) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {option});
        ASSERT_TRUE(process.waitForFinished(20000)) << option;
        EXPECT_EQ(process.exitCode(), 0) << option;
        EXPECT_TRUE(process.readAllStandardOutput().contains(words)) << option;
    }
    for (const auto& [arguments, words] :
         {std::pair{QStringList{"--bogus"}, "unknown option '--bogus'"},
          std::pair{QStringList{"--side"}, "--side potrebuje hodnotu"},
          std::pair{QStringList{"-platform", "offscreen", "--side", "rebel"}, "--side plati"}}) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(20000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains(words))
            << arguments.join(' ').toStdString();
    }
    // A display that does not exist: a box would abort in Qt's platform
    // plugin. `script` gives the command a terminal.
    QProcess piped;
    env.insert("DISPLAY", ":9999");
    env.insert("SHELL", "/bin/bash");
    piped.setProcessEnvironment(env);
    piped.start(
        "script",
        {"-qec", QStringLiteral("'%1' --bogus 2>&1 | cat; exit ${PIPESTATUS[0]}").arg(program),
         "/dev/null"});
    ASSERT_TRUE(piped.waitForFinished(20000));
    EXPECT_EQ(piped.exitCode(), 2);
    EXPECT_TRUE(piped.readAllStandardOutput().contains("unknown option '--bogus'"));
}
