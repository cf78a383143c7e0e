// orvella convert: everything a job does with one file under an input folder
// setting (classification, page or whole-file mode, printer, tray, fold,
// stamps, print files) except sending, with the decision of each unit as JSON.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "jobs/job_plan.h"
#include "jobs/operation_settings.h"
#include "jobs/unit_conversion.h"
#include "printer/info_file.h"
#include "settings/settings_error.h"
#include "settings/work_folder.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;

// --tray-info PRINTER=FILE: saved "info" files that stand in for the named
// printers' own; other printers are asked over FTP as a job asks them.
std::map<std::string, std::filesystem::path> ReadTrayInfoFiles(const std::vector<std::string>& values) {
  std::map<std::string, std::filesystem::path> files;
  for (const std::string& value : values) {
    const auto equals = value.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == value.size())
      throw UsageError("--tray-info needs PRINTER=FILE, not " + value);
    if (!files.emplace(value.substr(0, equals), value.substr(equals + 1)).second)
      throw UsageError("--tray-info names printer " + value.substr(0, equals) + " twice");
  }
  return files;
}

jobs::TrayInformationSource TrayInformationFrom(std::map<std::string, std::filesystem::path> files,
                                                const settings::HiddenSettings& hidden,
                                                const std::filesystem::path& workFolder) {
  if (files.empty()) return {};
  return [files = std::move(files), hidden, workFolder](settings::PrinterSetting& printer,
                                                        base::Failure& failure) {
    const auto it = files.find(printer.name);
    if (it == files.end()) return printer::ReadTrayInformation(printer, hidden, workFolder, failure);
    std::vector<printer::TrayInformation> records;
    std::string detail;
    if (!printer::ParseInformationFile(it->second, records, &detail)) {
      failure = {printer::kTrayInfoParseError, it->second.string() + ": " + detail};
      return false;
    }
    printer::ApplyTrayInformation(records, printer);
    return true;
  };
}

json UnitJson(const json& page, bool ok, const base::Failure& failure, bool keepFile,
              const jobs::CurrentJob& job, const std::filesystem::path& printFile) {
  const jobs::UnitDecision& d = job.decision;
  const bool hasPrinter = !job.printer.name.empty();
  json unit{{"page", page},
            {"ok", ok},
            {"message", ok ? "" : failure.message},
            {"keep_file", keepFile},
            {"printer", job.printer.name},
            {"printer_class", hasPrinter ? json(d.printerClass == 0 ? "wide" : "a2") : json(nullptr)},
            {"tray", job.tray.name},
            {"tray_number", d.trayNumber},
            {"roll", d.roll},
            {"width_mm", job.outputWidthMm},
            {"length_mm", job.outputLengthMm},
            {"magnification", d.magnification},
            {"rotation", d.rotation},
            {"rotate_flag", d.rotateFlag},
            {"fold_type", d.foldType},
            {"fold_margin", d.foldMargin},
            {"page_angle", d.pageAngle},
            {"extra_rotation", d.extraRotation},
            {"print_file", ok ? json(printFile.string()) : json(nullptr)}};
  if (!ok) unit["detail"] = failure.detail;
  return unit;
}

std::string PrintFileName(const jobs::PlannedUnit& unit) {
  if (unit.kind == jobs::WorkUnit::kWholeTiff) return "whole.prn";
  if (unit.kind == jobs::WorkUnit::kHpglCopy) return "plot.prn";
  char name[32];
  std::snprintf(name, sizeof name, "page-%03d.prn", unit.page);
  return name;
}

// The units of one copy (the worker sends them again for each copy), or
// only page onlyPage.
std::vector<jobs::PlannedUnit> UnitsToConvert(const jobs::JobPlan& plan, std::optional<long long> onlyPage) {
  if (!onlyPage || plan.failure) return plan.units;
  if (plan.mode == jobs::JobMode::kPlot) throw UsageError("--page is for TIFF files");
  if (plan.mode == jobs::JobMode::kWholeFile)
    throw UsageError("--page: this file goes to the printer as one whole-file job");
  if (*onlyPage > plan.pages)
    throw UsageError("--page " + std::to_string(*onlyPage) + ": the file has " + std::to_string(plan.pages) +
                     " pages");
  return {plan.units[static_cast<std::size_t>(*onlyPage - 1)]};
}

const char* TypeName(jobs::InputFileType type) {
  switch (type) {
    case jobs::InputFileType::kTiff:
      return "tiff";
    case jobs::InputFileType::kHpgl2:
      return "plot";
    case jobs::InputFileType::kUnsupported:
      break;
  }
  return "unsupported";
}

json ModeName(jobs::JobMode mode) {
  switch (mode) {
    case jobs::JobMode::kPages:
      return "page";
    case jobs::JobMode::kWholeFile:
      return "whole";
    case jobs::JobMode::kPlot:
      return "plot";
    case jobs::JobMode::kNone:
      break;
  }
  return nullptr;
}

