#include "app/NetStatusFit.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace {

const QString kFigureSeparator = QStringLiteral(", ");
const QString kNoteSeparator = QStringLiteral(" - ");

}  // namespace

// Measured as QMenuBar lays its items out: each title's text in the
// style's item box, the items' spacing and the bar's margins.
int NetStatusFit::MenusWidth(const QMenuBar& bar) {
    const QStyle* style = bar.style();
    int width = 2 * (style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, &bar) +
                     style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, &bar));
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, &bar);
    for (const QAction* action : bar.actions()) {
        if (!action->isVisible()) continue;
        QStyleOptionMenuItem option;
        option.initFrom(&bar);
        option.text = action->text();
        const QSize text = bar.fontMetrics().size(Qt::TextShowMnemonic, action->text());
        width +=
            style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, &bar).width() + spacing;
    }
    return width;
}

// QMenuBar places its corner widget anew only when the bar is resized or the
// widget shown or hidden; a new text (this one's or the label's owner's) is
// a new size, so the bar is told.
void NetStatusFit::Show(QLabel& label, QMenuBar& bar, const QString& full) {
    const QMargins margins = label.contentsMargins();
    const int room = bar.width() - MenusWidth(bar) - margins.left() - margins.right();
    const QFontMetrics metrics = label.fontMetrics();
    QStringList figures = full.split(kFigureSeparator);
    QString note;
    if (const int at = figures.last().indexOf(kNoteSeparator); at >= 0) {
        note = figures.last().mid(at);
        figures.last().truncate(at);
    }
    QString text = full;
    while (figures.size() > 1 && metrics.horizontalAdvance(text) > room) {
        figures.removeLast();
        text = figures.join(kFigureSeparator) + note;
    }
    if (metrics.horizontalAdvance(text) > room)
        text = metrics.elidedText(text, Qt::ElideRight, qMax(room, 0));
    if (text != label.text()) label.setText(text);
    QResizeEvent relayout(bar.size(), bar.size());
    QCoreApplication::sendEvent(&bar, &relayout);
}
