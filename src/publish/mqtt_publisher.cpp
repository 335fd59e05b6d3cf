#include "publish/mqtt_publisher.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/file_error.h"
#include "platform/whole_file.h"
#include "publish/mqtt_connection.h"
#include "publish/mqtt_topics.h"

namespace {

// Messages handed to the connection and not yet acknowledged, at most: enough to keep
// a local network busy, few enough that a full queue still drops the oldest.
constexpr std::size_t kInFlightWindow = 100;
// The longest wait of the thread when nothing happens: the keep-alive needs a turn.
constexpr auto kLongestWait = std::chrono::seconds(1);
// The time the "offline" status has, after the close limit, to be acknowledged.
constexpr auto kStatusGrace = std::chrono::seconds(1);
constexpr std::string_view kOnline = "online";
constexpr std::string_view kOffline = "offline";

// The first line of the password file (without its line end); empty without a file.
std::string ReadPassword(const MqttSettings& settings) {
    if (settings.passwordFile.empty()) {
        return {};
    }
    if (settings.user.empty()) {
        throw MqttSetupError("a password file needs a user name");
    }
    const std::string name = settings.passwordFile.string();
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = whole_file::Read(settings.passwordFile);
    } catch (const FileError& error) {
        throw MqttSetupError("cannot read the password file " + name + ": " + error.what());
    }
    if (!bytes) {
        const int error = ::access(settings.passwordFile.c_str(), R_OK) != 0 ? errno : EINVAL;
        throw MqttSetupError("cannot read the password file " + name + ": " +
                             (error == EINVAL ? "not a readable file" : std::strerror(error)));
    }
    std::string text(bytes->begin(), bytes->end());
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

MqttPublisher::MqttPublisher(MqttSettings settings)
    : settings_(std::move(settings)),
      readingsTopic_(mqtt_topics::Readings(settings_.topicPrefix)),
      alarmsTopic_(mqtt_topics::Alarms(settings_.topicPrefix)),
      statusTopic_(mqtt_topics::Status(settings_.topicPrefix)),
      droppedTopic_(mqtt_topics::Dropped(settings_.topicPrefix)),
      brokerName_("MQTT broker " + settings_.address.Text()),
      queue_(settings_.queueLimit) {}

MqttPublisher::~MqttPublisher() {
    Close(std::chrono::milliseconds(0));
}

void MqttPublisher::Check(const MqttSettings& settings) {
    if (!settings.topicPrefix.empty()) {
        mqtt_topics::CheckPrefix(settings.topicPrefix);
    }
    const MqttConnection trial(settings, ReadPassword(settings), "quorvel/check/status", kOffline);
}

void MqttPublisher::Start() {
    if (thread_.joinable() || closing_) {
        return;
    }
    mqtt_topics::CheckPrefix(settings_.topicPrefix);
    const std::string password = ReadPassword(settings_);
    connection_ = std::make_unique<MqttConnection>(settings_, password, statusTopic_, kOffline);
    wake_.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake_.Valid()) {
        throw MqttSetupError("cannot start publishing: " + std::string(std::strerror(errno)));
    }
    retryDelay_ = settings_.firstRetryDelay;
    nextAttempt_ = Clock::now();
    thread_ = std::thread([this] { Run(); });
}

void MqttPublisher::PublishReading(std::string json) {
    Enqueue({OutgoingMessage::Kind::kReading, std::move(json)});
}

void MqttPublisher::PublishAlarm(std::string json) {
    Enqueue({OutgoingMessage::Kind::kAlarm, std::move(json)});
}

void MqttPublisher::Enqueue(OutgoingMessage message) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        // The thread needs a call only when it can send and has nothing left: otherwise
        // it is sending already, or an acknowledgement or the next connection wakes it.
        wake = connected_ && queue_.Empty();
        if (queue_.Push(std::move(message))) {
            if (droppedUnannounced_++ == 0) {
                notices_.push_back("MQTT queue full (" + std::to_string(queue_.Limit()) +
                                   " messages): dropping the oldest until " + brokerName_ +
                                   " takes them again");
            }
            ++droppedTotal_;
        }
    }
    if (wake) {
        Wake();
    }
}

void MqttPublisher::Wake() {
    if (wake_.Valid()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    }
}

std::size_t MqttPublisher::Close(std::chrono::milliseconds limit) {
    if (thread_.joinable()) {
        closeDeadline_ = Clock::now() + limit;
        closing_ = true;
        Wake();
        thread_.join();
        // Without a DISCONNECT the broker sends the last will, "offline".
        connection_.reset();
    }
    closing_ = true;
    std::lock_guard lock(mutex_);
    connected_ = false;
    return queue_.Size() + inFlight_;
}

std::vector<std::string> MqttPublisher::TakeNotices() {
    std::lock_guard lock(mutex_);
    return std::exchange(notices_, {});
}

MqttCounts MqttPublisher::Counts() const {
    std::lock_guard lock(mutex_);
    return {acknowledged_, droppedTotal_, queue_.Size() + inFlight_, connected_};
}

void MqttPublisher::Notice(std::string text) {
    std::lock_guard lock(mutex_);
    notices_.push_back(std::move(text));
}

void MqttPublisher::Run() {
    while (Turn()) {
    }
}

