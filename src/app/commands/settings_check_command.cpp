// orvella settings check: what loading the settings passes over silently, and
// whether operation would start with them, as JSON; exit 1 when anything was
// found.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "jobs/start_operation.h"
#include "settings/settings_check.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;

int RunSettingsCheck(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 0, {});
  Json problems = Json::array();
  for (const auto& p : settings::FindSettingsProblems(context.program)) {
    problems.push_back({{"file", p.file}, {"record", p.record}, {"field", p.field}, {"detail", p.detail}});
  }
  base::Failure failure;
  const bool starts = jobs::LoadStartSettings(context.program, failure) != nullptr;
  const Json start = starts ? Json(nullptr) : Json{{"message", failure.message}, {"detail", failure.detail}};
  const bool ok = problems.empty() && starts;
  std::cout << Json{{"ok", ok}, {"problems", problems}, {"start", start}}.dump(2, ' ', false,
                                                                               Json::error_handler_t::replace)
            << "\n";
  return ok ? 0 : 1;
}

const CommandRegistrar kCheck{
    {"settings check", "", &RunSettingsCheck,
     "Looks for what loading the settings passes over silently: INI files saved as\n"
     "UTF-8 instead of CP932, a PRINTER.INI that users other than its owner can\n"
     "read or change (anyone who reads it can recover the passwords), printers\n"
     "whose address is not usable; and makes the checks of the start of\n"
     "operation (an input folder exists, every stamp, printer and fold an input\n"
     "folder names exists). Prints\n"
     "{\"ok\", \"problems\": [{\"file\", \"record\", \"field\", \"detail\"}],\n"
     " \"start\": null | {\"message\", \"detail\"}}\n"
     "where start holds the first reason operation would not start, its message as\n"
     "the operator sees it; exit 1 when there is a problem or start is not null."}};

}  // namespace
}  // namespace orvella::cli
