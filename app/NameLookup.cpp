#include "app/NameLookup.h"

#include <QHostAddress>
#include <QHostInfo>

NameLookup::NameLookup(QObject* parent) : QObject(parent) {}

NameLookup::~NameLookup() {
    Cancel();
}

void NameLookup::Start(const QString& name) {
    Cancel();
    id = QHostInfo::lookupHost(name.trimmed(), this, &NameLookup::OnResult);
}

void NameLookup::Cancel() {
    if (id < 0) return;
    QHostInfo::abortHostLookup(id);
    abandoned = true;
    id = -1;
}

void NameLookup::OnResult(const QHostInfo& info) {
    if (info.lookupId() != id) return;  // one given up on
    id = -1;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return emit Found(address.toString());
    }
    emit Failed();
}
