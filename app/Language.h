#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <memory>

// The language the desktop speaks: Czech (the game's own texts, as they
// always were) or English (through the Qt Linguist translation compiled into
// the program). Czech and Slovak systems get Czech, every other one English;
// a choice made in the menu overrides that and is kept in the settings.
// Qt's own texts (file dialogs, standard buttons) follow the chosen language.
class Language {
  public:
    enum class Code { Czech, English };

    Language() = default;
    ~Language();
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    // The stored choice ("cs", "en"; anything else means none) or else the
    // system's first language for its programs' texts (LANGUAGE, LC_ALL,
    // LC_MESSAGES, LANG).
    static Code Chosen(const QString& stored,
                       const QStringList& systemLanguages = QLocale::system().uiLanguages());
    static QString Key(Code code);

    // Installs the translations of `code` in the application, replacing
    // those installed before. Returns false when a translation could not be
    // loaded (the texts then stay Czech, or Qt's stay English).
    bool Apply(Code code);
    Code Current() const { return current; }

  private:
    void Remove();

    Code current = Code::Czech;
    std::unique_ptr<QTranslator> game;
    std::unique_ptr<QTranslator> qt;
};
