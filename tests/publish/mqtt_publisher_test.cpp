#include "publish/mqtt_publisher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <set>
#include <thread>

#include "publish/mosquitto_broker.h"
#include "publish/mqtt_recorder.h"
#include "publish/mqtt_topics.h"
#include "support/wait_until.h"

namespace {

using test_support::BrokerOptions;
using test_support::MosquittoBroker;
using test_support::MqttRecorder;
using test_support::RecorderOptions;
using test_support::WaitUntil;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kPrefix = "quorvel/test-box/4711";
const std::string kReadings = mqtt_topics::Readings(kPrefix);
const std::string kAlarms = mqtt_topics::Alarms(kPrefix);
const std::string kStatus = mqtt_topics::Status(kPrefix);
const std::string kDropped = mqtt_topics::Dropped(kPrefix);

// Short waits, so that a broker that comes back is found within a fraction of a second.
MqttSettings SettingsFor(const std::string& url) {
    MqttSettings settings;
    settings.address = MqttAddress::Parse(url);
    settings.topicPrefix = kPrefix;
    settings.firstRetryDelay = std::chrono::milliseconds(100);
    settings.longestRetryDelay = std::chrono::milliseconds(400);
    settings.keepAlive = std::chrono::seconds(5);
    return settings;
}

std::string Row(int number) {
    return "{\"n\":" + std::to_string(number) + "}";
}

std::vector<std::string> Rows(int first, int end) {
    std::vector<std::string> rows;
    for (int number = first; number < end; ++number) {
        rows.push_back(Row(number));
    }
    return rows;
}

// Every notice the publisher has given so far is added to `notices`.
bool NoticeArrives(MqttPublisher& publisher, std::vector<std::string>& notices,
                   const std::string& part) {
    return WaitUntil([&] {
        for (std::string& notice : publisher.TakeNotices()) {
            notices.push_back(std::move(notice));
        }
        return std::any_of(notices.begin(), notices.end(), [&](const std::string& notice) {
            return notice.find(part) != std::string::npos;
        });
    });
}

// The status that a subscriber arriving now is given, retained by the broker.
std::string RetainedStatus(int port) {
    MqttRecorder late(port, kStatus);
    if (!late.WaitForCount(kStatus, 1, std::chrono::seconds(5))) {
        return "none";
    }
    const test_support::ReceivedMessage first = late.Messages().front();
    return first.retained ? first.payload : "not retained: " + first.payload;
}

TEST(MqttPublisherTest, EveryMessageArrivesOnceInOrderWithTheStatusAround) {
    MosquittoBroker broker;
    MqttRecorder recorder(broker.Port(), "quorvel/#");
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    MqttPublisher publisher(SettingsFor(broker.Url()));
    publisher.Start();
    std::vector<std::string> alarms;
    for (int number = 0; number < 500; ++number) {
        publisher.PublishReading(Row(number));
        if (number % 100 == 50) {
            alarms.push_back("{\"alarm\":\"max>80C\",\"n\":" + std::to_string(number) + "}");
            publisher.PublishAlarm(alarms.back());
        }
    }
    ASSERT_TRUE(recorder.WaitForCount(kReadings, 500));
    EXPECT_EQ(publisher.Close(), 0U);
    ASSERT_TRUE(recorder.WaitForLast(kStatus, "offline"));

    EXPECT_EQ(recorder.Payloads(kReadings), Rows(0, 500));
    EXPECT_EQ(recorder.Payloads(kAlarms), alarms);
    EXPECT_THAT(recorder.Payloads(kStatus), ElementsAre("online", "offline"));
    EXPECT_TRUE(recorder.Payloads(kDropped).empty());
    EXPECT_EQ(publisher.Counts().acknowledged, 505U);
    EXPECT_EQ(publisher.Counts().waiting, 0U);
    // An alarm arrives between the readings it was published between.
    std::vector<std::string> order;
    for (const auto& message : recorder.Messages()) {
        if (message.topic == kAlarms || message.payload == Row(50) || message.payload == Row(51)) {
            order.push_back(message.payload);
        }
    }
    EXPECT_EQ(order[0], Row(50));
    EXPECT_EQ(order[1], alarms[0]);
    EXPECT_EQ(order[2], Row(51));
    EXPECT_EQ(RetainedStatus(broker.Port()), "offline");
}

// Publishes rows [first, end) at about one per millisecond.
void PublishSlowly(MqttPublisher& publisher, int first, int end) {
    for (int number = first; number < end; ++number) {
        publisher.PublishReading(Row(number));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(MqttPublisherTest, ABrokerThatHangsAndRestartsLosesNoMessageAndKeepsTheOrder) {
    // The broker keeps the recorder's session over its restart, so that the recorder
    // misses nothing while it reconnects either.
    MosquittoBroker broker(BrokerOptions{.persistent = true});
    MqttRecorder recorder(broker.Port(), "quorvel/#", RecorderOptions{.sessionName = "dashboard"});
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    MqttPublisher publisher(SettingsFor(broker.Url()));
    publisher.Start();
    PublishSlowly(publisher, 0, 100);
    ASSERT_TRUE(recorder.WaitForCount(kReadings, 100));
    ASSERT_TRUE(WaitUntil([&] { return publisher.Counts().waiting == 0; }));

    // A hung broker: what is sent now stays unacknowledged, and is lost with the broker.
    broker.Freeze();
    PublishSlowly(publisher, 100, 250);
    EXPECT_EQ(publisher.Counts().waiting, 150U);
    broker.Kill();
    std::vector<std::string> notices;
    EXPECT_TRUE(NoticeArrives(publisher, notices, "trying again"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(publisher.Counts().connected);
    broker.Start();
    PublishSlowly(publisher, 250, 350);
    EXPECT_TRUE(NoticeArrives(publisher, notices, ": connected"));

    ASSERT_TRUE(WaitUntil([&] {
        const auto payloads = recorder.Payloads(kReadings);
        return std::set<std::string>(payloads.begin(), payloads.end()).size() == 350;
    })) << recorder.Payloads(kReadings).size()
        << " arrived";
    EXPECT_EQ(publisher.Close(), 0U);
    // QoS 1 lets a message arrive twice when its acknowledgement was lost; the first
    // arrival of each is in order, and none is missing.
    std::vector<std::string> firstArrivals;
    std::set<std::string> seen;
    for (const std::string& payload : recorder.Payloads(kReadings)) {
        if (seen.insert(payload).second) {
            firstArrivals.push_back(payload);
        }
    }
    EXPECT_EQ(firstArrivals, Rows(0, 350));
    ::testing::Test::RecordProperty("duplicates",
                                    static_cast<int>(recorder.Payloads(kReadings).size() - 350));
    EXPECT_EQ(publisher.Counts().dropped, 0U);
}

TEST(MqttPublisherTest, AFullQueueDropsTheOldestAndPublishesHowMany) {
    MosquittoBroker broker(BrokerOptions{.persistent = true});
    MqttRecorder recorder(broker.Port(), "quorvel/#", RecorderOptions{.sessionName = "dashboard"});
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    broker.Stop();

    MqttSettings settings = SettingsFor(broker.Url());
    settings.queueLimit = 50;
    MqttPublisher publisher(settings);
    publisher.Start();
    for (int number = 0; number < 150; ++number) {
        publisher.PublishReading(Row(number));
        if (number == 10) {
            publisher.PublishAlarm("{\"alarm\":\"max>80C\"}");
        }
    }
    std::vector<std::string> notices;
    EXPECT_TRUE(NoticeArrives(publisher, notices, "MQTT queue full (50 messages)"));
    EXPECT_EQ(publisher.Counts().dropped, 101U);
    EXPECT_EQ(publisher.Counts().waiting, 50U);

    broker.Start();
    ASSERT_TRUE(recorder.WaitForCount(kReadings, 49));
    EXPECT_TRUE(NoticeArrives(publisher, notices, "101 messages were dropped"));
    EXPECT_EQ(publisher.Close(), 0U);
    // The alarm was kept; the count comes first, where the gap is.
    std::vector<std::string> stream;
    for (const auto& message : recorder.Messages()) {
        if (message.topic != kStatus) {
            stream.push_back(message.payload);
        }
    }
    ASSERT_EQ(stream.size(), 51U);
    EXPECT_EQ(stream[0], "{\"dropped\":101,\"droppedTotal\":101}");
    EXPECT_EQ(stream[1], "{\"alarm\":\"max>80C\"}");
    EXPECT_EQ(std::vector<std::string>(stream.begin() + 2, stream.end()), Rows(101, 150));
}

TEST(MqttPublisherTest, AKilledPublisherLeavesTheRetainedStatusOffline) {
    MosquittoBroker broker;
    MqttRecorder recorder(broker.Port(), "quorvel/#");
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    test_support::ChildProcess writer({QUORVEL_PUBLISH_WRITER, "mqtt", broker.Url(), kPrefix});
    ASSERT_TRUE(recorder.WaitForCount(kReadings, 1));
    ASSERT_TRUE(recorder.WaitForLast(kStatus, "online"));
    EXPECT_EQ(RetainedStatus(broker.Port()), "online");

    writer.Signal(SIGKILL);
    EXPECT_TRUE(recorder.WaitForLast(kStatus, "offline"));
    EXPECT_EQ(RetainedStatus(broker.Port()), "offline");
}

TEST(MqttPublisherTest, RefusedCredentialsAreReportedOnceAndRightOnesWork) {
    MosquittoBroker broker(BrokerOptions{.user = "logger", .password = "kiln 7"});
    MqttRecorder recorder(broker.Port(), "quorvel/#",
                          RecorderOptions{.user = "logger", .password = "kiln 7"});
    ASSERT_TRUE(recorder.WaitUntilSubscribed());
    test_support::TemporaryFolder folder;
    std::ofstream(folder.Path() / "wrong") << "kiln 8\n";
    std::ofstream(folder.Path() / "right") << "kiln 7\n";

    MqttSettings settings = SettingsFor(broker.Url());
    settings.user = "logger";
    settings.passwordFile = folder.Path() / "wrong";
    MqttPublisher refused(settings);
    refused.Start();
    refused.PublishReading(Row(1));
    std::vector<std::string> notices;
    ASSERT_TRUE(NoticeArrives(refused, notices, "refused the connection: not authorised"));
    // Several more attempts fail the same way within the next second: still one line.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (std::string& notice : refused.TakeNotices()) {
        notices.push_back(std::move(notice));
    }
    EXPECT_THAT(notices, ElementsAre("MQTT broker " + settings.address.Text() +
                                     ": the broker refused the connection: not authorised "
                                     "(check the user name and the password file); trying again"));
    EXPECT_EQ(refused.Close(std::chrono::milliseconds(0)), 1U);

    settings.passwordFile = folder.Path() / "right";
    MqttPublisher accepted(settings);
    accepted.Start();
    accepted.PublishReading(Row(2));
    EXPECT_TRUE(recorder.WaitForCount(kReadings, 1));
    EXPECT_EQ(accepted.Close(), 0U);
    EXPECT_THAT(recorder.Payloads(kReadings), ElementsAre(Row(2)));
}

TEST(MqttPublisherTest, UnreachableBrokersAreReportedAndDoNotHoldTheCaller) {
    MqttPublisher unknown(SettingsFor("mqtt://no-such-host.invalid"));
    unknown.Start();
    unknown.PublishReading(Row(1));
    std::vector<std::string> notices;
    EXPECT_TRUE(
        NoticeArrives(unknown, notices, "cannot look up the host \"no-such-host.invalid\""));

    MqttPublisher refused(
        SettingsFor("mqtt://127.0.0.1:" + std::to_string(test_support::FreePort())));
    refused.Start();
    refused.PublishReading(Row(1));
    notices.clear();
    EXPECT_TRUE(NoticeArrives(refused, notices, "Connection refused; trying again"));
    // Nothing can be sent: closing gives up at once and says how much stayed unsent.
    EXPECT_EQ(refused.Close(std::chrono::seconds(10)), 1U);
}

TEST(MqttPublisherTest, SecureConnectionsCheckTheBrokersCertificate) {
    MosquittoBroker broker(BrokerOptions{.secure = true});
    MqttRecorder recorder(broker.Port(), "quorvel/#");
    ASSERT_TRUE(recorder.WaitUntilSubscribed());

    MqttSettings settings = SettingsFor(broker.SecureUrl());
    settings.caFile = broker.CaFile();
    MqttPublisher trusted(settings);
    trusted.Start();
    trusted.PublishReading(Row(1));
    EXPECT_TRUE(recorder.WaitForCount(kReadings, 1));
    EXPECT_EQ(trusted.Close(), 0U);

    test_support::TemporaryFolder other;
    test_support::MakeCertificateAuthority(other.Path(), "other");
    settings.caFile = other.Path() / "other.crt";
    MqttPublisher doubting(settings);
    doubting.Start();
    doubting.PublishReading(Row(2));
    std::vector<std::string> notices;
    EXPECT_TRUE(NoticeArrives(doubting, notices, "certificate verify failed"));
    EXPECT_EQ(doubting.Close(std::chrono::milliseconds(0)), 1U);
    EXPECT_THAT(recorder.Payloads(kReadings), ElementsAre(Row(1)));
}

}  // namespace
