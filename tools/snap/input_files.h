#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace input_files {

// The files the arguments name: a folder holding "*.snp" files stands for them (in
// snapshot number order, then by name); anything else stands for itself, so that a
// folder without snapshots or a missing file is reported when it is read.
std::vector<std::filesystem::path> Expand(const std::vector<std::string>& arguments);

}  // namespace input_files
