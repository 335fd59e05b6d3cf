#include "ui/port_failure_text.h"

#include <cerrno>
#include <cstring>

#include "platform/lock_holder.h"

std::string PortFailureText(const std::filesystem::path& device, int error) {
    std::string reason = std::strerror(error);
    if (error == EBUSY) {
        const auto holder = lock_holder::Find(device);
        reason = "in use by another program" + (holder ? " (" + holder->Text() + ")" : "");
    }
    std::string text =
        "quorvel-imager: cannot open the serial device " + device.string() + ": " + reason + "\n";
    if (error == EACCES) {
        text +=
            "quorvel-imager: serial devices belong to the 'dialout' group; add yourself with "
            "'sudo usermod -aG dialout $USER' and log in again\n";
    }
    return text;
}
