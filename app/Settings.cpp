#include "app/Settings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtGlobal>
#include <algorithm>

Settings::Settings(const QString& application)
    : store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Marbek"), application) {}

QString Settings::ReadPosition() const {
    const QVariant value = store.value(QStringLiteral("Vzhled/pozice"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString Settings::ReadLanguage() const {
    return store.value(QStringLiteral("Vzhled/jazyk")).toString().trimmed();
}

void Settings::WriteLanguage(const QString& key) {
    Put(QStringLiteral("Vzhled/jazyk"), key);
    store.sync();
}

QString Settings::ReadServer() const {
    const QVariant value = store.value(QStringLiteral("Hra/server"));
    return value.typeId() == QMetaType::QString ? value.toString().trimmed() : QString();
}

void Settings::WriteServer(const QString& address) {
    Put(QStringLiteral("Hra/server"), address.trimmed());
    store.sync();
}

QString Settings::ReadName() const {
    const QVariant value = store.value(QStringLiteral("Hra/jmeno"));
    return value.typeId() == QMetaType::QString ? value.toString().trimmed() : QString();
}

void Settings::WriteName(const QString& name) {
    Put(QStringLiteral("Hra/jmeno"), name.trimmed());
    store.sync();
}

std::array<uint8_t, qx::net::kKeySize> Settings::PlayerKey() {
    std::array<uint8_t, qx::net::kKeySize> key{};
    const QByteArray kept =
        QByteArray::fromHex(store.value(QStringLiteral("Hra/klic")).toString().toLatin1());
    if (kept.size() == static_cast<qsizetype>(key.size())) {
        std::copy(kept.begin(), kept.end(), key.begin());
        return key;
    }
    QRandomGenerator::system()->generate(key.begin(), key.end());
    const QByteArray made(reinterpret_cast<const char*>(key.data()), key.size());
    Put(QStringLiteral("Hra/klic"), QString::fromLatin1(made.toHex()));
    store.sync();
    return key;
}

void Settings::WriteKeys(const KeyBindings& keys) {
    keys.Save(store);
    store.sync();
}

bool Settings::ReadIsOne(const QString& key) const {
    bool ok = false;
    const int value = store.value(key).toString().trimmed().toInt(&ok);
    return ok && value == 1;
}

bool Settings::WriteAtExit(const StoredRect& window, bool emperorComputer, bool rebelComputer,
                           bool showScore) {
    const QString position = WindowPosition::Format(window);
    Put(QStringLiteral("Vzhled/pozice"), position);
    Put(QStringLiteral("Hra/PL2"), rebelComputer ? 1 : 0);
    Put(QStringLiteral("Hra/PL1"), emperorComputer ? 1 : 0);
    Put(QStringLiteral("Vzhled/skore"), showScore ? 1 : 0);
    const QDateTime before = QFileInfo(store.fileName()).lastModified();
    store.sync();
    if (Saved(QStringLiteral("pozice=") + position, before)) return true;
    qWarning("%s: the settings could not be saved to %s", qUtf8Printable(store.applicationName()),
             qUtf8Printable(store.fileName()));
    return false;
}

// QSettings keeps only the first error it meets, so a stored file it could
// not fully read (a byte-order mark, a line without "=", garbage) leaves a
// format error that hides how the write went; then the file itself tells:
// rewritten since `before` and holding what was written.
bool Settings::Saved(const QString& writtenLine, const QDateTime& before) const {
    switch (store.status()) {
        case QSettings::NoError:
            return store.isWritable();
        case QSettings::FormatError:
            return QFileInfo(store.fileName()).lastModified() != before && FileHasLine(writtenLine);
        case QSettings::AccessError:
            break;
    }
    return false;
}

bool Settings::FileHasLine(const QString& line) const {
    QFile file(store.fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    while (!file.atEnd()) {
        if (QString::fromUtf8(file.readLine()).trimmed() == line) return true;
    }
    return false;
}

void Settings::Put(const QString& key, const QVariant& value) {
    store.setValue(key, value);
}
