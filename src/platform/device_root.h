#pragma once

#include <filesystem>
#include <string_view>

// The handheld's object store is one host folder, the device root:
// $XDG_DATA_HOME/therlix-handheld/ ($HOME/.local/share/therlix-handheld/ when the
// variable is unset). This is the one place that maps handheld paths to host paths.
namespace device_root {

// The root folder, read from the environment at every call so that tests can
// point XDG_DATA_HOME at a temporary folder.
std::filesystem::path Folder();

// Maps a handheld path such as "\Program Files\Therlix Imager\Persist.dat" to
// <root>/Program Files/Therlix Imager/Persist.dat. Backslashes become slashes and
// names keep their case. A path without a leading backslash is taken from the root
// as well.
std::filesystem::path Map(std::string_view handheldPath);

// The host entry that names the serial device of COMn: (normally a symbolic link).
std::filesystem::path ComPort(int number);

}  // namespace device_root
