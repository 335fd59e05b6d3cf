#pragma once

// Keeps one message of Qt's offscreen platform off standard error: "This plugin does not
// support propagateSizeHints()", repeated for every fixed-size relayout of the window
// (each zoom step, each dialog). Every other message goes to the handler that was
// installed before.
namespace quiet_platform_messages {

// Installs the filter; a second call changes nothing.
void Install();

}  // namespace quiet_platform_messages
