#include "app/FixedDialog.h"

#include <QDialog>

void FixedDialog::Apply(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    dialog.setSizeGripEnabled(false);
    dialog.setFixedSize(dialog.size());
}
