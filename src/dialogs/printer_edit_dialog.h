#pragma once
// One printer record ("プリンタ編集").
#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "settings/printer_settings.h"
#include "settings/printer_validation.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace orvella::dialogs {

class DialogMessages;

class PrinterEditDialog : public QDialog {
 public:
  // list and editedIndex (the record's own position when editing) serve the
  // duplicate checks; both must outlive the dialog.
  PrinterEditDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                    const settings::PrinterSetting& printer,
                    const std::vector<settings::PrinterSetting>& list, std::optional<size_t> editedIndex);

  // The edited record; complete once the dialog ended with OK.
  const settings::PrinterSetting& Result() const { return printer_; }

  // OK: the record's checks; a failure keeps the dialog open.
  void accept() override;
  void reject() override;

 private:
  QWidget* MakeWideTrayPage();
  QWidget* MakeA2TrayPage(bool paperSizeB);
  void ShowClass();
  void ReadControls();
  QWidget* FieldWidget(settings::PrinterField field) const;

  std::filesystem::path program_;
  DialogMessages& messages_;
  const std::vector<settings::PrinterSetting>& list_;
  std::optional<size_t> editedIndex_;
  settings::PrinterSetting printer_;

  QLineEdit* name_;
  QLineEdit* ipAddr_;
  QPushButton* authentication_;
  QRadioButton* wideClass_;
  QRadioButton* a2Class_;
  QComboBox* model_;
  QLineEdit* a2PrinterName_;
  QStackedWidget* modelControl_;
  QStackedWidget* trayPages_;
  std::array<QComboBox*, settings::kWideTrayCount> wideSizes_{};
  std::array<QComboBox*, settings::kWideTrayCount> wideTypes_{};
  QCheckBox* a2TrayAuto_;
  std::array<QComboBox*, settings::kA2TrayCount> a2Sizes_{};
  std::array<QComboBox*, settings::kA2TrayCount> a2Types_{};
};

// Opens the dialog; true on OK with printer holding the edited values.
bool EditPrinter(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                 settings::PrinterSetting& printer, const std::vector<settings::PrinterSetting>& list,
                 std::optional<size_t> editedIndex);

}  // namespace orvella::dialogs
