// orvella settings dump: how the program understands the files of the INI
// folder, as one JSON object.
#include <iostream>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/settings_json.h"
#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/settings_check.h"
#include "settings/stamp_settings.h"

namespace orvella::cli {
namespace {

using Json = OrderedJson;
namespace s = orvella::settings;

Json DumpInputs(const std::filesystem::path& program) {
  return RecordArray(s::LoadInputSettings(program), s::VisitInputFields);
}

Json DumpPrinters(const std::filesystem::path& program, bool showSecrets) {
  return RecordArray(s::LoadPrinterSettings(program), s::VisitPrinterFields, showSecrets);
}

// The records read before an unknown fold type key; the caller is told.
Json DumpFolds(const std::filesystem::path& program, bool& complete) {
  std::vector<s::FoldSetting> folds;
  complete = s::LoadFolds(program, folds);
  return RecordArray(folds, s::VisitFoldFields);
}

Json DumpPreferences(const std::filesystem::path& program) {
  return FieldObject([&](s::FieldSink& sink) { s::VisitPreferences(program, sink); });
}

Json DumpStamps(const std::filesystem::path& program) {
  return RecordArray(s::LoadStamps(program), s::VisitStampFields);
}

int RunSettingsDump(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 0, {}, {"show-secrets"});
  const bool showSecrets = cli.Has("show-secrets");
  bool foldsComplete = true;
  Json dump = Json::object();
  dump["inputs"] = DumpInputs(context.program);
  dump["printers"] = DumpPrinters(context.program, showSecrets);
  dump["folds"] = DumpFolds(context.program, foldsComplete);
  dump["folder_models"] = DumpFolderModels(context.program);
  dump["stamps"] = DumpStamps(context.program);
  dump["preferences"] = DumpPreferences(context.program);
  dump["hidden"] = DumpHidden(context.program);
  dump["app_data"] = DumpAppData(context.program);
  std::cout << dump.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  for (const auto& problem : s::FindUtf8IniFiles(context.program)) {
    std::cerr << "warning: " << problem.file << ": " << problem.detail << "\n";
  }
  if (!foldsComplete) {
    std::cerr << "FOLD.INI: record " << dump["folds"].size()
              << " holds a fold type key that is not in the catalogue; the records after it are not read\n";
    return 1;
  }
  return 0;
}

const CommandRegistrar kDump{
    {"settings dump", "[--show-secrets]", &RunSettingsDump,
     "Prints every settings file of the program folder as one JSON object: inputs,\n"
     "printers, folds, folder_models, stamps, preferences, hidden, app_data. Printer\n"
     "passwords are left out unless --show-secrets is given. Writes nothing."}};

}  // namespace
}  // namespace orvella::cli
