#include <gtest/gtest.h>

#include "Printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>

#include "ConfigSandbox.h"
#include "MessageCounter.h"
#include "app/Settings.h"

namespace {

// Settings that also note the order in which entries are written.
class RecordingSettings : public Settings {
  public:
    QStringList written;

  protected:
    void Put(const QString& key, const QVariant& value) override {
        written << key + "=" + value.toString();
        Settings::Put(key, value);
    }
};

}  // namespace

TEST(Settings, WritesThePositionThenPL2ThenPL1ThenTheScoreChoice) {
    ConfigSandbox config;
    RecordingSettings settings;
    EXPECT_TRUE(settings.WriteAtExit({340, 312, 940, 712}, true, false, true));
    EXPECT_EQ(settings.written, QStringList({"Vzhled/pozice=0340 0312 0940 0712", "Hra/PL2=0",
                                             "Hra/PL1=1", "Vzhled/skore=1"}));
    EXPECT_EQ(settings.FileName(), config.FilePath());
}

TEST(Settings, ReadsBackWhatItWrote) {
    ConfigSandbox config;
    {
        Settings settings;
        settings.WriteAtExit({-4, 12, 796, 612}, false, true, false);
    }
    Settings settings;
    EXPECT_EQ(settings.ReadPosition(), "-004 0012 0796 0612");
    EXPECT_FALSE(settings.ReadEmperorComputer());
    EXPECT_TRUE(settings.ReadRebelComputer());
    EXPECT_FALSE(settings.ReadShowScore());
    EXPECT_EQ(config.Get("Hra/PL1").toString(), "0");
    EXPECT_EQ(config.Get("Hra/PL2").toString(), "1");
}

TEST(Settings, MissingEntriesMeanNoPositionAndTwoPersons) {
    ConfigSandbox config;
    Settings settings;
    EXPECT_EQ(settings.ReadPosition(), "");
    EXPECT_FALSE(settings.ReadEmperorComputer());
    EXPECT_FALSE(settings.ReadRebelComputer());
    EXPECT_FALSE(settings.ReadShowScore());
}

TEST(Settings, OnlyAStoredOneMeansTheComputerPlays) {
    ConfigSandbox config;
    const struct {
        const char* stored;
        bool computer;
    } cases[] = {{"1", true},  {" 1 ", true},  {"0", false},    {"-1", false},
                 {"2", false}, {"abc", false}, {"1abc", false}, {"", false}};
    for (const auto& c : cases) {
        config.Put("Hra/PL1", c.stored);
        config.Put("Hra/PL2", c.stored);
        Settings settings;
        EXPECT_EQ(settings.ReadEmperorComputer(), c.computer) << c.stored;
        EXPECT_EQ(settings.ReadRebelComputer(), c.computer) << c.stored;
    }
}

TEST(Settings, AnUnwritableLocationCostsOneWarning) {
    ConfigSandbox config;
    config.MakeUnwritable();
    MessageCounter messages;
    {
        Settings settings;
        EXPECT_EQ(settings.ReadPosition(), "");
        EXPECT_FALSE(settings.WriteAtExit({0, 0, 600, 400}, false, false, false));
    }
    EXPECT_EQ(messages.Count(), 1) << messages.Text().toStdString();
    EXPECT_TRUE(messages.Text().contains("settings could not be saved"));
}

// A stored file that QSettings cannot fully read is still rewritten, and
// that is no reason to warn.
TEST(Settings, AnOldFileItCannotFullyReadIsRewrittenWithoutAWarning) {
    const QByteArray bom = "\xEF\xBB\xBF";
    for (const QByteArray& old : {bom + "[Hra]\nPL1=1\n", QByteArray("[Hra]\nno equals sign\n"),
                                  QByteArray("\x01\x02 garbage \xFF\xFE\n[[[\n")}) {
        ConfigSandbox config;
        QDir().mkpath(config.Folder() + "/Marbek");
        QFile file(config.FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.flush();  // written before it is dated a minute back, as an old file is
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                         QFileDevice::FileModificationTime);
        file.close();
        MessageCounter messages;
        {
            Settings settings;
            EXPECT_TRUE(settings.WriteAtExit({40, 60, 840, 660}, true, false, false));
        }
        EXPECT_EQ(messages.Count(), 0) << messages.Text().toStdString();
        Settings settings;
        EXPECT_EQ(settings.ReadPosition(), "0040 0060 0840 0660");
        EXPECT_TRUE(settings.ReadEmperorComputer());
    }
}
