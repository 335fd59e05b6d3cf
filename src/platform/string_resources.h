#pragma once

#include <string>

// Texts of the language bundle by numeric string id (UTF-8). A missing id gives an
// empty text. The language bundle implements it; tests use a map.
class StringResources {
  public:
    virtual ~StringResources() = default;
    virtual std::string String(int id) const = 0;
};
