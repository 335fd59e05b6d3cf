#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A symbolic link made for the lifetime of this object: it is removed again on
// destruction, unless something else has replaced it meanwhile.
class SymbolicLink {
  public:
    // Points `path` at `target`, creating missing folders and replacing an existing
    // symbolic link (but nothing else). Nothing, with `error` set, on failure.
    static std::optional<SymbolicLink> Create(const std::filesystem::path& path,
                                              const std::filesystem::path& target,
                                              std::string& error);
    ~SymbolicLink();
    SymbolicLink(SymbolicLink&& other) noexcept;
    SymbolicLink& operator=(SymbolicLink&& other) noexcept;
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    void Remove() noexcept;

    SymbolicLink(std::filesystem::path path, std::filesystem::path target)
        : path_(std::move(path)), target_(std::move(target)) {}

    std::filesystem::path path_;
    std::filesystem::path target_;
};
