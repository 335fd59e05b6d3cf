#pragma once

#include <filesystem>
#include <string>

namespace output_naming {

// Where the export of `input` goes: `input` with `extension` in place of its own;
// with `output` given, that file for a single input, or that folder (the input's name
// with `extension`) when there are several.
std::filesystem::path OutputFor(const std::filesystem::path& input, const std::string& extension,
                                const std::string& output, bool severalInputs);

}  // namespace output_naming
