#pragma once

#include <QObject>
#include <QString>

class QHostInfo;

// Looks a computer's name up without stopping the window: Qt's resolver
// asks the system on a thread of its own, which may take many seconds with
// a slow name server. Hands back the first IPv4 address (ENet speaks IPv4)
// as numbers, which the network code then uses without asking anyone. An
// address given as numbers comes back as it is.
class NameLookup : public QObject {
    Q_OBJECT

  public:
    explicit NameLookup(QObject* parent = nullptr);
    ~NameLookup() override;

    void Start(const QString& name);
    // Forgets the lookup under way; nothing is signalled for it.
    void Cancel();
    bool Busy() const { return id >= 0; }
    // Whether a lookup was given up while the system still worked on it:
    // Qt waits for that at exit, up to the name server's time-out.
    static bool AnyAbandoned() { return abandoned; }

  signals:
    void Found(const QString& address);
    void Failed();

  private:
    void OnResult(const QHostInfo& info);

    int id = -1;
    static inline bool abandoned = false;
};
