#pragma once

#include <QString>
#include <QtGlobal>

// Collects the warnings and other messages Qt code reports while it lives,
// instead of printing them.
class MessageCounter {
  public:
    MessageCounter();
    ~MessageCounter();
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    int Count() const;
    QString Text() const;

  private:
    QtMessageHandler previous;
};
