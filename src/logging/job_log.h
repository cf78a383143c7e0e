#pragma once
// The daily job log: one CSV line per event that matters to the operator, in
// CP932 with CRLF line ends, meant to be opened in a spreadsheet. A field is
// quoted only when it holds a comma, a double quote or a line end (a file name
// may), so such a record can span lines.
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace orvella::logging {

inline constexpr const char* kJobLogHeader =
    "日付,時刻,フォルダ名,プリンタ設定名,画像ファイル,トレイ,幅(mm),長さ(mm),サイズ(kbyte),メッセージ";

// Empty texts and zero numbers are absent and written as "-".
struct JobLogFields {
  std::string sourcePath;  // gives the folder and file name columns
  std::string printerName;
  std::string trayName;
  int widthMm = 0;
  int lengthMm = 0;
  double sizeKb = 0;
  std::string message;
};

// Appends one line to target, or with none to the daily file
// LOG/YYYYMMDD.csv of the program folder, named from the moment of writing.
// A new file gets the header line first. Each line is one append, so lines
// of several threads or processes never mix. False when the file cannot be
// opened or written.
bool WriteJobLog(const std::filesystem::path& program, const std::optional<std::filesystem::path>& target,
                 const JobLogFields& fields);
bool WriteJobLogAt(const std::filesystem::path& program, const std::optional<std::filesystem::path>& target,
                   const JobLogFields& fields, std::time_t now);

// The lines that open and close a run of the program.
inline constexpr const char* kStartUpMessage = "起動";
inline constexpr const char* kExitMessage = "終了";

// A message-only line in the daily log (start-up, exit, notifications).
bool WriteJobLogMessage(const std::filesystem::path& program, const std::string& message);

// The daily log file for a local time.
std::filesystem::path DailyLogPath(const std::filesystem::path& program, std::time_t now);

}  // namespace orvella::logging
