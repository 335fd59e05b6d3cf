#pragma once

#include <string>

class FileError;

// The message shown when a command's file operation fails: what went wrong, the file
// and, where the system gave one, the reason, one per line.
namespace file_error_report {

std::string Text(const FileError& error);

}  // namespace file_error_report
