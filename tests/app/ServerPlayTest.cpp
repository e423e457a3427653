#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>

#include "ConfigSandbox.h"
#include "MatchServerProcess.h"
#include "ModalDriver.h"
#include "app/MainWindow.h"
#include "app/NetGameDialog.h"
#include "app/ServerPlay.h"
#include "app/ServerWaitDialog.h"
#include "app/ServerWatch.h"
#include "app/Settings.h"
#include "net/NetPeer.h"
#include "tests/support/FreePort.h"

namespace {

using qx::net::NetSide;
using Server = NetSetup::Server;

NetSetup Through(const QString& address, Server server, const QString& code = {},
                 NetSide side = NetSide::Emperor) {
    NetSetup setup;
    setup.server = server;
    setup.serverAddress = address;
    setup.code = code;
    setup.side = side;
    return setup;
}

std::unique_ptr<MainWindow> OpenFrame() {
    auto frame = std::make_unique<MainWindow>();
    ModalDriver driver({[](QWidget* w) { ModalDriver::Press(w); }});
    frame->show();
    EXPECT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    return frame;
}

// The message box the window shows, if any.
QMessageBox* ShownBox(MainWindow& frame) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->isVisible() && box->parentWidget() == &frame) return box;
    }
    return nullptr;
}

// Waits for the window's message box and returns its text (closing it).
QString AwaitMessage(MainWindow& frame, int ms) {
    QMessageBox* box = nullptr;
    if (!ModalDriver::WaitUntil([&] { return (box = ShownBox(frame)) != nullptr; }, ms)) return {};
    const QString text = box->text();
    box->close();
    return text;
}

bool Playing(MainWindow& f) {
    qx::net::NetGame* peer = f.NetPlay().Peer();
    return peer && peer->Session() && &f.View().ShownGame() == &peer->Session()->GetGame();
}

uint32_t Confirmed(MainWindow& f) {
    return Playing(f) ? f.NetPlay().Peer()->Session()->ConfirmedTick() : 0;
}

// Two windows ask for anyone: the first waits (and hosts), the second
// joins it.
void QuickMatch(MatchServerProcess& server, MainWindow& first, MainWindow& second) {
    ASSERT_TRUE(first.ServerNet().Start(Through(server.Address(), Server::Quick)));
    ASSERT_TRUE(ModalDriver::WaitUntil(
        [&] { return first.windowTitle().endsWith("hledam soupere"); }, 5000));
    EXPECT_TRUE(first.ServerNet().WaitDialog());
    ASSERT_TRUE(second.ServerNet().Start(Through(server.Address(), Server::Quick)));
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return Playing(first) && Playing(second); }, 8000));
}

