#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>

#include "publish/mqtt_address.h"

// How a publisher reaches its broker and where its messages go.
struct MqttSettings {
    MqttAddress address;
    // Every topic starts with this, e.g. mqtt_topics::DefaultPrefix(...).
    std::string topicPrefix;
    // Empty: connect without a user name. The password is the first line of the file.
    std::string user;
    std::filesystem::path passwordFile;
    // The certificate authorities that the broker's certificate must come from (mqtts://
    // only); empty: the system's.
    std::filesystem::path caFile;
    // Messages kept while the broker is away; beyond it the oldest are dropped.
    std::size_t queueLimit = 10000;
    // The wait before the next connection attempt starts at the first value and doubles
    // with every failed attempt up to the second.
    std::chrono::milliseconds firstRetryDelay{1000};
    std::chrono::milliseconds longestRetryDelay{30000};
    std::chrono::seconds keepAlive{30};
};
