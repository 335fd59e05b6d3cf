// A stand-in for the package installer in tests: it records how it was started into
// "launch-record.txt" in its working folder (argument count, each argument, the working
// folder, the open files above standard error), then stays running for as long as a file
// "hold" exists in that folder (at most a minute).
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char* argv[]) {
    std::string openFiles;
    for (int fd = 3; fd < 1024; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) {
            openFiles += std::to_string(fd) + ' ';
        }
    }
    {
        std::ofstream record("launch-record.partial");
        record << "argc=" << argc << '\n';
        for (int i = 0; i < argc; ++i) {
            record << "argv=" << argv[i] << '\n';
        }
        record << "cwd=" << std::filesystem::current_path().string() << '\n';
        record << "open=" << openFiles << '\n';
    }
    std::rename("launch-record.partial", "launch-record.txt");

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::filesystem::exists("hold") && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
