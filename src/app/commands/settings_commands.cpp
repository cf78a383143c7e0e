// orvella settings dump: how the program understands the files of the INI
// folder, as one JSON object.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "settings/app_data.h"
#include "settings/fold_settings.h"
#include "settings/folder_models.h"
#include "settings/hidden_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/settings_check.h"
#include "settings/stamp_settings.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;
namespace s = orvella::settings;

// Fields under their INI key names: enumerations as their numbers, booleans
// as 0/1, addresses as dotted text; secrets only when asked for.
class JsonFieldSink : public s::FieldSink {
 public:
  JsonFieldSink(Json& out, bool showSecrets) : out_(out), showSecrets_(showSecrets) {}

  void Text(std::string_view key, std::string_view value) override { out_[std::string(key)] = value; }
  void Integer(std::string_view key, int value) override { out_[std::string(key)] = value; }
  void Boolean(std::string_view key, bool value) override { out_[std::string(key)] = value ? 1 : 0; }
  void Real(std::string_view key, double value) override { out_[std::string(key)] = value; }
  void Keyword(std::string_view key, int number, std::string_view) override {
    out_[std::string(key)] = number;
  }
  void Address(std::string_view key, const base::Ipv4Address& address) override {
    out_[std::string(key)] = base::FormatIpv4Address(address);
  }
  void Secret(std::string_view key, std::string_view value) override {
    if (showSecrets_) out_[std::string(key)] = value;
  }
  void Font(std::string_view key, const s::LogFont& f) override {
    out_[std::string(key)] = {{"height", f.height},
                              {"width", f.width},
                              {"escapement", f.escapement},
                              {"orientation", f.orientation},
                              {"weight", f.weight},
                              {"italic", f.italic},
                              {"underline", f.underline},
                              {"strike_out", f.strikeOut},
                              {"char_set", f.charSet},
                              {"out_precision", f.outPrecision},
                              {"clip_precision", f.clipPrecision},
                              {"quality", f.quality},
                              {"pitch_and_family", f.pitchAndFamily},
                              {"face_name", f.FaceNameUtf8()}};
  }
  using FieldSink::Keyword;

 private:
  Json& out_;
  bool showSecrets_;
};

// One object from a visitor of fields.
template <typename Visit>
Json FieldObject(Visit&& visit, bool showSecrets = false) {
  Json object = Json::object();
  JsonFieldSink sink(object, showSecrets);
  visit(sink);
  return object;
}

// Records of a list, each through its own field visitor.
template <typename Record, typename Visit>
Json RecordArray(const std::vector<Record>& records, Visit&& visit, bool showSecrets = false) {
  Json array = Json::array();
  for (const auto& r : records)
    array.push_back(FieldObject([&](s::FieldSink& sink) { visit(r, sink); }, showSecrets));
  return array;
}

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

Json DumpFolderModels(const std::filesystem::path& program) {
  Json array = Json::array();
  for (const auto& unit : s::LoadFolderModels(program)) {
    Json object = {{"NAME", unit.name}};
    for (size_t slot = 0; slot < unit.foldTypes.size(); ++slot) {
      object[std::string(s::kFoldSizeSlots[slot].prefix)] = unit.foldTypes[slot];
    }
    array.push_back(std::move(object));
  }
  return array;
}

Json DumpPreferences(const std::filesystem::path& program) {
  return FieldObject([&](s::FieldSink& sink) { s::VisitPreferences(program, sink); });
}

Json DumpHidden(const std::filesystem::path& program) {
  return FieldObject(
      [&](s::FieldSink& sink) { s::VisitHiddenSettings(s::LoadHiddenSettings(program), sink); });
}

Json DumpAppData(const std::filesystem::path& program) {
  return FieldObject([&](s::FieldSink& sink) { s::VisitAppData(program, sink); });
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
