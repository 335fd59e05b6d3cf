#include "publish/mosquitto_broker.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "platform/unique_fd.h"
#include "support/wait_until.h"

namespace test_support {

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(int port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Loopback(port);
    return ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// mosquitto started by root changes to the user "mosquitto", which could not read the
// test's folder; it stays the user who runs the test.
std::string CurrentUser() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_name : "root";
}

}  // namespace

int FreePort() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ADD_FAILURE() << "no free port";
        return 0;
    }
    return ntohs(address.sin_port);
}

bool RunToEnd(const std::vector<std::string>& arguments) {
    ChildProcess process(arguments, {.outputFile = "/dev/null"});
    const std::optional<int> status = process.WaitForExit(std::chrono::seconds(30));
    return status && ChildProcess::ExitedWith(*status, 0);
}

void MakeCertificateAuthority(const std::filesystem::path& folder, const std::string& name) {
    const std::string base = (folder / name).string();
    ASSERT_TRUE(RunToEnd({QUORVEL_OPENSSL, "req", "-x509", "-newkey", "ec", "-pkeyopt",
                          "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2", "-subj",
                          "/CN=" + name, "-keyout", base + ".key", "-out", base + ".crt"}));
}

MosquittoBroker::MosquittoBroker(const BrokerOptions& options) : port_(FreePort()) {
    if (options.secure) {
        securePort_ = FreePort();
        MakeCertificates();
    }
    WriteConfiguration(options);
    Start();
}

MosquittoBroker::~MosquittoBroker() {
    Stop();
}

void MosquittoBroker::WriteConfiguration(const BrokerOptions& options) {
    const std::filesystem::path folder = folder_.Path();
    std::ofstream configuration(folder / "mosquitto.conf");
    configuration << "user " << CurrentUser() << "\n"
                  << "log_dest file " << (folder / "mosquitto.log").string() << "\n"
                  << "log_type all\n"
                  << "max_queued_messages 0\n"
                  << "per_listener_settings false\n";
    if (options.persistent) {
        configuration << "persistence true\n"
                      << "persistence_location " << folder.string() << "/\n"
                      << "autosave_on_changes true\n"
                      << "autosave_interval 1\n";
    } else {
        configuration << "persistence false\n";
    }
    if (options.user.empty()) {
        configuration << "allow_anonymous true\n";
    } else {
        const std::string passwords = (folder / "passwords").string();
        EXPECT_TRUE(RunToEnd(
            {QUORVEL_MOSQUITTO_PASSWD, "-c", "-b", passwords, options.user, options.password}));
        configuration << "allow_anonymous false\n"
                      << "password_file " << passwords << "\n";
    }
    configuration << "listener " << port_ << " 127.0.0.1\n";
    if (options.secure) {
        configuration << "listener " << securePort_ << " 127.0.0.1\n"
                      << "cafile " << CaFile().string() << "\n"
                      << "certfile " << (folder / "server.crt").string() << "\n"
                      << "keyfile " << (folder / "server.key").string() << "\n";
    }
}

void MosquittoBroker::MakeCertificates() {
    const std::filesystem::path folder = folder_.Path();
    MakeCertificateAuthority(folder, "ca");
    const std::string server = (folder / "server").string();
    std::ofstream(folder / "server.ext") << "subjectAltName=IP:127.0.0.1\n";
    ASSERT_TRUE(RunToEnd({QUORVEL_OPENSSL, "req", "-newkey", "ec", "-pkeyopt",
                          "ec_paramgen_curve:prime256v1", "-nodes", "-subj", "/CN=127.0.0.1",
                          "-keyout", server + ".key", "-out", server + ".csr"}));
    ASSERT_TRUE(
        RunToEnd({QUORVEL_OPENSSL, "x509", "-req", "-in", server + ".csr", "-CA", CaFile().string(),
                  "-CAkey", (folder / "ca.key").string(), "-CAcreateserial", "-days", "2",
                  "-extfile", server + ".ext", "-out", server + ".crt"}));
}

void MosquittoBroker::Start() {
    ChildProcess::Options options;
    options.outputFile = (folder_.Path() / "mosquitto.out").string();
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{QUORVEL_MOSQUITTO_BROKER, "-c",
                                 (folder_.Path() / "mosquitto.conf").string()},
        options);
    const bool ready = WaitUntil(
        [this] {
            return process_->HasEnded() ||
                   (Accepts(port_) && (securePort_ == 0 || Accepts(securePort_)));
        },
        std::chrono::seconds(10));
    ASSERT_TRUE(ready && !process_->HasEnded())
        << "mosquitto did not start; its output:\n"
        << TemporaryDeviceRoot::ReadText(folder_.Path() / "mosquitto.out");
}

void MosquittoBroker::Stop() {
    if (process_ && process_->Signal(SIGTERM)) {
        process_->WaitForExit(std::chrono::seconds(10));
    }
    process_.reset();
}

void MosquittoBroker::Freeze() {
    ASSERT_TRUE(process_ && process_->Signal(SIGSTOP));
}

void MosquittoBroker::Kill() {
    if (process_ && process_->Signal(SIGKILL)) {
        process_->WaitForExit(std::chrono::seconds(10));
    }
    process_.reset();
}

}  // namespace test_support
