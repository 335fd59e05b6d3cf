#pragma once

#include <string>

#include "monitor/reading.h"

// The text of a log's rows: CSV under a fixed header, or one JSON object a line. Both
// hold the same fields under the same names; a value that does not exist is an empty
// column or null. Alarm starts and ends are rows of their own whose state says which.
// Temperatures have two decimals; numbers never depend on the locale.
class RowFormat {
  public:
    enum class Kind { kCsv, kJsonLines };

    // `spotCount` fixes the spot columns of the CSV header: spot1 … spotN.
    RowFormat(Kind kind, int spotCount) : kind_(kind), spotCount_(spotCount) {}

    // A temperature (or seconds) as the rows write it: two decimals, whatever the locale.
    static std::string Number(double value);

    Kind GetKind() const { return kind_; }
    // The first line of a new file, newline included; empty for JSON lines.
    std::string Header() const;
    // One line each, newline included.
    std::string Line(const Reading& reading) const;
    std::string Line(const AlarmEvent& event) const;

  private:
    std::string CsvLine(const Reading& reading) const;
    std::string CsvLine(const AlarmEvent& event) const;

    Kind kind_;
    int spotCount_;
};
