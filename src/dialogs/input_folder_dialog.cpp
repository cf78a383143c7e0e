#include "dialogs/input_folder_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <span>

#include "dialogs/dialog_messages.h"
#include "dialogs/field_focus.h"
#include "dialogs/qt_text.h"
#include "dialogs/up_down_edit.h"
#include "dialogs/window_position.h"
#include "settings/fold_settings.h"
#include "settings/input_validation.h"
#include "settings/paper_type.h"
#include "settings/printer_settings.h"
#include "settings/settings_error.h"
#include "settings/stamp_settings.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::InputFolderSetting;
using settings::OutputTarget;
constexpr std::string_view kSection = settings::window_section::kInputEdit;
constexpr int kMemoMaxChars = 50;
constexpr int kQuantityMaxDigits = 3;
constexpr int kMagnificationMaxChars = 5;
constexpr int kProgramNumberMax = 16;

struct Choice {
  int value;
  const char* text;
};
constexpr Choice kThresholds[] = {{0, "A2以下"}, {1, "A3以下"}, {2, "A4"}};
constexpr Choice kRotations[] = {{0, "回転なし"}, {1, "右90度"}, {2, "左90度"}, {3, "180度"}};
constexpr Choice kStaples[] = {{1, "左上１つ"}, {2, "右上１つ"}, {3, "左２つ"}, {4, "右２つ"}, {5, "上２つ"}};
constexpr Choice kPunches[] = {{1, "左"}, {2, "右"}, {3, "上"}};
constexpr Choice kDuplexes[] = {{1, "左右開き"}, {2, "上下開き"}};
constexpr Choice kZFolds[] = {{1, "左折"}, {2, "右折"}, {3, "下折"}};
constexpr const char* kSizeRows[settings::kInputSizeCount] = {"A0", "A1",     "A2", "A3",
                                                              "A4", "不定形", "B4", "B5"};

QComboBox* ChoiceCombo(QWidget* parent, std::span<const Choice> choices, int value, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  for (const Choice& c : choices) combo->addItem(c.text, c.value);
  SelectData(*combo, value);
  return combo;
}

// An empty entry and 1 to 16.
QComboBox* ProgramCombo(QWidget* parent, int value, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItem("", 0);
  for (int i = 1; i <= kProgramNumberMax; ++i) combo->addItem(QString::number(i), i);
  SelectData(*combo, value);
  return combo;
}

// An empty entry and the names; a current name that is not among them (its
// record was deleted or renamed) stays as it is, for the start of operation
// to report.
QComboBox* NameCombo(QWidget* parent, const std::vector<std::string>& names, const std::string& current,
                     const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItem("");
  for (const std::string& n : names) combo->addItem(ToQ(n));
  if (!current.empty() && combo->findText(ToQ(current)) < 0) combo->addItem(ToQ(current));
  combo->setCurrentIndex(combo->findText(ToQ(current)));
  return combo;
}

template <typename Load>
auto LoadOrEmpty(Load load) -> decltype(load()) {
  try {
    return load();
  } catch (const settings::SettingsError&) {
    return {};
  }
}

std::vector<std::string> PrinterNames(const std::vector<settings::PrinterSetting>& printers, bool wide) {
  std::vector<std::string> names;
  for (const auto& p : printers)
    if (settings::IsWidePrinter(p) == wide) names.push_back(p.name);
  return names;
}

// The magnification as the dialog shows it: one decimal.
QString MagnificationText(double percent) { return QString::number(percent, 'f', 1); }

}  // namespace