bool MqttPublisher::Turn() {
    const bool closing = closing_;
    if (closing && FinishClosing()) {
        return false;
    }
    if (!closing && !attempting_ && Clock::now() >= nextAttempt_) {
        StartAttempt();
    }
    if (connection_->CurrentState() == MqttConnection::State::kConnected && !offlineId_) {
        SendWaiting();
    }
    connection_->Step(wake_.Get(), std::chrono::ceil<std::chrono::milliseconds>(WaitLimit()));
    HandleConnectionEvents();
    return true;
}

void MqttPublisher::StartAttempt() {
    attempting_ = connection_->Connect();
    if (!attempting_) {
        HandleConnectionEvents();
        ScheduleNextAttempt();
    }
}

void MqttPublisher::HandleConnectionEvents() {
    if (connection_->TakeAccepted()) {
        if (!everConnected_ || !lastFailure_.empty()) {
            Notice(brokerName_ + ": connected");
        }
        everConnected_ = true;
        lastFailure_.clear();
        retryDelay_ = settings_.firstRetryDelay;
        SendControl(statusTopic_, kOnline, true);
        std::lock_guard lock(mutex_);
        connected_ = true;
    }
    for (const int id : connection_->TakeAcknowledged()) {
        if (controlIds_.erase(id) == 0) {
            std::lock_guard lock(mutex_);
            ++acknowledged_;
            inFlight_ -= std::min<std::size_t>(inFlight_, 1);
        }
    }
    if (std::string failure = connection_->TakeFailure();
        !failure.empty() && failure != lastFailure_) {
        Notice(brokerName_ + ": " + failure + (closing_ ? "" : "; trying again"));
        lastFailure_ = std::move(failure);
    }
    if (attempting_ && connection_->CurrentState() == MqttConnection::State::kDisconnected) {
        attempting_ = false;
        ScheduleNextAttempt();
        std::lock_guard lock(mutex_);
        connected_ = false;
    }
}

void MqttPublisher::ScheduleNextAttempt() {
    nextAttempt_ = Clock::now() + retryDelay_;
    retryDelay_ = std::min<Clock::duration>(retryDelay_ * 2, settings_.longestRetryDelay);
}

void MqttPublisher::SendWaiting() {
    std::lock_guard lock(mutex_);
    while (inFlight_ + controlIds_.size() < kInFlightWindow && !queue_.Empty()) {
        if (droppedUnannounced_ > 0) {
            const std::string text = "{\"dropped\":" + std::to_string(droppedUnannounced_) +
                                     ",\"droppedTotal\":" + std::to_string(droppedTotal_) + "}";
            if (!SendControl(droppedTopic_, text, false)) {
                return;
            }
            notices_.push_back("MQTT: " + std::to_string(droppedUnannounced_) +
                               " messages were dropped while " + brokerName_ + " was away");
            droppedUnannounced_ = 0;
        }
        const OutgoingMessage& next = queue_.Front();
        const std::string& topic =
            next.kind == OutgoingMessage::Kind::kReading ? readingsTopic_ : alarmsTopic_;
        if (connection_->Publish(topic, next.payload, false)) {
            ++inFlight_;
        } else {
            // The library refuses only what it could never send; keeping it would stop
            // every later message.
            notices_.push_back("MQTT: a message to " + topic +
                               " could not be sent and was dropped");
            ++droppedTotal_;
        }
        queue_.Pop();
    }
}

std::optional<int> MqttPublisher::SendControl(const std::string& topic, std::string_view text,
                                              bool retain) {
    const std::optional<int> id = connection_->Publish(topic, text, retain);
    if (id) {
        controlIds_.insert(*id);
    }
    return id;
}

bool MqttPublisher::FinishClosing() {
    using State = MqttConnection::State;
    const auto now = Clock::now();
    const State state = connection_->CurrentState();
    if (state == State::kDisconnected) {
        return true;
    }
    if (state == State::kConnecting) {
        return now >= closeDeadline_;
    }
    if (disconnecting_) {
        return now >= offlineDeadline_;
    }
    if (!offlineId_) {
        bool allSent = false;
        {
            std::lock_guard lock(mutex_);
            allSent = queue_.Empty() && inFlight_ == 0;
        }
        if (allSent || now >= closeDeadline_) {
            offlineDeadline_ = std::max(now, closeDeadline_) + kStatusGrace;
            offlineId_ = SendControl(statusTopic_, kOffline, true);
            if (!offlineId_) {
                offlineId_ = -1;  // not accepted: disconnect without it
            }
        }
        return false;
    }
    if (controlIds_.count(*offlineId_) == 0 || now >= offlineDeadline_) {
        disconnecting_ = true;
        connection_->Disconnect();
        return connection_->CurrentState() == State::kDisconnected;
    }
    return false;
}

MqttPublisher::Clock::duration MqttPublisher::WaitLimit() const {
    const auto now = Clock::now();
    Clock::time_point until = now + kLongestWait;
    if (closing_) {
        until = std::min(until, offlineId_ ? offlineDeadline_ : closeDeadline_);
    } else if (!attempting_) {
        until = std::min(until, nextAttempt_);
    }
    return std::max<Clock::duration>(until - now, Clock::duration::zero());
}
