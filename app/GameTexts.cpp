#include "app/GameTexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The game's own texts, as it writes them, so that lupdate lists them (the
// long ones are split over two literals, which is not a missing comma).
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
[[maybe_unused]] const char* const kGameTexts[] = {
    QT_TRANSLATE_NOOP("GameTexts", "End.."),
    QT_TRANSLATE_NOOP("GameTexts", "Je konec imperatora! "),
    QT_TRANSLATE_NOOP("GameTexts",
                      " Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni "
                      "zbytky privrzencu imperatora... "),
    QT_TRANSLATE_NOOP("GameTexts", "Jednotky povstalcu jsou porazeny! "),
    QT_TRANSLATE_NOOP("GameTexts",
                      " Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ..."),
};
// NOLINTEND(bugprone-suspicious-missing-comma)

}  // namespace

QString GameTexts::Translate(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        const QByteArray source = line.toUtf8();
        line = QCoreApplication::translate("GameTexts", source.constData());
    }
    return lines.join(QLatin1Char('\n'));
}
