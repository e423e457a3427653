#include "MessageCounter.h"

#include <QStringList>

namespace {

QStringList collected;

void Collect(QtMsgType, const QMessageLogContext&, const QString& message) {
    collected << message;
}

}  // namespace

MessageCounter::MessageCounter() {
    collected.clear();
    previous = qInstallMessageHandler(Collect);
}

MessageCounter::~MessageCounter() {
    qInstallMessageHandler(previous);
}

int MessageCounter::Count() const {
    return static_cast<int>(collected.size());
}

QString MessageCounter::Text() const {
    return collected.join('\n');
}
