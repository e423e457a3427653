#include "app/ServerWaitDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ServerWaitDialog::ServerWaitDialog(const QString& message, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Sitova hra"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("waitText"));
    text->setMinimumWidth(320);
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* row = new QHBoxLayout;
    codeLabel = new QLabel(tr("Kod hry:"), this);
    row->addWidget(codeLabel);
    code = new QLineEdit(this);
    code->setObjectName(QStringLiteral("inviteCode"));
    code->setReadOnly(true);
    QFont big = code->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    big.setStyleHint(QFont::Monospace);
    code->setFont(big);
    code->setAlignment(Qt::AlignCenter);
    code->setMinimumWidth(QFontMetrics(big).horizontalAdvance(QStringLiteral("WWWWWWWWWW")));
    row->addWidget(code);
    copy = new QPushButton(tr("&Kopirovat kod"), this);
    copy->setObjectName(QStringLiteral("copyCode"));
    connect(copy, &QPushButton::clicked, this, &ServerWaitDialog::CopyCode);
    row->addWidget(copy);
    layout->addLayout(row);
    copied = new QLabel(this);
    copied->setObjectName(QStringLiteral("copiedNote"));
    layout->addWidget(copied);
    for (QWidget* w : {static_cast<QWidget*>(codeLabel), static_cast<QWidget*>(code),
                       static_cast<QWidget*>(copy), static_cast<QWidget*>(copied)}) {
        w->hide();
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cancel = buttons->addButton(tr("Zrusit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Grows when the code comes; a title and a close button (which cancels) only.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
}

void ServerWaitDialog::SetText(const QString& message) {
    text->setText(message);
}

QString ServerWaitDialog::Text() const {
    return text->text();
}

QString ServerWaitDialog::Code() const {
    return code->text();
}

void ServerWaitDialog::ShowCode(const QString& invite) {
    code->setText(invite);
    for (QWidget* w : {static_cast<QWidget*>(codeLabel), static_cast<QWidget*>(code),
                       static_cast<QWidget*>(copy), static_cast<QWidget*>(copied)}) {
        w->show();
    }
    copied->setText(tr("Poslete kod souperi; zada ho v nabidce Hra > Sitova hra."));
    copy->setDefault(true);
    copy->setFocus();
}

void ServerWaitDialog::CopyCode() {
    QApplication::clipboard()->setText(code->text());
    copied->setText(tr("Kod je ve schrance."));
}
