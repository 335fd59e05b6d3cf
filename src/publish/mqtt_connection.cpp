#include "publish/mqtt_connection.h"

#include <mosquitto.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

// Readings are small; the library's own limit of messages in flight is set far above
// what the publisher hands over at once, so that it never queues any itself.
constexpr int kLibraryInFlightLimit = 1000;

void InitialiseLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

std::string RefusalReason(int code) {
    switch (code) {
        case 1:
            return "it does not speak MQTT 3.1.1";
        case 2:
            return "it rejected the client identifier";
        case 3:
            return "it is unavailable";
        case 4:
            return "bad user name or password";
        case 5:
            return "not authorised (check the user name and the password file)";
        default:
            return mosquitto_connack_string(code);
    }
}

}  // namespace

void MqttConnection::ClientDeleter::operator()(mosquitto* client) const {
    mosquitto_destroy(client);
}

MqttConnection::MqttConnection(const MqttSettings& settings, const std::string& password,
                               const std::string& willTopic, std::string_view willText)
    : address_(settings.address), keepAliveSeconds_(static_cast<int>(settings.keepAlive.count())) {
    InitialiseLibraryOnce();
    // No identifier: the library makes a random one, so that two publishers never take
    // each other's session; with a clean session the broker keeps nothing between them.
    client_.reset(mosquitto_new(nullptr, true, this));
    if (!client_) {
        throw MqttSetupError("cannot create an MQTT client: " + std::string(std::strerror(errno)));
    }
    mosquitto* client = client_.get();
    mosquitto_connect_callback_set(client, &MqttConnection::OnConnect);
    mosquitto_disconnect_callback_set(client, &MqttConnection::OnDisconnect);
    mosquitto_publish_callback_set(client, &MqttConnection::OnPublish);
    mosquitto_log_callback_set(client, &MqttConnection::OnLog);
    mosquitto_int_option(client, MOSQ_OPT_SEND_MAXIMUM, kLibraryInFlightLimit);
    if (mosquitto_will_set(client, willTopic.c_str(), static_cast<int>(willText.size()),
                           willText.data(), 1, true) != MOSQ_ERR_SUCCESS) {
        throw MqttSetupError("cannot use the topic \"" + willTopic + "\"");
    }
    SetUpSecurity(settings, password);
}

MqttConnection::~MqttConnection() = default;

void MqttConnection::SetUpSecurity(const MqttSettings& settings, const std::string& password) {
    mosquitto* client = client_.get();
    if (!settings.user.empty() && mosquitto_username_pw_set(client, settings.user.c_str(),
                                                            password.c_str()) != MOSQ_ERR_SUCCESS) {
        throw MqttSetupError("the MQTT user name is not valid UTF-8");
    }
    if (!settings.address.secure) {
        if (!settings.caFile.empty()) {
            throw MqttSetupError("a CA file is used only with an mqtts:// URL");
        }
        return;
    }
    int result = MOSQ_ERR_SUCCESS;
    if (settings.caFile.empty()) {
        result = mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    } else {
        if (::access(settings.caFile.c_str(), R_OK) != 0) {
            throw MqttSetupError("cannot read the CA file " + settings.caFile.string() + ": " +
                                 std::strerror(errno));
        }
        result =
            mosquitto_tls_set(client, settings.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
    }
    if (result != MOSQ_ERR_SUCCESS) {
        throw MqttSetupError("cannot set up TLS: " + std::string(mosquitto_strerror(result)));
    }
}

bool MqttConnection::Connect() {
    const int result = mosquitto_connect_async(client_.get(), address_.host.c_str(), address_.port,
                                               keepAliveSeconds_);
    const int error = errno;
    if (result != MOSQ_ERR_SUCCESS) {
        NoteFailure(Reason(result, error));
        return false;
    }
    state_ = State::kConnecting;
    return true;
}

void MqttConnection::Step(int wakeFd, std::chrono::milliseconds limit) {
    mosquitto* client = client_.get();
    const int socket = mosquitto_socket(client);
    std::array<pollfd, 2> watched{{{wakeFd, POLLIN, 0}, {socket, POLLIN, 0}}};
    if (socket >= 0 && mosquitto_want_write(client)) {
        watched[1].events |= POLLOUT;
    }
    const int ready = ::poll(watched.data(), socket >= 0 ? 2 : 1, static_cast<int>(limit.count()));
    if (ready > 0 && watched[0].revents != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = ::read(wakeFd, &count, sizeof count);
    }
    const short events = ready > 0 && socket >= 0 ? watched[1].revents : 0;
    int result = MOSQ_ERR_SUCCESS;
    int error = 0;
    if ((events & (POLLIN | POLLERR | POLLHUP)) != 0) {
        result = mosquitto_loop_read(client, 1);
        error = errno;
    }
    if (result == MOSQ_ERR_SUCCESS && (events & POLLOUT) != 0 && mosquitto_socket(client) >= 0) {
        result = mosquitto_loop_write(client, 1);
        error = errno;
    }
    if (result == MOSQ_ERR_SUCCESS && mosquitto_socket(client) >= 0) {
        result = mosquitto_loop_misc(client);
        error = errno;
    }
    if (state_ != State::kDisconnected && mosquitto_socket(client) < 0) {
        state_ = State::kDisconnected;
        NoteFailure(result == MOSQ_ERR_SUCCESS ? "the connection was closed"
                                               : Reason(result, error));
    }
}

std::optional<int> MqttConnection::Publish(const std::string& topic, std::string_view payload,
                                           bool retain) {
    int id = 0;
    const int result =
        mosquitto_publish(client_.get(), &id, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), 1, retain);
    if (result != MOSQ_ERR_SUCCESS) {
        return std::nullopt;
    }
    return id;
}

