#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// A file written under a temporary name in its destination's folder and renamed over the
// destination only once it is complete, so that nobody sees a partial file and a failed
// write leaves any earlier file in place. Failures throw std::system_error.
class OutputFile {
  public:
    explicit OutputFile(std::filesystem::path destination);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const void* data, std::size_t size);

    // Sets the permission bits, flushes the bytes to disk and renames the file into place.
    void Commit(std::uint32_t mode);

  private:
    std::filesystem::path destination_;
    std::string temporary_;
    int fd_ = -1;
};
