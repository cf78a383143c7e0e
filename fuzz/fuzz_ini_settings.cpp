// Arbitrary bytes as every settings file of a program folder: the document's
// lookup and replacement rules, then every loader, the settings check and the
// start checks. A loader may refuse a file only with SettingsError.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "jobs/operation_settings.h"
#include "jobs/start_operation.h"
#include "settings/app_data.h"
#include "settings/folder_models.h"
#include "settings/ini_document.h"
#include "settings/settings_check.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace {

namespace fs = std::filesystem;
namespace settings = orvella::settings;

constexpr const char* kFiles[] = {"INPUT.INI",      "PRINTER.INI", "FOLD.INI",        "STAMP.INI",
                                  "PREFERENCE.INI", "HIDDEN.INI",  "FOLDERMODEL.INI", "WINDOW.INI"};

// A value written then read back is the value, and the serialised form reads
// back to itself.
void CheckDocument(std::string_view bytes) {
  settings::IniDocument document(bytes);
  const std::string once = document.Serialize();
  if (settings::IniDocument(once).Serialize() != once) std::abort();
  document.Get("APP_DATA", "LAST_PROCESS_FILE");
  document.Set("APP_DATA", "LAST_PROCESS_PAGE", "\"7\"");
  const auto back = document.Get("APP_DATA", "LAST_PROCESS_PAGE");
  if (!back || *back != "7") std::abort();
}

void LoadEverything(const fs::path& program) {
  try {
    const auto loaded = orvella::jobs::LoadOperationSettings(program);
    orvella::jobs::FindStartProblem(loaded);
    settings::ReadLastProcessFile(program);
    settings::LoadFolderModels(program);
    settings::RestoreWindowPlacement(program, "MAIN_WIN", {0, 0, 640, 480}, std::nullopt,
                                     {.minWidth = 120,
                                      .minHeight = 40,
                                      .maxWidth = 1920,
                                      .maxHeight = 1080,
                                      .workArea = {0, 0, 1920, 1080}});
    settings::FindSettingsProblems(program);
  } catch (const settings::SettingsError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDocument(bytes);
  static const fs::path program = [] {
    const fs::path folder = orvella::fuzz::OutputFile("program");
    fs::create_directories(folder / "INI");
    return folder;
  }();
  for (const char* name : kFiles) {
    std::ofstream(program / "INI" / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), bytes.size());
  }
  LoadEverything(program);
  return 0;
}