void MqttConnection::Disconnect() {
    if (state_ != State::kDisconnected) {
        mosquitto_disconnect(client_.get());
        // The library closes the socket as soon as the DISCONNECT is written.
        if (mosquitto_socket(client_.get()) < 0) {
            state_ = State::kDisconnected;
        }
    }
}

bool MqttConnection::TakeAccepted() {
    return std::exchange(accepted_, false);
}

std::vector<int> MqttConnection::TakeAcknowledged() {
    return std::exchange(acknowledged_, {});
}

std::string MqttConnection::TakeFailure() {
    return std::exchange(failure_, {});
}

void MqttConnection::OnConnect(mosquitto*, void* self, int code) {
    auto& connection = *static_cast<MqttConnection*>(self);
    if (code == 0) {
        connection.state_ = State::kConnected;
        connection.accepted_ = true;
    } else {
        connection.NoteFailure("the broker refused the connection: " + RefusalReason(code));
    }
}

void MqttConnection::OnDisconnect(mosquitto*, void* self, int) {
    static_cast<MqttConnection*>(self)->state_ = State::kDisconnected;
}

void MqttConnection::OnPublish(mosquitto*, void* self, int id) {
    static_cast<MqttConnection*>(self)->acknowledged_.push_back(id);
}

void MqttConnection::OnLog(mosquitto*, void* self, int level, const char* text) {
    if (level == MOSQ_LOG_ERR && text != nullptr) {
        static_cast<MqttConnection*>(self)->lastLibraryError_ = text;
    }
}

std::string MqttConnection::Reason(int code, int error) const {
    switch (code) {
        case MOSQ_ERR_EAI:
            return "cannot look up the host \"" + address_.host + "\": " + ::gai_strerror(error);
        case MOSQ_ERR_ERRNO:
            return std::strerror(error);
        case MOSQ_ERR_TLS:
        case MOSQ_ERR_TLS_HANDSHAKE:
            return "the TLS connection failed" +
                   (lastLibraryError_.empty() ? std::string() : ": " + lastLibraryError_);
        case MOSQ_ERR_KEEPALIVE:
            return "the broker stopped answering";
        case MOSQ_ERR_CONN_LOST:
            return "the connection was lost";
        default:
            return mosquitto_strerror(code);
    }
}

void MqttConnection::NoteFailure(std::string reason) {
    // The first reason is the telling one: a refusal is followed by the closed socket.
    if (failure_.empty()) {
        failure_ = std::move(reason);
    }
}
