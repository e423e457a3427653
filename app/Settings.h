#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>

#include "app/KeyBindings.h"
#include "app/WindowPosition.h"
#include "net/MatchProtocol.h"

// The per-user settings: organisation "Marbek", application the executable's
// name. Section "Vzhled" keeps the window rectangle ("pozice") and whether
// the title shows the score ("skore") and the language chosen ("jazyk"),
// section "Hra" whether the computer
// plays the Emperor ("PL1") and the Rebel ("PL2"), the match server last
// used ("server"), the player's name there ("jmeno") and its key ("klic").
class Settings {
  public:
    explicit Settings(const QString& application = QCoreApplication::applicationName());
    virtual ~Settings() = default;
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The stored window rectangle ("" when missing or not a plain text).
    QString ReadPosition() const;
    // Only a stored 1 means the computer plays; a missing entry, 0, -1, 2 or
    // text all mean a person.
    bool ReadEmperorComputer() const { return ReadIsOne("Hra/PL1"); }
    bool ReadRebelComputer() const { return ReadIsOne("Hra/PL2"); }
    // Only a stored 1 shows the score; it is off by default.
    bool ReadShowScore() const { return ReadIsOne("Vzhled/skore"); }

    // The player's own keys and pad buttons ("Klavesy", "Gamepad").
    KeyBindings ReadKeys() const { return KeyBindings::Load(store); }
    // Stores them at once.
    void WriteKeys(const KeyBindings& keys);

    // The language chosen in the menu ("cs", "en"; "" when none was).
    QString ReadLanguage() const;
    // Stores the choice of language at once.
    void WriteLanguage(const QString& key);

    // The match server's HOST:PORT last used ("" when none was).
    QString ReadServer() const;
    // Stores it at once.
    void WriteServer(const QString& address);

    // The player's name for games through a server ("" when none was).
    QString ReadName() const;
    void WriteName(const QString& name);
    // The random secret key that stands for this player on match servers
    // (made and stored on its first use).
    std::array<uint8_t, qx::net::kKeySize> PlayerKey();

    // Writes "pozice", then "PL2", then "PL1", then "skore" and saves them. A location that
    // cannot be written costs one warning on standard error, nothing more.
    // Returns whether the settings were saved.
    bool WriteAtExit(const StoredRect& window, bool emperorComputer, bool rebelComputer,
                     bool showScore);

    QString FileName() const { return store.fileName(); }

  protected:
    // Stores one entry ("group/key"); the order of these calls is the order
    // in which the settings are written.
    virtual void Put(const QString& key, const QVariant& value);

  private:
    // Whether the entry holds 1 (text or number).
    bool ReadIsOne(const QString& key) const;
    // Whether the last sync reached the file; `writtenLine` is a line the
    // file holds once it has, `before` the file's time before the sync.
    bool Saved(const QString& writtenLine, const QDateTime& before) const;
    bool FileHasLine(const QString& line) const;

    QSettings store;
};
