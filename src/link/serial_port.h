#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>

#include "link/packet_buffer.h"
#include "link/packet_mailbox.h"
#include "link/reader_thread.h"
#include "platform/unique_fd.h"

// Parity and stop-bit codes as the handheld's serial settings give them.
namespace serial_code {
inline constexpr int kNoParity = 0;
inline constexpr int kOddParity = 1;
inline constexpr int kEvenParity = 2;
inline constexpr int kMarkParity = 3;
inline constexpr int kSpaceParity = 4;
inline constexpr int kOneStopBit = 0;
inline constexpr int kOnePointFiveStopBits = 1;
inline constexpr int kTwoStopBits = 2;
}  // namespace serial_code

// The serial port to the sensor head: the device that the device root names COMn,
// configured raw without flow control, DTR and RTS asserted. A reader thread frames the
// received bytes; the newest complete packet waits in a one-packet mailbox.
class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens and configures COM<portNumber> for this program alone and starts the reader
    // thread. False when the device is missing, cannot be opened or is held by another
    // program; the port then stays closed.
    bool Open(int portNumber, int baudRate, int parity, int dataBits, int stopBits);
    // The same for the serial device at `device`.
    bool Open(const std::filesystem::path& device, int baudRate, int parity, int dataBits,
              int stopBits);
    // Opens the device of the last Open again with the same settings (the port must be
    // closed). False when there was no Open or the device cannot be opened.
    bool Reopen();
    // Ends the reader thread and closes the device. Does nothing when not open.
    void Close();
    bool IsOpen() const;
    // The device hung up, ran dry for good or failed a read; the port is of no use
    // until it is closed and opened again.
    bool DeviceLost() const { return reader_.DeviceLost(); }
    // The system's error number of the last failed open (0 after a successful one);
    // EBUSY when another program holds the device.
    int OpenError() const;
    // The device of the last Open.
    std::filesystem::path DevicePath() const;

    // Writes one command in one go. Only the low 8 bits of `length` count. Writes from
    // several threads never interleave. False when closed, on error or after 5 seconds.
    bool Write(const std::uint8_t* bytes, int length);

    // Copies the waiting packet (with zeros to the end) into `destination`; false, and
    // `destination` untouched, when none is waiting. Never waits.
    bool FetchPacket(PacketBuffer& destination) { return mailbox_.Take(destination); }
    // Frame packets received and replaced unfetched since the port was built.
    PacketMailbox::FrameCounts FramePacketCounts() const { return mailbox_.Counts(); }

    // The reader thread, for watching its state.
    ReaderThread& Reader() { return reader_; }

  private:
    struct LineSettings {
        int baudRate;
        int parity;
        int dataBits;
        int stopBits;
    };

    bool OpenLocked();

    mutable std::mutex deviceMutex_;  // guards everything below and serialises writes
    UniqueFd device_;
    std::filesystem::path devicePath_;
    LineSettings settings_{};
    int openError_ = 0;
    PacketMailbox mailbox_;
    ReaderThread reader_{mailbox_};
};
