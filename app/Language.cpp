#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Language::~Language() {
    Remove();
}

Language::Code Language::Chosen(const QString& stored, const QStringList& systemLanguages) {
    if (stored == QLatin1String("cs")) return Code::Czech;
    if (stored == QLatin1String("en")) return Code::English;
    if (systemLanguages.isEmpty()) return Code::English;
    const QLocale::Language first = QLocale(systemLanguages.first()).language();
    return first == QLocale::Czech || first == QLocale::Slovak ? Code::Czech : Code::English;
}

QString Language::Key(Code code) {
    return code == Code::Czech ? QStringLiteral("cs") : QStringLiteral("en");
}

void Language::Remove() {
    for (auto* translator : {game.get(), qt.get()}) {
        if (translator) QCoreApplication::removeTranslator(translator);
    }
    game.reset();
    qt.reset();
}

bool Language::Apply(Code code) {
    Remove();
    current = code;
    bool loaded = true;
    if (code == Code::English) {
        game = std::make_unique<QTranslator>();
        loaded = game->load(QStringLiteral(":/i18n/quarnex_en.qm"));
        if (loaded) QCoreApplication::installTranslator(game.get());
    } else {
        // Qt itself speaks English; only Czech needs its translation.
        qt = std::make_unique<QTranslator>();
        loaded = qt->load(QStringLiteral("qtbase_cs"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (loaded) QCoreApplication::installTranslator(qt.get());
    }
    return loaded;
}
