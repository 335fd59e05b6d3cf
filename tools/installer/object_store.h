#pragma once

#include <filesystem>
#include <string_view>

// Where the installer finds the handheld's object store on this host:
// $XDG_DATA_HOME/therlix-handheld ($HOME/.local/share/therlix-handheld when the variable is
// unset or empty). A handheld path "\A\B" is <root>/A/B.
class ObjectStore {
  public:
    static std::filesystem::path Folder();
    static std::filesystem::path Map(const std::filesystem::path& root,
                                     std::string_view handheldPath);
};
