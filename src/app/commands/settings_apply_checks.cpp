#include "app/commands/settings_apply_checks.h"

#include <algorithm>

#include "base/fixed_format.h"
#include "settings/fold_validation.h"
#include "settings/input_validation.h"
#include "settings/printer_validation.h"
#include "settings/stamp_validation.h"

namespace orvella::cli {
namespace {

namespace s = orvella::settings;

class Report {
 public:
  explicit Report(std::vector<std::string>& lines) : lines_(lines) {}
  void Add(const std::string& where, const std::string& key, const std::string& message) {
    lines_.push_back(where + ", " + key + ": " + message);
  }

 private:
  std::vector<std::string>& lines_;
};

// The INI key of the field a dialog's check names, as the record's field
// enumeration gives it.
std::string FailureKey(const s::ValidationFailure<s::InputField>& f, const s::InputFolderSetting& input) {
  switch (f.field) {
    case s::InputField::kInputDir:
      return s::FieldKey(input, &input.inputDir);
    case s::InputField::kWidePrinter:
      return s::FieldKey(input, &input.widePrinterName);
    case s::InputField::kQuantity:
      return s::FieldKey(input, &input.quantity);
    case s::InputField::kMagnification:
      break;
  }
  return s::FieldKey(input, &input.outputs[static_cast<size_t>(f.row)].magnification);
}

std::string FailureKey(const s::ValidationFailure<s::PrinterField>& f, const s::PrinterSetting& printer) {
  switch (f.field) {
    case s::PrinterField::kName:
      return s::FieldKey(printer, &printer.name);
    case s::PrinterField::kIpAddr:
      return s::FieldKey(printer, &printer.ipAddr);
    case s::PrinterField::kLoginUsername:
      return s::FieldKey(printer, &printer.loginUsername);
    case s::PrinterField::kLoginPassword:
      return s::FieldKey(printer, &printer.loginPassword);
    case s::PrinterField::kA2PrinterName:
      break;
  }
  return s::FieldKey(printer, &printer.a2PrinterName);
}

std::string FailureKey(const s::ValidationFailure<s::FoldField>& f, const s::FoldSetting& fold) {
  const auto slot = static_cast<size_t>(f.row);
  switch (f.field) {
    case s::FoldField::kName:
      return s::FieldKey(fold, &fold.name);
    case s::FoldField::kFoldType:
      return s::FieldKey(fold, &fold.foldTypes[slot]);
    case s::FoldField::kMargin:
      break;
  }
  return s::FieldKey(fold, &fold.margins[slot]);
}

std::string FailureKey(const s::ValidationFailure<s::StampField>& f, const s::StampSetting& stamp) {
  switch (f.field) {
    case s::StampField::kName:
      return s::FieldKey(stamp, &stamp.name);
    case s::StampField::kXOffset:
      return s::FieldKey(stamp, &stamp.xOffset);
    case s::StampField::kYOffset:
      return s::FieldKey(stamp, &stamp.yOffset);
    case s::StampField::kFont:
      return stamp.font.HasFace() ? s::FieldKey(stamp, &stamp.pointSize) : s::FieldKey(stamp, &stamp.font);
    case s::StampField::kImagePath:
      return s::FieldKey(stamp, &stamp.imagePath);
    case s::StampField::kLineWidth:
      return s::FieldKey(stamp, &stamp.lineWidth);
    case s::StampField::kRowText:
      break;
  }
  return s::FieldKey(stamp, &stamp.rowTexts[static_cast<size_t>(f.row - 1)]);  // rows count from 1
}

template <typename Record>
bool Named(const std::vector<Record>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(), [&](const Record& r) { return r.name == name; });
}

void CheckInputs(const SettingsLists& lists, const std::filesystem::path& program,
                 const std::filesystem::path& shortcuts, Report& report) {
  for (size_t i = 0; i < lists.inputs.size(); ++i) {
    const auto& input = lists.inputs[i];
    const std::string where = RecordWhere(kInputKind, i, input.inputDir);
    const s::InputGeneralForm form{input.inputDir, input.widePrinterName, input.a2PrinterName,
                                   std::to_string(input.quantity)};
    if (auto f = s::ValidateInputGeneral(form, lists.inputs, i, shortcuts, program))
      report.Add(where, FailureKey(*f, input),
                 f->detail.empty() ? f->message : f->message + " (" + f->detail + ")");
    std::array<s::OutputTarget, s::kInputSizeCount> targets{};
    std::array<std::string, s::kInputSizeCount> magnifications;
    for (size_t size = 0; size < targets.size(); ++size) {
      targets[size] = input.outputs[size].target;
      magnifications[size] =
          base::FormatFixed(input.outputs[size].magnification, 1);  // as the dialog shows it
    }
    if (auto f = s::ValidateOutputSettings(input.useOutputSetting, targets, magnifications)) {
      report.Add(where, FailureKey(*f, input), f->message);
    }
    // The names it refers to, among the records as they are to be written.
    const auto refer = [&](const std::string& name, const auto& list, const char* file) {
      if (!name.empty() && !Named(list, name))
        report.Add(where, s::FieldKey(input, &name), "\"" + name + "\" is no record of " + file);
    };
    refer(input.widePrinterName, lists.printers, kPrinterKind.file);
    refer(input.a2PrinterName, lists.printers, kPrinterKind.file);
    refer(input.wideFoldName, lists.folds, kFoldKind.file);
    for (const auto& stamp : input.stamps) refer(stamp.name, lists.stamps, kStampKind.file);
  }
}

void CheckPrinters(const SettingsLists& lists, Report& report) {
  for (size_t i = 0; i < lists.printers.size(); ++i) {
    const auto& printer = lists.printers[i];
    if (auto f = s::ValidatePrinterSetting(printer, lists.printers, i)) {
      report.Add(RecordWhere(kPrinterKind, i, printer.name), FailureKey(*f, printer), f->message);
    }
  }
}

void CheckFolds(const SettingsLists& lists, const std::vector<s::FolderModel>& units, Report& report) {
  for (size_t i = 0; i < lists.folds.size(); ++i) {
    const auto& fold = lists.folds[i];
    if (auto f = s::ValidateFoldSetting(fold, lists.folds, i, units)) {
      report.Add(RecordWhere(kFoldKind, i, fold.name), FailureKey(*f, fold), f->message);
    }
  }
}

void CheckStamps(const SettingsLists& lists, Report& report) {
  for (size_t i = 0; i < lists.stamps.size(); ++i) {
    const auto& stamp = lists.stamps[i];
    // The edit window's fields as it fills them from the record.
    const s::StampForm form{stamp.name,
                            std::to_string(stamp.xOffset),
                            std::to_string(stamp.yOffset),
                            stamp.type,
                            stamp.font,
                            stamp.pointSize,
                            stamp.imagePath,
                            stamp.rulerLines,
                            base::FormatFixed(stamp.lineWidth / 10.0, 1),
                            stamp.rowTexts};
    if (auto f = s::ValidateStampForm(form, lists.stamps, i)) {
      report.Add(RecordWhere(kStampKind, i, stamp.name), FailureKey(*f, stamp), f->message);
    }
  }
}

void CheckPreferences(const s::Preferences& p, Report& report) {
  const auto margin = [&](const int& mm) {
    if (mm < s::kMarginMin || mm > s::kMarginMax) {
      report.Add(
          kPreferenceFile, s::FieldKey(p, &mm),
          "must be " + std::to_string(s::kMarginMin) + " to " + std::to_string(s::kMarginMax) + " (mm)");
    }
  };
  margin(p.marginPlus);
  margin(p.marginMinus);
}

}  // namespace

std::string RecordWhere(const RecordKind& kind, size_t index, const std::string& name) {
  return std::string(kind.file) + ": " + kind.kind + " " + std::to_string(index) + " (\"" + name + "\")";
}

std::vector<std::string> CheckSettingsLists(const SettingsLists& lists,
                                            const std::vector<s::FolderModel>& units,
                                            const std::filesystem::path& program,
                                            const std::filesystem::path& networkShortcuts) {
  std::vector<std::string> lines;
  Report report(lines);
  CheckPrinters(lists, report);
  CheckFolds(lists, units, report);
  CheckStamps(lists, report);
  CheckInputs(lists, program, networkShortcuts, report);
  CheckPreferences(lists.preferences, report);
  return lines;
}

}  // namespace orvella::cli
