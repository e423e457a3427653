#include <gtest/gtest.h>

#include "Printers.h"

#include "app/WindowPosition.h"

namespace {

const QSize kScreen(1280, 1000);

QSize StartSizeOf(const QString& text) {
    return WindowPosition::StartSize(WindowPosition::Parse(text), kScreen);
}

}  // namespace

TEST(WindowPosition, ReadsTheFourNumbersAtTheirColumns) {
    EXPECT_EQ(WindowPosition::Parse("0100 0050 0900 0650"), (StoredRect{100, 50, 900, 650}));
    EXPECT_EQ(WindowPosition::Parse("-010 -020 0590 0380"), (StoredRect{-10, -20, 590, 380}));
    // Each number is read from its column as atoi reads: blanks, sign, digits.
    EXPECT_EQ(WindowPosition::Parse("  12x  +7   -3 zz 44"), (StoredRect{12, 7, -3, 0}));
}

TEST(WindowPosition, OnlyTheStoredSizeTakesEffect) {
    EXPECT_EQ(StartSizeOf("0100 0050 0900 0650"), QSize(800, 600));
    EXPECT_EQ(StartSizeOf("1000 0900 1600 1300"), QSize(600, 400));
}

TEST(WindowPosition, EmptyTextIsTheDefaultWindow) {
    EXPECT_EQ(WindowPosition::Parse(""), (StoredRect{0, 0, 600, 400}));
    EXPECT_EQ(StartSizeOf(""), QSize(600, 400));
}

TEST(WindowPosition, SizesThatAreNotPositiveFallBackToTheDefault) {
    EXPECT_EQ(StartSizeOf("abc"), QSize(600, 400));
    EXPECT_EQ(StartSizeOf("0100 0050"), QSize(600, 400));            // partial: right, bottom 0
    EXPECT_EQ(StartSizeOf("0100 0050 0900"), QSize(800, 400));       // only the height is missing
    EXPECT_EQ(StartSizeOf("0900 0650 0100 0050"), QSize(600, 400));  // negative size
    EXPECT_EQ(StartSizeOf("0100 0100 0100 0100"), QSize(600, 400));  // zero size
}

TEST(WindowPosition, SizesBeyondTheScreenAreCutToIt) {
    EXPECT_EQ(StartSizeOf("0000 0000 9999 9999"), kScreen);
}

TEST(WindowPosition, NumbersPast32BitsSaturateInsteadOfWrapping) {
    EXPECT_EQ(WindowPosition::ReadNumber("99999999999999999999", 0), 2147483647);
    EXPECT_EQ(WindowPosition::ReadNumber("-99999999999999999999", 0), -2147483647 - 1);
    EXPECT_EQ(WindowPosition::ReadNumber("4294967896", 0), 2147483647);  // would wrap to 600
    EXPECT_EQ(WindowPosition::ReadNumber("0600", 9), 0);                 // past the end
    EXPECT_EQ(StartSizeOf("0000 0000 4294967896"), kScreen);
    // The widest possible stored width does not overflow when subtracted.
    const StoredRect widest{-2147483647 - 1, 0, 2147483647, 300};
    EXPECT_EQ(WindowPosition::StartSize(widest, kScreen), QSize(1280, 300));
}

TEST(WindowPosition, FormatsAsFourZeroPaddedNumbers) {
    EXPECT_EQ(WindowPosition::Format({100, 50, 900, 650}), "0100 0050 0900 0650");
    EXPECT_EQ(WindowPosition::Format({-1, -25, 12345, 7}), "-001 -025 12345 0007");
    const StoredRect rect{340, 312, 940, 712};
    EXPECT_EQ(WindowPosition::Parse(WindowPosition::Format(rect)), rect);
    EXPECT_EQ(WindowPosition::FromQRect(QRect(340, 312, 600, 400)), rect);
}

TEST(WindowPosition, CentresOnTheAvailableArea) {
    const QRect area(0, 30, 1280, 994);
    EXPECT_EQ(WindowPosition::CentredTopLeft(QSize(600, 400), area), QPoint(340, 327));
    // A window as large as the area sits on its top left corner.
    EXPECT_EQ(WindowPosition::CentredTopLeft(QSize(1280, 994), area), QPoint(0, 30));
    EXPECT_EQ(WindowPosition::CentredTopLeft(QSize(2000, 2000), area), QPoint(0, 30));
}

TEST(WindowPosition, NumbersThatOutgrowTheirColumnsAreReadAsSeparatedNumbers) {
    // A window left at -1000 or below, or at 10000 and beyond, writes longer
    // fields; every such text reads back as written.
    for (const StoredRect rect : {StoredRect{-1200, -1100, -400, -500},
                                  {10000, 20, 10800, 620},
                                  {-5, 10000, 795, 10600},
                                  {-1000, -1000, 12345, 99999}}) {
        EXPECT_EQ(WindowPosition::Parse(WindowPosition::Format(rect)), rect)
            << WindowPosition::Format(rect).toStdString();
    }
    EXPECT_EQ(StartSizeOf("-1200 0100 -400 0700"), QSize(800, 600));
    EXPECT_EQ(WindowPosition::Parse("100 50 900 650"), (StoredRect{100, 50, 900, 650}));
    // Texts in the fixed columns keep the meaning the columns give them, and
    // so do texts that are not four numbers.
    EXPECT_EQ(WindowPosition::Parse("0100 0050 0900 0650 77"), (StoredRect{100, 50, 900, 650}));
    EXPECT_EQ(WindowPosition::Parse("0100 0050 0900 0650x"), (StoredRect{100, 50, 900, 650}));
    EXPECT_EQ(WindowPosition::Parse("100 50 900"), (StoredRect{100, 0, 0, 0}));
    EXPECT_EQ(WindowPosition::Parse("1 2 3 4 5"), (StoredRect{1, 4, 0, 0}));
}
