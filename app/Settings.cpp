#include "app/Settings.h"

#include <QtGlobal>

Settings::Settings(const QString& application)
    : store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Marbek"), application) {}

QString Settings::ReadPosition() const {
    const QVariant value = store.value(QStringLiteral("Vzhled/pozice"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool Settings::ReadComputer(const QString& key) const {
    bool ok = false;
    const int value = store.value(key).toString().trimmed().toInt(&ok);
    return ok && value == 1;
}

bool Settings::WriteAtExit(const StoredRect& window, bool emperorComputer, bool rebelComputer) {
    Put(QStringLiteral("Vzhled/pozice"), WindowPosition::Format(window));
    Put(QStringLiteral("Hra/PL2"), rebelComputer ? 1 : 0);
    Put(QStringLiteral("Hra/PL1"), emperorComputer ? 1 : 0);
    store.sync();
    if (store.status() == QSettings::NoError && store.isWritable()) return true;
    qWarning("%s: the settings could not be saved to %s", qUtf8Printable(store.applicationName()),
             qUtf8Printable(store.fileName()));
    return false;
}

void Settings::Put(const QString& key, const QVariant& value) {
    store.setValue(key, value);
}
