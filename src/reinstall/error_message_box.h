#pragma once

#include <string>

// The program's modal message box: the text as it stands, with an OK button.
namespace error_message_box {

void Show(const std::string& text);

}  // namespace error_message_box
