#include "link/head_command.h"

#include "link/head_wire.h"

HeadCommand::HeadCommand(std::uint8_t code, const std::uint8_t* parameter) {
    auto append = [this](std::uint8_t byte) { bytes_[length_++] = byte; };
    append(head_wire::kEscape);
    append(head_wire::kStartMarker);
    append(code);
    if (parameter != nullptr) {
        append(*parameter);
    }
    append(0);
    append(0);
    append(head_wire::kEscape);
    append(head_wire::kEndMarker);
}

HeadCommand HeadCommand::QueryRangeCount() {
    return HeadCommand(head_wire::kCommandQueryRangeCount, nullptr);
}

HeadCommand HeadCommand::RequestDescription(std::uint8_t range) {
    return HeadCommand(head_wire::kCommandRequestDescription, &range);
}

HeadCommand HeadCommand::SelectRange(std::uint8_t range) {
    return HeadCommand(head_wire::kCommandSelectRange, &range);
}
