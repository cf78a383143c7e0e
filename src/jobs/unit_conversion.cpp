#include "jobs/unit_conversion.h"

#include <algorithm>
#include <utility>

#include "imaging/convert_plot.h"
#include "imaging/convert_tiff.h"
#include "imaging/stamp_job.h"
#include "imaging/tiff_page_info.h"
#include "jobs/decision_messages.h"
#include "jobs/paper_decision.h"
#include "jobs/paper_sizes.h"
#include "jobs/plot_orientation.h"
#include "jobs/printer_routing.h"
#include "printer/info_file.h"
#include "printfile/plot_measure.h"

namespace orvella::jobs {
namespace {

bool Fail(base::Failure& failure, std::string message, std::string detail) {
  failure = {std::move(message), std::move(detail)};
  return false;
}

SizeTolerance Tolerance(const OperationSettings& settings) {
  return {settings.preferences.marginPlus, settings.preferences.marginMinus,
          settings.hidden.enablePaperSizeB};
}

// Every unit starts from the folder setting alone, so nothing of the unit
// before shows in a unit that fails early.
void StartUnit(CurrentJob& job, bool& keepFile) {
  job.printer = {};
  job.printerIndex = 0;
  job.tray = {};
  job.outputWidthMm = job.outputLengthMm = 0;
  job.decision = {};
  keepFile = false;
}

// Output rotation and magnification of an image of w x h mm.
bool DecideUnitOutput(const ConversionEnvironment& environment, CurrentJob& job, double w, double h,
                      OutputChoice& output, base::Failure& failure) {
  std::string detail;
  if (!DecideOutput(job.folder, w, h, Tolerance(environment.settings), output, detail))
    return Fail(failure, kTraySelectionError, detail);
  job.decision.magnification = output.magnification;
  job.decision.rotation = output.rotation;
  return true;
}

// The page's size, then its output rotation and magnification.
bool DecidePage(const ConversionEnvironment& environment, CurrentJob& job,
                const std::filesystem::path& source, int page, OutputChoice& output, base::Failure& failure) {
  double w = 0, h = 0;
  std::string detail;
  if (const auto code = imaging::ReadPageSizeMm(source, page, w, h, &detail); code != imaging::kTiffOk)
    return Fail(failure, std::string(imaging::ResultText(code)), detail);
  return DecideUnitOutput(environment, job, w, h, output, failure);
}

// The folder's printer of that class; a printer missing from the list, or
// one of the other class, is a fault of the configuration.
bool TakePrinter(const ConversionEnvironment& environment, CurrentJob& job, PrinterClass printerClass,
                 base::Failure& failure) {
  const bool wide = printerClass == PrinterClass::kWide;
  const std::string& name = wide ? job.folder.widePrinterName : job.folder.a2PrinterName;
  const char* kind = wide ? "wide-format" : "A2-or-smaller";
  std::size_t index = 0;
  const settings::PrinterSetting* printer = FindPrinter(environment.settings, name, &index);
  if (!printer) {
    return Fail(failure, kPrinterError,
                name.empty() ? std::string("the input folder names no ") + kind + " printer"
                             : "PRINTER.INI has no printer named \"" + name + "\"");
  }
  if (settings::IsWidePrinter(*printer) != wide)
    return Fail(failure, kPrinterError, "printer \"" + name + "\" is not a " + kind + " printer");
  job.printer = *printer;
  job.printerIndex = index;
  job.decision.printerClass = static_cast<int>(printerClass);
  return true;
}

// Trays of an A2-or-smaller printer that reports its own tray structure.
bool ReadAutomaticTrays(const ConversionEnvironment& environment, CurrentJob& job, base::Failure& failure) {
  if (settings::IsWidePrinter(job.printer) || !job.printer.a2TrayStructAuto) return true;
  if (environment.trayInformation) return environment.trayInformation(job.printer, failure);
  return printer::ReadTrayInformation(job.printer, environment.settings.hidden, environment.work.work,
                                      failure);
}

void SetTray(CurrentJob& job, const TrayCandidate& paper) {
  job.tray = {paper.name, paper.width, paper.length};
  job.outputWidthMm = paper.width;
  job.outputLengthMm = paper.length;
  job.decision.trayNumber = paper.trayNumber;
  job.decision.roll = paper.roll;
  job.decision.rotateFlag = paper.rotate;
}

// Decides the unit's paper from what is known by now and records it in job;
// a fold that cannot be decided still leaves the paper chosen in job.
bool TakePaper(CurrentJob& job, const PaperQuestion& question, TrayCandidate& paper, base::Failure& failure) {
  PaperAnswer answer;
  const bool decided = DecidePaper(question, answer, failure);
  if (answer.paper) {
    paper = *answer.paper;
    SetTray(job, paper);
  }
  if (!decided) return false;
  job.decision.foldType = answer.fold.type;
  job.decision.foldMargin = answer.fold.margin;
  return true;
}

int ModelDpi(int model) {
  const auto info = settings::PrinterModelInfo(model);
  return info ? info->dpi : 600;
}

// The page chain's request for the paper chosen in job.
imaging::PageConversionRequest PageRequest(const ConversionEnvironment& environment, const CurrentJob& job,
                                           const OutputChoice& output, int programNumber) {
  const auto& preferences = environment.settings.preferences;
  imaging::PageConversionRequest request;
  request.hostMagnification = !preferences.tiffResoProcOnPrinter;
  request.magnification = output.magnification;
  // The paper's longer side lies along the image's longer side.
  const double shorter = std::min(job.tray.widthMm, job.tray.lengthMm);
  const double longer = std::max(job.tray.widthMm, job.tray.lengthMm);
  const bool wideImage = output.width >= output.length;
  request.sheetWidthMm = wideImage ? longer : shorter;
  request.sheetHeightMm = wideImage ? shorter : longer;
  request.rotation = output.rotation;
  request.model02LongSheet = job.printer.model == settings::kModel02Number && preferences.model02Rotation;
  printfile::RasterJobOptions& header = request.header;
  header.freeSizeWidth = static_cast<int>(job.tray.widthMm + 0.5);
  header.freeSizeHeight = static_cast<int>(job.tray.lengthMm + 0.5);
  header.trayName = job.tray.name;
  header.freeSizeFlag = job.decision.roll ? 1 : 0;
  header.programNumber = programNumber;
  header.landscape = request.sheetWidthMm > request.sheetHeightMm ? 1 : 0;
  header.errorPrint = environment.settings.hidden.tiffErrorPrint ? 1 : 0;
  header.foldType = job.decision.foldType;
  header.foldMargin = job.decision.foldMargin;
  header.resolution = ModelDpi(job.printer.model);
  header.printerClass = job.decision.printerClass;
  return request;
}

// A stamp that cannot be made lies with the stamp settings, not the file.
bool MakeStamps(const ConversionEnvironment& environment, const CurrentJob& job, int dpi,
                std::pair<double, double> sheet, int rotation, std::array<imaging::StampPlacement, 3>& stamps,
                base::Failure& failure, bool& keepFile) {
  if (imaging::GenerateJobStamps(environment.work.work, job.folder.stamps, environment.settings.stamps, dpi,
                                 sheet.first, sheet.second, rotation, stamps, failure))
    return true;
  keepFile = true;
  return false;
}

}  // namespace

bool IsWholeFileJob(const ConversionEnvironment& environment, const CurrentJob& job, double widthMm,
                    double lengthMm, int pages) {
  const auto& settings = environment.settings;
  OutputChoice output;
  std::string detail;
  // A page without a usable size is converted page by page, where its
  // failure is reported for that page.
  if (!DecideOutput(job.folder, widthMm, lengthMm, Tolerance(settings), output, detail)) return false;
  const PrinterClass routed = RoutePage(job.folder, settings.hidden, settings.preferences.marginPlus,
                                        output.width, output.length, output.magnification);
  return WantsWholeFile(job.folder, settings.hidden, routed, pages);
}

bool ConvertWholeFile(const ConversionEnvironment& environment, CurrentJob& job,
                      const std::filesystem::path& source, const std::filesystem::path& printFile, int pages,
                      base::Failure& failure, bool& keepFile) {
  StartUnit(job, keepFile);
  const auto& settings = environment.settings;
  const auto& folder = job.folder;
  OutputChoice output;
  if (!DecidePage(environment, job, source, 0, output, failure)) return false;
  if (!TakePrinter(environment, job, PrinterClass::kA2, failure)) {
    keepFile = true;
    return false;
  }
  // The trays first, then the decision over what they hold.
  if (!folder.autoPaper && !ReadAutomaticTrays(environment, job, failure)) {
    keepFile = true;
    return false;
  }
  TrayCandidate paper;
  if (!TakePaper(job, {folder, settings, job.printer, output, folder.a2PaperType, folder.autoPaper}, paper,
                 failure))
    return false;

  imaging::PageConversionRequest request = PageRequest(environment, job, output, folder.tiffProgramA2);
  // Stapling, both sides and two-up need a second page.
  const bool several = pages > 1;
  printfile::A2Finishing& finishing = request.header.finishing;
  finishing.staple = several ? static_cast<int>(folder.staple) : 0;
  finishing.duplex = several ? static_cast<int>(folder.duplex) : 0;
  finishing.twoUp = several && folder.twoUp ? 1 : 0;
  finishing.punch = static_cast<int>(folder.punch);
  finishing.zFold = settings.hidden.enableZFold ? static_cast<int>(folder.zFold) : 0;
  finishing.autoPaper = folder.autoPaper ? 1 : 0;
  finishing.autoPaperPercent = settings.hidden.autopaperPercent;
  request.header.quantity = folder.quantity;

  imaging::MultiPageOptions multi;
  multi.stampFirstPageOnly = folder.stampTopPageOnly;
  if (finishing.twoUp) {
    // The pages are laid out two to a sheet of their own size at 100 %.
    const auto size = SmallestFittingSize(output.width, output.length, settings.preferences.marginPlus,
                                          settings.hidden.enablePaperSizeB);
    if (!size) {
      return Fail(failure, kStandardSizeError,
                  "no standard size holds the first page of " + SizeText(output.width, output.length) +
                      " mm for the two-up layout");
    }
    const PaperSize& sheet = kStandardSizes[*size];
    const bool landscape = output.width > output.length;
    multi.twoUpSheetWidthMm = landscape ? sheet.longSide : sheet.shortSide;
    multi.twoUpSheetHeightMm = landscape ? sheet.shortSide : sheet.longSide;
  }
  if (!MakeStamps(environment, job, request.header.resolution, imaging::StampSheetMm(request, &multi),
                  request.rotation, request.stamps, failure, keepFile))
    return false;
  return imaging::ConvertMultiTiff(environment.work, source, request, multi, printFile, failure);
}

bool ConvertPage(const ConversionEnvironment& environment, CurrentJob& job,
                 const std::filesystem::path& source, int page, const std::filesystem::path& printFile,
                 base::Failure& failure, bool& keepFile) {
  StartUnit(job, keepFile);
  const auto& settings = environment.settings;
  const auto& folder = job.folder;
  OutputChoice output;
  if (!DecidePage(environment, job, source, page, output, failure)) return false;
  const PrinterClass printerClass = RoutePage(folder, settings.hidden, settings.preferences.marginPlus,
                                              output.width, output.length, output.magnification);
  if (!TakePrinter(environment, job, printerClass, failure)) {
    keepFile = true;
    return false;
  }
  if (!ReadAutomaticTrays(environment, job, failure)) return false;
  const bool wide = printerClass == PrinterClass::kWide;
  TrayCandidate paper;
  // Only the wide-format printer has a folding unit.
  if (!TakePaper(job,
                 {folder, settings, job.printer, output, wide ? folder.widePaperType : folder.a2PaperType,
                  false, wide},
                 paper, failure))
    return false;

  imaging::PageConversionRequest request =
      PageRequest(environment, job, output, wide ? folder.tiffProgramWide : folder.tiffProgramA2);
  if ((page == 0 || !folder.stampTopPageOnly) &&
      !MakeStamps(environment, job, request.header.resolution, imaging::StampSheetMm(request, nullptr),
                  request.rotation, request.stamps, failure, keepFile))
    return false;
  return imaging::ConvertSingleTiff(environment.work, source, page, request, printFile, failure);
}

bool ConvertPlot(const ConversionEnvironment& environment, CurrentJob& job,
                 const std::filesystem::path& source, const std::filesystem::path& printFile,
                 base::Failure& failure, bool& keepFile) {
  StartUnit(job, keepFile);
  const auto& settings = environment.settings;
  const auto& folder = job.folder;
  if (!TakePrinter(environment, job, PrinterClass::kWide, failure)) {
    keepFile = true;
    return false;
  }
  printfile::PlotMeasure measure;
  base::Failure measured;
  if (!printfile::MeasurePlot(source, environment.work.work, measure, measured))
    return Fail(failure, kPlotMeasureError, measured.message + ": " + measured.detail);
  const PlotShape shape{measure.size.width, measure.size.height, measure.head.envelope, measure.head.lfOnly};
  double w = shape.width, h = shape.height;
  if (TurnsMeasuredPlot(shape, Tolerance(settings), job.printer.model, settings.preferences)) std::swap(w, h);

  OutputChoice output;
  if (!DecideUnitOutput(environment, job, w, h, output, failure)) return false;
  TrayCandidate paper;
  if (!TakePaper(job, {folder, settings, job.printer, output, folder.widePaperType, false, true, false},
                 paper, failure))
    return false;

  int pageAngle = PlotPageAngle(paper.width, paper.length, output.width, output.length, output.rotation);
  int extraRotation = PlotExtraRotation(shape, output.rotation);
  // A folded plot leaves the printer the other way round.
  if (job.decision.foldType != 0) {
    pageAngle = (pageAngle + 180) % 360;
    extraRotation = (extraRotation + 180) % 360;
  }
  job.decision.pageAngle = pageAngle;
  job.decision.extraRotation = extraRotation;

  imaging::PlotConversionRequest request;
  request.modelIndex = job.printer.model;
  request.scale = output.magnification;
  request.paperWidth = paper.width;
  request.paperLength = paper.length;
  request.rotation = output.rotation;
  request.pageAngle = pageAngle;
  request.trayNumber = paper.trayNumber;
  request.rollFlag = paper.roll ? 1 : 0;
  request.programNumber = folder.hpglProgramWide;
  request.foldType = job.decision.foldType;
  request.foldMargin = job.decision.foldMargin;
  if (!MakeStamps(environment, job, imaging::PlotModelDpi(request.modelIndex), {paper.width, paper.length},
                  request.rotation, request.stamps, failure, keepFile))
    return false;
  return imaging::ConvertPlotJob(source, printFile, request, extraRotation, environment.work, failure);
}

}  // namespace orvella::jobs
