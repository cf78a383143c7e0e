#pragma once
// One input folder setting ("入力設定"): four pages, general, output
// settings, stamps and printer options.
#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "settings/hidden_settings.h"
#include "settings/input_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace orvella::dialogs {

class DialogMessages;
class UpDownEdit;

class InputFolderDialog : public QDialog {
 public:
  // all and editedIndex (the record's own position when editing) serve the
  // duplicate check; both must outlive the dialog. networkShortcuts: the
  // folder whose contents may not be watched (ProcessFolders::networkShortcuts).
  InputFolderDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                    const settings::InputFolderSetting& setting,
                    const std::vector<settings::InputFolderSetting>& all, std::optional<size_t> editedIndex,
                    std::filesystem::path networkShortcuts = {});

  const settings::InputFolderSetting& Result() const { return setting_; }

  // The general page's checks, then the output settings page's; a failure
  // shows its page with the field focused and keeps the dialog open.
  void accept() override;
  void reject() override;
  void Browse();

 private:
  struct OutputRow {
    QRadioButton* byMagnification;
    QRadioButton* bySize;
    UpDownEdit* magnification;
    QComboBox* target;
    QComboBox* rotation;
  };
  struct A2Option {
    QCheckBox* box;
    QComboBox* list;
  };

  QWidget* MakeGeneralPage();
  QWidget* MakeOutputPage();
  QWidget* MakeStampPage();
  QWidget* MakeOptionPage();
  void UpdateEnabling();
  bool Check();
  void ReadControls();

  std::filesystem::path program_;
  DialogMessages& messages_;
  const std::vector<settings::InputFolderSetting>& all_;
  std::optional<size_t> editedIndex_;
  std::filesystem::path networkShortcuts_;
  settings::InputFolderSetting setting_;
  settings::HiddenSettings hidden_;
  bool foldsExist_ = false;

  QTabWidget* pages_;
  // General
  QLineEdit* inputDir_;
  QLineEdit* memo_;
  QComboBox* widePrinter_;
  QComboBox* widePaperType_;
  QComboBox* a2Printer_;
  QComboBox* a2PaperType_;
  QComboBox* threshold_;
  QComboBox* tiffProgramWide_;
  QComboBox* hpglProgramWide_;
  QComboBox* tiffProgramA2_;
  UpDownEdit* quantity_;
  QCheckBox* autoRotate_;
  // Output settings
  QCheckBox* useOutput_;
  std::array<OutputRow, settings::kInputSizeCount> outputs_{};
  // Stamps
  std::array<QComboBox*, 3> stampNames_{};
  std::array<QComboBox*, 3> halftones_{};
  QCheckBox* stampTopPageOnly_;
  // Printer options
  QCheckBox* fold_;
  QComboBox* foldName_;
  QCheckBox* a4Fold_;
  A2Option staple_{};
  A2Option punch_{};
  A2Option duplex_{};
  A2Option zFold_{};
  QCheckBox* twoUp_;
  QCheckBox* autoPaper_;
  QCheckBox* singleTiffA2Option_;
};

// Opens the dialog; true on OK with setting holding the edited values.
bool EditInputFolder(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                     settings::InputFolderSetting& setting,
                     const std::vector<settings::InputFolderSetting>& all, std::optional<size_t> editedIndex,
                     const std::filesystem::path& networkShortcuts);

}  // namespace orvella::dialogs
