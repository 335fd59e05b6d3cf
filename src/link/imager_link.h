#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "link/head_range.h"
#include "link/head_watch.h"
#include "link/imager_protocol.h"
#include "link/link_health.h"
#include "link/packet_buffer.h"
#include "link/serial_port.h"
#include "link/thermal_frame.h"

class HeadEventSink;

// The program's end of the conversation with the sensor head on COM1 (or another serial
// device): sends the outstanding range queries, decodes frames, range counts and range
// descriptions. Until Open succeeds it runs without a head: polls find nothing, writes
// go nowhere. After Open, a port that cannot be opened or whose device went away (the
// head was unplugged) is closed and opened again about once a second by the polls; a
// head that comes back is asked for its ranges like a new head.
class ImagerLink {
  public:
    // `events` (may be null) hears of range changes and accepted frames.
    explicit ImagerLink(HeadEventSink* events);
    virtual ~ImagerLink();
    ImagerLink(const ImagerLink&) = delete;
    ImagerLink& operator=(const ImagerLink&) = delete;

    // Opens COM1 (115200 8N1) and starts its reader thread; false when the port cannot
    // be opened (OpenError then tells why).
    bool Open();
    // The same for the serial device at `device`.
    bool Open(const std::filesystem::path& device);
    // Ends the reader thread and closes the port (also done by the destructor).
    void Close();

    // One protocol step (acquisition thread only): 1 when a frame was accepted.
    int Poll();
    void CopyFrame(ThermalFrame& destination) const;

    std::uint8_t CurrentRangeNumber() const;        // 255 = unknown
    std::vector<std::string> Descriptions() const;  // a copy; entry k is range k + 1
    std::string Description(int index) const;       // empty beyond the list
    std::uint16_t CurrentLowerLimit() const;
    std::uint16_t CurrentUpperLimit() const;
    std::uint16_t HeadSerialNumber() const;
    void SelectRange(int range);  // sends select range

    // Number, description and limits of the current range, read together.
    HeadRange CurrentRange() const;
    // The device type code of the last accepted packet (0 before any).
    std::uint8_t DeviceTypeCode() const;
    bool PortOpen() const;
    // The system's error number of the last failed open.
    int OpenError() const { return port_.OpenError(); }
    std::filesystem::path DevicePath() const { return port_.DevicePath(); }
    // No head answers: the port is closed since Open, or nothing has arrived for a while.
    // False before Open.
    bool HeadAbsent() const { return headAbsent_.load(); }
    // The line's counts since the link was built; any thread.
    LinkHealth Health() const;

  private:
    // Closes a port whose device went away and, when due, opens it again.
    void KeepPortOpen(HeadWatch::Clock::time_point now);
    // Tells the listener when the head starts or stops answering.
    void ReportPresence(HeadWatch::Clock::time_point now);
    void Send(const HeadCommand& command);

    HeadEventSink* events_;
    SerialPort port_;
    ImagerProtocol protocol_;
    PacketBuffer packet_{};  // polling thread only
    HeadWatch watch_;        // polling thread only, after Open
    std::atomic<bool> headAbsent_{false};
    std::atomic<std::uint64_t> framesTaken_{0};
    std::atomic<std::uint64_t> reconnections_{0};
    // Steady-clock ticks of the last frame taken; 0 before the first.
    std::atomic<HeadWatch::Clock::rep> lastFrameTicks_{0};
};
