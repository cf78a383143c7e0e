#pragma once
// One stamp ("スタンプ編集"): name, placement and type, with a detail page
// per type. Font, point size and date format are shared by the date and
// simple pages.
#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>

#include "settings/stamp_settings.h"
#include "settings/stamp_validation.h"

class QComboBox;
class QCheckBox;
class QFont;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace orvella::dialogs {

class DialogMessages;
class UpDownEdit;

class StampEditDialog : public QDialog {
 public:
  // stamps and editing (the stamp's own position when editing) serve the
  // duplicate check; both must outlive the dialog.
  StampEditDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                  const settings::StampSetting& stamp, const settings::StampList& stamps,
                  std::optional<size_t> editing);

  const settings::StampSetting& Result() const { return stamp_; }

  void accept() override;
  void reject() override;
  // What the font dialog's choice does: face, style and whole points.
  void ApplyFont(const QFont& font);
  // The stamp as it stands, checked like OK; nullopt after a failure shown.
  std::optional<settings::StampSetting> CheckedStamp();

 private:
  QWidget* MakeDatePage();
  QWidget* MakeImagePage();
  QWidget* MakeSimplePage();
  QPushButton* FontButton(QWidget* parent, const char* name);
  void ChooseFont();
  void ShowFont();
  void ShowBorder();
  void ShowType();
  void FourthRowChanged();
  void BrowseImage();
  void Preview();
  settings::StampType Type() const;
  QWidget* FieldWidget(const settings::ValidationFailure<settings::StampField>& failure) const;
  void Close();

  std::filesystem::path program_;
  DialogMessages& messages_;
  const settings::StampList& stamps_;
  std::optional<size_t> editing_;
  settings::StampSetting stamp_;
  // Window state shared by the pages.
  settings::LogFont font_;
  int pointSize_;
  settings::StampBorder border_;

  QLineEdit* name_;
  std::array<QRadioButton*, 4> corners_{};
  UpDownEdit* xOffset_;
  UpDownEdit* yOffset_;
  std::array<QRadioButton*, 3> types_{};
  QStackedWidget* pages_;
  QLineEdit* dateFont_;
  QPushButton* dateFontButton_;
  QComboBox* dateFormat_;
  QLineEdit* imagePath_;
  std::array<QLineEdit*, 4> rows_{};
  QCheckBox* fourthRow_;
  QPushButton* borderButton_;
  QCheckBox* rulerLines_;
  UpDownEdit* lineWidth_;
  QLineEdit* simpleFont_;
  QPushButton* simpleFontButton_;
  QComboBox* dateRow_;
  QComboBox* simpleFormat_;
};

// Opens the window; true on OK with stamp holding the edited values.
bool EditStamp(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
               settings::StampSetting& stamp, const settings::StampList& stamps,
               std::optional<size_t> editing);

}  // namespace orvella::dialogs
