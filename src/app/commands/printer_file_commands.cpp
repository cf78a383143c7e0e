// orvella tool file-type / judge-stat / parse-info: how the program reads an
// input file's kind and a printer's status and information files, as JSON.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "jobs/input_file_type.h"
#include "printer/info_file.h"
#include "printer/status_file.h"
#include "settings/hidden_settings.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;

void Print(const Json& json) {
  std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

int RunFileType(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  jobs::InputFileType type = jobs::InputFileType::kUnsupported;
  const bool enableUnsupportedGl = settings::LoadHiddenSettings(context.program).enableUnsupportedGl;
  const bool ok = jobs::DetectInputFileType(cli.Required(0, "FILE"), type, enableUnsupportedGl);
  Print(Json{{"ok", ok}, {"type", static_cast<int>(type)}});
  return ok ? 0 : 1;
}

int RunJudgeStat(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  std::string errorText;
  std::string detail;
  const auto code = printer::JudgeStatusFile(context.program, cli.Required(0, "FILE"), errorText, &detail);
  Json result{{"code", static_cast<int>(code)}, {"error_text", errorText}};
  if (code != printer::PrinterStatusCode::kReady) result["detail"] = detail;
  Print(result);
  return 0;
}

int RunParseInfo(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  std::vector<printer::TrayInformation> records;
  std::string detail;
  const bool ok = printer::ParseInformationFile(cli.Required(0, "FILE"), records, &detail);
  Json rows = Json::array();
  for (const auto& r : records) {
    rows.push_back({{"number", r.number}, {"name", r.name}, {"page_size", r.pageSize}, {"status", r.status}});
  }
  Json result{{"ok", ok}, {"records", rows}};
  if (!ok) result["detail"] = detail;
  Print(result);
  return ok ? 0 : 1;
}

const CommandRegistrar kFileType{
    {"tool file-type", "FILE", &RunFileType,
     "Tells a hot-folder file's kind from its first bytes, as the server does\n"
     "(ENABLE_UNSUPPORTED_GL of HIDDEN.INI included). Prints {\"ok\", \"type\"}:\n"
     "0 TIFF, 1 HP-GL/2, 2 unsupported."}};
const CommandRegistrar kJudgeStat{
    {"tool judge-stat", "FILE", &RunJudgeStat,
     "Judges a printer status file (\"stat\") as a transfer does, with the ready\n"
     "texts of INI/Low_Toner.txt. Prints {\"code\", \"error_text\"}: 0 ready,\n"
     "1 unusable, 4 energy save, 5 panel off, 6 printer error, 7 not online."}};
const CommandRegistrar kParseInfo{
    {"tool parse-info", "FILE", &RunParseInfo,
     "Reads a printer information file (\"info\") into its tray rows.\n"
     "Prints {\"ok\", \"records\": [{\"number\", \"name\", \"page_size\", \"status\"}]}."}};

}  // namespace
}  // namespace orvella::cli
