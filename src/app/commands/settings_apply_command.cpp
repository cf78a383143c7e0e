// orvella settings apply: writes the settings files from a JSON object of the
// shape `settings dump` prints, after the checks of the settings dialogs.
#include <algorithm>
#include <climits>
#include <iostream>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/json_fields.h"
#include "app/commands/settings_apply_checks.h"
#include "app/commands/settings_json.h"
#include "settings/hidden_settings.h"
#include "settings/value_field_source.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::json;
namespace s = orvella::settings;

// The JSON value of one field as the source takes it; booleans as 0/1.
s::ValueFieldSource::Value FieldValue(const Json& value, const std::string& where, const std::string& key) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_boolean()) return value.get<bool>() ? 1LL : 0LL;
  if (value.is_number_unsigned() && value.get<unsigned long long>() > LLONG_MAX) {
    throw JsonInputError(where + ", " + key + ": too large");
  }
  if (value.is_number_integer()) return value.get<long long>();
  if (value.is_number_float()) return value.get<double>();
  if (value.is_object()) return FontFromJson(value, where + ", " + key);
  throw JsonInputError(where + ", " + key + ": must be a string, a number or a font object");
}

s::ValueFieldSource SourceOf(const Json& object, const std::string& where) {
  if (!object.is_object()) throw JsonInputError(where + ": must be a JSON object");
  s::ValueFieldSource::Values values;
  for (const auto& [key, value] : object.items()) values.emplace(key, FieldValue(value, where, key));
  return s::ValueFieldSource(std::move(values));
}

// A value problem (a number outside its enumeration, an unreadable address)
// joins the refusals; a key missing, unknown or of the wrong kind means the
// JSON is not of the dump's shape.
void Finish(const s::ValueFieldSource& source, const std::string& where, std::vector<std::string>& refusals) {
  for (const auto& key : source.UnreadKeys()) throw JsonInputError(where + ": unknown key \"" + key + "\"");
  if (const auto& problem = source.FirstProblem()) {
    const std::string line = where + ", " + problem->key + ": " + problem->detail;
    if (!problem->invalidValue) throw JsonInputError(line);
    refusals.push_back(line);
  }
}

// The records of one member. A record's name is its first field, so it is
// known for the message even when a later field fails.
template <typename Record, typename Read, typename Name>
std::vector<Record> ReadRecords(const Json& array, const char* member, const RecordKind& kind, Read read,
                                Name name, std::vector<std::string>& refusals) {
  if (!array.is_array()) throw JsonInputError(std::string("\"") + member + "\" must be an array");
  std::vector<Record> records;
  for (size_t i = 0; i < array.size(); ++i) {
    s::ValueFieldSource source = SourceOf(array[i], std::string(member) + "[" + std::to_string(i) + "]");
    Record record;
    read(source, record);
    Finish(source, RecordWhere(kind, i, name(record)), refusals);
    records.push_back(std::move(record));
  }
  return records;
}

// The printer password left out (as dump leaves it out) is the one the
// printer of that name has now, else empty.
std::vector<s::PrinterSetting> ReadPrinters(const Json& array, const std::vector<s::PrinterSetting>& now,
                                            std::vector<std::string>& refusals) {
  constexpr char kPassword[] = "LOGIN_PASSWORD";
  std::vector<s::PrinterSetting> printers = ReadRecords<s::PrinterSetting>(
      array, "printers", kPrinterKind, s::ReadPrinterFields, [](const auto& p) { return p.name; }, refusals);
  for (size_t i = 0; i < printers.size(); ++i) {
    if (array[i].contains(kPassword)) continue;
    for (const auto& old : now) {
      if (old.name == printers[i].name) {
        printers[i].loginPassword = old.loginPassword;
        break;
      }
    }
  }
  return printers;
}

