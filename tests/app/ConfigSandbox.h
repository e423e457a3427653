#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A fresh, empty per-user settings folder for one test, so no test reads or
// writes the real user's settings. The settings files of the program under
// test are <folder>/Marbek/<application>.conf.
class ConfigSandbox {
  public:
    ConfigSandbox();
    ~ConfigSandbox();

    QString Folder() const { return dir.path(); }
    QString FilePath() const;
    QString FileText() const;

    // Stores / reads one entry ("group/key") as the program would see it.
    void Put(const QString& key, const QVariant& value) const;
    QVariant Get(const QString& key) const;
    // Points the settings at a folder below a regular file: nothing can be
    // created there.
    void MakeUnwritable();

  private:
    QTemporaryDir dir;
};
