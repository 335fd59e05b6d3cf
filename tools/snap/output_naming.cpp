#include "snap/output_naming.h"

std::filesystem::path output_naming::OutputFor(const std::filesystem::path& input,
                                               const std::string& extension,
                                               const std::string& output, bool severalInputs) {
    std::filesystem::path named = input;
    named.replace_extension(extension);
    if (output.empty()) {
        return named;
    }
    if (!severalInputs) {
        return output;
    }
    return std::filesystem::path(output) / named.filename();
}
