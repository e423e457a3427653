#pragma once

#include <QProcess>
#include <QString>
#include <cstdint>

// A match server of the build, started for one test on 127.0.0.1 with a
// port of its own choosing (read from its first line), ended with the test.
class MatchServerProcess {
  public:
    explicit MatchServerProcess(const QStringList& options = {});
    ~MatchServerProcess();

    bool Running() const { return port != 0; }
    uint16_t Port() const { return port; }
    // "127.0.0.1:PORT", as a player types it.
    QString Address() const;
    // Ends it at once, as a crash or a pulled cable would: no goodbyes.
    void Kill();
    // Asks it to stop (SIGTERM), as an operator would; with --drain it drains.
    void Terminate() { process.terminate(); }

  private:
    QProcess process;
    uint16_t port = 0;
};
