#include "MatchServerProcess.h"

#include <QRegularExpression>

MatchServerProcess::MatchServerProcess(const QStringList& options) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(QUARNEX_BINARY_DIR "/server/quarnex-server"),
                  QStringList{"--port", "0", "--bind", "127.0.0.1"} + options);
    if (!process.waitForStarted(5000)) return;
    // The first line: the time, then "quarnex-server: listening on P".
    while (!process.canReadLine() && process.waitForReadyRead(5000)) {
    }
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^\\S+ quarnex-server: listening on (\\d+)$"))
            .match(line);
    if (match.hasMatch()) port = static_cast<uint16_t>(match.captured(1).toUInt());
}

MatchServerProcess::~MatchServerProcess() {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) Kill();
}

QString MatchServerProcess::Address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

void MatchServerProcess::Kill() {
    process.kill();
    process.waitForFinished(3000);
}
