#pragma once

#include <filesystem>
#include <string>

// The lines on standard error that tell why the serial device could not be opened: the
// device, the system's reason for `error` (an errno value) and, when permission was
// denied, how a user gets access to serial devices.
std::string PortFailureText(const std::filesystem::path& device, int error);
