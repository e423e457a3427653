// The command line: answers that need no window, and bad options that open
// no game.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>

#include "ConfigSandbox.h"
#include "ModalDriver.h"
#include "app/CommandLine.h"
#include "tests/support/FreePort.h"

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
        // Written in Czech, as the window's texts (translated when said).
        {{"--bogus"}, "neznama volba '--bogus'"},
        {{"stray"}, "necekany argument 'stray'"},
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

// The box speaks one language, the reason included.
TEST(CommandLine, ALauncherSeesABadCommandLineInAMessageBox) {
    ConfigSandbox sandbox;
    for (const auto& [chosen, words] :
         {std::pair{"cs", "Hru nelze spustit, prikazovy radek je chybny:\nneznama volba '--bogus'"},
          std::pair{"en",
                    "The game cannot start, the command line is wrong:\nunknown option "
                    "'--bogus'"}}) {
        sandbox.Put("Vzhled/jazyk", chosen);
        QString text;
        ModalDriver driver({[&](QWidget* window) {
            text = qobject_cast<QMessageBox*>(window)->text();
            ModalDriver::Press(window);
        }});
        EXPECT_EQ(CommandLine::Refuse({"quarnex", "--bogus"}, true), 2);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(text, words);
    }
    EXPECT_EQ(CommandLine::Answer({Action::Play, {}}, true), -1);
}

// The real program: --help, --version and a bad option need no display (a
// bad option ends it with status 2 and the reason on standard error, in the
// system's language like the window's texts); in a terminal a bad option is
// only printed, even with standard error piped.
TEST(CommandLine, TheProgramAnswersAndExits) {
    ConfigSandbox sandbox;  // no language chosen in the menu
    const QString program = QStringLiteral(QUARNEX_BINARY_DIR "/app/quarnex");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        env.remove(name);
    }
    env.insert("LANG", "en_US.UTF-8");
    for (const auto& [option, words] :
         {std::pair{"--help", "Usage: quarnex"}, std::pair{"--version", "quarnex 2.00"}}) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {option});
        ASSERT_TRUE(process.waitForFinished(20000)) << option;
        EXPECT_EQ(process.exitCode(), 0) << option;
        EXPECT_TRUE(process.readAllStandardOutput().contains(words)) << option;
    }
    const struct {
        const char* lang;
        QStringList arguments;
        const char* words;
    } bad[] = {
        {"en_US.UTF-8", {"--bogus"}, "unknown option '--bogus'\nTry 'quarnex --help'"},
        {"en_US.UTF-8", {"--net-join"}, "Option --net-join needs a value."},
        {"en_US.UTF-8", {"--net-host", "0"}, "Wrong port for --net-host: '0'"},
        {"en_US.UTF-8", {"--server", "a", "--join", "UUUUUUUU"}, "Wrong game code for --join"},
        {"en_US.UTF-8", {"-platform", "offscreen", "--side", "rebel"}, "Option --side only goes"},
        {"cs_CZ.UTF-8", {"--bogus"}, "neznama volba '--bogus'"},
        {"cs_CZ.UTF-8", {"--side"}, "Volba --side potrebuje hodnotu."},
    };
    for (const auto& [lang, arguments, words] : bad) {
        QProcess process;
        env.insert("LANG", lang);
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(20000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), 2) << arguments.join(' ').toStdString();
        const QByteArray said = process.readAllStandardError();
        EXPECT_TRUE(said.contains(words)) << lang << ": " << said.toStdString();
    }
    env.insert("LANG", "en_US.UTF-8");
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

// A game through a server that cannot be reached is said on standard error
// too, in the system's language, while its box waits in the window.
TEST(CommandLine, AServerThatCannotBeReachedIsSaidOnStandardError) {
    ConfigSandbox sandbox;
    const QString address = QString("127.0.0.1:%1").arg(qx::test::FreePort());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) env.remove(name);
    env.insert("LANG", "en_US.UTF-8");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUARNEX_BINARY_DIR "/app/quarnex"),
                  {"-platform", "offscreen", "--server", address, "--create"});
    const QByteArray expected =
        QString("quarnex: The server %1 could not be reached.").arg(address).toUtf8();
    QByteArray said;
    ModalDriver::WaitUntil(
        [&] {
            said += process.readAllStandardError();
            return said.contains(expected);
        },
        15000);
    process.kill();
    process.waitForFinished();
    EXPECT_TRUE(said.contains(expected)) << said.toStdString();
}
