#include "publish/mqtt_recorder.h"

#include <gtest/gtest.h>
#include <mosquitto.h>

#include "support/wait_until.h"

namespace test_support {

MqttRecorder::MqttRecorder(int port, std::string filter, RecorderOptions options)
    : filter_(std::move(filter)) {
    mosquitto_lib_init();
    const bool lasting = !options.sessionName.empty();
    client_ = mosquitto_new(lasting ? options.sessionName.c_str() : nullptr, !lasting, this);
    mosquitto_connect_callback_set(client_, &MqttRecorder::OnConnect);
    mosquitto_subscribe_callback_set(client_, &MqttRecorder::OnSubscribe);
    mosquitto_message_callback_set(client_, &MqttRecorder::OnMessage);
    if (!options.user.empty()) {
        mosquitto_username_pw_set(client_, options.user.c_str(), options.password.c_str());
    }
    mosquitto_reconnect_delay_set(client_, 1, 1, false);
    EXPECT_EQ(mosquitto_connect(client_, "127.0.0.1", port, 10), MOSQ_ERR_SUCCESS);
    EXPECT_EQ(mosquitto_loop_start(client_), MOSQ_ERR_SUCCESS);
}

MqttRecorder::~MqttRecorder() {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
}

void MqttRecorder::OnConnect(mosquitto* client, void* self, int code) {
    if (code == 0) {
        // A lasting session keeps the subscription; subscribing again does no harm.
        mosquitto_subscribe(client, nullptr, static_cast<MqttRecorder*>(self)->filter_.c_str(), 1);
    }
}

void MqttRecorder::OnSubscribe(mosquitto*, void* self, int, int, const int*) {
    auto& recorder = *static_cast<MqttRecorder*>(self);
    std::lock_guard lock(recorder.mutex_);
    recorder.subscribed_ = true;
}

void MqttRecorder::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto& recorder = *static_cast<MqttRecorder*>(self);
    const auto* bytes = static_cast<const char*>(message->payload);
    std::lock_guard lock(recorder.mutex_);
    recorder.messages_.push_back({message->topic,
                                  std::string(bytes, static_cast<std::size_t>(message->payloadlen)),
                                  message->retain});
}

bool MqttRecorder::WaitUntilSubscribed() {
    return WaitUntil([this] {
        std::lock_guard lock(mutex_);
        return subscribed_;
    });
}

std::vector<ReceivedMessage> MqttRecorder::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::string> MqttRecorder::Payloads(const std::string& topic) const {
    std::vector<std::string> payloads;
    for (const ReceivedMessage& message : Messages()) {
        if (message.topic == topic) {
            payloads.push_back(message.payload);
        }
    }
    return payloads;
}

bool MqttRecorder::WaitForCount(const std::string& topic, std::size_t count,
                                std::chrono::seconds limit) const {
    return WaitUntil([&] { return Payloads(topic).size() >= count; }, limit);
}

bool MqttRecorder::WaitForLast(const std::string& topic, const std::string& payload,
                               std::chrono::seconds limit) const {
    return WaitUntil(
        [&] {
            const std::vector<std::string> payloads = Payloads(topic);
            return !payloads.empty() && payloads.back() == payload;
        },
        limit);
}

}  // namespace test_support
