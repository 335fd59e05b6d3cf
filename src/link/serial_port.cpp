#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/device_root.h"

namespace {

constexpr std::chrono::milliseconds kWriteTimeout{5000};

speed_t SpeedCode(int baudRate) {
    switch (baudRate) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return B115200;
    }
}

tcflag_t DataBitsFlag(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

tcflag_t ParityFlags(int parity) {
    switch (parity) {
        case serial_code::kOddParity:
            return PARENB | PARODD;
        case serial_code::kEvenParity:
            return PARENB;
        case serial_code::kMarkParity:
            return PARENB | CMSPAR | PARODD;
        case serial_code::kSpaceParity:
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

// Raw bytes, no flow control of either kind, receiver on, modem lines ignored, DTR and
// RTS asserted. Failures are ignored: a device that takes no line settings (a pseudo-
// terminal ignores the modem lines) still carries bytes.
void ConfigureLine(int fd, int baudRate, int parity, int dataBits, int stopBits) {
    termios line{};
    if (::tcgetattr(fd, &line) == 0) {
        ::cfmakeraw(&line);
        line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        line.c_cflag |= DataBitsFlag(dataBits) | ParityFlags(parity) | CLOCAL | CREAD;
        if (stopBits != serial_code::kOneStopBit) {
            line.c_cflag |= CSTOPB;
        }
        line.c_cc[VMIN] = 1;
        line.c_cc[VTIME] = 0;
        ::cfsetispeed(&line, SpeedCode(baudRate));
        ::cfsetospeed(&line, SpeedCode(baudRate));
        ::tcsetattr(fd, TCSANOW, &line);
    }
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines);
}

// Writes all of `bytes`, waiting for room on the non-blocking device until the deadline.
bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t length) {
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t count = ::write(fd, bytes + done, length - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd room{fd, POLLOUT, 0};
        if (::poll(&room, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool SerialPort::Open(int portNumber, int baudRate, int parity, int dataBits, int stopBits) {
    return Open(device_root::ComPort(portNumber), baudRate, parity, dataBits, stopBits);
}

bool SerialPort::Open(const std::filesystem::path& device, int baudRate, int parity, int dataBits,
                      int stopBits) {
    std::lock_guard lock(deviceMutex_);
    if (device_.Valid()) {
        return false;
    }
    devicePath_ = device;
    settings_ = {baudRate, parity, dataBits, stopBits};
    return OpenLocked();
}

bool SerialPort::Reopen() {
    std::lock_guard lock(deviceMutex_);
    if (device_.Valid() || devicePath_.empty()) {
        return false;
    }
    return OpenLocked();
}

bool SerialPort::OpenLocked() {
    UniqueFd device(::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    openError_ = device.Valid() ? 0 : errno;
    if (!device.Valid()) {
        return false;
    }
    // The port is not shared: two readers would split the byte stream between them. The
    // lock holds against every program that locks too; TIOCEXCL also refuses further opens
    // of a terminal device (except by a privileged user), where the device supports it.
    if (::flock(device.Get(), LOCK_EX | LOCK_NB) != 0) {
        openError_ = errno == EWOULDBLOCK ? EBUSY : errno;
        return false;
    }
    ::ioctl(device.Get(), TIOCEXCL);
    ConfigureLine(device.Get(), settings_.baudRate, settings_.parity, settings_.dataBits,
                  settings_.stopBits);
    if (!reader_.Start(device.Get())) {
        openError_ = errno;
        return false;
    }
    device_ = std::move(device);
    return true;
}

void SerialPort::Close() {
    // The reader uses the device until it has ended, so it stops first.
    reader_.Stop();
    std::lock_guard lock(deviceMutex_);
    device_.Reset();
}

bool SerialPort::IsOpen() const {
    std::lock_guard lock(deviceMutex_);
    return device_.Valid();
}

int SerialPort::OpenError() const {
    std::lock_guard lock(deviceMutex_);
    return openError_;
}

std::filesystem::path SerialPort::DevicePath() const {
    std::lock_guard lock(deviceMutex_);
    return devicePath_;
}

bool SerialPort::Write(const std::uint8_t* bytes, int length) {
    const auto count = static_cast<std::size_t>(static_cast<unsigned>(length) & 0xFFu);
    std::lock_guard lock(deviceMutex_);
    if (!device_.Valid() || bytes == nullptr) {
        return false;
    }
    return WriteAll(device_.Get(), bytes, count);
}
