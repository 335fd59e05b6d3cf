#pragma once

#include <QString>
#include <string>

// A range description as the link delivered it, which may carry a terminating NUL and
// what follows: the text up to the NUL.
inline QString RangeDescriptionText(const std::string& description) {
    return QString::fromStdString(description.substr(0, description.find('\0')));
}
