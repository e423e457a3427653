// The shell's tests run on Qt's offscreen platform: no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The game speaks Czech unless a test chooses English.
    qputenv("LANGUAGE", "cs");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
