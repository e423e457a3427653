#include <gtest/gtest.h>

#include "Printers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <memory>

#include "ConfigSandbox.h"
#include "MessageCounter.h"
#include "ModalDriver.h"
#include "VirtualPad.h"
#include "app/MainWindow.h"
#include "tests/support/StateEditor.h"

namespace {

QString Plain(QString text) {
    return text.remove('&');
}

bool Checked(QWidget* dialog, const char* box) {
    return dialog->findChild<QCheckBox*>(box)->isChecked();
}

void SetChecked(QWidget* dialog, const char* box, bool checked) {
    dialog->findChild<QCheckBox*>(box)->setChecked(checked);
}

void PressOk(QWidget* window) {
    ModalDriver::Press(window);
}

class MainWindowTest : public testing::Test {
  protected:
    // Builds and shows the main window and answers the New game dialog that
    // opens at once.
    void Open(const ModalDriver::Action& answer = PressOk) {
        frame = std::make_unique<MainWindow>();
        ModalDriver driver({answer});
        frame->show();
        ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
        ASSERT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    }

    // Waits until the driver has answered every window and none is open.
    static void Settle(const ModalDriver& driver) {
        ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
        ASSERT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    }
    // Lets the Rebel lose a third time at the next tick.
    void EndTheGameSoon(int emperorWinsBefore = 2) {
        Edit([&](qx::GameState& state) {
            qx::ShipEditor(state.emperor).Wins(emperorWinsBefore);
            qx::ShipEditor(state.rebel).Energy(-61);  // the Rebel's explosion has run out
        });
    }

    // Closes the window the way the close box does and ends the program's
    // part: the window is deleted, which writes the settings.
    void CloseAndExit() {
        EXPECT_TRUE(frame->close());
        frame.reset();
    }

    qx::Game& Game() { return frame->GetGame(); }
    // The menu item `item` of menu `menu`.
    QAction* Action(const QString& menu, const QString& item) {
        for (QAction* m : frame->menuBar()->actions()) {
            if (Plain(m->text()) != menu) continue;
            for (QAction* a : m->menu()->actions()) {
                if (Plain(a->text()) == item) return a;
            }
        }
        ADD_FAILURE() << "no menu item " << item.toStdString();
        return nullptr;
    }
    template <class Change>
    void Edit(Change change) {
        qx::GameState state = Game().State();
        change(state);
        Game().Restore(state);
    }

    ConfigSandbox config;
    std::unique_ptr<MainWindow> frame;
};

}  // namespace

TEST_F(MainWindowTest, MenuHasGameAndHelpWithTheirItemsInOrder) {
    frame = std::make_unique<MainWindow>();
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(Plain(menus[0]->text()), "Hra");
    EXPECT_EQ(Plain(menus[1]->text()), "Napoveda");
    const QList<QAction*> game = menus[0]->menu()->actions();
    ASSERT_EQ(game.size(), 12);
    EXPECT_EQ(Plain(game[0]->text()), "Nova");
    EXPECT_EQ(Plain(game[1]->text()), "Pauza");
    EXPECT_EQ(Plain(game[2]->text()), "Zobrazit skore");
    EXPECT_EQ(Plain(game[3]->text()), "Jazyk / Language");
    EXPECT_TRUE(game[4]->isSeparator());
    EXPECT_EQ(Plain(game[5]->text()), "Ulozit zaznam...");
    EXPECT_EQ(Plain(game[6]->text()), "Prehrat zaznam...");
    EXPECT_TRUE(game[7]->isSeparator());
    EXPECT_EQ(Plain(game[8]->text()), "Sitova hra...");
    EXPECT_EQ(Plain(game[9]->text()), "Ukoncit sitovou hru");
    EXPECT_FALSE(game[9]->isEnabled());
    EXPECT_TRUE(game[10]->isSeparator());
    EXPECT_EQ(Plain(game[11]->text()), "Konec");
    const QList<QAction*> help = menus[1]->menu()->actions();
    ASSERT_EQ(help.size(), 2);
    EXPECT_EQ(Plain(help[0]->text()), "Ovladani");
    EXPECT_EQ(Plain(help[1]->text()), "O Aplikaci");
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00");
    EXPECT_FALSE(frame->windowIcon().isNull());
}

