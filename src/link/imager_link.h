#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/head_range.h"
#include "link/imager_protocol.h"
#include "link/packet_buffer.h"
#include "link/serial_port.h"
#include "link/thermal_frame.h"

class HeadEventSink;

// The program's end of the conversation with the sensor head on COM1: sends the
// outstanding range queries, decodes frames, range counts and range descriptions.
// Until Open succeeds it runs without a head: polls find nothing, writes go nowhere.
class ImagerLink {
  public:
    // `events` (may be null) hears of range changes and accepted frames.
    explicit ImagerLink(HeadEventSink* events);
    virtual ~ImagerLink();
    ImagerLink(const ImagerLink&) = delete;
    ImagerLink& operator=(const ImagerLink&) = delete;

    // Opens COM1 (115200 8N1) and starts its reader thread; false when the port cannot
    // be opened.
    bool Open();
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

  private:
    void Send(const HeadCommand& command);

    SerialPort port_;
    ImagerProtocol protocol_;
    PacketBuffer packet_{};  // polling thread only
};
