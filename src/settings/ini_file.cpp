#include "settings/ini_file.h"

#include <strings.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "settings/ini_document.h"
#include "settings/program_folders.h"
#include "settings/settings_error.h"
#include "settings/settings_lock.h"

namespace orvella::settings {
namespace {

// The platform reader delivers values into a 1024-byte buffer.
constexpr size_t kMaxValueBytes = 1023;
// INI files are small; anything this large is not one of ours.
constexpr size_t kMaxIniFileBytes = 16u << 20;
// A stored value equal to this reads as missing (how numbers tell missing keys).
constexpr std::string_view kMissingNumber = "___DUMMY_NUMBER_STRING___";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string HexText(const uint8_t* bytes, size_t length) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(length * 2);
  for (size_t i = 0; i < length; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

bool ValidName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (c == '\r' || c == '\n' || c == '=' || c == '[' || c == ']') return false;
  return true;
}

// The CP932 line value "…" for text, or nullopt when it cannot be stored:
// a character CP932 lacks, or a line break that would forge other keys.
std::optional<std::string> QuotedValue(std::string_view text) {
  if (text.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  auto cp932 = base::Utf8ToCp932(text);
  if (!cp932) return std::nullopt;
  return "\"" + *cp932 + "\"";
}

}  // namespace

// ---- reading ---------------------------------------------------------------

std::string IniReader::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  auto raw = Lookup(section, key);
  if (!raw) return std::string(def);
  return base::Cp932ToUtf8(*raw);
}

int IniReader::ReadInt(std::string_view section, std::string_view key, int def) const {
  auto raw = Lookup(section, key);
  if (!raw || *raw == kMissingNumber) return def;
  return ParseIniInt(*raw);
}

double IniReader::ReadDouble(std::string_view section, std::string_view key, double def) const {
  auto raw = Lookup(section, key);
  if (!raw || *raw == kMissingNumber) return def;
  return ParseIniReal(*raw);
}

int IniReader::ReadBool(std::string_view section, std::string_view key, int def) const {
  auto raw = Lookup(section, key);
  if (!raw) return def;
  if (raw->size() == 4 && strncasecmp(raw->c_str(), "TRUE", 4) == 0) return 1;
  if (raw->size() == 5 && strncasecmp(raw->c_str(), "FALSE", 5) == 0) return 0;
  return def;
}

size_t IniReader::BinarySize(std::string_view section, std::string_view key) const {
  auto raw = Lookup(section, key);
  if (!raw || raw->size() % 2 != 0) return 0;
  return raw->size() / 2;
}

void IniReader::ReadBinary(std::string_view section, std::string_view key, uint8_t* dest) const {
  auto raw = Lookup(section, key);
  if (!raw || raw->size() % 2 != 0) return;
  // Digits are digits; every other character counts as an upper-case A-F.
  auto nibble = [](char c) { return c >= '0' && c <= '9' ? c - '0' : static_cast<unsigned char>(c) - 55; };
  for (size_t i = 0; i + 1 < raw->size(); i += 2) {
    dest[i / 2] = static_cast<uint8_t>(((nibble((*raw)[i]) << 4) | (nibble((*raw)[i + 1]) & 0x0F)) & 0xFF);
  }
}

bool IniReader::ReadStruct(std::string_view section, std::string_view key, void* dest, size_t size) const {
  auto raw = Lookup(section, key);
  if (!raw || raw->size() != 2 * (size + 1)) return false;
  std::string bytes(size + 1, '\0');
  for (size_t i = 0; i <= size; ++i) {
    int hi = HexValue((*raw)[2 * i]), lo = HexValue((*raw)[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = static_cast<char>(hi << 4 | lo);
  }
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) sum += static_cast<unsigned char>(bytes[i]);
  if ((sum & 0xFF) != static_cast<unsigned char>(bytes[size])) return false;
  std::memcpy(dest, bytes.data(), size);
  return true;
}

// ---- writing ---------------------------------------------------------------

void IniWriter::WriteInt(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniWriter::WriteDouble(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, FormatIniReal(value));
}

void IniWriter::WriteBool(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, value == 1 ? "TRUE" : "FALSE");
}

void IniWriter::WriteBinary(std::string_view section, std::string_view key, const uint8_t* bytes,
                            size_t length) {
  WriteString(section, key, HexText(bytes, length));
}

void IniWriter::WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) sum += bytes[i];
  const uint8_t check = static_cast<uint8_t>(sum & 0xFF);
  WriteString(section, key, HexText(bytes, size) + HexText(&check, 1));
}

bool IniCanHold(std::string_view text) {
  const auto value = QuotedValue(text);
  if (!value) return false;
  IniDocument written;
  written.Set("S", "K", *value);
  const auto stored = IniDocument(written.Serialize()).Get("S", "K");
  return stored && stored->size() <= kMaxValueBytes && base::Cp932ToUtf8(*stored) == text;
}

// ---- IniFile ---------------------------------------------------------------

IniFile::IniFile(const std::filesystem::path& program, const std::string& relative)
    : path_(ProgramPath(program, relative)) {}

IniFile IniFile::AtPath(std::filesystem::path path) {
  IniFile f;
  f.path_ = std::move(path);
  return f;
}

std::optional<std::string> IniFile::Lookup(std::string_view section, std::string_view key) const {
  std::string bytes;
  if (base::ReadWholeFile(path_, bytes, kMaxIniFileBytes) != base::ReadStatus::kOk) return std::nullopt;
  auto v = IniDocument(bytes).Get(section, key);
  if (v) *v = std::string(base::TruncateCp932(*v, kMaxValueBytes));
  return v;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view text) {
  IniBatch batch(*this);
  batch.WriteString(section, key, text);
  batch.Commit();
}

