#pragma once
// Application state the program records for itself in HIDDEN.INI, section
// "APP_DATA": the run state and window at the last exit, and the resume
// record of the job in progress.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "settings/field_sink.h"

namespace orvella::settings {

// Window open at the last exit.
inline constexpr int kLastWindowNone = 0;
inline constexpr int kLastWindowJob = 1;
inline constexpr int kLastWindowFolderSettings = 2;

// Whether operation was running at the last exit.
bool GetAutorun(const std::filesystem::path& program);
void SetAutorun(const std::filesystem::path& program, bool running);
int GetLastMainWindow(const std::filesystem::path& program);
void SetLastMainWindow(const std::filesystem::path& program, int window);

// The resume record: the job in progress and how far it got.
struct LastProcessFile {
  std::string path;   // empty when no job is pending
  uint64_t time = 0;  // last-write time of the file (100-ns ticks since 1601)
  int page = 0;
  int qty = 0;
};

// The record is kept in HIDDEN.INI when the path can be stored there, else in
// a file of its own beside it (resume_record_file.h); one store holds it at a
// time. Each write replaces its store in one rename, so a crash never leaves
// a path paired with another file's progress. Both raise SettingsError (a
// write with the key write error).
LastProcessFile ReadLastProcessFile(const std::filesystem::path& program);
void WriteLastProcessFile(const std::filesystem::path& program, const LastProcessFile& record);

// "%08X%08X": high 32 bits, then low 32 bits.
std::string FormatFileTime(uint64_t time);
// Characters 0-7 and 8-15 as hexadecimal halves; a half that is missing or
// not 8 hexadecimal digits gives 0.
uint64_t ParseFileTime(std::string_view text);

// Every APP_DATA value in key order, read from the file.
void VisitAppData(const std::filesystem::path& program, FieldSink& sink);

}  // namespace orvella::settings
