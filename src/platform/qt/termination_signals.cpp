#include "platform/qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace {

// The self-pipe: [0] is read in the event loop, [1] written by the signal handler.
int pipeEnds[2] = {-1, -1};
struct sigaction previousTerm {};
struct sigaction previousInt {};

extern "C" void OnTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Nothing to do when the pipe is full: a wake-up is already pending.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

bool MakePipe() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return false;
    }
    return true;
}

void ClosePipe() {
    for (int& end : pipeEnds) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0 || !MakePipe()) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, &previousTerm) != 0 ||
        ::sigaction(SIGINT, &action, &previousInt) != 0) {
        ::sigaction(SIGTERM, &previousTerm, nullptr);
        ClosePipe();
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::ReadPending);
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr) {
        return;
    }
    notifier_.reset();
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
    ClosePipe();
}

void TerminationSignals::ReadPending() {
    std::array<unsigned char, 16> bytes{};
    ssize_t count = 0;
    while ((count = ::read(pipeEnds[0], bytes.data(), bytes.size())) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            emit Received(bytes[static_cast<std::size_t>(i)]);
        }
    }
}
