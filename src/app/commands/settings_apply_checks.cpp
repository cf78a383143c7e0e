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

// The INI key of the field a dialog's check names.
std::string InputKey(const s::ValidationFailure<s::InputField>& f) {
  switch (f.field) {
    case s::InputField::kInputDir:
      return "INPUT_DIR";
    case s::InputField::kWidePrinter:
      return "WIDE_PRINTER_NAME";
    case s::InputField::kQuantity:
      return "QTY";
    case s::InputField::kMagnification:
      break;
  }
  return std::string("OUTPUT_SETTING_") + s::InputSizeKey(static_cast<s::InputSize>(f.row)) + "_MAG";
}

std::string PrinterKey(s::PrinterField field) {
  switch (field) {
    case s::PrinterField::kName:
      return "NAME";
    case s::PrinterField::kIpAddr:
      return "IP_ADDR";
    case s::PrinterField::kLoginUsername:
      return "LOGIN_USERNAME";
    case s::PrinterField::kLoginPassword:
      return "LOGIN_PASSWORD";
    case s::PrinterField::kA2PrinterName:
      break;
  }
  return "A2PRINTER_NAME";
}

std::string FoldKey(const s::ValidationFailure<s::FoldField>& f) {
  if (f.field == s::FoldField::kName) return "NAME";
  const std::string prefix(s::kFoldSizeSlots[static_cast<size_t>(f.row)].prefix);
  return prefix + (f.field == s::FoldField::kFoldType ? "_FOLDTYPE" : "_FOLDMARGIN");
}

std::string StampKey(const s::ValidationFailure<s::StampField>& f, const s::StampSetting& stamp) {
  switch (f.field) {
    case s::StampField::kName:
      return "NAME";
    case s::StampField::kXOffset:
      return "XPOS";
    case s::StampField::kYOffset:
      return "YPOS";
    case s::StampField::kFont:
      return stamp.font.HasFace() ? "FONT_POINT" : "FONT";
    case s::StampField::kImagePath:
      return "IMAGE_PATH";
    case s::StampField::kLineWidth:
      return "RULER_LINE_WIDTH";
    case s::StampField::kRowText:
      break;
  }
  return "ROW" + std::to_string(f.row) + "_TEXT";
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
      report.Add(where, InputKey(*f), f->detail.empty() ? f->message : f->message + " (" + f->detail + ")");
    std::array<s::OutputTarget, s::kInputSizeCount> targets{};
    std::array<std::string, s::kInputSizeCount> magnifications;
    for (size_t size = 0; size < targets.size(); ++size) {
      targets[size] = input.outputs[size].target;
      magnifications[size] =
          base::FormatFixed(input.outputs[size].magnification, 1);  // as the dialog shows it
    }
    if (auto f = s::ValidateOutputSettings(input.useOutputSetting, targets, magnifications)) {
      report.Add(where, InputKey(*f), f->message);
    }
    // The names it refers to, among the records as they are to be written.
    const auto refer = [&](const std::string& name, bool exists, const std::string& key, const char* file) {
      if (!name.empty() && !exists) report.Add(where, key, "\"" + name + "\" is no record of " + file);
    };
    refer(input.widePrinterName, Named(lists.printers, input.widePrinterName), "WIDE_PRINTER_NAME",
          kPrinterKind.file);
    refer(input.a2PrinterName, Named(lists.printers, input.a2PrinterName), "A2_PRINTER_NAME",
          kPrinterKind.file);
    refer(input.wideFoldName, Named(lists.folds, input.wideFoldName), "WIDEOPTION_FOLDNAME", kFoldKind.file);
    for (size_t d = 0; d < input.stamps.size(); ++d) {
      const auto& name = input.stamps[d].name;
      refer(name, Named(lists.stamps, name), "STAMP" + std::to_string(d + 1) + "_NAME", kStampKind.file);
    }
  }
}

void CheckPrinters(const SettingsLists& lists, Report& report) {
  for (size_t i = 0; i < lists.printers.size(); ++i) {
    const auto& printer = lists.printers[i];
    if (auto f = s::ValidatePrinterSetting(printer, lists.printers, i)) {
      report.Add(RecordWhere(kPrinterKind, i, printer.name), PrinterKey(f->field), f->message);
    }
  }
}

void CheckFolds(const SettingsLists& lists, const std::vector<s::FolderModel>& units, Report& report) {
  for (size_t i = 0; i < lists.folds.size(); ++i) {
    const auto& fold = lists.folds[i];
    if (auto f = s::ValidateFoldSetting(fold, lists.folds, i, units)) {
      report.Add(RecordWhere(kFoldKind, i, fold.name), FoldKey(*f), f->message);
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
      report.Add(RecordWhere(kStampKind, i, stamp.name), StampKey(*f, stamp), f->message);
    }
  }
}

void CheckPreferences(const s::Preferences& p, Report& report) {
  const auto margin = [&](int mm, const char* key) {
    if (mm < s::kMarginMin || mm > s::kMarginMax) {
      report.Add(
          kPreferenceFile, key,
          "must be " + std::to_string(s::kMarginMin) + " to " + std::to_string(s::kMarginMax) + " (mm)");
    }
  };
  margin(p.marginPlus, "MARGIN_PLUS");
  margin(p.marginMinus, "MARGIN_MINUS");
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
