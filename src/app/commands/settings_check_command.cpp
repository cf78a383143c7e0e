// orvella settings check: what loading the settings passes over silently, as
// JSON; exit 1 when anything was found.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
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
  const bool ok = problems.empty();
  std::cout << Json{{"ok", ok}, {"problems", problems}}.dump(2, ' ', false, Json::error_handler_t::replace)
            << "\n";
  return ok ? 0 : 1;
}

const CommandRegistrar kCheck{
    {"settings check", "", &RunSettingsCheck,
     "Looks for what loading the settings passes over silently: INI files saved as\n"
     "UTF-8 instead of CP932, printers whose address is not usable. Prints\n"
     "{\"ok\", \"problems\": [{\"file\", \"record\", \"field\", \"detail\"}]}; exit 1 when any."}};

}  // namespace
}  // namespace orvella::cli
