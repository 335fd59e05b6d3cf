#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "monitor/reading_output.h"
#include "publish/sqlite_log.h"

// A log's rows and alarm events added to a SQLite database. A database that cannot be
// written for a while never fails a row: it is reported, and the rows are kept and
// written with the next.
class SqliteOutput : public ReadingOutput {
  public:
    using Report = std::function<void(const std::string&)>;

    // `unit`: the temperature unit of the rows ("C", "F" or "K").
    SqliteOutput(std::filesystem::path file, std::string unit, Report report);

    // Opens or creates the database; throws SqliteError.
    void Open() { log_.Open(); }
    std::optional<std::string> Write(const Reading& reading) override;
    std::optional<std::string> Write(const AlarmEvent& event) override;
    void Poll() override;
    void Close() override;

  private:
    SqliteLog log_;
    Report report_;
};
