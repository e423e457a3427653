#include "ConfigSandbox.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

namespace {

void PointSettingsAt(const QString& folder) {
    qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

}  // namespace

ConfigSandbox::ConfigSandbox() {
    PointSettingsAt(dir.path());
}

ConfigSandbox::~ConfigSandbox() = default;

QString ConfigSandbox::FilePath() const {
    return dir.path() + "/Marbek/" + QCoreApplication::applicationName() + ".conf";
}

QString ConfigSandbox::FileText() const {
    QFile file(FilePath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

void ConfigSandbox::Put(const QString& key, const QVariant& value) const {
    QSettings settings("Marbek", QCoreApplication::applicationName());
    settings.setValue(key, value);
}

QVariant ConfigSandbox::Get(const QString& key) const {
    QSettings settings("Marbek", QCoreApplication::applicationName());
    return settings.value(key);
}

void ConfigSandbox::MakeUnwritable() {
    QFile blocker(dir.path() + "/blocker");
    blocker.open(QIODevice::WriteOnly);
    blocker.write("not a folder");
    blocker.close();
    PointSettingsAt(blocker.fileName() + "/config");
}