void IniFile::Delete() const {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

// ---- IniSnapshot -----------------------------------------------------------

IniSnapshot::IniSnapshot(const IniFile& file) {
  std::string bytes;
  if (base::ReadWholeFile(file.Path(), bytes, kMaxIniFileBytes) == base::ReadStatus::kFailed) {
    throw SettingsError(ReadErrorText(file.Path()));
  }
  doc_ = std::make_unique<IniDocument>(bytes);
}

IniSnapshot::~IniSnapshot() = default;

std::optional<std::string> IniSnapshot::Lookup(std::string_view section, std::string_view key) const {
  auto v = doc_->Get(section, key);
  if (v) *v = std::string(base::TruncateCp932(*v, kMaxValueBytes));
  return v;
}

// ---- IniSave ---------------------------------------------------------------

IniSave::IniSave(const IniFile& file) : file_(file), doc_(std::make_unique<IniDocument>()) {}

IniSave::~IniSave() = default;

void IniSave::WriteString(std::string_view section, std::string_view key, std::string_view text) {
  auto value = QuotedValue(text);
  if (!value || !ValidName(section) || !ValidName(key)) {
    throw SettingsError(KeyWriteErrorText(file_.Path(), section, key));
  }
  doc_->Set(section, key, *value);
  lastSection_ = section;
  lastKey_ = key;
}

void IniSave::Commit() {
  // A key write that read the file before this save and renamed after it
  // would put the old records back.
  const auto lock = SettingsFolderLock::For(file_.Path());
  if (!base::ReplaceFileAtomically(file_.Path(), doc_->Serialize(), file_.CreateMode())) {
    throw SettingsError(KeyWriteErrorText(file_.Path(), lastSection_, lastKey_));
  }
}

// ---- IniBatch --------------------------------------------------------------

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view text) {
  auto value = QuotedValue(text);
  if (!value || !ValidName(section) || !ValidName(key)) {
    throw SettingsError(KeyWriteErrorText(file_.Path(), section, key));
  }
  keys_.push_back({std::string(section), std::string(key), std::move(*value)});
}

void IniBatch::Commit() {
  if (keys_.empty()) return;
  Commit(SettingsFolderLock::For(file_.Path()));
}

void IniBatch::Commit(const SettingsFolderLock& /*held*/) {
  if (keys_.empty()) return;
  std::string bytes;
  // A file that exists but cannot be read is not overwritten: its keys would be lost.
  bool ok = base::ReadWholeFile(file_.Path(), bytes, kMaxIniFileBytes) != base::ReadStatus::kFailed;
  if (ok) {
    IniDocument doc(bytes);
    for (const Key& k : keys_) doc.Set(k.section, k.key, k.quotedValue);
    ok = base::ReplaceFileAtomically(file_.Path(), doc.Serialize(), file_.CreateMode());
  }
  if (!ok) throw SettingsError(KeyWriteErrorText(file_.Path(), keys_.front().section, keys_.front().key));
  keys_.clear();
}

int ReadListCount(const IniReader& ini, std::string_view countKey) {
  return ReadListCount(ini, "GLOBAL", countKey);
}

int ReadListCount(const IniReader& ini, std::string_view section, std::string_view countKey) {
  const int count = ini.ReadInt(section, countKey, 0);
  return count < 1 ? 0 : std::min(count, kMaxListRecords);
}

// ---- text forms ------------------------------------------------------------

std::string KeyWriteErrorText(const std::filesystem::path& file, std::string_view section,
                              std::string_view key) {
  return "INIファイルのキー書き込みに失敗しました。[file_name]" + file.string() + "[section]" +
         std::string(section) + "[key]" + std::string(key);
}

std::string ReadErrorText(const std::filesystem::path& file) {
  return "INIファイルの読み込みに失敗しました。[file_name]" + file.string();
}

std::string FormatIniReal(double value) {
  if (value == 0) return std::signbit(value) ? "-0." : "0.";
  // 17 significant digits, produced without the process locale.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 16);
  std::string sci(buf, res.ptr);  // "[-]d.dddddddddddddddde[+-]XX" or inf/nan
  size_t e = sci.find('e');
  if (e == std::string::npos) return sci;
  const bool negative = sci[0] == '-';
  std::string digits = sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  digits.erase(1, 1);  // drop the point: 17 digits
  const int exponent = std::stoi(sci.substr(e + 1));
  auto trimZeros = [](std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
  };
  std::string out = negative ? "-" : "";
  const double magnitude = std::fabs(value);
  if (magnitude >= 1e100 || magnitude < 0.1) {
    out += digits.substr(0, 1) + "." + trimZeros(digits.substr(1));
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + exp;
  }
  if (exponent < 0) return out + "0." + trimZeros(digits);  // 0.1 <= |v| < 1
  const size_t intDigits = static_cast<size_t>(exponent) + 1;
  if (intDigits >= digits.size()) return out + digits + std::string(intDigits - digits.size(), '0') + ".";
  return out + digits.substr(0, intDigits) + "." + trimZeros(digits.substr(intDigits));
}

int ParseIniInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;  // saturate
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  return static_cast<int>(v);
}

double ParseIniReal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Only plain decimal numbers: no inf, nan or hex forms.
  if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) return 0;
  double v = 0;
  auto res = std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument) return 0;
  return negative ? -v : v;
}

}  // namespace orvella::settings
