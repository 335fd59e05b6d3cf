#include "link/reader_thread.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>

#include "link/packet_mailbox.h"

namespace {

constexpr short kHangUpEvents = POLLHUP | POLLERR | POLLNVAL;

}  // namespace

bool ReaderThread::Start(int deviceFd) {
    if (Running()) {
        return false;
    }
    wake_.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake_.Valid()) {
        return false;
    }
    stop_ = false;
    deviceLost_ = false;
    framer_ = PacketFramer{};  // nothing half-received from an earlier device carries over
    thread_ = std::thread([this, deviceFd] { Run(deviceFd); });
    return true;
}

void ReaderThread::Stop() {
    if (!Running()) {
        return;
    }
    stop_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    thread_.join();
    wake_.Reset();
}

std::optional<std::chrono::nanoseconds> ReaderThread::CpuTime() {
    if (!Running()) {
        return std::nullopt;
    }
    clockid_t clock{};
    timespec used{};
    if (::pthread_getcpuclockid(thread_.native_handle(), &clock) != 0 ||
        ::clock_gettime(clock, &used) != 0) {
        return std::nullopt;
    }
    return std::chrono::seconds(used.tv_sec) + std::chrono::nanoseconds(used.tv_nsec);
}

void ReaderThread::Run(int deviceFd) {
    std::array<pollfd, 2> watched{{{wake_.Get(), POLLIN, 0}, {deviceFd, POLLIN, 0}}};
    nfds_t watchedCount = watched.size();
    while (!stop_) {
        const int ready = ::poll(watched.data(), watchedCount, -1);
        ++wakeups_;
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;  // The wait itself failed: end quietly rather than spin.
        }
        if (watched[0].revents != 0) {
            break;
        }
        if (watchedCount == 2 && watched[1].revents != 0 && !Drain(deviceFd, watched[1].revents)) {
            // The device is gone: from now on only the wake-up is watched.
            deviceLost_ = true;
            watchedCount = 1;
        }
    }
}

bool ReaderThread::Drain(int deviceFd, short events) {
    std::array<std::uint8_t, 512> chunk{};
    while (!stop_) {
        const ssize_t count = ::read(deviceFd, chunk.data(), chunk.size());
        if (count > 0) {
            for (ssize_t i = 0; i < count; ++i) {
                if (framer_.Feed(chunk[static_cast<std::size_t>(i)])) {
                    mailbox_.Put(framer_.Packet());
                }
            }
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Queue empty. A hang-up or error without data would wake the wait forever.
            return (events & kHangUpEvents) == 0;
        }
        return false;  // End of file or a read error.
    }
    return true;
}
