#include "logging/error_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "base/unique_fd.h"
#include "logging/append_line.h"
#include "logging/job_log.h"
#include "settings/program_folders.h"

namespace orvella::logging {
namespace {

constexpr const char* kFolderFailed = "エラーフォルダの作成に失敗しました";
constexpr const char* kCopyFailed = "エラーファイルのコピーに失敗しました";

void LogFailure(const std::filesystem::path& program, const std::string& sourcePath, const char* message,
                const std::string& detail) {
  JobLogFields fields;
  fields.sourcePath = sourcePath;
  fields.message = std::string(message) + "(" + detail + ")";
  WriteJobLog(program, std::nullopt, fields);
}

// A folder name may not exceed this many bytes.
constexpr std::size_t kMaxNameBytes = 255;

// text cut to at most bytes, not inside a UTF-8 sequence.
std::string CutUtf8(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

// A detail on one line, whatever the library's text held.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

bool CopyBytes(int from, int to, std::string& detail) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      detail = "reading: " + std::error_code(errno, std::generic_category()).message();
      return false;
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        detail = "writing: " + std::error_code(errno, std::generic_category()).message();
        return false;
      }
      done += put;
    }
  }
}

// Copies the content of from (a regular file) to a private file in the
// folder, flushed to disk, then renames it over the target: a reader sees the
// old copy or the new one, never half of one, and a crash right after the
// source is deleted still finds the copy. The copy is the program's own
// file: 0640 whatever the source's mode was.
bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::string& detail) {
  const base::UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!in || ::fstat(in.Get(), &info) != 0) {
    detail = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    detail = "not a regular file";
    return false;
  }
  std::string name = (to.parent_path() / ".copy-XXXXXX").string();
  base::UniqueFd out(::mkostemp(name.data(), O_CLOEXEC));
  if (!out) {
    detail = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  bool ok = ::fchmod(out.Get(), 0640) == 0 && CopyBytes(in.Get(), out.Get(), detail);
  if (ok && (::fsync(out.Get()) != 0 || !out.Close())) {
    detail = "writing: " + std::error_code(errno, std::generic_category()).message();
    ok = false;
  }
  std::error_code error;
  if (ok) std::filesystem::rename(name, to, error);
  if (!ok || error) {
    ::unlink(name.c_str());
    if (error) detail = error.message();
    return false;
  }
  return true;
}

}  // namespace

std::filesystem::path ErrorFolderPath(const std::filesystem::path& program, int page,
                                      const std::string& sourcePath, std::time_t now) {
  std::tm t{};
  localtime_r(&now, &t);
  char stamp[80];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d_", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  const std::filesystem::path file = std::filesystem::path(sourcePath).filename();
  const std::string pageMark = page != kWholeFile ? "_p" + std::to_string(page) : "";
  std::string stem = file.stem().string();
  std::string extension = file.extension().string();
  const std::size_t room = kMaxNameBytes - std::strlen(stamp);
  if (extension.size() > room / 2) {  // that long, it is part of the name
    stem += extension;
    extension.clear();
  }
  // A name too long for the folder is cut short; its page and extension stay.
  std::string name = stem + pageMark + extension;
  if (name.size() > room)
    name = CutUtf8(stem, room - pageMark.size() - extension.size()) + pageMark + extension;
  return settings::ProgramPath(program, "/ERROR/" + std::string(stamp) + name);
}

bool WriteErrorRecordAt(const std::filesystem::path& program, int page, const std::string& sourcePath,
                        const std::string& message, std::time_t now, const ErrorSource& extra) {
  const std::filesystem::path folder = ErrorFolderPath(program, page, sourcePath, now);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    LogFailure(program, sourcePath, kFolderFailed, folder.string() + ": " + error.message());
    return false;
  }
  JobLogFields fields;
  fields.sourcePath = sourcePath;
  fields.message = message;
  WriteJobLogAt(program, folder / kErrorLogFile, fields, now);
  // UTF-8, one line per failure, beside the line it explains.
  if (!extra.detail.empty()) AppendLine(folder / kErrorDetailFile, "", OneLine(extra.detail) + "\n");

  const std::filesystem::path copy = folder / std::filesystem::path(sourcePath).filename();
  std::string detail;
  if (!CopyReplacing(extra.contentPath.empty() ? sourcePath : extra.contentPath, copy, detail)) {
    LogFailure(program, sourcePath, kCopyFailed, copy.string() + ": " + detail);
    return false;
  }
  return true;
}

bool WriteErrorRecord(const std::filesystem::path& program, int page, const std::string& sourcePath,
                      const std::string& message, const ErrorSource& extra) {
  return WriteErrorRecordAt(program, page, sourcePath, message, std::time(nullptr), extra);
}

}  // namespace orvella::logging