// Two windows meet through a server started here: the creator sees its
// room's code (and can copy it), the other joins with it, both play the
// same ticks; a spectator with the same code plays the very same states a
// second behind; when a player leaves, the other and the spectator say so.
TEST(ServerPlay, CreateJoinPlayAndWatchThroughTheServer) {
    ConfigSandbox sandbox;
    MatchServerProcess server;
    ASSERT_TRUE(server.Running());
    auto host = OpenFrame();
    auto join = OpenFrame();
    auto viewer = OpenFrame();

    NetSetup created = Through(server.Address(), Server::Create, {}, NetSide::Rebel);
    created.name = "Eva";
    created.nameGiven = true;
    ASSERT_TRUE(host->ServerNet().Start(created));
    ServerWaitDialog* note = host->ServerNet().WaitDialog();
    ASSERT_TRUE(note);
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return !note->Code().isEmpty(); }));
    const QString code = note->Code();
    EXPECT_EQ(code, host->ServerNet().InviteCode());
    EXPECT_EQ(code.size(), 8);
    EXPECT_TRUE(ModalDriver::WaitUntil(
        [&] { return host->windowTitle().contains("cekam na soupere (kod " + code + ")"); }));
    // The copy button puts the code on the clipboard.
    QApplication::clipboard()->clear();
    note->findChild<QPushButton*>("copyCode")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), code);
    // The server's address and the name are kept for the next time.
    EXPECT_EQ(Settings().ReadServer(), server.Address());
    EXPECT_EQ(Settings().ReadName(), "Eva");

    NetSetup joined =
        Through(server.Address(), Server::Join, code.left(4).toLower() + " " + code.mid(4));
    joined.name = QString::fromUtf8("Jan Černý");
    joined.nameGiven = true;
    ASSERT_TRUE(join->ServerNet().Start(joined));
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return Playing(*host) && Playing(*join); }, 8000));
    // The note goes once the game runs; each plays the side the room gave it.
    EXPECT_TRUE(ModalDriver::WaitUntil([&] { return !host->ServerNet().WaitDialog(); }));
    // Both names, as the server passed them on, in both titles.
    const QString names = QString::fromUtf8("Jan Černý (imperator) proti Eva (povstalec)");
    EXPECT_TRUE(ModalDriver::WaitUntil([&] {
        return host->windowTitle().endsWith("sitova hra za povstalce - " + names) &&
               join->windowTitle().endsWith("sitova hra za imperatora - " + names);
    }));

    // A third player finds the room full.
    ASSERT_TRUE(viewer->ServerNet().Start(Through(server.Address(), Server::Join, code)));
    EXPECT_EQ(AwaitMessage(*viewer, 5000),
              QString("Ve hre s kodem %1 uz hraji dva hraci.").arg(code));
    EXPECT_TRUE(host->NetPlay().Active());

    // The spectator follows a link's CODE@HOST:PORT, whatever server it had.
    ASSERT_TRUE(viewer->ServerNet().Start(
        Through("elsewhere.invalid", Server::Watch, code + "@" + server.Address())));
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return viewer->ServerNet().Watch() != nullptr; }));
    EXPECT_TRUE(viewer->windowTitle().contains("divam se na hru " + code));
    EXPECT_TRUE(ModalDriver::WaitUntil(
        [&] { return viewer->windowTitle().endsWith("divam se na hru " + code + " - " + names); }));

    // Both players' confirmed ticks and what the spectator shows, noted as
    // they go by.
    std::map<uint32_t, uint64_t> hostSums, joinSums, viewerSums;
    auto note_sums = [](MainWindow& f, std::map<uint32_t, uint64_t>& sums) {
        if (!Playing(f)) return;
        const qx::net::RollbackSession& s = *f.NetPlay().Peer()->Session();
        const uint32_t from = sums.empty() ? 1 : sums.rbegin()->first + 1;
        const uint32_t first =
            s.ConfirmedTick() >= 31 ? std::max(from, s.ConfirmedTick() - 31) : from;
        for (uint32_t t = first; t <= s.ConfirmedTick(); ++t) sums[t] = s.FrameOf(t).checksum;
    };
    QTimer noting;
    QObject::connect(&noting, &QTimer::timeout, [&] {
        note_sums(*host, hostSums);
        note_sums(*join, joinSums);
        if (ServerWatch* watch = viewer->ServerNet().Watch(); watch && watch->Begun()) {
            viewerSums[watch->PlayedTick()] = qx::Checksum(watch->Watched().State());
        }
    });
    noting.start(5);
    host->View().resize(600, 400);
    QTest::keyClick(&host->View(), Qt::Key_Up);
    ASSERT_TRUE(ModalDriver::WaitUntil(
        [&] { return viewerSums.size() > 20 && viewerSums.rbegin()->first > 120; }, 20000));
    int compared = 0;
    for (const auto& [tick, sum] : viewerSums) {
        if (tick == 0) continue;
        if (hostSums.count(tick)) {
            EXPECT_EQ(sum, hostSums[tick]) << "tick " << tick;
            ++compared;
        }
        if (joinSums.count(tick)) {
            EXPECT_EQ(sum, joinSums[tick]) << "tick " << tick;
        }
    }
    EXPECT_GT(compared, 10);
    for (const auto& [tick, sum] : hostSums) {
        if (joinSums.count(tick)) {
            ASSERT_EQ(sum, joinSums[tick]) << "tick " << tick;
        }
    }
    EXPECT_TRUE(&viewer->View().ShownGame() == &viewer->ServerNet().Watch()->Watched());

    // A window closed while it watches goes quietly.
    {
        auto closing = OpenFrame();
        ASSERT_TRUE(closing->ServerNet().Start(Through(server.Address(), Server::Watch, code)));
        ASSERT_TRUE(ModalDriver::WaitUntil([&] {
            ServerWatch* watch = closing->ServerNet().Watch();
            return watch && watch->PlayedTick() > 0;
        }));
        closing->close();
    }

    // The host leaves: the joiner is told, the spectator sees the rest and
    // is told the game is over; all go back to their own games.
    host->OnGameNetworkStop();
    EXPECT_EQ(AwaitMessage(*join, 5000), "Souper ukoncil sitovou hru.\n" + names);
    EXPECT_EQ(AwaitMessage(*viewer, 10000),
              "Hra skoncila, prenos ze serveru je u konce.\n" + names);
    EXPECT_FALSE(viewer->ServerNet().Busy());
    EXPECT_EQ(&viewer->View().ShownGame(), &viewer->GetGame());
    EXPECT_FALSE(viewer->windowTitle().contains("divam"));
    EXPECT_EQ(&join->View().ShownGame(), &join->GetGame());
}

