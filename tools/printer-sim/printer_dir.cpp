#include "printer_dir.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orvella::sim {
namespace {

constexpr std::size_t kMaxSmallFile = 64 * 1024;  // faults, credentials, snmp-state
// An upload in progress: ".upload-" + six random characters + ".part".
constexpr std::string_view kPartialPrefix = ".upload-";
constexpr std::string_view kPartialSuffix = ".part";

// Reads a small control file; nothing when it is missing or unreasonably large.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxSmallFile) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<std::uint64_t> ParseCount(const std::string& text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "NNNNNN.prn" to its number, else 0.
unsigned SpoolNumber(const std::string& name) {
  if (name.size() != 10 || name.compare(6, 4, ".prn") != 0) return 0;
  auto number = ParseCount(name.substr(0, 6));
  return number ? static_cast<unsigned>(*number) : 0;
}

}  // namespace

PrinterDir::PrinterDir(std::filesystem::path dir, SimLog& log) : dir_(std::move(dir)), log_(log) {}

bool PrinterDir::Prepare(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir_ / "spool", ec);
  if (ec) {
    error = "cannot create " + (dir_ / "spool").string() + ": " + ec.message();
    return false;
  }
  // Continue the numbering of an earlier run instead of overwriting its jobs;
  // its partial uploads will never complete.
  std::vector<std::filesystem::path> partials;
  for (const auto& entry : std::filesystem::directory_iterator(dir_ / "spool", ec)) {
    const std::string name = entry.path().filename().string();
    nextSpool_ = std::max(nextSpool_, SpoolNumber(name) + 1);
    if (name.starts_with(kPartialPrefix) && name.ends_with(kPartialSuffix)) partials.push_back(entry.path());
  }
  for (const auto& path : partials) removedPartials_ += std::filesystem::remove(path, ec) ? 1 : 0;
  return true;
}

void PrinterDir::WarnOnce(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    if (!warned_.insert(text).second) return;
  }
  log_.Line(text);
}

Faults PrinterDir::ReadFaults() {
  Faults faults;
  auto text = ReadSmallFile(dir_ / "faults");
  if (!text) return faults;
  std::istringstream lines(*text);
  std::string line;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, argument, extra;
    words >> name >> argument >> extra;
    const auto count = ParseCount(argument);
    const bool noArgument = argument.empty();
    if (name == "ftp-hang" && noArgument) {
      faults.ftpHang = true;
    } else if (name == "login-deny" && noArgument) {
      faults.loginDeny = true;
    } else if (name == "upload-fail" && noArgument) {
      faults.uploadFail = true;
    } else if (name == "upload-no-reply" && noArgument) {
      faults.uploadNoReply = true;
    } else if (name == "quit-hang" && noArgument) {
      faults.quitHang = true;
    } else if (name == "ftp-garbage" && noArgument) {
      faults.ftpGarbage = true;
    } else if (name == "snmp-silent" && noArgument) {
      faults.snmpSilent = true;
    } else if (name == "snmp-two-bytes" && noArgument) {
      faults.snmpTwoBytes = true;
    } else if (name == "snmp-nosuchname" && noArgument) {
      faults.snmpNoSuchName = true;
    } else if (name == "snmp-wrong-id" && noArgument) {
      faults.snmpWrongId = true;
    } else if (name == "upload-drop-after" && count && extra.empty()) {
      faults.uploadDropAfter = count;
    } else if (name == "upload-hang-after" && count && extra.empty()) {
      faults.uploadHangAfter = count;
    } else if (name == "transfer-rate" && count && *count > 0 && extra.empty()) {
      faults.transferRate = count;
    } else {
      WarnOnce("faults: ignoring unknown line '" + line + "'");
    }
  }
  return faults;
}

Credentials PrinterDir::ReadCredentials() const {
  Credentials credentials;
  auto text = ReadSmallFile(dir_ / "credentials");
  if (!text) return credentials;
  std::string line = text->substr(0, text->find_first_of("\r\n"));
  const auto colon = line.find(':');
  credentials.user = line.substr(0, colon);
  credentials.password = colon == std::string::npos ? std::string() : line.substr(colon + 1);
  return credentials;
}

std::vector<std::uint8_t> PrinterDir::ReadSnmpState() {
  auto text = ReadSmallFile(dir_ / "snmp-state");
  if (!text) return {0x00};
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : *text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    const int digit = HexDigit(c);
    if (digit < 0) {
      WarnOnce("snmp-state: not hex, answering 00");
      return {0x00};
    }
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  if (high >= 0) {
    WarnOnce("snmp-state: odd number of hex digits, answering 00");
    return {0x00};
  }
  return bytes;
}

std::optional<std::filesystem::path> PrinterDir::ServedFile(const std::string& name) const {
  if (name == "stat" || name == "info") return dir_ / name;
  return std::nullopt;
}

UniqueFd PrinterDir::CreateSpoolTemp(std::filesystem::path& path) {
  std::string name =
      (dir_ / "spool").string() + "/" + std::string(kPartialPrefix) + "XXXXXX" + std::string(kPartialSuffix);
  UniqueFd file(mkostemps(name.data(), static_cast<int>(kPartialSuffix.size()), O_CLOEXEC));
  if (!file) return {};
  fchmod(file.Get(), 0644);  // a received job is readable like any other file
  path = name;
  return file;
}

std::string PrinterDir::CommitSpool(const std::filesystem::path& temp) {
  std::lock_guard lock(mutex_);
  char name[16];
  for (;; ++nextSpool_) {
    auto [end, ec] = std::to_chars(name, name + 6, nextSpool_);
    if (ec != std::errc()) return {};  // beyond 999999 jobs
    const auto digits = static_cast<std::size_t>(end - name);
    std::string file = std::string(6 - digits, '0') + std::string(name, digits) + ".prn";
    const auto target = dir_ / "spool" / file;
    std::error_code exists;
    if (std::filesystem::exists(target, exists)) continue;
    std::error_code ec2;
    std::filesystem::rename(temp, target, ec2);
    if (ec2) return {};
    ++nextSpool_;
    return file;
  }
}

}  // namespace orvella::sim
