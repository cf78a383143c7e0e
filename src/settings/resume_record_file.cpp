#include "settings/resume_record_file.h"

#include "base/file_io.h"
#include "base/text_codec.h"
#include "settings/ini_file.h"
#include "settings/program_folders.h"
#include "settings/settings_error.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kRelative = "/INI/LASTPROCESSFILE.txt";
constexpr std::string_view kComment =
    "# Orvella's resume record for a file name HIDDEN.INI cannot hold (UTF-8; \\xHH is one byte, \\\\ a "
    "backslash)";
constexpr std::string_view kPath = "PATH";
constexpr std::string_view kPage = "PAGE";
constexpr std::string_view kQty = "QTY";
constexpr std::string_view kTime = "TIME";
constexpr size_t kMaxFileBytes = 64 * 1024;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::filesystem::path ResumeRecordFilePath(const std::filesystem::path& program) {
  return ProgramPath(program, kRelative);
}

std::string EscapeRecordPath(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line;
  for (size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const size_t kept = c == '\\' || c < 0x20 || c == 0x7F ? 0 : base::Utf8SequenceLength(bytes, i);
    if (kept > 0) {
      line.append(bytes.substr(i, kept));
      i += kept;
    } else {
      line += c == '\\' ? std::string("\\\\") : std::string{'\\', 'x', kDigits[c >> 4], kDigits[c & 0x0F]};
      ++i;
    }
  }
  return line;
}

std::optional<std::string> UnescapeRecordPath(std::string_view line) {
  std::string bytes;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\') {
      bytes += line[i];
    } else if (i + 1 < line.size() && line[i + 1] == '\\') {
      bytes += '\\';
      ++i;
    } else if (i + 3 < line.size() && line[i + 1] == 'x' && HexDigit(line[i + 2]) >= 0 &&
               HexDigit(line[i + 3]) >= 0) {
      bytes += static_cast<char>(HexDigit(line[i + 2]) << 4 | HexDigit(line[i + 3]));
      i += 3;
    } else {
      return std::nullopt;
    }
  }
  return bytes;
}

std::optional<LastProcessFile> ReadResumeRecordFile(const std::filesystem::path& path) {
  std::string bytes;
  switch (base::ReadWholeFile(path, bytes, kMaxFileBytes)) {
    case base::ReadStatus::kMissing:
      return std::nullopt;
    case base::ReadStatus::kFailed:
      throw SettingsError(ReadErrorText(path));
    case base::ReadStatus::kOk:
      break;
  }
  LastProcessFile record;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const size_t equals = line.find('=');
    if (line.starts_with('#') || equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
    if (key == kPath) {
      auto path = UnescapeRecordPath(value);
      if (!path) return std::nullopt;
      record.path = std::move(*path);
    } else if (key == kPage) {
      record.page = ParseIniInt(value);
    } else if (key == kQty) {
      record.qty = ParseIniInt(value);
    } else if (key == kTime) {
      record.time = ParseFileTime(value);
    }
  }
  if (record.path.empty()) return std::nullopt;
  return record;
}

bool WriteResumeRecordFile(const std::filesystem::path& path, const LastProcessFile& record) {
  std::string text(kComment);
  text += "\n" + std::string(kPath) + "=" + EscapeRecordPath(record.path);
  text += "\n" + std::string(kPage) + "=" + std::to_string(record.page);
  text += "\n" + std::string(kQty) + "=" + std::to_string(record.qty);
  text += "\n" + std::string(kTime) + "=" + FormatFileTime(record.time) + "\n";
  return base::ReplaceFileAtomically(path, text, 0644);
}

}  // namespace orvella::settings