// Where given first differs from now: "KEY" in an object, "N" (then its key)
// in an array; empty when they are equal.
std::string FirstDifference(const Json& given, const Json& now) {
  if (given == now) return "";
  if (given.is_object() && now.is_object()) {
    for (const auto& [key, value] : now.items()) {
      if (!given.contains(key)) return key + " (left out)";
      if (const auto inner = FirstDifference(given[key], value); !inner.empty()) return key;
    }
    for (const auto& [key, value] : given.items())
      if (!now.contains(key)) return key + " (no such key)";
  }
  if (given.is_array() && now.is_array() && given.size() == now.size()) {
    for (size_t i = 0; i < now.size(); ++i) {
      if (const auto inner = FirstDifference(given[i], now[i]); !inner.empty()) {
        return std::to_string(i) + ", " + inner;
      }
    }
  }
  return "the whole member";
}

// The members the program never writes: refused unless equal to the files.
void RequireUnchanged(const Json& given, const OrderedJson& now, const char* member, std::string_view file,
                      const char* why, std::vector<std::string>& refusals) {
  const std::string difference = FirstDifference(given, Json::parse(now.dump()));
  if (!difference.empty()) {
    refusals.push_back(std::string(file) + ": " + member + ", " + difference +
                       ": differs from the file, which apply never writes (" + why +
                       "); leave the member out or as `settings dump` prints it");
  }
}

// True when next differs from now; records equal to the loaded one at the
// same position are then taken as loaded, so what the JSON does not show (a
// face name's bytes after its end) stays as it was.
template <typename Record, typename Visit>
bool Changed(std::vector<Record>& next, const std::vector<Record>& now, Visit visit) {
  const OrderedJson given = RecordArray(next, visit, true), loaded = RecordArray(now, visit, true);
  if (given == loaded) return false;
  for (size_t i = 0; i < std::min(next.size(), now.size()); ++i) {
    if (given[i] == loaded[i]) next[i] = now[i];
  }
  return true;
}

SettingsLists LoadAll(const std::filesystem::path& program) {
  SettingsLists now;
  now.inputs = s::LoadInputSettings(program);
  now.printers = s::LoadPrinterSettings(program);
  // Records after an unknown fold type are not read (dump says so): they are
  // replaced only when the JSON gives folds.
  s::LoadFolds(program, now.folds);
  now.stamps = s::LoadStamps(program);
  now.preferences = s::LoadPreferences(program);
  return now;
}

// The lists to be written: the JSON's members, the loaded lists for members
// left out. Shape errors raise JsonInputError; refusals collects the rest.
SettingsLists ReadSettings(const std::filesystem::path& program, const Json& json, const SettingsLists& now,
                           std::vector<std::string>& refusals) {
  JsonFields members(json, "settings");
  SettingsLists next = now;
  if (const Json* v = members.Find("inputs")) {
    next.inputs = ReadRecords<s::InputFolderSetting>(
        *v, "inputs", kInputKind, s::ReadInputFields, [](const auto& r) { return r.inputDir; }, refusals);
  }
  if (const Json* v = members.Find("printers")) next.printers = ReadPrinters(*v, now.printers, refusals);
  if (const Json* v = members.Find("folds")) {
    next.folds = ReadRecords<s::FoldSetting>(
        *v, "folds", kFoldKind, s::ReadFoldFields, [](const auto& r) { return r.name; }, refusals);
  }
  if (const Json* v = members.Find("stamps")) {
    next.stamps = ReadRecords<s::StampSetting>(
        *v, "stamps", kStampKind, s::ReadStampFields, [](const auto& r) { return r.name; }, refusals);
  }
  if (const Json* v = members.Find("preferences")) {
    s::ValueFieldSource source = SourceOf(*v, "preferences");
    s::ReadPreferenceFields(source, next.preferences);
    Finish(source, kPreferenceFile, refusals);
  }
  const std::string_view hiddenFile = s::kHiddenIniFile.substr(1);  // "INI/HIDDEN.INI"
  if (const Json* v = members.Find("hidden")) {
    RequireUnchanged(*v, DumpHidden(program), "hidden", hiddenFile, "it is edited by hand", refusals);
  }
  if (const Json* v = members.Find("folder_models")) {
    RequireUnchanged(*v, DumpFolderModels(program), "folder_models", "INI/FOLDERMODEL.INI",
                     "the program keeps it", refusals);
  }
  if (const Json* v = members.Find("app_data")) {
    RequireUnchanged(*v, DumpAppData(program), "app_data", hiddenFile, "the program keeps it", refusals);
  }
  members.RejectUnknown();
  return next;
}

