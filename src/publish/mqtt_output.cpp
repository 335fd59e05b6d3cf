#include "publish/mqtt_output.h"

#include "publish/mqtt_topics.h"

namespace {

// The row's text without its line end.
std::string Message(std::string line) {
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    return line;
}

}  // namespace

MqttOutput::MqttOutput(MqttSettings settings, int spotCount, Report report)
    : settings_(std::move(settings)),
      format_(RowFormat::Kind::kJsonLines, spotCount),
      report_(std::move(report)) {}

void MqttOutput::Start() {
    MqttPublisher::Check(settings_);
    if (!settings_.topicPrefix.empty() && !publisher_) {
        publisher_.emplace(settings_);
        publisher_->Start();
    }
}

std::optional<std::string> MqttOutput::Write(const Reading& reading) {
    return Publish(false, Message(format_.Line(reading)), reading.headSerial);
}

std::optional<std::string> MqttOutput::Write(const AlarmEvent& event) {
    return Publish(true, Message(format_.Line(event)), std::nullopt);
}

std::optional<std::string> MqttOutput::Publish(bool alarm, std::string json,
                                               std::optional<std::uint16_t> headSerial) {
    if (closed_) {
        return std::nullopt;
    }
    if (!publisher_ && headSerial) {
        if (auto failure = StartFor(*headSerial)) {
            return failure;
        }
    }
    if (!publisher_) {
        held_.push_back({alarm, std::move(json)});
        if (held_.size() > settings_.queueLimit) {
            held_.pop_front();
            ++heldDropped_;
        }
        return std::nullopt;
    }
    Send({alarm, std::move(json)});
    Poll();
    return std::nullopt;
}

std::optional<std::string> MqttOutput::StartFor(std::uint16_t headSerial) {
    settings_.topicPrefix = mqtt_topics::DefaultPrefix(mqtt_topics::LocalHostName(), headSerial);
    try {
        Start();
    } catch (const MqttSetupError& error) {
        publisher_.reset();
        closed_ = true;
        return std::string("MQTT: ") + error.what();
    }
    if (heldDropped_ > 0) {
        report_("MQTT: " + std::to_string(heldDropped_) +
                " row(s) dropped while waiting for the head's serial number");
    }
    for (const Held& message : held_) {
        Send(message);
    }
    held_.clear();
    return std::nullopt;
}

void MqttOutput::Send(const Held& message) {
    if (message.alarm) {
        publisher_->PublishAlarm(message.json);
    } else {
        publisher_->PublishReading(message.json);
    }
}

void MqttOutput::Poll() {
    if (publisher_) {
        for (const std::string& notice : publisher_->TakeNotices()) {
            report_(notice);
        }
    }
}

void MqttOutput::Close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    if (!publisher_) {
        if (!held_.empty()) {
            report_("MQTT: " + std::to_string(held_.size()) +
                    " row(s) not published: no head answered, so the topic was not known");
        }
        return;
    }
    const std::size_t left = publisher_->Close();
    Poll();
    if (left > 0) {
        report_("MQTT: " + std::to_string(left) + " message(s) not sent: the broker is away");
    }
}
