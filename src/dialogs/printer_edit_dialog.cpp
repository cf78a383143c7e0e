#include "dialogs/printer_edit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/ipv4_address.h"
#include "base/text_codec.h"
#include "dialogs/authentication_dialog.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/field_focus.h"
#include "dialogs/qt_text.h"
#include "dialogs/window_position.h"
#include "settings/hidden_settings.h"
#include "settings/paper_type.h"
#include "settings/printer_validation.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::PrinterSetting;
constexpr int kNameMaxChars = 50;

bool PaperSizeB(const std::filesystem::path& program) {
  try {
    return settings::LoadHiddenSettings(program).enablePaperSizeB;
  } catch (const settings::SettingsError&) {
    return false;
  }
}

// Rows "1:" to "n:" under the headings "用紙サイズ" and "用紙種類".
QGridLayout* TrayGrid(QWidget* page) {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("用紙サイズ", page), 0, 1);
  grid->addWidget(new QLabel("用紙種類", page), 0, 2);
  return grid;
}

}  // namespace

PrinterEditDialog::PrinterEditDialog(QWidget* parent, const std::filesystem::path& program,
                                     DialogMessages& messages, const PrinterSetting& printer,
                                     const std::vector<PrinterSetting>& list,
                                     std::optional<size_t> editedIndex)
    : QDialog(parent),
      program_(program),
      messages_(messages),
      list_(list),
      editedIndex_(editedIndex),
      printer_(printer) {
  setWindowTitle("プリンタ編集");
  const bool wide = settings::IsWidePrinter(printer);

  name_ = new QLineEdit(ToQ(printer.name), this);
  name_->setObjectName("name");
  name_->setMaxLength(kNameMaxChars);
  ipAddr_ = new QLineEdit(ToQ(base::FormatIpv4Address(printer.ipAddr)), this);
  ipAddr_->setObjectName("ipAddr");
  ipAddr_->setMaxLength(15);
  authentication_ = new QPushButton("プリンタ認証設定", this);
  authentication_->setObjectName("authentication");

  wideClass_ = new QRadioButton("広幅機", this);
  a2Class_ = new QRadioButton("A2以下機", this);
  wideClass_->setObjectName("wideClass");
  a2Class_->setObjectName("a2Class");
  (wide ? wideClass_ : a2Class_)->setChecked(true);

  model_ = new QComboBox(this);
  model_->setObjectName("model");
  for (int i = 0; i < settings::kWideModelCount; ++i)
    model_->addItem(ToQ(settings::kPrinterModels[static_cast<size_t>(i)].displayName), i);
  SelectData(*model_, wide ? printer.model : settings::kDefaultModelNumber);
  a2PrinterName_ = new QLineEdit(ToQ(printer.a2PrinterName), this);
  a2PrinterName_->setObjectName("a2PrinterName");
  a2PrinterName_->setMaxLength(kNameMaxChars);
  modelControl_ = new QStackedWidget(this);
  modelControl_->addWidget(model_);
  modelControl_->addWidget(a2PrinterName_);

  trayPages_ = new QStackedWidget(this);
  trayPages_->addWidget(MakeWideTrayPage());
  trayPages_->addWidget(MakeA2TrayPage(PaperSizeB(program)));

  auto* fields = new QFormLayout;
  fields->addRow("設定名称", name_);
  auto* addressRow = new QHBoxLayout;
  addressRow->addWidget(ipAddr_, 1);
  addressRow->addWidget(authentication_);
  fields->addRow("IPアドレス", addressRow);
  auto* classRow = new QHBoxLayout;
  classRow->addWidget(wideClass_);
  classRow->addWidget(a2Class_);
  classRow->addStretch();
  fields->addRow("機種", classRow);
  fields->addRow("", modelControl_);

  auto* trays = new QGroupBox("トレイ", this);
  auto* trayLayout = new QVBoxLayout(trays);
  trayLayout->addWidget(trayPages_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(trays);
  layout->addWidget(buttons);

  connect(wideClass_, &QRadioButton::toggled, this, [this] { ShowClass(); });
  connect(authentication_, &QPushButton::clicked, this, [this] {
    AuthenticationDialog dialog(this, printer_);
    if (dialog.exec() == QDialog::Accepted) dialog.StoreInto(printer_);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  ShowClass();
  RestoreDialogPosition(*this, program_, settings::window_section::kPrinterEdit);
}

QWidget* PrinterEditDialog::MakeWideTrayPage() {
  auto* page = new QWidget(this);
  QGridLayout* grid = TrayGrid(page);
  for (int i = 0; i < settings::kWideTrayCount; ++i) {
    const settings::WideTray& tray = printer_.trays[static_cast<size_t>(i)];
    auto* size = KeywordCombo(page, settings::kWideTraySizeNames, static_cast<int>(tray.size));
    wideSizes_[static_cast<size_t>(i)] = size;
    wideTypes_[static_cast<size_t>(i)] =
        KeywordCombo(page, settings::kPaperTypeNames, static_cast<int>(tray.type));
    grid->addWidget(new QLabel(QString("%1:").arg(i + 1), page), i + 1, 0);
    grid->addWidget(size, i + 1, 1);
    grid->addWidget(wideTypes_[static_cast<size_t>(i)], i + 1, 2);
  }
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addStretch();
  return page;
}

QWidget* PrinterEditDialog::MakeA2TrayPage(bool paperSizeB) {
  auto* page = new QWidget(this);
  a2TrayAuto_ = new QCheckBox("設定自動取得", page);
  a2TrayAuto_->setObjectName("a2TrayStructAuto");
  a2TrayAuto_->setChecked(printer_.a2TrayStructAuto);
  const std::vector<settings::A2TraySize> offered = settings::OfferedA2TraySizes(paperSizeB);
  QGridLayout* grid = TrayGrid(page);
  for (int i = 0; i < settings::kA2TrayCount; ++i) {
    const settings::A2Tray& tray = printer_.a2Trays[static_cast<size_t>(i)];
    auto* size = new QComboBox(page);
    for (settings::A2TraySize s : offered)
      size->addItem(ToQ(settings::kA2TraySizeNames[static_cast<size_t>(s)].display), static_cast<int>(s));
    // A size of the other paper series stays as stored rather than being lost.
    if (std::find(offered.begin(), offered.end(), tray.size) == offered.end())
      size->addItem(ToQ(settings::kA2TraySizeNames[static_cast<size_t>(tray.size)].display),
                    static_cast<int>(tray.size));
    SelectData(*size, static_cast<int>(tray.size));
    a2Sizes_[static_cast<size_t>(i)] = size;
    a2Types_[static_cast<size_t>(i)] =
        KeywordCombo(page, settings::kPaperTypeNames, static_cast<int>(tray.type));
    grid->addWidget(new QLabel(QString("%1:").arg(i + 1), page), i + 1, 0);
    grid->addWidget(size, i + 1, 1);
    grid->addWidget(a2Types_[static_cast<size_t>(i)], i + 1, 2);
  }
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(a2TrayAuto_);
  layout->addLayout(grid);
  layout->addStretch();
  return page;
}

void PrinterEditDialog::ShowClass() {
  const int page = wideClass_->isChecked() ? 0 : 1;
  modelControl_->setCurrentIndex(page);
  trayPages_->setCurrentIndex(page);
}

void PrinterEditDialog::ReadControls() {
  printer_.name = base::TrimNameBlanks(FromQ(name_->text()));
  printer_.ipAddr = base::ParseIpv4Address(FromQ(ipAddr_->text()));
  printer_.model = wideClass_->isChecked() ? model_->currentData().toInt() : settings::kA2ModelNumber;
  printer_.a2PrinterName = FromQ(a2PrinterName_->text());
  for (size_t i = 0; i < printer_.trays.size(); ++i) {
    printer_.trays[i].size = static_cast<settings::WideTraySize>(wideSizes_[i]->currentData().toInt());
    printer_.trays[i].type = static_cast<settings::PaperType>(wideTypes_[i]->currentData().toInt());
  }
  printer_.a2TrayStructAuto = a2TrayAuto_->isChecked();
  for (size_t i = 0; i < printer_.a2Trays.size(); ++i) {
    printer_.a2Trays[i].size = static_cast<settings::A2TraySize>(a2Sizes_[i]->currentData().toInt());
    printer_.a2Trays[i].type = static_cast<settings::PaperType>(a2Types_[i]->currentData().toInt());
  }
}

QWidget* PrinterEditDialog::FieldWidget(settings::PrinterField field) const {
  switch (field) {
    case settings::PrinterField::kName:
      return name_;
    case settings::PrinterField::kIpAddr:
      return ipAddr_;
    case settings::PrinterField::kA2PrinterName:
      return a2PrinterName_;
    case settings::PrinterField::kLoginUsername:
    case settings::PrinterField::kLoginPassword:
      break;
  }
  return authentication_;  // the login is edited behind this button
}

void PrinterEditDialog::accept() {
  ReadControls();
  if (auto failure = settings::ValidatePrinterSetting(printer_, list_, editedIndex_)) {
    if (failure->field == settings::PrinterField::kA2PrinterName) a2Class_->setChecked(true);
    ShowFieldFailure(messages_, failure->message, FieldWidget(failure->field));
    return;
  }
  SaveDialogPosition(*this, program_, settings::window_section::kPrinterEdit);
  QDialog::accept();
}

void PrinterEditDialog::reject() {
  SaveDialogPosition(*this, program_, settings::window_section::kPrinterEdit);
  QDialog::reject();
}

bool EditPrinter(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                 PrinterSetting& printer, const std::vector<PrinterSetting>& list,
                 std::optional<size_t> editedIndex) {
  PrinterEditDialog dialog(parent, program, messages, printer, list, editedIndex);
  if (dialog.exec() != QDialog::Accepted) return false;
  printer = dialog.Result();
  return true;
}

}  // namespace orvella::dialogs