// What the server refuses, and a server that is not there, are said in
// plain words, and nothing goes on.
TEST(ServerPlay, RefusalsAndAMissingServerAreSaidPlainly) {
    ConfigSandbox sandbox;
    MatchServerProcess server;
    ASSERT_TRUE(server.Running());
    auto frame = OpenFrame();
    ServerPlay& play = frame->ServerNet();

    ASSERT_TRUE(play.Start(Through(server.Address(), Server::Join, "7K2M9QXZ")));
    EXPECT_TRUE(frame->windowTitle().contains("pripojuji se k serveru"));
    EXPECT_EQ(AwaitMessage(*frame, 5000), "Hra s kodem 7K2M9QXZ neexistuje. Zkontrolujte kod.");
    EXPECT_FALSE(play.Busy());
    EXPECT_FALSE(frame->NetPlay().Active());
    EXPECT_FALSE(play.WaitDialog());
    EXPECT_EQ(AwaitMessage(*frame, 100), "");

    ASSERT_TRUE(play.Start(Through(server.Address(), Server::Watch, "00000000")));
    EXPECT_TRUE(AwaitMessage(*frame, 5000).contains("neexistuje"));

    // Not a code, not an address: said at once, nothing started.
    EXPECT_FALSE(play.Start(Through(server.Address(), Server::Join, "ABC")));
    EXPECT_TRUE(AwaitMessage(*frame, 1000).contains("neni kod hry"));
    EXPECT_FALSE(play.Start(Through("127.0.0.1:99999", Server::Quick)));
    EXPECT_TRUE(AwaitMessage(*frame, 1000).contains("neni platna"));

    // Nobody answers on this port: said within 5 s.
    MatchServerProcess gone;
    ASSERT_TRUE(gone.Running());
    const QString address = gone.Address();
    gone.Kill();
    ASSERT_TRUE(play.Start(Through(address, Server::Quick)));
    EXPECT_EQ(AwaitMessage(*frame, 5000),
              QString("Server %1 se nepodarilo zastihnout.").arg(address));
    EXPECT_FALSE(play.Busy());

    // Guessing codes is throttled (a few tries, then one every few seconds).
    QString said;
    for (int i = 0; i < 12 && !said.contains("pozdeji"); ++i) {
        ASSERT_TRUE(play.Start(
            Through(server.Address(), Server::Join, "7K2M9QX" + QString::number(i % 10))));
        said = AwaitMessage(*frame, 5000);
    }
    EXPECT_EQ(said, "Z tohoto pocitace prislo prilis mnoho pokusu. Zkuste to prosim pozdeji.");

    // A server with as many rooms as it may hold.
    MatchServerProcess small({"--max-rooms", "1"});
    ASSERT_TRUE(small.Running());
    auto other = OpenFrame();
    ASSERT_TRUE(other->ServerNet().Start(Through(small.Address(), Server::Create)));
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return !other->ServerNet().InviteCode().isEmpty(); }));
    ASSERT_TRUE(play.Start(Through(small.Address(), Server::Create)));
    EXPECT_EQ(AwaitMessage(*frame, 5000), "Server je plny. Zkuste to prosim pozdeji.");
    other->OnGameNetworkStop();

    // "Zrusit" in the note gives up asking.
    ASSERT_TRUE(play.Start(Through(address, Server::Quick)));
    ASSERT_TRUE(play.WaitDialog());
    play.WaitDialog()->findChild<QPushButton*>("cancelButton")->click();
    EXPECT_FALSE(play.Busy());
    EXPECT_EQ(AwaitMessage(*frame, 5500), "");

    // A name the server will not pass on (a control character) is refused
    // with its reason.
    NetSetup badName = Through(server.Address(), Server::Quick);
    badName.name = QStringLiteral("Eva\x01");
    badName.nameGiven = true;
    ASSERT_TRUE(play.Start(badName));
    EXPECT_EQ(AwaitMessage(*frame, 5000), "Server jmeno odmitl: 1 az 20 znaku, bez neviditelnych.");
}

