#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace test_support {

struct ReceivedMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// How a recorder connects.
struct RecorderOptions {
    // Not empty: a lasting session of this name, which the broker keeps (with the
    // messages that arrive meanwhile) while the recorder is away.
    std::string sessionName = {};
    std::string user = {};
    std::string password = {};
};

// A subscriber (libmosquitto, its own thread) that keeps every message of a topic
// filter with QoS 1, in the order they arrive, and reconnects after a broker restart.
class MqttRecorder {
  public:
    MqttRecorder(int port, std::string filter, RecorderOptions options = {});
    ~MqttRecorder();
    MqttRecorder(const MqttRecorder&) = delete;
    MqttRecorder& operator=(const MqttRecorder&) = delete;

    // Waits until the broker has confirmed the subscription.
    bool WaitUntilSubscribed();
    std::vector<ReceivedMessage> Messages() const;
    // The payloads that arrived on `topic`, in order.
    std::vector<std::string> Payloads(const std::string& topic) const;
    // Waits until `count` messages have arrived on `topic`.
    bool WaitForCount(const std::string& topic, std::size_t count,
                      std::chrono::seconds limit = std::chrono::seconds(30)) const;
    // Waits until the last message on `topic` is `payload`.
    bool WaitForLast(const std::string& topic, const std::string& payload,
                     std::chrono::seconds limit = std::chrono::seconds(30)) const;

  private:
    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnSubscribe(mosquitto* client, void* self, int id, int count, const int* granted);
    static void OnMessage(mosquitto* client, void* self, const mosquitto_message* message);

    std::string filter_;
    mosquitto* client_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<ReceivedMessage> messages_;
    bool subscribed_ = false;
};

}  // namespace test_support
