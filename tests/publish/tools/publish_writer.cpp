// A process for the tests to kill: it publishes to a broker or writes a SQLite log and
// says on standard output how far it has come.
//   publish-test-writer mqtt URL PREFIX   publishes one reading, then waits to be killed
//   publish-test-writer sqlite FILE       adds a reading every 5 ms, printing its number
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "publish/mqtt_publisher.h"
#include "publish/sqlite_log.h"

namespace {

void Say(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
}

int Publish(const std::string& url, const std::string& prefix) {
    MqttSettings settings;
    settings.address = MqttAddress::Parse(url);
    settings.topicPrefix = prefix;
    settings.firstRetryDelay = std::chrono::milliseconds(100);
    MqttPublisher publisher(settings);
    publisher.Start();
    publisher.PublishReading("{\"n\":0}");
    while (true) {
        for (const std::string& notice : publisher.TakeNotices()) {
            Say(notice);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

int WriteLog(const std::string& file) {
    SqliteLog log(file, "C");
    log.Open();
    for (std::int64_t number = 0;; ++number) {
        Reading reading;
        reading.time = number;
        reading.timeText = std::to_string(number);
        reading.headSerial = 4711;
        reading.framesTaken = 21;
        reading.highest = 20.5f;
        reading.state = "ok";
        log.Add(reading);
        if (log.Waiting() == 0) {
            Say(std::to_string(number));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "mqtt" && argc == 4) {
        return Publish(argv[2], argv[3]);
    }
    if (mode == "sqlite" && argc == 3) {
        return WriteLog(argv[2]);
    }
    std::fprintf(stderr, "usage: publish-test-writer mqtt URL PREFIX | sqlite FILE\n");
    return 2;
}
