#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"
#include "publish/mqtt_settings.h"
#include "publish/outgoing_queue.h"

class MqttConnection;

// What a publisher has done so far.
struct MqttCounts {
    // Readings and alarms the broker has acknowledged.
    std::uint64_t acknowledged = 0;
    // Dropped from the full queue while the broker was away.
    std::uint64_t dropped = 0;
    // Queued or sent but not yet acknowledged.
    std::size_t waiting = 0;
    bool connected = false;
};

// Publishes readings and alarm events to an MQTT broker with QoS 1, below the prefix:
//   PREFIX/readings  one message per row (the row's JSON text)
//   PREFIX/alarms    one message per alarm start or end (its JSON text)
//   PREFIX/status    "online" when connected, "offline" at the end; both retained, and
//                    "offline" is also the broker's last will for an unexpected end
//   PREFIX/dropped   {"dropped":N,"droppedTotal":T} just before the first message that
//                    follows N dropped ones
// The caller never waits for the network: messages go into a bounded queue that a thread
// of the publisher sends in order while the broker is connected. A message counts as
// sent only when the broker acknowledged it; those not acknowledged when a connection
// breaks are sent again after the next. A broker that is away is tried again after 1 s,
// then after twice as long each time up to 30 s; every failure is reported, none ends
// the publishing.
class MqttPublisher {
  public:
    explicit MqttPublisher(MqttSettings settings);
    ~MqttPublisher();
    MqttPublisher(const MqttPublisher&) = delete;
    MqttPublisher& operator=(const MqttPublisher&) = delete;

    // Throws MqttSetupError when Start would (an unreadable password or CA file, a prefix
    // that cannot start a topic), without connecting. An empty prefix is not checked.
    static void Check(const MqttSettings& settings);
    // Reads the password file, prepares the client and starts the thread, which connects
    // in the background. Throws MqttSetupError when the settings cannot be used.
    void Start();
    // Queue one message; they leave in the order they were given.
    void PublishReading(std::string json);
    void PublishAlarm(std::string json);
    // Ends in order: sends what is waiting for at most `limit`, then the status
    // "offline" (with at most one second more for it), and disconnects. The number of
    // messages left unsent. Does nothing more when already closed.
    std::size_t Close(std::chrono::milliseconds limit = std::chrono::seconds(5));

    // What happened since the last call, one line each for the log: connected, failed
    // (with the reason), messages dropped.
    std::vector<std::string> TakeNotices();
    MqttCounts Counts() const;
    const std::string& TopicPrefix() const { return settings_.topicPrefix; }

  private:
    using Clock = std::chrono::steady_clock;

    void Enqueue(OutgoingMessage message);
    void Wake();
    void Run();
    // One turn of the thread; false when it is done.
    bool Turn();
    void StartAttempt();
    void HandleConnectionEvents();
    void ScheduleNextAttempt();
    void SendWaiting();
    std::optional<int> SendControl(const std::string& topic, std::string_view text, bool retain);
    bool FinishClosing();
    void Notice(std::string text);
    Clock::duration WaitLimit() const;

    MqttSettings settings_;
    std::string readingsTopic_;
    std::string alarmsTopic_;
    std::string statusTopic_;
    std::string droppedTopic_;
    std::string brokerName_;
    std::unique_ptr<MqttConnection> connection_;
    UniqueFd wake_;
    std::thread thread_;

    // Shared with the caller, under the mutex.
    mutable std::mutex mutex_;
    OutgoingQueue queue_;
    std::vector<std::string> notices_;
    std::uint64_t acknowledged_ = 0;
    std::uint64_t droppedTotal_ = 0;
    std::uint64_t droppedUnannounced_ = 0;
    std::size_t inFlight_ = 0;
    bool connected_ = false;
    // Set before closing_, read by the thread after it.
    Clock::time_point closeDeadline_;
    std::atomic<bool> closing_{false};

    // The thread's own.
    std::set<int> controlIds_;
    bool attempting_ = false;
    Clock::time_point nextAttempt_;
    Clock::duration retryDelay_{};
    std::string lastFailure_;
    bool everConnected_ = false;
    std::optional<int> offlineId_;
    Clock::time_point offlineDeadline_;
    bool disconnecting_ = false;
};