TEST_F(MainWindowTest, FirstRunOpensTheNewGameDialogWithTheTimerStopped) {
    bool timerDuringDialog = true;
    bool emperorBox = false, rebelBox = false;
    Open([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Nova hra");
        timerDuringDialog = frame->TimerRunning();
        emperorBox = Checked(dialog, "emperorHuman");
        rebelBox = Checked(dialog, "rebelHuman");
        PressOk(dialog);
    });
    EXPECT_FALSE(timerDuringDialog);
    EXPECT_TRUE(emperorBox);
    EXPECT_TRUE(rebelBox);
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_FALSE(Game().State().emperor.Computer());
    EXPECT_FALSE(Game().State().rebel.Computer());
    // 600 x 400, centred on the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frame->frameGeometry().size(), QSize(600, 400));
    EXPECT_EQ(frame->frameGeometry().center(), area.center());
    // The scene fills the client area under the menu bar.
    const QRect client = frame->View().geometry();
    EXPECT_EQ(client.top(), frame->menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(Game().ClientRect(), (qx::Rect{0, 0, client.width(), client.height()}));
}

TEST_F(MainWindowTest, OkAppliesTheChoiceAndItIsStoredAtExit) {
    Open([](QWidget* dialog) {
        SetChecked(dialog, "emperorHuman", false);
        SetChecked(dialog, "rebelHuman", false);
        PressOk(dialog);
    });
    EXPECT_TRUE(Game().State().emperor.Computer());
    EXPECT_TRUE(Game().State().rebel.Computer());
    EXPECT_TRUE(frame->TimerRunning());
    CloseAndExit();
    EXPECT_EQ(config.Get("Hra/PL1").toString(), "1");
    EXPECT_EQ(config.Get("Hra/PL2").toString(), "1");
}

TEST_F(MainWindowTest, CheckBoxesFollowTheStoredPlayers) {
    config.Put("Hra/PL1", 1);
    config.Put("Hra/PL2", 0);
    bool emperorBox = true, rebelBox = false;
    Open([&](QWidget* dialog) {
        emperorBox = Checked(dialog, "emperorHuman");
        rebelBox = Checked(dialog, "rebelHuman");
        PressOk(dialog);
    });
    EXPECT_FALSE(emperorBox);
    EXPECT_TRUE(rebelBox);
    EXPECT_TRUE(Game().State().emperor.Computer());
    EXPECT_FALSE(Game().State().rebel.Computer());
}

TEST_F(MainWindowTest, EscapeResumesTheGameWithTheChoiceUnchanged) {
    config.Put("Hra/PL1", 1);
    Open([](QWidget* dialog) {
        SetChecked(dialog, "emperorHuman", true);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_TRUE(Game().State().emperor.Computer());
    EXPECT_FALSE(Game().State().rebel.Computer());
    EXPECT_TRUE(frame->TimerRunning());
}

TEST_F(MainWindowTest, StoredPlayersOtherThanOneMeanAPersonAndAreWrittenBackAsZero) {
    for (const char* stored : {"2", "-1", "abc"}) {
        config.Put("Hra/PL1", stored);
        config.Put("Hra/PL2", stored);
        Open();
        EXPECT_FALSE(Game().State().emperor.Computer()) << stored;
        EXPECT_FALSE(Game().State().rebel.Computer()) << stored;
        CloseAndExit();
        EXPECT_EQ(config.Get("Hra/PL1").toString(), "0");
        EXPECT_EQ(config.Get("Hra/PL2").toString(), "0");
    }
}

TEST_F(MainWindowTest, NewGameResetsTheShipsAndStopsTheTimerWhileItsDialogIsOpen) {
    Open();
    Edit([](qx::GameState& state) {
        qx::ShipEditor(state.emperor).Wins(2);
        qx::ShipEditor(state.rebel).Energy(120);
    });
    bool timerDuringDialog = true;
    ModalDriver driver({[&](QWidget* dialog) {
        timerDuringDialog = frame->TimerRunning();
        PressOk(dialog);
    }});
    Action("Hra", "Nova")->trigger();
    Settle(driver);
    EXPECT_FALSE(timerDuringDialog);
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(Game().State().emperor.Wins(), 0);
    EXPECT_EQ(Game().State().rebel.Energy(), 500);
}

TEST_F(MainWindowTest, TheGameRunsBehindTheAboutBoxAndIsRepaintedAfterIt) {
    Open();
    bool timerDuringAbout = false;
    bool ticked = false;
    const uint32_t marker = 0x123456;
    ModalDriver driver({[&](QWidget* about) {
        EXPECT_EQ(about->windowTitle(), "O Aplikaci Quarnex II");
        timerDuringAbout = frame->TimerRunning();
        const int counter = Game().TickCounter();
        ticked = ModalDriver::WaitUntil([&] { return Game().TickCounter() != counter; });
        const_cast<uint32_t*>(Game().Screen().Data())[0] = marker;
        PressOk(about);
    }});
    Action("Napoveda", "O Aplikaci")->trigger();
    Settle(driver);
    EXPECT_TRUE(timerDuringAbout);
    EXPECT_TRUE(ticked);
    EXPECT_NE(Game().Screen().Pixel(0, 0), marker);
}

TEST_F(MainWindowTest, TheThirdWinEndsTheGameWithAMessageAndANewGame) {
    Open();
    EndTheGameSoon();
    QString caption, text;
    int buttons = 0;
    bool timerDuringBox = true, timerDuringDialog = true;
    // Neither window runs an event loop of its own inside the game's tick.
    int loopsDuringBox = -1, loopsDuringDialog = -1;
    ModalDriver driver({[&](QWidget* window) {
                            auto* box = qobject_cast<QMessageBox*>(window);
                            ASSERT_NE(box, nullptr);
                            caption = box->windowTitle();
                            text = box->text();
                            buttons = static_cast<int>(box->buttons().size());
                            timerDuringBox = frame->TimerRunning();
                            loopsDuringBox = QThread::currentThread()->loopLevel();
                            PressOk(box);
                        },
                        [&](QWidget* dialog) {
                            timerDuringDialog = frame->TimerRunning();
                            loopsDuringDialog = QThread::currentThread()->loopLevel();
                            PressOk(dialog);
                        }});
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_EQ(caption, "End..");
    EXPECT_TRUE(text.startsWith("Jednotky povstalcu jsou porazeny! \n"));
    EXPECT_EQ(buttons, 1);
    EXPECT_FALSE(timerDuringBox);
    EXPECT_FALSE(timerDuringDialog);
    EXPECT_EQ(loopsDuringBox, 0);
    EXPECT_EQ(loopsDuringDialog, 0);
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(Game().State().emperor.Wins(), 0);
}

// The box opens over the last picture of the game, from the timer's tick,
// and the tick is over while it is open: the window's events go on.
TEST_F(MainWindowTest, TheEndOfGameBoxIsModalPlainTextAndAClickClosesIt) {
    Open();
    EndTheGameSoon();
    bool modal = false, plain = false, dialogFollowed = false;
    int waitingFor = -1;
    ModalDriver driver({[&](QWidget* window) {
                            auto* box = qobject_cast<QMessageBox*>(window);
                            ASSERT_NE(box, nullptr);
                            modal = box->isModal();
                            plain = box->textFormat() == Qt::PlainText;
                            waitingFor = static_cast<int>(Game().State().wait.what);
                            QPushButton* ok = box->findChild<QPushButton*>();
                            ASSERT_NE(ok, nullptr);
                            QTest::mouseClick(ok, Qt::LeftButton);
                        },
                        [&](QWidget* dialog) {
                            dialogFollowed = dialog->windowTitle() == "Nova hra";
                            PressOk(dialog);
                        }});
    Settle(driver);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(plain);
    EXPECT_EQ(waitingFor, static_cast<int>(qx::WaitFor::EndOfGameBox));
    EXPECT_TRUE(dialogFollowed);
    EXPECT_FALSE(Game().Waiting());
    EXPECT_TRUE(frame->TimerRunning());
}

TEST_F(MainWindowTest, PauseAndPStopAndResumeTheGameAndTheTitleSaysSo) {
    Open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(&frame->View(), Qt::Key_P);
    EXPECT_TRUE(frame->Paused());
    EXPECT_FALSE(frame->TimerRunning());
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00 - pauza");
    const int ticks = Game().TickCounter();
    QTest::qWait(100);
    EXPECT_EQ(Game().TickCounter(), ticks);
    QTest::keyClick(&frame->View(), Qt::Key_Pause);
    EXPECT_FALSE(frame->Paused());
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00");
    // A new game ends a pause.
    QTest::keyClick(&frame->View(), Qt::Key_P);
    ModalDriver driver({PressOk});
    Action("Hra", "Nova")->trigger();
    Settle(driver);
    EXPECT_FALSE(frame->Paused());
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00");
}

TEST_F(MainWindowTest, TheScoreShowsInTheTitleWhenCheckedAndTheChoiceIsKept) {
    Open();
    QAction* score = Action("Hra", "Zobrazit skore");
    EXPECT_TRUE(score->isCheckable());
    EXPECT_FALSE(score->isChecked());
    score->trigger();
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00 - 0 : 0");
    Edit([](qx::GameState& state) {
        qx::ShipEditor(state.emperor).Wins(2);
        qx::ShipEditor(state.rebel).Wins(1);
    });
    ASSERT_TRUE(
        ModalDriver::WaitUntil([&] { return frame->windowTitle() == "Quarnex 2.00 - 2 : 1"; }));
    CloseAndExit();
    EXPECT_EQ(config.Get("Vzhled/skore").toString(), "1");
    Open();
    EXPECT_TRUE(Action("Hra", "Zobrazit skore")->isChecked());
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00 - 0 : 0");
    Action("Hra", "Zobrazit skore")->trigger();
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00");
    CloseAndExit();
    EXPECT_EQ(config.Get("Vzhled/skore").toString(), "0");
}

TEST_F(MainWindowTest, TheControlsBoxListsBothSidesAndALocalGameWaitsBehindIt) {
    Open();
    bool ticked = true;
    QString texts;
    QSize minimum, maximum;
    ModalDriver driver({[&](QWidget* box) {
        EXPECT_EQ(box->windowTitle(), "Ovladani");
        for (QLabel* label : box->findChildren<QLabel*>()) texts += label->text() + "\n";
        for (QPushButton* button : box->findChildren<QPushButton*>())
            texts += button->text() + "\n";
        minimum = box->minimumSize();
        maximum = box->maximumSize();
        const int counter = Game().TickCounter();
        ticked = ModalDriver::WaitUntil([&] { return Game().TickCounter() != counter; }, 200);
        PressOk(box);
    }});
    Action("Napoveda", "Ovladani")->trigger();
    Settle(driver);
    EXPECT_FALSE(ticked);
    EXPECT_TRUE(frame->TimerRunning());
    EXPECT_EQ(minimum, maximum);
    for (const char* text : {"Imperator", "Povstalec", "mezernik", "Enter", "numericka", "Pause"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
}

TEST_F(MainWindowTest, WithAPadAttachedTheNewGameDialogAsksWhichSideItPlays) {
    frame = std::make_unique<MainWindow>();
    VirtualPad pad;
    QStringList choices;
    ModalDriver driver({[&](QWidget* dialog) {
        auto* padChoice = dialog->findChild<QComboBox*>("padChoice");
        ASSERT_NE(padChoice, nullptr);
        for (int i = 0; i < padChoice->count(); ++i) choices << padChoice->itemText(i);
        EXPECT_EQ(padChoice->currentIndex(), 0);
        padChoice->setCurrentIndex(1);
        PressOk(dialog);
    }});
    frame->show();
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_EQ(choices, QStringList({"Povstalce", "Imperatora"}));
    EXPECT_TRUE(frame->Gamepads().FirstPadPlaysEmperor());
}

namespace {

// A key as the keyboard sends it, to whatever has the focus.
void SendKey(QEvent::Type type, int key, bool autoRepeat = false) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeModalWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "", autoRepeat);
    QApplication::sendEvent(target, &event);
}

void Tap(int key) {
    SendKey(QEvent::KeyPress, key);
    SendKey(QEvent::KeyRelease, key);
}

}  // namespace

TEST_F(MainWindowTest, TheEndBoxesIgnoreTheKeysAPlayerIsStillFiringWith) {
    Open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->View().setFocus();
    // The Rebel's player holds Space down as the game ends.
    SendKey(QEvent::KeyPress, Qt::Key_Space);
    Edit([](qx::GameState& state) {
        qx::ShipEditor(state.emperor).Wins(2);
        qx::ShipEditor(state.rebel).Energy(-61);
    });
    bool openAfterHeldKeys = false, openAfterHeldSpace = false, closedByFreshEnter = false;
    bool dialogOpenAfterHeldEnter = false;
    ModalDriver driver({[&](QWidget* box) {
                            // Auto-repeated keys, and a fresh Enter at once.
                            for (int i = 0; i < 3; ++i)
                                SendKey(QEvent::KeyPress, Qt::Key_Space, true);
                            SendKey(QEvent::KeyPress, Qt::Key_Return, true);
                            Tap(Qt::Key_Return);
                            openAfterHeldKeys = box->isVisible();
                            // Space, down since before the box, counts only once released.
                            QTest::qWait(HeldKeyFilter::kGraceMs + 100);
                            SendKey(QEvent::KeyPress, Qt::Key_Space);
                            SendKey(QEvent::KeyRelease, Qt::Key_Space);
                            openAfterHeldSpace = box->isVisible();
                            // A fresh Enter closes the box and is still down as the New
                            // game dialog opens.
                            SendKey(QEvent::KeyPress, Qt::Key_Return);
                            closedByFreshEnter = !box->isVisible();
                        },
                        [&](QWidget* dialog) {
                            QTest::qWait(HeldKeyFilter::kGraceMs + 100);
                            SendKey(QEvent::KeyPress, Qt::Key_Return, true);
                            dialogOpenAfterHeldEnter = dialog->isVisible();
                            SendKey(QEvent::KeyRelease, Qt::Key_Return);
                            Tap(Qt::Key_Return);
                        }});
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }, 5000));
    ASSERT_TRUE(ModalDriver::WaitUntil([] { return !QApplication::activeModalWidget(); }));
    EXPECT_TRUE(openAfterHeldKeys);
    EXPECT_TRUE(openAfterHeldSpace);
    EXPECT_TRUE(closedByFreshEnter);
    EXPECT_TRUE(dialogOpenAfterHeldEnter);
    EXPECT_TRUE(frame->TimerRunning());
}

