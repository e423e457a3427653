// The language the desktop speaks, and Qt's own texts in it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

#include "app/Language.h"

using Code = Language::Code;

TEST(Language, CzechAndSlovakSystemsGetCzechOthersEnglishAndAChoiceOverrides) {
    EXPECT_EQ(Language::Chosen("", {"cs-CZ"}), Code::Czech);
    EXPECT_EQ(Language::Chosen("", {"sk-SK", "en"}), Code::Czech);
    EXPECT_EQ(Language::Chosen("", {"en-US", "cs-CZ"}), Code::English);
    EXPECT_EQ(Language::Chosen("", {"de-DE"}), Code::English);
    EXPECT_EQ(Language::Chosen("", {}), Code::English);
    EXPECT_EQ(Language::Chosen("en", {"cs-CZ"}), Code::English);
    EXPECT_EQ(Language::Chosen("cs", {"en-GB"}), Code::Czech);
    EXPECT_EQ(Language::Chosen("xx", {"cs"}), Code::Czech);
}

TEST(Language, EnglishTranslatesTheGameAndCzechTranslatesQt) {
    {
        Language language;
        ASSERT_TRUE(language.Apply(Code::English));
        EXPECT_EQ(QCoreApplication::translate("MainWindow", "&Hra"), "&Game");
    }
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "&Hra"), "&Hra");
    const QString qtCzech = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_cs.qm";
    if (!QFile::exists(qtCzech)) GTEST_SKIP() << "no " << qtCzech.toStdString();
    Language language;
    ASSERT_TRUE(language.Apply(Code::Czech));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "&Hra"), "&Hra");
}
