#include "headsim/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

std::optional<PseudoTerminal> PseudoTerminal::Open(std::string& error) {
    PseudoTerminal terminal;
    terminal.master_.Reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    const int master = terminal.master_.Get();
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::array<char, 128> name{};
    if (::ptsname_r(master, name.data(), name.size()) != 0) {
        error = std::string("no pseudo-terminal name: ") + std::strerror(errno);
        return std::nullopt;
    }
    terminal.slavePath_ = name.data();
    terminal.slave_.Reset(::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!terminal.slave_.Valid()) {
        error = "cannot open " + terminal.slavePath_ + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // Raw from the start: no echo and no translation of the bytes the device sends.
    termios line{};
    if (::tcgetattr(terminal.slave_.Get(), &line) == 0) {
        ::cfmakeraw(&line);
        ::tcsetattr(terminal.slave_.Get(), TCSANOW, &line);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return terminal;
}

std::size_t PseudoTerminal::PendingForSlave() const {
    int pending = 0;
    if (::ioctl(slave_.Get(), FIONREAD, &pending) != 0 || pending < 0) {
        return 0;
    }
    return static_cast<std::size_t>(pending);
}

bool PseudoTerminal::Send(std::span<const std::uint8_t> bytes, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(master_.Get(), bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd room{master_.Get(), POLLOUT, 0};
        ::poll(&room, 1, static_cast<int>(left.count()));
    }
    return true;
}
