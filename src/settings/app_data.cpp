#include "settings/app_data.h"

#include <charconv>
#include <cstdio>

#include "settings/hidden_settings.h"
#include "settings/ini_file.h"
#include "settings/resume_record_file.h"
#include "settings/settings_error.h"
#include "settings/settings_lock.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kSection = "APP_DATA";
constexpr std::string_view kAutorun = "AUTORUN_ON_STARTUP";
constexpr std::string_view kLastMainWindow = "LAST_MAIN_WINDOW";
constexpr std::string_view kPath = "LASTPROCESSFILE_PATH";
constexpr std::string_view kPage = "LASTPROCESSFILE_PAGE";
constexpr std::string_view kQty = "LASTPROCESSFILE_QTY";
constexpr std::string_view kTime = "LASTPROCESSFILE_TIME";

IniFile HiddenFile(const std::filesystem::path& program) {
  return IniFile{program, std::string(kHiddenIniFile)};
}

uint32_t ParseHalf(std::string_view text) {
  if (text.size() != 8) return 0;
  uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

// The four keys in one replacement of the file, so a crash never leaves a
// path paired with another file's progress.
void WriteHiddenRecord(const IniFile& hidden, const LastProcessFile& record, const SettingsFolderLock& held) {
  IniBatch batch(hidden);
  batch.WriteString(kSection, kPath, record.path);
  batch.WriteInt(kSection, kPage, record.page);
  batch.WriteInt(kSection, kQty, record.qty);
  batch.WriteString(kSection, kTime, FormatFileTime(record.time));
  batch.Commit(held);
}

}  // namespace

bool GetAutorun(const std::filesystem::path& program) {
  return HiddenFile(program).ReadBool(kSection, kAutorun, 0) == 1;
}
void SetAutorun(const std::filesystem::path& program, bool running) {
  HiddenFile(program).WriteBool(kSection, kAutorun, running ? 1 : 0);
}
int GetLastMainWindow(const std::filesystem::path& program) {
  return HiddenFile(program).ReadInt(kSection, kLastMainWindow, kLastWindowFolderSettings);
}
void SetLastMainWindow(const std::filesystem::path& program, int window) {
  HiddenFile(program).WriteInt(kSection, kLastMainWindow, window);
}

std::string FormatFileTime(uint64_t time) {
  char text[17];
  std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(time >> 32),
                static_cast<unsigned>(time & 0xFFFFFFFFu));
  return text;
}

uint64_t ParseFileTime(std::string_view text) {
  const auto half = [&](size_t pos) { return pos < text.size() ? ParseHalf(text.substr(pos, 8)) : 0u; };
  return static_cast<uint64_t>(half(0)) << 32 | half(8);
}

// Both stores are read and written under the INI folder's lock, so a reader
// never sees one half of a change from one store to the other. The record
// file, while it exists, is the record: it is written before HIDDEN.INI's
// path is emptied and removed before HIDDEN.INI gets a new record, so a crash
// between the two steps leaves the newer record in force.
LastProcessFile ReadLastProcessFile(const std::filesystem::path& program) {
  const IniFile hidden = HiddenFile(program);
  const auto lock = SettingsFolderLock::For(hidden.Path());
  if (auto own = ReadResumeRecordFile(ResumeRecordFilePath(program))) return *own;
  const IniSnapshot file(hidden);  // one read: the four keys belong together
  LastProcessFile record;
  record.path = file.ReadString(kSection, kPath, "");
  record.page = file.ReadInt(kSection, kPage, 0);
  record.qty = file.ReadInt(kSection, kQty, 0);
  record.time = ParseFileTime(file.ReadString(kSection, kTime, "0000000000000000"));
  return record;
}

void WriteLastProcessFile(const std::filesystem::path& program, const LastProcessFile& record) {
  const IniFile hidden = HiddenFile(program);
  const auto lock = SettingsFolderLock::For(hidden.Path());
  const std::filesystem::path own = ResumeRecordFilePath(program);
  if (IniCanHold(record.path)) {
    std::error_code ec;
    if (!std::filesystem::remove(own, ec) && ec) throw SettingsError(KeyWriteErrorText(own, kSection, kPath));
    WriteHiddenRecord(hidden, record, lock);
    return;
  }
  if (!WriteResumeRecordFile(own, record)) throw SettingsError(KeyWriteErrorText(own, kSection, kPath));
  if (!IniSnapshot(hidden).ReadString(kSection, kPath, "").empty()) WriteHiddenRecord(hidden, {}, lock);
}

void VisitAppData(const std::filesystem::path& program, FieldSink& sink) {
  sink.Boolean(kAutorun, GetAutorun(program));
  sink.Integer(kLastMainWindow, GetLastMainWindow(program));
  const LastProcessFile record = ReadLastProcessFile(program);
  sink.Text(kPath, record.path);
  sink.Integer(kPage, record.page);
  sink.Integer(kQty, record.qty);
  sink.Text(kTime, FormatFileTime(record.time));
}

}  // namespace orvella::settings
