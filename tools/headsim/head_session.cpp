#include "headsim/head_session.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "link/head_wire.h"

namespace {

// More than this many bytes waiting on the slave side means no one is reading; frames
// are then dropped instead of piling up.
constexpr std::size_t kBacklogLimit = 1024;
constexpr int kSendTimeoutMs = 200;
// The longest sleep, so that a signal is noticed soon even if it slipped past the wait.
constexpr auto kLongestWait = std::chrono::milliseconds(100);
// The head's line: 115200 baud, ten bits a byte (start, eight data bits, stop).
constexpr double kLineBytesPerSecond = 115200.0 / 10.0;

}  // namespace

HeadSession::HeadSession(const HeadOptions& options, const PseudoTerminal& terminal,
                         std::ostream& log)
    : options_(options),
      terminal_(terminal),
      log_(log),
      head_(options.head),
      scene_(options.seed, options.warmingKelvinPerMinute),
      random_(options.seed) {}

void HeadSession::Run(const volatile std::sig_atomic_t& stopRequested) {
    const auto start = Clock::now();
    auto nextFrame = start;
    while (stopRequested == 0) {
        const auto now = Clock::now();
        if (now >= nextFrame) {
            const double seconds = std::chrono::duration<double>(now - start).count();
            ChangeSerialWhenDue(seconds);
            const std::size_t lineBytes = SendGarbage() + SendFrame(seconds);
            nextFrame = std::max(nextFrame + FramePeriod(lineBytes), now);
            continue;
        }
        const auto wait = std::min<Clock::duration>(nextFrame - now, kLongestWait);
        pollfd incoming{terminal_.Master(), POLLIN, 0};
        const int timeoutMs =
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        if (::poll(&incoming, 1, timeoutMs) > 0 && (incoming.revents & POLLIN) != 0) {
            ServeCommands();
        }
    }
}

HeadSession::Clock::duration HeadSession::FramePeriod(std::size_t lineBytes) const {
    const double seconds = options_.lineRate ? static_cast<double>(lineBytes) / kLineBytesPerSecond
                                             : 1.0 / options_.framesPerSecond;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void HeadSession::ServeCommands() {
    std::array<std::uint8_t, 256> chunk{};
    for (;;) {
        const ssize_t count = ::read(terminal_.Master(), chunk.data(), chunk.size());
        if (count <= 0) {
            return;
        }
        for (ssize_t i = 0; i < count; ++i) {
            if (!commands_.Feed(chunk[static_cast<std::size_t>(i)])) {
                continue;
            }
            const auto command = commands_.Packet();
            if (options_.verbose && command.size() >= 2) {
                log_ << "command " << std::hex << int{command[0]} << ' ' << int{command[1]}
                     << std::dec << '\n';
            }
            const auto answer = head_.Answer(command);
            if (!answer.empty()) {
                Send(answer);
            }
        }
    }
}

void HeadSession::ChangeSerialWhenDue(double seconds) {
    if (options_.serialChange && !serialChanged_ &&
        seconds >= options_.serialChange->afterSeconds) {
        serialChanged_ = true;
        if (options_.serialChange->ranges) {
            head_.Exchange(options_.serialChange->serialNumber, *options_.serialChange->ranges);
            if (options_.verbose) {
                log_ << "head exchanged: serial number now " << head_.SerialNumber() << ", "
                     << int{head_.RangeCount()} << " ranges\n";
            }
        } else {
            ChangeSerial(options_.serialChange->serialNumber);
        }
    }
    // The first frame only schedules the first change.
    if (options_.serialChangeEvery && seconds >= nextSerialCycle_) {
        if (nextSerialCycle_ > 0) {
            const auto next = static_cast<std::uint16_t>(head_.SerialNumber() + 1);
            ChangeSerial(next == 0 ? 1 : next);
        }
        nextSerialCycle_ += *options_.serialChangeEvery;
    }
}

void HeadSession::ChangeSerial(std::uint16_t serialNumber) {
    head_.SetSerialNumber(serialNumber);
    if (options_.verbose) {
        log_ << "serial number now " << head_.SerialNumber() << '\n';
    }
}

std::size_t HeadSession::SendGarbage() {
    if (options_.garbageBytes <= 0) {
        return 0;
    }
    std::uniform_int_distribution<int> length(0, static_cast<int>(2 * options_.garbageBytes));
    // Any byte but the escape byte, so that the garbage never forms a marker.
    std::uniform_int_distribution<int> byte(0, 254);
    std::vector<std::uint8_t> garbage(static_cast<std::size_t>(length(random_)));
    for (auto& value : garbage) {
        const int drawn = byte(random_);
        value = static_cast<std::uint8_t>(drawn >= head_wire::kEscape ? drawn + 1 : drawn);
    }
    Send(garbage);
    return garbage.size();
}

std::size_t HeadSession::SendFrame(double seconds) {
    const auto packet = head_.FramePacket(scene_.Render(seconds));
    Send(packet);
    return packet.size();
}

void HeadSession::Send(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || terminal_.PendingForSlave() > kBacklogLimit) {
        return;
    }
    terminal_.Send(bytes, kSendTimeoutMs);
}