// Plans the file as the worker does, converts the units asked for and prints
// the result; 0 when every unit converted.
int PlanAndConvert(const jobs::ConversionEnvironment& environment, jobs::CurrentJob& job,
                   const std::filesystem::path& file, const std::filesystem::path& out,
                   std::optional<long long> onlyPage) {
  const jobs::JobPlan plan = jobs::PlanJob(environment, job, file);
  json units = json::array();
  bool allOk = true;
  if (plan.failure) {
    // The file fails as a whole, before any decision.
    units.push_back(UnitJson(nullptr, false, *plan.failure, false, job, {}));
    allOk = false;
  }
  for (const jobs::PlannedUnit& unit : UnitsToConvert(plan, onlyPage)) {
    const auto printFile = out / PrintFileName(unit);
    base::Failure failure;
    bool keepFile = false;
    const bool ok = jobs::ConvertUnit(environment, job, plan, unit, file, printFile, failure, keepFile);
    const json page = unit.kind == jobs::WorkUnit::kTiffPage ? json(unit.page) : json(nullptr);
    units.push_back(UnitJson(page, ok, failure, keepFile, job, printFile));
    allOk = allOk && ok;
  }
  std::cout << json{{"type", TypeName(plan.type)},
                    {"mode", ModeName(plan.mode)},
                    {"pages", plan.pages},
                    {"units", units}}
                   .dump()
            << "\n";
  return allOk ? 0 : 1;
}

int RunConvert(const CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 1, {"folder", "out", "page"}, {}, {"tray-info"});
  const std::filesystem::path file = args.Required(0, "FILE");
  const auto folderIndex = args.Int("folder");
  if (!folderIndex) throw UsageError("missing --folder");
  const auto out = args.Value("out");
  if (!out) throw UsageError("missing --out");
  const auto onlyPage = args.Page("page", 1);
  auto trayFiles = ReadTrayInfoFiles(args.Values("tray-info"));

  jobs::OperationSettings loaded;
  try {
    loaded = jobs::LoadOperationSettings(context.program);
  } catch (const settings::SettingsError& e) {
    std::cerr << "orvella: " << e.what() << "\n";
    return 1;
  }
  if (*folderIndex < 0 || *folderIndex >= static_cast<long long>(loaded.inputs.size())) {
    throw UsageError("--folder " + std::to_string(*folderIndex) + ": INPUT.INI has " +
                     std::to_string(loaded.inputs.size()) + " input folders, numbered from 0");
  }
  std::error_code ec;
  std::filesystem::create_directories(*out, ec);
  if (ec) {
    std::cerr << "orvella: cannot create " << *out << ": " << ec.message() << "\n";
    return 1;
  }
  std::string detail;
  auto work = settings::WorkFolder::Create(context.program, detail);
  if (!work) {
    std::cerr << "orvella: " << settings::kWorkFolderError << ": " << detail << "\n";
    return 1;
  }

  jobs::CurrentJob job;
  job.folder = loaded.inputs[static_cast<std::size_t>(*folderIndex)];
  const jobs::ConversionEnvironment environment{
      loaded, work->Context(context.folders.data),
      TrayInformationFrom(std::move(trayFiles), loaded.hidden, work->Path())};

  return PlanAndConvert(environment, job, file, *out, onlyPage);
}

const CommandRegistrar kConvert{
    {"convert", "FILE --folder N --out DIR [--page P] [--tray-info PRINTER=FILE ...] [--home DIR]",
     &RunConvert,
     "Does with FILE what a job of input folder setting N (from 0, in INPUT.INI's order as\n"
     "settings dump lists them) does, except sending: classifies it; a TIFF file is converted\n"
     "as one whole-file job (DIR/whole.prn) or page by page (DIR/page-001.prn, ...; --page P\n"
     "converts only page P, counted from 1 as the job window counts: the first page is 1,\n"
     "unlike the --page of the tool commands), a plot into DIR/plot.prn. Copies are not repeated.\n"
     "An A2-or-smaller printer with automatic trays is asked for its \"info\" file over FTP,\n"
     "unless --tray-info names a saved one for it (repeatable, one per printer).\n\n"
     "Prints {\"type\": \"tiff\"|\"plot\"|\"unsupported\", \"mode\": \"page\"|\"whole\"|\"plot\"|null,\n"
     "\"pages\": N (1 for a plot), \"units\": [...]}: the units of one copy or, when the file fails as a "
     "whole (unreadable,\n"
     "unsupported, its pages unreadable), one unit without a page saying why. Each unit has:\n"
     "page (from 1; null for a whole file or plot), ok,\n"
     "message (the operator's), keep_file (the fault lies with settings or printer), printer,\n"
     "printer_class (\"wide\"|\"a2\"), tray, tray_number, roll, width_mm, length_mm (the paper,\n"
     "a roll's cut length), magnification (%), rotation (output rotation code), rotate_flag,\n"
     "fold_type, fold_margin, page_angle, extra_rotation (plots), print_file, and detail (the\n"
     "cause) when it failed. Exit 0 when every unit converted, else 1."}};

}  // namespace
}  // namespace orvella::cli
