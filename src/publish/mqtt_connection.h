#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/mqtt_settings.h"

struct mosquitto;

// One client of a broker through libmosquitto, driven entirely by its owner's thread:
// the library runs no thread of its own. QoS 1 messages that the broker has not
// acknowledged when a connection drops stay with the library, which sends them again,
// in order, as soon as the next connection is accepted.
class MqttConnection {
  public:
    enum class State { kDisconnected, kConnecting, kConnected };

    // Prepares credentials, TLS and the broker's last will: `willText`, retained, on
    // `willTopic`. Throws MqttSetupError.
    MqttConnection(const MqttSettings& settings, const std::string& password,
                   const std::string& willTopic, std::string_view willText);
    ~MqttConnection();
    MqttConnection(const MqttConnection&) = delete;
    MqttConnection& operator=(const MqttConnection&) = delete;

    // Starts a connection attempt; false when it failed at once (TakeFailure says why).
    bool Connect();
    // Waits at most `limit` for the network or for `wakeFd` (read empty when it wakes),
    // then does the reads, writes and keep-alive that are due.
    void Step(int wakeFd, std::chrono::milliseconds limit);
    // Hands over a QoS 1 message; its id, or nothing when the library refuses it.
    std::optional<int> Publish(const std::string& topic, std::string_view payload, bool retain);
    // Ends the connection in order, so that the broker forgets the last will.
    void Disconnect();

    State CurrentState() const { return state_; }
    // Since the last call: whether the broker accepted a connection, the ids it
    // acknowledged, and why a connection failed or broke (empty when none did).
    bool TakeAccepted();
    std::vector<int> TakeAcknowledged();
    std::string TakeFailure();

  private:
    struct ClientDeleter {
        void operator()(mosquitto* client) const;
    };

    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnDisconnect(mosquitto* client, void* self, int code);
    static void OnPublish(mosquitto* client, void* self, int id);
    static void OnLog(mosquitto* client, void* self, int level, const char* text);
    void SetUpSecurity(const MqttSettings& settings, const std::string& password);
    // Why a call of the library with result `code` failed, errno being `error`.
    std::string Reason(int code, int error) const;
    void NoteFailure(std::string reason);

    std::unique_ptr<mosquitto, ClientDeleter> client_;
    MqttAddress address_;
    int keepAliveSeconds_ = 30;
    State state_ = State::kDisconnected;
    bool accepted_ = false;
    std::vector<int> acknowledged_;
    std::string failure_;
    std::string lastLibraryError_;
};