// Two players of a quick match: a server that dies during their game (no
// goodbyes) is noticed by both by the liveness rule (5 s of silence, so
// within 7 s), and said to be the server, not the other player.
TEST(ServerPlay, AServerGoneMidGameIsSaidWithinSevenSeconds) {
    ConfigSandbox sandbox;
    MatchServerProcess server;
    ASSERT_TRUE(server.Running());
    auto host = OpenFrame();
    auto join = OpenFrame();
    QuickMatch(server, *host, *join);
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return Confirmed(*host) > 30; }, 5000));
    const uint32_t hostTick = Confirmed(*host);
    EXPECT_GT(Confirmed(*join) + 10, hostTick);

    server.Kill();
    QString hostSaid;
    QString joinSaid;
    ModalDriver::WaitUntil(
        [&] {
            if (QMessageBox* box = ShownBox(*host)) hostSaid = box->text();
            if (QMessageBox* box = ShownBox(*join)) joinSaid = box->text();
            return !hostSaid.isEmpty() && !joinSaid.isEmpty();
        },
        7000);
    EXPECT_EQ(hostSaid, "Spojeni se serverem se preruslo. Sitova hra skoncila.");
    EXPECT_EQ(joinSaid, "Spojeni se serverem se preruslo. Sitova hra skoncila.");
    EXPECT_FALSE(host->NetPlay().Active());
    EXPECT_EQ(&host->View().ShownGame(), &host->GetGame());
}

// A draining server's notice reaches both players' titles at once, and the
// game goes on.
TEST(ServerPlay, ADrainingServerIsSaidInTheTitleWhileTheGameGoesOn) {
    ConfigSandbox sandbox;
    MatchServerProcess server({"--drain", "30"});
    ASSERT_TRUE(server.Running());
    auto host = OpenFrame();
    auto join = OpenFrame();
    QuickMatch(server, *host, *join);
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return Confirmed(*host) > 30; }, 5000));
    server.Terminate();
    const QString notice = "server se vypina, hra muze bezet jeste nejvyse 30 s";
    EXPECT_TRUE(ModalDriver::WaitUntil(
        [&] {
            return host->windowTitle().endsWith(notice) && join->windowTitle().endsWith(notice);
        },
        3000))
        << host->windowTitle().toStdString();
    const uint32_t noticed = Confirmed(*host);
    EXPECT_TRUE(ModalDriver::WaitUntil([&] { return Confirmed(*host) > noticed + 30; }, 3000));
    EXPECT_TRUE(host->NetPlay().Active());
}

