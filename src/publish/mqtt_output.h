#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "monitor/reading_output.h"
#include "monitor/row_format.h"
#include "publish/mqtt_publisher.h"

// A log's rows published to an MQTT broker: each row's JSON line (as --format jsonl writes
// it) to PREFIX/readings, alarm starts and ends to PREFIX/alarms. The broker's troubles
// never fail a row: they are reported, and the publisher tries again.
class MqttOutput : public ReadingOutput {
  public:
    using Report = std::function<void(const std::string&)>;

    // An empty `settings.topicPrefix` stands for the default prefix, which names the head:
    // publishing then starts with the first row of a head that answered, and the rows
    // before it wait (as many as the queue holds).
    MqttOutput(MqttSettings settings, int spotCount, Report report);

    // Checks the settings, and starts publishing when the prefix is known. Throws
    // MqttSetupError.
    void Start();
    std::optional<std::string> Write(const Reading& reading) override;
    std::optional<std::string> Write(const AlarmEvent& event) override;
    void Poll() override;
    void Close() override;

  private:
    struct Held {
        bool alarm;
        std::string json;
    };

    std::optional<std::string> Publish(bool alarm, std::string json,
                                       std::optional<std::uint16_t> headSerial);
    std::optional<std::string> StartFor(std::uint16_t headSerial);
    void Send(const Held& message);

    MqttSettings settings_;
    RowFormat format_;
    Report report_;
    std::optional<MqttPublisher> publisher_;
    std::deque<Held> held_;
    std::uint64_t heldDropped_ = 0;
    bool closed_ = false;
};
