// Every picture the game hands to Qt must be opaque: a Format_RGB32 pixel
// with an alpha byte other than 0xFF shows as transparent where windows are
// composited (Wayland), though X11 ignores it. The alpha is read from the raw
// words, since QImage::pixel reports every RGB32 pixel as opaque.
#include <gtest/gtest.h>

#include "Printers.h"

#include <QLabel>
#include <QTest>

#include "LocalPlay.h"
#include "app/AboutDialog.h"
#include "app/GameView.h"
#include "app/NewGameDialog.h"
#include "app/ResourcePixmap.h"
#include "app/SurfaceImage.h"
#include "gfx/EmbeddedResource.h"

namespace {

int64_t TransparentPixels(const QImage& image) {
    QImage words = image;
    if (image.depth() != 32) words = image.convertToFormat(QImage::Format_ARGB32);
    int64_t count = 0;
    for (int y = 0; y < words.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(words.constScanLine(y));
        for (int x = 0; x < words.width(); ++x) count += (row[x] >> 24) != 0xFF;
    }
    return count;
}

TEST(OpaquePictures, EveryEmbeddedBitmapAndIcon) {
    for (size_t i = 0; i < qx::kEmbeddedResourceCount; ++i) {
        const qx::EmbeddedResource& r = qx::kEmbeddedResources[i];
        const QPixmap pixmap = r.kind == qx::ResourceKind::Bitmap ? ResourcePixmap::Bitmap(r.id)
                                                                  : ResourcePixmap::Icon(r.id);
        ASSERT_FALSE(pixmap.isNull()) << r.id;
        EXPECT_EQ(TransparentPixels(pixmap.toImage()), 0) << "resource " << r.id;
    }
}

TEST(OpaquePictures, DialogsAsShown) {
    NewGameDialog newGame(qx::PlayerChoice{true, false}, nullptr);
    AboutDialog about(nullptr);
    for (QDialog* dialog : {static_cast<QDialog*>(&newGame), static_cast<QDialog*>(&about)}) {
        int pictures = 0;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->pixmap().isNull()) continue;
            ++pictures;
            EXPECT_EQ(TransparentPixels(label->pixmap().toImage()), 0)
                << label->objectName().toStdString();
        }
        EXPECT_GE(pictures, 2) << dialog->windowTitle().toStdString();
        EXPECT_EQ(TransparentPixels(dialog->grab().toImage()), 0)
            << dialog->windowTitle().toStdString();
    }
}

// The screen as the view draws it, at sizes that stretch the scene both ways,
// while two computer players fly, fire, hit and explode.
TEST(OpaquePictures, TheGameScreenWhilePlaying) {
    qx::Game game;
    GameView view(game);
    PlayIn(view, game);
    game.Start(7, {false, false});  // the computer plays both sides
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (QSize size : {QSize(600, 400), QSize(1203, 401), QSize(17, 900), QSize(333, 211)}) {
        view.resize(size);
        view.repaint();
        for (int tick = 0; tick < 400; ++tick) {
            game.Tick();
            if (tick % 100 != 99) continue;
            ASSERT_EQ(TransparentPixels(SurfaceImage::View(game.Screen())), 0)
                << size.width() << "x" << size.height() << " tick " << tick;
        }
        view.repaint();
        EXPECT_EQ(TransparentPixels(view.grab().toImage()), 0)
            << size.width() << "x" << size.height();
    }
}

}  // namespace
