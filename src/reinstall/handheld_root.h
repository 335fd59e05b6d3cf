#pragma once

#include <filesystem>
#include <string_view>

// The handheld's object store as a host folder: $XDG_DATA_HOME/therlix-handheld
// ($HOME/.local/share/therlix-handheld when the variable is unset or empty). A handheld
// path "\A\B" is <root>/A/B.
class HandheldRoot {
  public:
    explicit HandheldRoot(std::filesystem::path folder);

    // The root the environment names now.
    static HandheldRoot FromEnvironment();

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path Map(std::string_view handheldPath) const;

  private:
    std::filesystem::path folder_;
};