// Writes each changed file with its saver; the names of the files written.
std::vector<std::string> WriteChanged(const std::filesystem::path& program, SettingsLists& next,
                                      const SettingsLists& now) {
  std::vector<std::string> written;
  // The lists input folders refer to go first.
  if (Changed(next.printers, now.printers, s::VisitPrinterFields)) {
    if (!s::SavePrinterSettings(program, next.printers)) throw std::runtime_error("PRINTER.INI: not saved");
    written.push_back(kPrinterKind.file);
  }
  if (Changed(next.folds, now.folds, s::VisitFoldFields)) {
    if (!s::SaveFolds(program, next.folds)) throw std::runtime_error("FOLD.INI: not saved");
    written.push_back(kFoldKind.file);
  }
  if (Changed(next.stamps, now.stamps, s::VisitStampFields)) {
    s::SaveStamps(program, next.stamps);
    written.push_back(kStampKind.file);
  }
  if (Changed(next.inputs, now.inputs, s::VisitInputFields)) {
    s::SaveInputSettings(program, next.inputs);
    written.push_back(kInputKind.file);
  }
  if (next.preferences != now.preferences) {
    s::SavePreferences(program, next.preferences);
    written.push_back(kPreferenceFile);
  }
  return written;
}

int RunSettingsApply(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  const std::string& file = cli.Required(0, "FILE.json");
  const SettingsLists now = LoadAll(context.program);
  std::vector<std::string> refusals;
  SettingsLists next;
  try {
    next = ReadSettings(context.program, ReadJsonObjectFile(file), now, refusals);
  } catch (const JsonInputError& e) {
    std::cerr << "orvella settings apply: " << e.what() << "\n";
    return 2;
  }
  // A record whose reading stopped at a value would fail the checks on the
  // fields after it too: they run once every value has read.
  if (refusals.empty())
    refusals = CheckSettingsLists(next, s::LoadFolderModels(context.program), context.program,
                                  context.folders.networkShortcuts);
  if (!refusals.empty()) {
    for (const auto& line : refusals) std::cerr << line << "\n";
    std::cerr << "orvella settings apply: nothing written\n";
    return 1;
  }
  std::cout << Json{{"written", WriteChanged(context.program, next, now)}}.dump() << "\n";
  return 0;
}

const CommandRegistrar kApply{
    {"settings apply", "FILE.json [--home DIR]", &RunSettingsApply,
     "Writes the settings files from FILE.json, an object of the shape `settings dump`\n"
     "prints: inputs, printers, folds, stamps (arrays of records), preferences (one\n"
     "record), each record under its INI keys with every key present; enumerations as\n"
     "numbers, booleans as 0/1, addresses as dotted text, a stamp's FONT as dump prints\n"
     "it. A member left out leaves its file alone. LOGIN_PASSWORD is plain text and\n"
     "stored enciphered; a printer without it keeps the password of the printer of\n"
     "that NAME, else none. hidden, folder_models and app_data are never written: they\n"
     "may be left out or given as dump prints them, anything else is refused.\n"
     "Every record passes the checks of its settings dialog, and every printer, fold\n"
     "and stamp an input folder names must exist, before anything is written; then each\n"
     "file whose records changed is replaced whole. Prints {\"written\": [files]}.\n"
     "Exit 1 when a check fails (one line per failure: file, record, INI key, message;\n"
     "nothing written), 2 for JSON not of the dump's shape."}};

}  // namespace
}  // namespace orvella::cli
