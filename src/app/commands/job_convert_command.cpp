// orvella convert: everything a job does with one file under an input folder
// setting (classification, page or whole-file mode, printer, tray, fold,
// stamps, print files) except sending, with the decision of each unit as JSON.
#include <climits>
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
#include "imaging/tiff_page_info.h"
#include "jobs/input_file_type.h"
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

// A unit that failed before any decision (the file's pages cannot be read).
json FileFailure(const jobs::CurrentJob& job, const std::string& message, const std::string& detail) {
  return UnitJson(nullptr, false, {message, detail}, false, job, {});
}

struct Outcome {
  json mode = nullptr;
  json units = json::array();
  bool allOk = true;

  void Add(json unit) {
    allOk = allOk && unit["ok"].get<bool>();
    units.push_back(std::move(unit));
  }
};

std::string PageFileName(int page) {
  char name[32];
  std::snprintf(name, sizeof name, "page-%03d.prn", page);
  return name;
}

Outcome ConvertTiff(const jobs::ConversionEnvironment& environment, jobs::CurrentJob& job,
                    const std::filesystem::path& file, const std::filesystem::path& out,
                    std::optional<long long> onlyPage) {
  Outcome outcome;
  int pages = 0;
  std::string detail;
  if (const auto code = imaging::CountPages(file, pages, &detail); code != imaging::kTiffOk) {
    outcome.Add(FileFailure(job, std::string(imaging::ResultText(code)), detail));
    return outcome;
  }
  if (onlyPage && *onlyPage > pages)
    throw UsageError("--page " + std::to_string(*onlyPage) + ": the file has " + std::to_string(pages) +
                     " pages");
  double width = 0, length = 0;
  if (const auto code = imaging::ReadPageSizeMm(file, 0, width, length, &detail); code != imaging::kTiffOk) {
    outcome.Add(FileFailure(job, std::string(imaging::ResultText(code)), detail));
    return outcome;
  }
  base::Failure failure;
  bool keepFile = false;
  if (jobs::IsWholeFileJob(environment, job, width, length, pages)) {
    if (onlyPage) throw UsageError("--page: this file goes to the printer as one whole-file job");
    outcome.mode = "whole";
    const auto printFile = out / "whole.prn";
    const bool ok = jobs::ConvertWholeFile(environment, job, file, printFile, pages, failure, keepFile);
    outcome.Add(UnitJson(nullptr, ok, failure, keepFile, job, printFile));
    return outcome;
  }
  // One unit per page: the copies are sent again by the worker, not converted again.
  outcome.mode = "page";
  const int first = onlyPage ? static_cast<int>(*onlyPage) : 1;
  const int last = onlyPage ? first : pages;
  for (int page = first; page <= last; ++page) {
    const auto printFile = out / PageFileName(page);
    const bool ok = jobs::ConvertPage(environment, job, file, page - 1, printFile, failure, keepFile);
    outcome.Add(UnitJson(page, ok, failure, keepFile, job, printFile));
  }
  return outcome;
}

int RunConvert(const CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 1, {"folder", "out", "page"}, {}, {"tray-info"});
  const std::filesystem::path file = args.Required(0, "FILE");
  const auto folderIndex = args.Int("folder");
  if (!folderIndex) throw UsageError("missing --folder");
  const auto out = args.Value("out");
  if (!out) throw UsageError("missing --out");
  const auto onlyPage = args.Int("page");
  if (onlyPage && (*onlyPage < 1 || *onlyPage > INT_MAX)) throw UsageError("--page counts from 1");
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

  jobs::InputFileType type = jobs::InputFileType::kUnsupported;
  if (!jobs::DetectInputFileType(file, type, loaded.hidden.enableUnsupportedGl))
    std::cerr << "orvella: cannot read " << file.string() << "\n";
  Outcome outcome;
  const char* typeName = "unsupported";
  if (type == jobs::InputFileType::kTiff) {
    typeName = "tiff";
    outcome = ConvertTiff(environment, job, file, *out, onlyPage);
  } else if (type == jobs::InputFileType::kHpgl2) {
    typeName = "plot";
    if (onlyPage) throw UsageError("--page is for TIFF files");
    outcome.mode = "plot";
    const auto printFile = std::filesystem::path(*out) / "plot.prn";
    base::Failure failure;
    bool keepFile = false;
    const bool ok = jobs::ConvertPlot(environment, job, file, printFile, failure, keepFile);
    outcome.Add(UnitJson(nullptr, ok, failure, keepFile, job, printFile));
  } else {
    outcome.allOk = false;
  }
  std::cout << json{{"type", typeName}, {"mode", outcome.mode}, {"units", outcome.units}}.dump() << "\n";
  return outcome.allOk ? 0 : 1;
}

const CommandRegistrar kConvert{
    {"convert", "FILE --folder N --out DIR [--page P] [--tray-info PRINTER=FILE ...] [--home DIR]",
     &RunConvert,
     "Does with FILE what a job of input folder setting N (from 0, in INPUT.INI's order as\n"
     "settings dump lists them) does, except sending: classifies it; a TIFF file is converted\n"
     "as one whole-file job (DIR/whole.prn) or page by page (DIR/page-001.prn, ...; --page P\n"
     "from 1 converts only that page), a plot into DIR/plot.prn. Copies are not repeated.\n"
     "An A2-or-smaller printer with automatic trays is asked for its \"info\" file over FTP,\n"
     "unless --tray-info names a saved one for it (repeatable, one per printer).\n\n"
     "Prints {\"type\": \"tiff\"|\"plot\"|\"unsupported\", \"mode\": \"page\"|\"whole\"|\"plot\"|null,\n"
     "\"units\": [...]}, each unit with: page (from 1; null for a whole file or plot), ok,\n"
     "message (the operator's), keep_file (the fault lies with settings or printer), printer,\n"
     "printer_class (\"wide\"|\"a2\"), tray, tray_number, roll, width_mm, length_mm (the paper,\n"
     "a roll's cut length), magnification (%), rotation (output rotation code), rotate_flag,\n"
     "fold_type, fold_margin, page_angle, extra_rotation (plots), print_file, and detail (the\n"
     "cause) when it failed. Exit 0 when every unit converted, else 1."}};

}  // namespace
}  // namespace orvella::cli
