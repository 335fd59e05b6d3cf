#include "ui/port_failure_text.h"

#include <cerrno>
#include <cstring>

std::string PortFailureText(const std::filesystem::path& device, int error) {
    std::string text = "quorvel-imager: cannot open the serial device " + device.string() + ": " +
                       std::strerror(error) + "\n";
    if (error == EACCES) {
        text +=
            "quorvel-imager: serial devices belong to the 'dialout' group; add yourself with "
            "'sudo usermod -aG dialout $USER' and log in again\n";
    }
    return text;
}
