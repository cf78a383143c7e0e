// orvella tool scan: one scan of the input folders, as the running system
// would make it to pick its next job.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "jobs/folder_scanner.h"
#include "settings/input_settings.h"
#include "settings/settings_error.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;

void Print(const json& j) { std::cout << j.dump(2, ' ', false, json::error_handler_t::replace) << "\n"; }

int RunScan(const CommandContext& context, const std::vector<std::string>& args) {
  CliArgs a(args, 0, {});
  std::vector<std::string> folders;
  try {
    for (const settings::InputFolderSetting& input : settings::LoadInputSettings(context.program)) {
      folders.push_back(input.inputDir);
    }
  } catch (const settings::SettingsError& e) {
    Print({{"ok", false}, {"error", e.what()}, {"detail", "INPUT.INI cannot be read"}});
    return 1;
  }
  jobs::FolderScanner scanner([](std::string_view note) { std::cerr << note << "\n"; });
  const jobs::ScanResult result = scanner.Scan(folders);
  json skipped = json::array();
  for (const jobs::ScanSkip& skip : result.skipped) {
    skipped.push_back({{"path", skip.path}, {"reason", skip.reason}});
  }
  json out{{"found", result.found}};
  if (result.found) {
    out["path"] = result.path;
    out["folder_index"] = result.folderIndex;
    out["mtime"] = result.fileTime;
  } else {
    out["path"] = nullptr;
    out["folder_index"] = nullptr;
    out["mtime"] = nullptr;
  }
  out["skipped"] = skipped;
  Print(out);
  return 0;
}

const CommandRegistrar kScan{
    {"tool scan", "", &RunScan,
     "Scans the input folders of INPUT.INI once, as the running system does before\n"
     "it starts a job, and prints the oldest complete file:\n"
     "  {\"found\": bool, \"path\", \"folder_index\", \"mtime\", \"skipped\": [{\"path\", \"reason\"}]}\n"
     "mtime is the last-write time in 100-ns ticks since 1601-01-01 UTC; a reason is\n"
     "\"in use\", \"not a regular file\", \"symbolic link\", \"several links\" (a file\n"
     "with a second name elsewhere) or \"unreadable\". One scan cannot wait for a\n"
     "file's quiet period (FILE_QUIET_SECONDS), which the running system adds.\n"
     "Nothing is moved or changed."}};

}  // namespace
}  // namespace orvella::cli
