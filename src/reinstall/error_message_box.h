#pragma once

#include <string>

// The program's modal message box: the text as it stands, with an OK button.
class ErrorMessageBox {
  public:
    static void Show(const std::string& text);
};
