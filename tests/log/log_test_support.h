#pragma once

// Running quorvel-log as a user would, and reading what it wrote.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/environment.h"
#include "support/wait_until.h"

namespace log_test {

namespace fs = std::filesystem;
using test_support::ChildProcess;

// One CSV row by column name.
using Row = std::map<std::string, std::string>;

inline std::string FileText(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Splits a line of the log's CSV (its fields hold no quoted separators in these tests).
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == ',') {
        fields.emplace_back();
    }
    return fields;
}

// The rows of a CSV log; every line must be whole: ended and with every column.
inline std::vector<Row> ReadCsv(const fs::path& file) {
    const std::string text = FileText(file);
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "a row cut short";
    std::stringstream in(text);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = Fields(line);
    std::vector<Row> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = Fields(line);
        EXPECT_EQ(fields.size(), header.size()) << line;
        Row row;
        for (std::size_t k = 0; k < header.size() && k < fields.size(); ++k) {
            row[header[k]] = fields[k];
        }
        rows.push_back(row);
    }
    return rows;
}

inline std::vector<Row> RowsWithState(const std::vector<Row>& rows, const std::string& state) {
    std::vector<Row> found;
    for (const Row& row : rows) {
        if (row.at("state") == state) {
            found.push_back(row);
        }
    }
    return found;
}

// quorvel-log started with `arguments`, its standard output and error to `output`, on the
// device root of the test (XDG_DATA_HOME as the test has it) in UTC.
class LogProcess {
  public:
    LogProcess(std::vector<std::string> arguments, const fs::path& output)
        : output_(output),
          process_(
              WithProgram(std::move(arguments)),
              {.environment = {{"TZ", "UTC"}, {"LC_ALL", "C"}}, .outputFile = output.string()}) {}

    bool Started() const { return process_.Started(); }
    bool Signal(int signal) const { return process_.Signal(signal); }
    // The exit code within `limit`; -1 when it did not exit normally in time.
    int ExitCode(std::chrono::seconds limit = std::chrono::seconds(30)) {
        const auto status = process_.WaitForExit(limit);
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }
    // SIGTERM once the handler is in place, then the exit code.
    int Terminate() {
        test_support::WaitUntil([&] { return process_.Catches(SIGTERM); });
        process_.Signal(SIGTERM);
        return ExitCode();
    }
    std::string Output() const { return FileText(output_); }

    static std::vector<std::string> WithProgram(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), QUORVEL_LOG_PATH);
        return arguments;
    }

  private:
    fs::path output_;
    ChildProcess process_;
};

}  // namespace log_test
