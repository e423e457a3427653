#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <memory>

#include "ConfigSandbox.h"
#include "MessageCounter.h"
#include "ModalDriver.h"
#include "Printers.h"
#include "app/MainWindow.h"

namespace {

// The main window from start to exit, as far as the window itself and the
// settings go.
class WindowLifecycleTest : public testing::Test {
  protected:
    void Open() {
        frame = std::make_unique<MainWindow>();
        ModalDriver driver({[](QWidget* dialog) { ModalDriver::Press(dialog); }});
        frame->show();
        ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
        ASSERT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    }

    QRect OpenWith(const QString& stored) {
        config.Put("Vzhled/pozice", stored);
        Open();
        const QRect geometry = frame->frameGeometry();
        frame.reset();
        return geometry;
    }

    QString StoredPosition() { return config.Get("Vzhled/pozice").toString(); }

    // The settings text of the window's outer rectangle as it stands.
    QString Outer() const {
        return WindowPosition::Format(WindowPosition::FromQRect(frame->frameGeometry()));
    }

    ConfigSandbox config;
    std::unique_ptr<MainWindow> frame;
};

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where a window of `size` opens: centred on the available area.
QRect Centred(int width, int height) {
    const QRect area = Available();
    return {area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2, width,
            height};
}

}  // namespace

TEST_F(WindowLifecycleTest, OnlyTheStoredSizeTakesEffectAndTheWindowOpensCentred) {
    EXPECT_EQ(OpenWith("0100 0050 0600 0350"), Centred(500, 300));
    EXPECT_EQ(OpenWith("0500 0400 1200 0900"), Centred(700, 500));
}

TEST_F(WindowLifecycleTest, BadStoredPositionsStillOpenAUsableWindow) {
    const QRect standard = Centred(600, 400);
    EXPECT_EQ(OpenWith(""), standard);
    EXPECT_EQ(OpenWith("abc"), standard);
    EXPECT_EQ(OpenWith("0100 0050"), standard);
    EXPECT_EQ(OpenWith("0900 0650 0100 0050"), standard);
    EXPECT_EQ(OpenWith("0100 0100 0100 0100"), standard);
    EXPECT_EQ(OpenWith("0000 0000 9999 9999"), Available());
    EXPECT_EQ(OpenWith("0000 0000 4294967896 99999999999"), Available());
}

TEST_F(WindowLifecycleTest, ClosingStoresTheWindowRectangle) {
    Open();
    frame->resize(700, 500);
    frame->move(20, 30);
    const QString outer = Outer();
    const QSize size = frame->frameGeometry().size();
    EXPECT_TRUE(outer.startsWith("0020 0030 07"));
    EXPECT_TRUE(frame->close());
    frame.reset();
    EXPECT_EQ(StoredPosition(), outer);
    EXPECT_EQ(OpenWith(StoredPosition()), Centred(size.width(), size.height()));
}

TEST_F(WindowLifecycleTest, AMaximisedWindowStoresItsRestoredRectangle) {
    Open();
    frame->setGeometry(40, 60, 500, 300);
    const QString restored = Outer();
    frame->showMaximized();
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return frame->size() != QSize(500, 300); }));
    frame.reset();  // leaving without a close stores the rectangle too
    EXPECT_EQ(StoredPosition(), restored);
}

TEST_F(WindowLifecycleTest, KonecAndAltF4CloseLikeTheCloseBox) {
    Open();
    frame->resize(640, 480);
    EXPECT_TRUE(frame->isVisible());
    frame->menuBar()->actions()[0]->menu()->actions().last()->trigger();  // "Konec"
    EXPECT_FALSE(frame->isVisible());
    const QString closed = Outer();
    frame.reset();
    EXPECT_EQ(StoredPosition(), closed);

    Open();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(WindowLifecycleTest, TheWindowCannotBeClosedWhileADialogIsOpen) {
    frame = std::make_unique<MainWindow>();
    bool closed = true;
    ModalDriver driver({[&](QWidget* dialog) {
        closed = frame->close();
        ModalDriver::Press(dialog);
    }});
    frame->show();
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(WindowLifecycleTest, AnUnwritableSettingsLocationCostsOneWarning) {
    config.MakeUnwritable();
    Open();
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_TRUE(frame->close());
    MessageCounter messages;
    frame.reset();
    EXPECT_EQ(messages.Count(), 1) << messages.Text().toStdString();
}

TEST_F(WindowLifecycleTest, TinySizesGrowToAPlayableClientArea) {
    for (const char* tiny : {"0000 0000 0001 0001", "0000 0000 0050 0050", "0000 0000 0600 0020"}) {
        config.Put("Vzhled/pozice", tiny);
        Open();
        EXPECT_GE(frame->View().width(), 160) << tiny;
        EXPECT_GE(frame->View().height(), 120) << tiny;
        const QSize outer = frame->frameGeometry().size();
        EXPECT_EQ(frame->frameGeometry(), Centred(outer.width(), outer.height())) << tiny;
        // The user's own resizing stops at the same size.
        frame->resize(40, 30);
        ASSERT_TRUE(ModalDriver::WaitUntil([&] { return frame->View().width() >= 160; }));
        EXPECT_GE(frame->View().height(), 120);
        EXPECT_EQ(frame->GetGame().ClientRect().right, frame->View().width());
        frame.reset();
    }
}
