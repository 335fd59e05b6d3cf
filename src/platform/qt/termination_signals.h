#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

// Turns SIGTERM and SIGINT into a Qt signal on the user-interface thread, so that the
// program can end the same orderly way as when its window is closed. The C signal
// handler only writes one byte into a pipe; a socket notifier reads it in the event
// loop. One instance at a time; the previous signal dispositions come back when it is
// destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up.
    bool IsActive() const { return notifier_ != nullptr; }

  signals:
    // SIGTERM or SIGINT arrived (signal number).
    void Received(int signalNumber);

  private:
    void ReadPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};