TEST_F(MainWindowTest, TheTitleShowsTheFinalScoreWhileTheEndBoxIsOpen) {
    Open();
    Action("Hra", "Zobrazit skore")->trigger();
    Edit([](qx::GameState& state) {
        qx::ShipEditor(state.emperor).Wins(2);
        qx::ShipEditor(state.rebel).Wins(1);
        qx::ShipEditor(state.rebel).Energy(-61);
    });
    QString titleDuringBox;
    ModalDriver driver({[&](QWidget* box) {
                            titleDuringBox = frame->windowTitle();
                            PressOk(box);
                        },
                        PressOk});
    ASSERT_TRUE(ModalDriver::WaitUntil([&] { return driver.Done(); }));
    EXPECT_EQ(titleDuringBox, "Quarnex 2.00 - 3 : 1");
    ASSERT_TRUE(
        ModalDriver::WaitUntil([&] { return frame->windowTitle() == "Quarnex 2.00 - 0 : 0"; }));
}

TEST_F(MainWindowTest, AMinimisedWindowsGameWaitsUntilItIsRestoredWhateverEndedMeanwhile) {
    Open();
    frame->showMinimized();
    EXPECT_FALSE(frame->TimerRunning());
    const int ticks = Game().TickCounter();
    QTest::qWait(100);
    EXPECT_EQ(Game().TickCounter(), ticks);
    frame->showNormal();
    EXPECT_TRUE(frame->TimerRunning());
    // A network game that ends while the window is minimised leaves the
    // window's own game waiting until the window is restored.
    emit frame->NetPlay().Started();
    frame->showMinimized();
    emit frame->NetPlay().Ended({});
    EXPECT_FALSE(frame->TimerRunning());
    frame->showNormal();
    EXPECT_TRUE(frame->TimerRunning());
    // A paused game stays paused through it.
    Action("Hra", "Pauza")->trigger();
    frame->showMinimized();
    frame->showNormal();
    EXPECT_TRUE(frame->Paused());
    EXPECT_FALSE(frame->TimerRunning());
}