// The window's own game (the computer against a person) stands still
// behind every dialog, note and box of network play and goes on once it is
// closed; a game through a server asked for on the command line that fails
// is said, and the New game dialog follows once that is closed.
TEST(ServerPlay, TheLocalGameWaitsBehindNetworkBoxesAndANewGameFollowsAFailedStart) {
    ConfigSandbox sandbox;
    sandbox.Put("Hra/PL1", 1);
    auto frame = OpenFrame();
    ASSERT_TRUE(frame->TimerRunning());
    const QString nobody = QString("127.0.0.1:%1").arg(qx::test::FreePort());
    const std::pair<const char*, std::function<void()>> opened[] = {
        {"network dialog", [&] { frame->OnGameNetwork(); }},
        {"server note", [&] { frame->ServerNet().Start(Through(nobody, Server::Quick)); }},
        {"bad code box", [&] { frame->ServerNet().Start(Through(nobody, Server::Join, "x")); }},
        {"network problem box", [&] { frame->NetPlay().ShowProblem("Souper odesel."); }},
    };
    for (const auto& [name, open] : opened) {
        open();
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal) << name;
        QTest::qWait(100);
        EXPECT_FALSE(frame->TimerRunning()) << name;
        modal->close();
        EXPECT_TRUE(ModalDriver::WaitUntil([&] { return frame->TimerRunning(); })) << name;
    }
    EXPECT_FALSE(frame->ServerNet().Busy());
    frame->close();

    NetSetup create = Through(nobody, Server::Create);
    MainWindow started(create);
    started.show();
    QMessageBox* box = nullptr;
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return (box = ShownBox(started)) != nullptr; }, 6000));
    EXPECT_EQ(box->text(), QString("Server %1 se nepodarilo zastihnout.").arg(nobody));
    EXPECT_FALSE(started.TimerRunning());
    box->close();
    EXPECT_TRUE(ModalDriver::WaitUntil([] {
        QWidget* modal = QApplication::activeModalWidget();
        return modal && modal->windowTitle() == "Nova hra";
    }));
    QApplication::activeModalWidget()->close();
}

// The dialog's server half: the stored address comes back, OK needs a
// server and (to join or watch) a code, and the choice comes out whole.
TEST(ServerPlay, TheDialogAsksForAServerAndACode) {
    ConfigSandbox sandbox;
    Settings().WriteServer("play.example:29031");
    auto frame = OpenFrame();
    NetGameDialog dialog(frame->ServerNet().DialogSetup(frame->NetPlay().LastSetup()), nullptr);
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    auto* code = dialog.findChild<QLineEdit*>("code");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("serverAddress")->text(), "play.example:29031");
    EXPECT_FALSE(code->isEnabled());

    dialog.findChild<QRadioButton*>("codeChoice")->setChecked(true);
    EXPECT_TRUE(code->isEnabled());
    EXPECT_FALSE(ok->isEnabled());
    code->setText("7k2m-9qxz");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.Setup().server, Server::Join);
    EXPECT_EQ(dialog.Setup().code, "7k2m-9qxz");
    dialog.findChild<QLineEdit*>("serverAddress")->setText("play.example:0");
    EXPECT_FALSE(ok->isEnabled());
    dialog.findChild<QLineEdit*>("serverAddress")->setText(" play.example ");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.Setup().serverAddress, "play.example");
    // An invite as shared in a link names its own server.
    dialog.findChild<QLineEdit*>("serverAddress")->clear();
    EXPECT_FALSE(ok->isEnabled());
    code->setText("7K2M9QXZ@other.example:4000");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.Setup().code, "7K2M9QXZ");
    EXPECT_EQ(dialog.Setup().serverAddress, "other.example:4000");
    QString error;
    const auto linked = NetSetup::FromArguments(
        {"quarnex", "--server", "play.example", "--watch", "7k2m9qxz@other.example"}, error);
    ASSERT_TRUE(linked) << error.toStdString();
    EXPECT_EQ(linked->server, Server::Watch);
    EXPECT_EQ(linked->code, "7k2m9qxz");
    EXPECT_EQ(linked->serverAddress, "other.example");

    dialog.findChild<QRadioButton*>("createChoice")->setChecked(true);
    dialog.findChild<QComboBox*>("serverSide")->setCurrentIndex(1);
    EXPECT_EQ(dialog.Setup().server, Server::Create);
    EXPECT_EQ(dialog.Setup().side, NetSide::Rebel);
    dialog.findChild<QRadioButton*>("quickChoice")->setChecked(true);
    EXPECT_EQ(dialog.Setup().server, Server::Quick);
    dialog.findChild<QRadioButton*>("hostChoice")->setChecked(true);
    EXPECT_EQ(dialog.Setup().server, Server::None);
    // The window's own settings, written as it closes, keep the server.
    frame->close();
    frame.reset();
    EXPECT_TRUE(sandbox.FileText().contains("server=play.example:29031"))
        << sandbox.FileText().toStdString();
}

}  // namespace
