#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/environment.h"

namespace test_support {

// How a test broker is set up.
struct BrokerOptions {
    // Sessions, their queued messages and retained messages survive a restart, even
    // after a kill: the broker saves them at every change.
    bool persistent = false;
    // When set, only this user with this password may connect.
    std::string user = {};
    std::string password = {};
    // Also a TLS listener, with a server certificate for 127.0.0.1 from the CA file.
    bool secure = false;
};

// Debian's mosquitto on 127.0.0.1 at a free port, with its own configuration file in a
// temporary folder; started by the constructor, stopped by the destructor.
class MosquittoBroker {
  public:
    explicit MosquittoBroker(const BrokerOptions& options = {});
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    // Starts it and waits until it accepts connections.
    void Start();
    // Ends it in order (SIGTERM) and waits for it.
    void Stop();
    // Stops it where it is (SIGSTOP): connections stay open, nothing is answered.
    void Freeze();
    // Ends it at once (SIGKILL), as a crash would.
    void Kill();

    int Port() const { return port_; }
    std::string Url() const { return "mqtt://127.0.0.1:" + std::to_string(port_); }
    // The TLS listener, when asked for.
    std::string SecureUrl() const { return "mqtts://127.0.0.1:" + std::to_string(securePort_); }
    std::filesystem::path CaFile() const { return folder_.Path() / "ca.crt"; }
    const std::filesystem::path& Folder() const { return folder_.Path(); }

  private:
    void WriteConfiguration(const BrokerOptions& options);
    void MakeCertificates();

    TemporaryFolder folder_;
    int port_ = 0;
    int securePort_ = 0;
    std::unique_ptr<ChildProcess> process_;
};

// A free TCP port on 127.0.0.1 at the moment of the call.
int FreePort();
// Runs a program to its end (at most 30 s); true when it exited with 0.
bool RunToEnd(const std::vector<std::string>& arguments);
// A certificate authority (`name`.crt, `name`.key) in `folder`.
void MakeCertificateAuthority(const std::filesystem::path& folder, const std::string& name);

}  // namespace test_support
