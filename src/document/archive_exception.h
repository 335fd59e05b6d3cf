#pragma once

#include <stdexcept>

// Reading a document archive ran past the end of its data.
class ArchiveException : public std::runtime_error {
  public:
    ArchiveException() : std::runtime_error("unexpected end of archive data") {}
};
