#include "app/serve/console_view.h"

#include <cstdio>
#include <ctime>

namespace orvella::cli {
namespace {

// Control characters, from a file name say, are written as escapes, so that
// each event stays one line and cannot move the terminal's cursor.
std::string Escaped(const std::string& line) {
  std::string out;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    } else {
      out += c;
    }
  }
  return out;
}

void PutLine(std::FILE* stream, const std::string& line) {
  std::fputs(Escaped(line).c_str(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

std::string Now() { return jobs::MakeJobRowColumns("", std::time(nullptr)).added; }

}  // namespace

void ConsoleView::AddJobRow(std::string_view sourcePath, std::string_view text, jobs::StatusMark mark) {
  std::lock_guard lock(mutex_);
  topRow_ = sourcePath;
  JobLine(text, mark);
}

void ConsoleView::SetJobStatus(std::string_view text, jobs::StatusMark mark) {
  std::lock_guard lock(mutex_);
  JobLine(text, mark);
}

// "2026/12/10 08:00:01 job drawing.tif (/srv/hot) [in progress] 変換中"
void ConsoleView::JobLine(std::string_view text, jobs::StatusMark mark) {
  const jobs::JobRowColumns row = jobs::MakeJobRowColumns(topRow_, std::time(nullptr));
  PutLine(stdout, row.added + " job " + row.fileName + " (" + row.folder + ") [" +
                      std::string(jobs::StatusMarkName(mark)) + "] " + std::string(text));
}

void ConsoleView::NoteDetail(std::string_view detail) {
  std::lock_guard lock(mutex_);
  const jobs::JobRowColumns row = jobs::MakeJobRowColumns(topRow_, std::time(nullptr));
  PutLine(stdout, row.added + " detail " + row.fileName + ": " + std::string(detail));
}

// "2026/12/10 08:00:01 passed-over /srv/hot/link.tif: 処理対象外のファイルです(…) (symbolic link)"
void ConsoleView::NotePassedOver(std::string_view path, std::string_view message, std::string_view reason) {
  std::lock_guard lock(mutex_);
  PutLine(stdout, Now() + " passed-over " + std::string(path) + ": " + std::string(message) + " (" +
                      std::string(reason) + ")");
}

void ConsoleView::SetRunState(jobs::RunState state) {
  std::lock_guard lock(mutex_);
  PutLine(stdout, Now() + " state " + jobs::RunStateText(state));
}

void ConsoleView::Warning(const std::string& text) {
  std::lock_guard lock(mutex_);
  PutLine(stderr, "orvella serve: " + text);
}

void ConsoleView::Notice(const base::Failure& notice) {
  std::lock_guard lock(mutex_);
  PutLine(stderr, "orvella serve: " + notice.message + " (" + notice.detail + ")");
}

bool ConsoleView::Question(const std::string&) { return false; }

}  // namespace orvella::cli
