#pragma once
// A failed file preserved for the operator: a folder of its own under ERROR
// holding "error.csv" (one job log line saying why) and a copy of the file.
#include <ctime>
#include <filesystem>
#include <string>

namespace orvella::logging {

inline constexpr int kWholeFile = -1;

// ERROR/YYYYMMDD_HHMMSS_<file name>; for a page (from 1) "_p<page>" goes
// before the file name's extension. A name too long for one folder name is
// cut short.
std::filesystem::path ErrorFolderPath(const std::filesystem::path& program, int page,
                                      const std::string& sourcePath, std::time_t now);

// Creates (or reuses) the folder, appends the line to its "error.csv" (and the
// plain-English cause, when there is one, to its "detail.txt") and copies the
// source's content (read from contentPath when given, else from
// sourcePath) into it under the source's name, replacing an earlier copy
// atomically. A folder or copy that fails is reported in the daily log. True
// when the copy is in place: only then may the source file go.
struct ErrorSource {
  std::string contentPath;  // where to read the content; empty: the source path
  std::string detail;       // the cause in plain English; empty: none
};
bool WriteErrorRecord(const std::filesystem::path& program, int page, const std::string& sourcePath,
                      const std::string& message, const ErrorSource& extra = {});
bool WriteErrorRecordAt(const std::filesystem::path& program, int page, const std::string& sourcePath,
                        const std::string& message, std::time_t now, const ErrorSource& extra = {});

// The files of an error folder that hold the job log lines and the detail
// lines.
inline constexpr const char* kErrorLogFile = "error.csv";
inline constexpr const char* kErrorDetailFile = "detail.txt";

}  // namespace orvella::logging