InputFolderDialog::InputFolderDialog(QWidget* parent, const std::filesystem::path& program,
                                     DialogMessages& messages, const InputFolderSetting& setting,
                                     const std::vector<InputFolderSetting>& all,
                                     std::optional<size_t> editedIndex,
                                     std::filesystem::path networkShortcuts)
    : QDialog(parent),
      program_(program),
      messages_(messages),
      all_(all),
      editedIndex_(editedIndex),
      networkShortcuts_(std::move(networkShortcuts)),
      setting_(setting),
      hidden_(LoadOrEmpty([&] { return settings::LoadHiddenSettings(program); })) {
  setWindowTitle("入力設定");
  pages_ = new QTabWidget(this);
  pages_->setObjectName("pages");
  pages_->addTab(MakeGeneralPage(), "全般");
  pages_->addTab(MakeOutputPage(), "出力設定");
  pages_->addTab(MakeStampPage(), "スタンプ");
  pages_->addTab(MakeOptionPage(), "プリンタオプション");
  pages_->setCurrentIndex(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdateEnabling();
  RestoreDialogPosition(*this, program_, kSection);
}

QWidget* InputFolderDialog::MakeGeneralPage() {
  auto* page = new QWidget(this);
  const auto printers = LoadOrEmpty([&] { return settings::LoadPrinterSettings(program_); });

  inputDir_ = new QLineEdit(ToQ(setting_.inputDir), page);
  inputDir_->setObjectName("inputDir");
  auto* browse = new QPushButton("参照 ...", page);
  browse->setObjectName("browse");
  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
  memo_ = new QLineEdit(ToQ(setting_.memo), page);
  memo_->setObjectName("memo");
  memo_->setMaxLength(kMemoMaxChars);

  widePrinter_ = NameCombo(page, PrinterNames(printers, true), setting_.widePrinterName, "widePrinter");
  widePaperType_ = KeywordCombo(page, settings::kPaperTypeNames, static_cast<int>(setting_.widePaperType),
                                "widePaperType");
  a2Printer_ = NameCombo(page, PrinterNames(printers, false), setting_.a2PrinterName, "a2Printer");
  a2PaperType_ =
      KeywordCombo(page, settings::kPaperTypeNames, static_cast<int>(setting_.a2PaperType), "a2PaperType");
  threshold_ = ChoiceCombo(page, kThresholds, static_cast<int>(setting_.a2Threshold), "threshold");
  tiffProgramWide_ = ProgramCombo(page, setting_.tiffProgramWide, "tiffProgramWide");
  hpglProgramWide_ = ProgramCombo(page, setting_.hpglProgramWide, "hpglProgramWide");
  tiffProgramA2_ = ProgramCombo(page, setting_.tiffProgramA2, "tiffProgramA2");
  quantity_ = new UpDownEdit(page, 1, 999);
  quantity_->setObjectName("quantity");
  quantity_->edit()->setMaxLength(kQuantityMaxDigits);
  quantity_->edit()->setText(QString::number(setting_.quantity));
  autoRotate_ = new QCheckBox("自動回転", page);
  autoRotate_->setObjectName("autoRotate");
  autoRotate_->setChecked(setting_.autoRotate);

  auto* form = new QFormLayout(page);
  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(inputDir_, 1);
  dirRow->addWidget(browse);
  form->addRow("入力フォルダ：", dirRow);
  form->addRow("説明 ：", memo_);
  auto* printerGrid = new QGridLayout;
  printerGrid->addWidget(new QLabel("広幅機：", page), 0, 0);
  printerGrid->addWidget(widePrinter_, 0, 1);
  printerGrid->addWidget(new QLabel("用紙種類：", page), 0, 2);
  printerGrid->addWidget(widePaperType_, 0, 3);
  printerGrid->addWidget(new QLabel("A2以下機：", page), 1, 0);
  printerGrid->addWidget(a2Printer_, 1, 1);
  printerGrid->addWidget(new QLabel("用紙種類：", page), 1, 2);
  printerGrid->addWidget(a2PaperType_, 1, 3);
  printerGrid->setColumnStretch(1, 1);
  form->addRow(printerGrid);
  form->addRow("A2以下機に振り分ける基準：", threshold_);
  form->addRow("TIFFプログラム番号（広幅機）：", tiffProgramWide_);
  form->addRow("HP-GL/2プログラム番号（広幅機）：", hpglProgramWide_);
  form->addRow("TIFFプログラム番号（A2以下機）：", tiffProgramA2_);
  form->addRow("部数：", quantity_);
  form->addRow(autoRotate_);

  connect(widePrinter_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
  connect(a2Printer_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
  return page;
}

QWidget* InputFolderDialog::MakeOutputPage() {
  auto* page = new QWidget(this);
  useOutput_ = new QCheckBox("出力設定を使用する", page);
  useOutput_->setObjectName("useOutputSetting");
  useOutput_->setChecked(setting_.useOutputSetting);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("入力サイズ", page), 0, 0);
  grid->addWidget(new QLabel("回転", page), 0, 5);
  for (int i = 0; i < settings::kInputSizeCount; ++i) {
    const settings::OutputSetting& out = setting_.outputs[static_cast<size_t>(i)];
    OutputRow& row = outputs_[static_cast<size_t>(i)];
    const QString suffix = QString::number(i);
    row.byMagnification = new QRadioButton("％指定", page);
    row.bySize = new QRadioButton("用紙サイズ指定", page);
    row.byMagnification->setObjectName("byMagnification" + suffix);
    row.bySize->setObjectName("bySize" + suffix);
    row.magnification = new UpDownEdit(page, 20, 400, 1);
    row.magnification->setObjectName("magnification" + suffix);
    row.magnification->edit()->setMaxLength(kMagnificationMaxChars);
    row.magnification->edit()->setText(MagnificationText(out.magnification));
    row.target = new QComboBox(page);
    row.target->setObjectName("target" + suffix);
    const bool bRow = i >= static_cast<int>(settings::InputSize::kB4);
    const std::vector<OutputTarget> targets =
        bRow ? std::vector{OutputTarget::kB4, OutputTarget::kB5}
             : std::vector{OutputTarget::kA0, OutputTarget::kA1, OutputTarget::kA2, OutputTarget::kA3,
                           OutputTarget::kA4};
    for (OutputTarget t : targets) row.target->addItem(settings::Keyword(t), static_cast<int>(t));
    const bool bySize = out.target != OutputTarget::kMag;
    if (bySize) SelectData(*row.target, static_cast<int>(out.target));
    (bySize ? row.bySize : row.byMagnification)->setChecked(true);
    row.rotation = ChoiceCombo(page, kRotations, static_cast<int>(out.rotation), "");
    row.rotation->setObjectName("rotation" + suffix);
    auto* group = new QButtonGroup(page);
    group->addButton(row.byMagnification);
    group->addButton(row.bySize);
    grid->addWidget(new QLabel(kSizeRows[i], page), i + 1, 0);
    grid->addWidget(row.byMagnification, i + 1, 1);
    grid->addWidget(row.magnification, i + 1, 2);
    grid->addWidget(row.bySize, i + 1, 3);
    grid->addWidget(row.target, i + 1, 4);
    grid->addWidget(row.rotation, i + 1, 5);
    connect(row.byMagnification, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
  }
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(useOutput_);
  layout->addLayout(grid);
  layout->addStretch();
  connect(useOutput_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
  return page;
}

QWidget* InputFolderDialog::MakeStampPage() {
  auto* page = new QWidget(this);
  std::vector<std::string> names;
  for (const auto& stamp : LoadOrEmpty([&] { return settings::LoadStamps(program_); }))
    names.push_back(stamp.name);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("設定名称", page), 0, 1);
  grid->addWidget(new QLabel("ハーフトーン", page), 0, 2);
  const char* labels[] = {"スタンプ１：", "スタンプ２：", "スタンプ３："};
  for (int i = 0; i < 3; ++i) {
    const settings::StampUse& use = setting_.stamps[static_cast<size_t>(i)];
    const std::string suffix = std::to_string(i + 1);
    stampNames_[static_cast<size_t>(i)] = NameCombo(page, names, use.name, ("stampName" + suffix).c_str());
    auto* halftone = new QComboBox(page);
    halftone->setObjectName(QString::fromStdString("halftone" + suffix));
    halftone->addItem("", 0);
    for (int h = 1; h <= 3; ++h) halftone->addItem(QString::number(h), h);
    SelectData(*halftone, use.halftone);
    halftones_[static_cast<size_t>(i)] = halftone;
    grid->addWidget(new QLabel(labels[i], page), i + 1, 0);
    grid->addWidget(stampNames_[static_cast<size_t>(i)], i + 1, 1);
    grid->addWidget(halftone, i + 1, 2);
  }
  grid->setColumnStretch(1, 1);
  stampTopPageOnly_ = new QCheckBox("先頭ページのみ（マルチTIFF）", page);
  stampTopPageOnly_->setObjectName("stampTopPageOnly");
  stampTopPageOnly_->setChecked(setting_.stampTopPageOnly);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addWidget(stampTopPageOnly_);
  layout->addStretch();
  return page;
}

QWidget* InputFolderDialog::MakeOptionPage() {
  auto* page = new QWidget(this);
  std::vector<settings::FoldSetting> folds;
  try {
    settings::LoadFolds(program_, folds);
  } catch (const settings::SettingsError&) {
  }
  foldsExist_ = !folds.empty();
  std::vector<std::string> foldNames;
  for (const auto& f : folds) foldNames.push_back(f.name);

  auto* wide = new QGroupBox("広幅機オプション", page);
  fold_ = new QCheckBox("紙折設定", wide);
  fold_->setObjectName("fold");
  fold_->setChecked(!setting_.wideFoldName.empty());
  foldName_ = NameCombo(wide, foldNames, setting_.wideFoldName, "foldName");
  foldName_->removeItem(0);  // the box, not an empty entry, means "no fold"
  a4Fold_ = new QCheckBox("A4通紙", wide);
  a4Fold_->setObjectName("a4Fold");
  a4Fold_->setChecked(setting_.wideA4Fold);
  a4Fold_->setVisible(hidden_.enableA4Fold);
  auto* wideGrid = new QGridLayout(wide);
  wideGrid->addWidget(fold_, 0, 0);
  wideGrid->addWidget(foldName_, 0, 1);
  wideGrid->addWidget(a4Fold_, 1, 0);
  wideGrid->setColumnStretch(1, 1);

  auto* a2 = new QGroupBox("A2以下機オプション", page);
  auto* a2Grid = new QGridLayout(a2);
  const auto option = [&](A2Option& o, const char* text, std::span<const Choice> choices, int value,
                          const char* name, int row) {
    o.box = new QCheckBox(text, a2);
    o.box->setObjectName(name);
    o.box->setChecked(value != 0);
    o.list = ChoiceCombo(a2, choices, value == 0 ? choices[0].value : value, "");
    o.list->setObjectName(QString(name) + "List");
    a2Grid->addWidget(o.box, row, 0);
    a2Grid->addWidget(o.list, row, 1);
    connect(o.box, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
  };
  option(staple_, "ステープル", kStaples, static_cast<int>(setting_.staple), "staple", 0);
  option(punch_, "パンチ", kPunches, static_cast<int>(setting_.punch), "punch", 1);
  option(duplex_, "両面", kDuplexes, static_cast<int>(setting_.duplex), "duplex", 2);
  option(zFold_, "Z折", kZFolds, static_cast<int>(setting_.zFold), "zFold", 3);
  zFold_.box->setVisible(hidden_.enableZFold);
  zFold_.list->setVisible(hidden_.enableZFold);
  twoUp_ = new QCheckBox("２ページを１ページに集約", a2);
  autoPaper_ = new QCheckBox("用紙自動", a2);
  singleTiffA2Option_ = new QCheckBox("シングルページに対するオプションを常に有効にする", a2);
  twoUp_->setObjectName("twoUp");
  autoPaper_->setObjectName("autoPaper");
  singleTiffA2Option_->setObjectName("singleTiffA2Option");
  twoUp_->setChecked(setting_.twoUp);
  autoPaper_->setChecked(setting_.autoPaper);
  singleTiffA2Option_->setChecked(setting_.singleTiffA2Option);
  a2Grid->addWidget(twoUp_, 4, 0, 1, 2);
  a2Grid->addWidget(autoPaper_, 5, 0, 1, 2);
  a2Grid->addWidget(singleTiffA2Option_, 6, 0, 1, 2);
  a2Grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(wide);
  layout->addWidget(a2);
  layout->addStretch();
  connect(fold_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
  return page;
}

void InputFolderDialog::UpdateEnabling() {
  // B-series paper mode has no wide printer.
  const bool wideAllowed = !hidden_.enablePaperSizeB;
  const bool wide = wideAllowed && !widePrinter_->currentText().isEmpty();
  const bool a2 = !a2Printer_->currentText().isEmpty();
  widePrinter_->setEnabled(wideAllowed);
  for (QWidget* w : {static_cast<QWidget*>(widePaperType_), static_cast<QWidget*>(tiffProgramWide_),
                     static_cast<QWidget*>(hpglProgramWide_)})
    w->setEnabled(wide);
  a2PaperType_->setEnabled(a2);
  tiffProgramA2_->setEnabled(a2);
  threshold_->setEnabled(wideAllowed && wide && a2);

  for (const OutputRow& row : outputs_) {
    const bool use = useOutput_->isChecked();
    row.byMagnification->setEnabled(use);
    row.bySize->setEnabled(use);
    row.magnification->setEnabled(use && row.byMagnification->isChecked());
    row.target->setEnabled(use && row.bySize->isChecked());
    row.rotation->setEnabled(use);
  }

  fold_->setEnabled(wide && foldsExist_);
  foldName_->setEnabled(wide && foldsExist_ && fold_->isChecked());
  a4Fold_->setEnabled(wide);
  for (A2Option* o : {&staple_, &punch_, &duplex_, &zFold_}) {
    o->box->setEnabled(a2);
    o->list->setEnabled(a2 && o->box->isChecked());
  }
  for (QCheckBox* box : {twoUp_, autoPaper_, singleTiffA2Option_}) box->setEnabled(a2);
}

void InputFolderDialog::Browse() {
  const QString current = inputDir_->text();
  const QUrl start = !current.isEmpty() && QFileInfo(current).isDir() ? QUrl::fromLocalFile(current) : QUrl();
  const QUrl chosen = QFileDialog::getExistingDirectoryUrl(this, "入力フォルダ", start);
  if (chosen.isEmpty()) return;
  if (!chosen.isLocalFile() || chosen.toLocalFile().isEmpty()) {
    messages_.Warning("フォルダパスを正常に取得できませんでした。\r\n再度入力フォルダを指定してください。");
    return;
  }
  inputDir_->setText(chosen.toLocalFile());
}

bool InputFolderDialog::Check() {
  settings::InputGeneralForm form{FromQ(inputDir_->text()), FromQ(widePrinter_->currentText()),
                                  FromQ(a2Printer_->currentText()), FromQ(quantity_->edit()->text())};
  if (auto failure = settings::ValidateInputGeneral(form, all_, editedIndex_, networkShortcuts_, program_)) {
    QWidget* field = inputDir_;
    if (failure->field == settings::InputField::kWidePrinter)
      field = widePrinter_->isEnabled() ? widePrinter_ : a2Printer_;
    else if (failure->field == settings::InputField::kQuantity)
      field = quantity_;
    ShowFieldFailure(messages_, failure->message, field);
    return false;
  }
  // The description goes into INPUT.INI, whose character set must hold it.
  if (auto message = settings::CheckStorableText(FromQ(memo_->text()))) {
    ShowFieldFailure(messages_, *message, memo_);
    return false;
  }
  std::array<OutputTarget, settings::kInputSizeCount> targets{};
  std::array<std::string, settings::kInputSizeCount> texts;
  for (size_t i = 0; i < outputs_.size(); ++i) {
    targets[i] = outputs_[i].bySize->isChecked()
                     ? static_cast<OutputTarget>(outputs_[i].target->currentData().toInt())
                     : OutputTarget::kMag;
    texts[i] = FromQ(outputs_[i].magnification->edit()->text());
  }
  if (auto failure = settings::ValidateOutputSettings(useOutput_->isChecked(), targets, texts)) {
    ShowFieldFailure(messages_, failure->message, outputs_[static_cast<size_t>(failure->row)].magnification);
    return false;
  }
  return true;
}

void InputFolderDialog::ReadControls() {
  InputFolderSetting& s = setting_;
  s.inputDir = FromQ(inputDir_->text());
  s.memo = FromQ(memo_->text());
  s.widePrinterName = FromQ(widePrinter_->currentText());
  s.widePaperType = static_cast<settings::PaperType>(widePaperType_->currentData().toInt());
  s.a2PrinterName = FromQ(a2Printer_->currentText());
  s.a2PaperType = static_cast<settings::PaperType>(a2PaperType_->currentData().toInt());
  s.a2Threshold = static_cast<settings::A2Threshold>(threshold_->currentData().toInt());
  s.tiffProgramWide = tiffProgramWide_->currentData().toInt();
  s.hpglProgramWide = hpglProgramWide_->currentData().toInt();
  s.tiffProgramA2 = tiffProgramA2_->currentData().toInt();
  s.quantity = quantity_->edit()->text().toInt();
  s.autoRotate = autoRotate_->isChecked();
  s.useOutputSetting = useOutput_->isChecked();
  for (size_t i = 0; i < outputs_.size(); ++i) {
    const OutputRow& row = outputs_[i];
    settings::OutputSetting& out = s.outputs[i];
    out.target = row.bySize->isChecked() ? static_cast<OutputTarget>(row.target->currentData().toInt())
                                         : OutputTarget::kMag;
    // A row not checked (size chosen, or output settings off) keeps its
    // previous magnification when the text is not a number.
    bool ok = false;
    const double magnification = row.magnification->edit()->text().toDouble(&ok);
    if (ok) out.magnification = magnification;
    out.rotation = static_cast<settings::Rotation>(row.rotation->currentData().toInt());
  }
  for (size_t i = 0; i < s.stamps.size(); ++i) {
    s.stamps[i].name = FromQ(stampNames_[i]->currentText());
    s.stamps[i].halftone = halftones_[i]->currentData().toInt();
  }
  s.stampTopPageOnly = stampTopPageOnly_->isChecked();
  s.wideFoldName = fold_->isChecked() ? FromQ(foldName_->currentText()) : std::string();
  s.wideA4Fold = a4Fold_->isChecked();
  const auto value = [](const A2Option& o) { return o.box->isChecked() ? o.list->currentData().toInt() : 0; };
  s.staple = static_cast<settings::StapleMode>(value(staple_));
  s.punch = static_cast<settings::PunchMode>(value(punch_));
  s.duplex = static_cast<settings::DuplexMode>(value(duplex_));
  s.zFold = static_cast<settings::ZFoldMode>(value(zFold_));
  s.twoUp = twoUp_->isChecked();
  s.autoPaper = autoPaper_->isChecked();
  s.singleTiffA2Option = singleTiffA2Option_->isChecked();
}

void InputFolderDialog::accept() {
  if (!Check()) return;
  ReadControls();
  SaveDialogPosition(*this, program_, kSection);
  QDialog::accept();
}

void InputFolderDialog::reject() {
  SaveDialogPosition(*this, program_, kSection);
  QDialog::reject();
}

bool EditInputFolder(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                     InputFolderSetting& setting, const std::vector<InputFolderSetting>& all,
                     std::optional<size_t> editedIndex, const std::filesystem::path& networkShortcuts) {
  InputFolderDialog dialog(parent, program, messages, setting, all, editedIndex, networkShortcuts);
  if (dialog.exec() != QDialog::Accepted) return false;
  setting = dialog.Result();
  return true;
}

}  // namespace orvella::dialogs