// The network figures beside the menus fit at 640x480 and narrower: the
// last figures give way first, the ping and what the game waits for stay,
// and no menu is pushed aside.
TEST_F(MainWindowTest, TheNetworkFiguresFitBesideTheMenus) {
    Open();
    QLabel* figures = frame->NetPlay().StatusLabel();
    figures->setText("ping 120 ms, zpozdeni 3, navraty 12/s, ztraceno 1234 - cekam na soupere");
    figures->show();
    emit frame->NetPlay().StatusChanged();
    QMenuBar* bar = frame->menuBar();
    for (const int width : {640, 420, 640}) {
        frame->resize(width, 480);
        QTest::qWait(50);
        const QString shown = figures->text();
        EXPECT_TRUE(shown.startsWith("ping 120 ms")) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(" - cekam na soupere")) << shown.toStdString();
        EXPECT_LE(figures->fontMetrics().horizontalAdvance(shown), figures->contentsRect().width())
            << width;
        const QRect lastMenu = bar->actionGeometry(bar->actions().last());
        EXPECT_FALSE(lastMenu.isEmpty()) << width;
        EXPECT_LE(lastMenu.right(), figures->geometry().left()) << width;
        if (width == 420) {
            EXPECT_FALSE(shown.contains("ztraceno")) << shown.toStdString();
        }
    }
}

