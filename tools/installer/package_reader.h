#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

// Reads an installation package (see package_format.h) entry by entry, checking its
// structure as it goes. Every fault throws std::runtime_error: a bad header, a name or
// folder that is not allowed, a length beyond the end of the file, a CRC mismatch, bytes
// after the last entry.
class PackageReader {
  public:
    struct Entry {
        std::string name;
        std::uint32_t mode = 0;
        std::uint64_t size = 0;
    };
    using Sink = std::function<void(const char* data, std::size_t size)>;

    explicit PackageReader(const std::filesystem::path& package);

    const std::string& InstallFolder() const { return installFolder_; }
    std::uint32_t EntryCount() const { return entryCount_; }

    // The next entry, or nothing after the last one. Bytes of the previous entry that were
    // not read are checked and skipped.
    std::optional<Entry> NextEntry();

    // Hands the current entry's bytes to `sink` in pieces, then checks their CRC-32.
    void ReadData(const Sink& sink);

  private:
    void ReadExact(void* data, std::size_t size);
    std::uint64_t ReadNumber(std::size_t width);
    std::string ReadText(std::size_t maxLength);
    [[noreturn]] void Fail(const std::string& why) const;

    std::filesystem::path path_;
    std::ifstream in_;
    std::uint64_t left_ = 0;  // bytes of the file not read yet
    std::string installFolder_;
    std::uint32_t entryCount_ = 0;
    std::uint32_t entriesSeen_ = 0;
    std::uint64_t dataPending_ = 0;
    bool dataRead_ = true;
};
