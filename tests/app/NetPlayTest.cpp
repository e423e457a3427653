#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ConfigSandbox.h"
#include "ModalDriver.h"
#include "app/MainWindow.h"
#include "app/NetGameDialog.h"
#include "net/NetPeer.h"
#include "replay/ReplayReader.h"
#include "tests/support/FreePort.h"

namespace {

using qx::net::NetSide;

std::optional<NetSetup> Parse(const QStringList& args, QString& error) {
    return NetSetup::FromArguments(QStringList{"quarnex"} + args, error);
}

TEST(NetSetup, CommandLineAndDialog) {
    QString error;
    EXPECT_FALSE(Parse({}, error));
    EXPECT_TRUE(error.isEmpty());
    const auto host = Parse({"--net-host", "4000", "--side", "rebel"}, error);
    ASSERT_TRUE(host);
    EXPECT_TRUE(host->hosting);
    EXPECT_EQ(host->port, 4000);
    EXPECT_EQ(host->side, NetSide::Rebel);
    const auto join = Parse({"--net-join", "example.org:29031"}, error);
    ASSERT_TRUE(join);
    EXPECT_FALSE(join->hosting);
    EXPECT_EQ(join->host, "example.org");
    for (const QStringList& bad : {QStringList{"--net-host", "0"}, QStringList{"--net-join", "x"},
                                   QStringList{"--side", "rebel"}, QStringList{"--net-host"},
                                   QStringList{"--net-host", "1", "--net-join", "a:1"}}) {
        error.clear();
        EXPECT_FALSE(Parse(bad, error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }

    // The dialog: joining needs an address; the side is the host's choice.
    NetGameDialog dialog(NetSetup{}, nullptr);
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.findChild<QSpinBox*>("hostPort")->value(), 29030);
    dialog.findChild<QComboBox*>("side")->setCurrentIndex(1);
    EXPECT_EQ(dialog.Setup().side, NetSide::Rebel);
    dialog.findChildren<QRadioButton*>()[1]->setChecked(true);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.findChild<QComboBox*>("side")->isEnabled());
    dialog.findChild<QLineEdit*>("address")->setText(" 127.0.0.1 ");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_FALSE(dialog.Setup().hosting);
    EXPECT_EQ(dialog.Setup().host, "127.0.0.1");
}

using qx::test::FreePort;

std::unique_ptr<MainWindow> OpenFrame() {
    auto frame = std::make_unique<MainWindow>();
    ModalDriver driver({[](QWidget* w) { ModalDriver::Press(w); }});
    frame->show();
    EXPECT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    return frame;
}

const qx::GameState& Shared(MainWindow& frame) {
    return frame.NetPlay().Peer()->Session()->GetGame().State();
}

// Two windows in one process play each other on 127.0.0.1: each shows the
// shared game, takes its own side's inputs into it, and the other window's
// game follows; when one leaves, the other says so and goes back to its
// own game.
TEST(NetPlay, TwoWindowsPlayOneGameAndOneLeaves) {
    ConfigSandbox sandbox;
    auto host = OpenFrame();
    auto join = OpenFrame();
    const uint16_t port = FreePort();
    QString error;
    ASSERT_TRUE(host->NetPlay().Start({true, {}, port, NetSide::Emperor}, error))
        << error.toStdString();
    EXPECT_TRUE(host->windowTitle().contains("cekam na soupere"));
    ASSERT_TRUE(join->NetPlay().Start({false, "127.0.0.1", port, NetSide::Emperor}, error));
    auto started = [](MainWindow& f) {
        return f.NetPlay().Peer() && f.NetPlay().Peer()->Session() &&
               &f.View().ShownGame() == &f.NetPlay().Peer()->Session()->GetGame();
    };
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return started(*host) && started(*join); }, 10000));
    // The title names the side (and no score of the waiting local game);
    // the figures stand beside the menu.
    host->OnGameShowScore(true);
    EXPECT_TRUE(ModalDriver::WaitUntil([&] {
        return host->windowTitle() == "Quarnex 2.00 - sitova hra za imperatora" &&
               join->windowTitle() == "Quarnex 2.00 - sitova hra za povstalce";
    }));
    QLabel* figures = host->NetPlay().StatusLabel();
    EXPECT_TRUE(figures->isVisible());
    EXPECT_TRUE(figures->text().startsWith("ping ")) << figures->text().toStdString();
    EXPECT_TRUE(figures->text().contains("zpozdeni")) << figures->text().toStdString();

    // The Emperor's player moves the mouse on the host, the Rebel's player
    // presses Up on the joiner; keys of the other side stay out.
    host->View().resize(600, 400);
    QTest::mouseMove(&host->View(), QPoint(300, 100));
    QTest::keyClick(&host->View(), Qt::Key_Up);
    QTest::keyClick(&join->View(), Qt::Key_Up);
    EXPECT_TRUE(ModalDriver::WaitUntil(
        [&] {
            const qx::Ship& emperor = Shared(*join).emperor;
            const qx::Ship& rebel = Shared(*host).rebel;
            return emperor.TargetX() == 300 * 600 / host->View().ClientSize().width() &&
                   rebel.TargetY() == qx::Ship::kMinY;
        },
        5000));
    EXPECT_EQ(host->NetPlay().Peer()->Session()->Stats().droppedLocalInputs, 1);
    // A pad plays the network game as the mouse does.
    host->Gamepads().SteerEmperor(123, 45);
    EXPECT_TRUE(ModalDriver::WaitUntil(
        [&] {
            const qx::Ship& emperor = Shared(*join).emperor;
            return emperor.TargetX() == 123 && emperor.TargetY() == 45;
        },
        5000));
    // A resize on one side repaints its picture only.
    join->View().resize(400, 300);
    QTest::qWait(300);
    EXPECT_TRUE(host->NetPlay().Active());
    EXPECT_TRUE(join->NetPlay().Active());

    // A third machine finds the game full.
    auto late = OpenFrame();
    ASSERT_TRUE(late->NetPlay().Start({false, "127.0.0.1", port, NetSide::Emperor}, error));
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return !late->NetPlay().Active(); }, 5000));
    EXPECT_TRUE(host->NetPlay().Active());
    QMessageBox* full = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->isVisible() && box->parentWidget() == late.get()) full = box;
    }
    ASSERT_TRUE(full);
    EXPECT_EQ(full->text(), "Na pocitaci 127.0.0.1 uz se hraje s jinym souperem.");
    full->close();
    late->close();

    // "Ulozit zaznam..." saves the network game's confirmed ticks.
    const QString saved = QDir::temp().filePath("quarnex-net-save-test.qxr");
    QFile::remove(saved);
    ModalDriver saving({[&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(dialog);
        dialog->selectFile(saved);
        QMetaObject::invokeMethod(dialog, "accept");
    }});
    host->OnGameSaveReplay();
    ASSERT_TRUE(saving.Done());
    qx::ReplayError readError;
    const std::optional<qx::Replay> replay = qx::LoadReplay(saved.toStdString(), readError);
    ASSERT_TRUE(replay) << readError.Describe();
    EXPECT_GT(replay->tickCount, 10);
    EXPECT_EQ(replay->seed, host->NetPlay().Peer()->Session()->Options().seed);
    QFile::remove(saved);

    // The joiner leaves from the menu, without waiting for the goodbye to be
    // acknowledged (the host, in this same thread, cannot answer meanwhile).
    QElapsedTimer leaving;
    leaving.start();
    join->OnGameNetworkStop();
    EXPECT_LT(leaving.elapsed(), 300);
    EXPECT_FALSE(join->NetPlay().Active());
    EXPECT_EQ(&join->View().ShownGame(), &join->GetGame());
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return !host->NetPlay().Active(); }, 3000));
    EXPECT_EQ(&host->View().ShownGame(), &host->GetGame());
    EXPECT_FALSE(host->windowTitle().contains("sitova"));
    EXPECT_FALSE(host->NetPlay().StatusLabel()->isVisible());
    QMessageBox* said = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) said = box;
    }
    ASSERT_TRUE(said);
    EXPECT_EQ(said->text(), "Souper ukoncil sitovou hru.");
    said->close();
    host->close();
    join->close();
}

}  // namespace