TEST_F(MainWindowTest, OwnKeysFromTheControlsPagePlayAndAreKept) {
    Open();
    ModalDriver driver({[&](QWidget* page) {
        page->findChild<QPushButton*>("key-strela-dopredu")->click();
        Tap(Qt::Key_F);
        PressOk(page);
    }});
    Action("Napoveda", "Ovladani")->trigger();
    Settle(driver);
    EXPECT_EQ(frame->Keys().Key(qx::GameKey::Space), (BoundKey{Qt::Key_F, false}));
    Edit([](qx::GameState& state) { state.rebel.RequestFire(qx::Weapon::None); });
    QTest::keyClick(&frame->View(), Qt::Key_F);
    EXPECT_EQ(Game().State().rebel.FireRequest(), qx::Weapon::Forward);
    CloseAndExit();
    EXPECT_EQ(config.Get("Klavesy/strela-dopredu").toString(), "F");
    Open();
    EXPECT_EQ(frame->Keys().Key(qx::GameKey::Space), (BoundKey{Qt::Key_F, false}));
}

TEST_F(MainWindowTest, TheLanguageMenuSwitchesEveryTextAndIsKept) {
    Open();
    Action("Hra", "Pauza")->trigger();
    QAction* english = nullptr;
    for (QAction* a : Action("Hra", "Jazyk / Language")->menu()->actions()) {
        if (Plain(a->text()) == "English") english = a;
    }
    ASSERT_NE(english, nullptr);
    english->trigger();
    ASSERT_TRUE(ModalDriver::WaitUntil(
        [&] { return Plain(frame->menuBar()->actions()[0]->text()) == "Game"; }));
    EXPECT_EQ(frame->windowTitle(), "Quarnex 2.00 - paused");
    EXPECT_NE(Action("Game", "Show score"), nullptr);
    EXPECT_TRUE(Action("Game", "Pause")->isChecked());
    // P belongs to the new menu alone.
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(&frame->View(), Qt::Key_P);
    EXPECT_FALSE(frame->Paused());
    QString caption, text;
    ModalDriver driver({[&](QWidget* window) {
                            auto* box = qobject_cast<QMessageBox*>(window);
                            caption = box->windowTitle();
                            text = box->text();
                            PressOk(box);
                        },
                        PressOk});
    EndTheGameSoon();
    Settle(driver);
    EXPECT_EQ(caption, "End..");
    EXPECT_TRUE(text.startsWith("The rebel forces are defeated! \n")) << text.toStdString();
    CloseAndExit();
    EXPECT_EQ(config.Get("Vzhled/jazyk").toString(), "en");
    Open();
    EXPECT_EQ(Plain(frame->menuBar()->actions()[1]->text()), "Help");
    Action("Game", "Jazyk / Language")->menu()->actions()[0]->trigger();
    ASSERT_TRUE(ModalDriver::WaitUntil(
        [&] { return Plain(frame->menuBar()->actions()[0]->text()) == "Hra"; }));
    CloseAndExit();
    EXPECT_EQ(config.Get("Vzhled/jazyk").toString(), "cs");
}

// The player opened it, not the game: no half second of grace.
TEST_F(MainWindowTest, ABoxThePlayerOpensTakesEnterAtOnce) {
    bool closed = false;
    Open([&](QWidget* dialog) {
        Tap(Qt::Key_Return);
        closed = !dialog->isVisible();
        if (!closed) PressOk(dialog);
    });
    EXPECT_TRUE(closed);
}
