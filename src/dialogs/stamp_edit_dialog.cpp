#include "dialogs/stamp_edit_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/text_codec.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/field_focus.h"
#include "dialogs/qt_text.h"
#include "dialogs/stamp_preview_dialog.h"
#include "dialogs/up_down_edit.h"
#include "dialogs/window_position.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::StampBorder;
using settings::StampSetting;
using settings::StampType;
constexpr std::string_view kSection = settings::window_section::kStampEdit;
constexpr int kTextMaxChars = 50;
constexpr int kOffsetMaxChars = 4;
constexpr int kShiftJisCharSet = 128;
constexpr const char* kDateRows[] = {"印字しない", "１行目", "２行目", "３行目", "４行目"};

QString FontText(const settings::LogFont& font, int points) {
  if (!font.HasFace() || points <= 0) return {};
  return QString("%1 %2ポイント").arg(ToQ(font.FaceNameUtf8())).arg(points);
}

// The border shape with the ruler lines and the row count, for its button.
QIcon BorderPicture(StampBorder border, bool rulerLines, int rows) {
  QPixmap picture(48, 36);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2));
  const QRect box(4, 4, 40, 28);
  if (border == StampBorder::kSquare) p.drawRect(box);
  if (border == StampBorder::kRoundedSquare) p.drawRoundedRect(box, 10, 7);
  if (border == StampBorder::kCircle) p.drawEllipse(box);
  p.setPen(QPen(Qt::black, 1));
  for (int i = 1; i < rows && rulerLines; ++i) {
    const int y = box.top() + box.height() * i / rows;
    p.drawLine(box.left() + 6, y, box.right() - 6, y);
  }
  return QIcon(picture);
}

}  // namespace

StampEditDialog::StampEditDialog(QWidget* parent, const std::filesystem::path& program,
                                 DialogMessages& messages, const StampSetting& stamp,
                                 const settings::StampList& stamps, std::optional<size_t> editing)
    : QDialog(parent),
      program_(program),
      messages_(messages),
      stamps_(stamps),
      editing_(editing),
      stamp_(stamp),
      font_(stamp.font),
      pointSize_(stamp.pointSize),
      border_(stamp.borderType) {
  setWindowTitle("スタンプ編集");
  name_ = new QLineEdit(ToQ(stamp.name), this);
  name_->setObjectName("name");
  name_->setMaxLength(kTextMaxChars);

  auto* placement = new QGroupBox("配置", this);
  auto* placementGrid = new QGridLayout(placement);
  auto* cornerGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    auto* corner =
        new QRadioButton(ToQ(settings::kStampCornerNames[static_cast<size_t>(i)].display), placement);
    corner->setObjectName(QString("corner%1").arg(i));
    corner->setChecked(static_cast<int>(stamp.corner) == i);
    cornerGroup->addButton(corner);
    corners_[static_cast<size_t>(i)] = corner;
    placementGrid->addWidget(corner, i / 2, i % 2);
  }
  xOffset_ = new UpDownEdit(placement, 0, settings::kStampOffsetMax);
  yOffset_ = new UpDownEdit(placement, 0, settings::kStampOffsetMax);
  xOffset_->setObjectName("xOffset");
  yOffset_->setObjectName("yOffset");
  for (auto [edit, value] : {std::pair{xOffset_, stamp.xOffset}, std::pair{yOffset_, stamp.yOffset}}) {
    edit->edit()->setMaxLength(kOffsetMaxChars);
    edit->edit()->setText(QString::number(value));
  }
  auto* offsets = new QHBoxLayout;
  offsets->addWidget(new QLabel("横：", placement));
  offsets->addWidget(xOffset_);
  offsets->addWidget(new QLabel("mm", placement));
  offsets->addWidget(new QLabel("縦：", placement));
  offsets->addWidget(yOffset_);
  offsets->addWidget(new QLabel("mm", placement));
  placementGrid->addLayout(offsets, 2, 0, 1, 2);

  auto* typeRow = new QHBoxLayout;
  auto* typeGroup = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    auto* type = new QRadioButton(ToQ(settings::kStampTypeNames[static_cast<size_t>(i)].display), this);
    type->setObjectName(QString("type%1").arg(i));
    type->setChecked(static_cast<int>(stamp.type) == i);
    typeGroup->addButton(type);
    types_[static_cast<size_t>(i)] = type;
    typeRow->addWidget(type);
    connect(type, &QRadioButton::toggled, this, [this] { ShowType(); });
  }

  pages_ = new QStackedWidget(this);
  pages_->addWidget(MakeDatePage());
  pages_->addWidget(MakeImagePage());
  pages_->addWidget(MakeSimplePage());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  auto* nameRow = new QFormLayout;
  nameRow->addRow("設定名称：", name_);
  layout->addLayout(nameRow);
  layout->addWidget(placement);
  layout->addLayout(typeRow);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  ShowFont();
  ShowBorder();
  ShowType();
  RestoreWindowPlacement(*this, program_, kSection);
}

QPushButton* StampEditDialog::FontButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton("フォントの設定...", parent);
  button->setObjectName(name);
  connect(button, &QPushButton::clicked, this, [this] { ChooseFont(); });
  return button;
}

QWidget* StampEditDialog::MakeDatePage() {
  auto* page = new QWidget(this);
  dateFont_ = new QLineEdit(page);
  dateFont_->setObjectName("dateFont");
  dateFont_->setReadOnly(true);
  dateFontButton_ = FontButton(page, "dateFontButton");
  dateFormat_ =
      KeywordCombo(page, settings::kStampDateTypeNames, static_cast<int>(stamp_.dateType), "dateFormat");
  auto* form = new QFormLayout(page);
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(dateFont_, 1);
  fontRow->addWidget(dateFontButton_);
  form->addRow("フォント：", fontRow);
  form->addRow("書式：", dateFormat_);
  return page;
}

QWidget* StampEditDialog::MakeImagePage() {
  auto* page = new QWidget(this);
  imagePath_ = new QLineEdit(ToQ(stamp_.imagePath), page);
  imagePath_->setObjectName("imagePath");
  auto* browse = new QPushButton("参照...", page);
  browse->setObjectName("imageBrowse");
  connect(browse, &QPushButton::clicked, this, [this] { BrowseImage(); });
  auto* form = new QFormLayout(page);
  auto* row = new QHBoxLayout;
  row->addWidget(imagePath_, 1);
  row->addWidget(browse);
  form->addRow("画像ファイル：", row);
  return page;
}

QWidget* StampEditDialog::MakeSimplePage() {
  auto* page = new QWidget(this);
  const char* labels[] = {"１行目：", "２行目：", "３行目：", "４行目："};
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* row = new QLineEdit(ToQ(stamp_.rowTexts[static_cast<size_t>(i)]), page);
    row->setObjectName(QString("row%1").arg(i + 1));
    row->setMaxLength(kTextMaxChars);
    rows_[static_cast<size_t>(i)] = row;
    grid->addWidget(new QLabel(labels[i], page), i, 0);
    grid->addWidget(row, i, 1);
  }
  fourthRow_ = new QCheckBox("4行目を使用する", page);
  fourthRow_->setObjectName("fourthRow");
  fourthRow_->setChecked(stamp_.fourthRow);
  borderButton_ = new QPushButton(page);
  borderButton_->setObjectName("border");
  borderButton_->setIconSize(QSize(48, 36));
  rulerLines_ = new QCheckBox("境界線を描画", page);
  rulerLines_->setObjectName("rulerLines");
  rulerLines_->setChecked(stamp_.rulerLines);
  lineWidth_ =
      new UpDownEdit(page, settings::kStampLineWidthMin / 10.0, settings::kStampLineWidthMax / 10.0, 1, 0.1);
  lineWidth_->setObjectName("lineWidth");
  lineWidth_->edit()->setMaxLength(4);
  lineWidth_->edit()->setText(QString::asprintf("%.1lf", stamp_.lineWidth / 10.0));
  simpleFont_ = new QLineEdit(page);
  simpleFont_->setObjectName("simpleFont");
  simpleFont_->setReadOnly(true);
  simpleFontButton_ = FontButton(page, "simpleFontButton");
  dateRow_ = new QComboBox(page);
  dateRow_->setObjectName("dateRow");
  for (int i = 0; i < (stamp_.fourthRow ? 5 : 4); ++i) dateRow_->addItem(kDateRows[i]);
  dateRow_->setCurrentIndex(stamp_.dateRow >= 0 && stamp_.dateRow < dateRow_->count() ? stamp_.dateRow : 0);
  simpleFormat_ =
      KeywordCombo(page, settings::kStampDateTypeNames, static_cast<int>(stamp_.dateType), "simpleFormat");
  auto* preview = new QPushButton("プレビュー", page);
  preview->setObjectName("preview");

  auto* options = new QGridLayout;
  options->addWidget(fourthRow_, 0, 0);
  options->addWidget(borderButton_, 0, 1, 2, 1);
  options->addWidget(rulerLines_, 1, 0);
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(new QLabel("線幅：", page));
  widthRow->addWidget(lineWidth_);
  widthRow->addWidget(new QLabel("mm", page));
  widthRow->addStretch();
  options->addLayout(widthRow, 2, 0, 1, 2);
  auto* form = new QFormLayout;
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(simpleFont_, 1);
  fontRow->addWidget(simpleFontButton_);
  form->addRow("フォント：", fontRow);
  form->addRow("印字行：", dateRow_);
  form->addRow("書式：", simpleFormat_);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addLayout(options);
  layout->addLayout(form);
  layout->addWidget(preview, 0, Qt::AlignRight);

  connect(fourthRow_, &QCheckBox::toggled, this, [this] { FourthRowChanged(); });
  connect(rulerLines_, &QCheckBox::toggled, this, [this] { ShowBorder(); });
  connect(borderButton_, &QPushButton::clicked, this, [this] {
    border_ = static_cast<StampBorder>((static_cast<int>(border_) + 1) % 4);
    ShowBorder();
  });
  connect(dateRow_, &QComboBox::currentIndexChanged, this,
          [this] { simpleFormat_->setEnabled(dateRow_->currentIndex() > 0); });
  // One date format for both pages.
  connect(dateFormat_, &QComboBox::currentIndexChanged, this, [this](int i) {
    const QSignalBlocker block(simpleFormat_);
    simpleFormat_->setCurrentIndex(i);
  });
  connect(simpleFormat_, &QComboBox::currentIndexChanged, this, [this](int i) {
    const QSignalBlocker block(dateFormat_);
    dateFormat_->setCurrentIndex(i);
  });
  connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
  rows_[3]->setEnabled(stamp_.fourthRow);
  simpleFormat_->setEnabled(dateRow_->currentIndex() > 0);
  return page;
}

StampType StampEditDialog::Type() const {
  if (types_[0]->isChecked()) return StampType::kDate;
  if (types_[1]->isChecked()) return StampType::kImage;
  return StampType::kSimple;
}

void StampEditDialog::ShowType() { pages_->setCurrentIndex(static_cast<int>(Type())); }

void StampEditDialog::ShowFont() {
  dateFont_->setText(FontText(font_, pointSize_));
  simpleFont_->setText(FontText(font_, pointSize_));
}

void StampEditDialog::ShowBorder() {
  borderButton_->setIcon(BorderPicture(border_, rulerLines_->isChecked(), fourthRow_->isChecked() ? 4 : 3));
}

void StampEditDialog::FourthRowChanged() {
  const bool on = fourthRow_->isChecked();
  rows_[3]->setEnabled(on);
  if (on) {
    dateRow_->addItem(kDateRows[4]);
  } else {
    rows_[3]->clear();
    if (dateRow_->currentIndex() == 4) dateRow_->setCurrentIndex(0);
    dateRow_->removeItem(4);
  }
  ShowBorder();
}

void StampEditDialog::ChooseFont() {
  QFont initial;
  if (font_.HasFace()) {
    initial.setFamily(ToQ(font_.FaceNameUtf8()));
    initial.setWeight(static_cast<QFont::Weight>(font_.weight > 0 ? font_.weight : QFont::Normal));
    initial.setItalic(font_.italic != 0);
    initial.setUnderline(font_.underline != 0);
    initial.setStrikeOut(font_.strikeOut != 0);
  }
  if (pointSize_ > 0) initial.setPointSize(pointSize_);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, this);
  if (ok) ApplyFont(chosen);
}

void StampEditDialog::ApplyFont(const QFont& font) {
  settings::LogFont chosen = font_;
  if (!chosen.SetFaceNameUtf8(FromQ(font.family()))) {
    messages_.Warning(
        "選択されたフォントの名前はスタンプ設定に保存できません。別のフォントを選択してください。");
    return;
  }
  chosen.weight = font.weight();
  chosen.italic = font.italic() ? 1 : 0;
  chosen.underline = font.underline() ? 1 : 0;
  chosen.strikeOut = font.strikeOut() ? 1 : 0;
  chosen.charSet =
      QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese) ? kShiftJisCharSet : 0;
  pointSize_ = static_cast<int>(font.pointSizeF());  // whole points, tenths dropped
  chosen.height = -pointSize_ * logicalDpiY() / 72;
  font_ = chosen;
  ShowFont();
}

void StampEditDialog::BrowseImage() {
  const QString path =
      QFileDialog::getOpenFileName(this, "スタンプの画像を選択", imagePath_->text(),
                                   "TIFFファイル {*.tif,*.tiff} (*.tif *.tiff);;All files(*.*) (*)");
  if (!path.isEmpty()) imagePath_->setText(path);
}

QWidget* StampEditDialog::FieldWidget(
    const settings::ValidationFailure<settings::StampField>& failure) const {
  using settings::StampField;
  switch (failure.field) {
    case StampField::kName:
      return name_;
    case StampField::kXOffset:
      return xOffset_;
    case StampField::kYOffset:
      return yOffset_;
    case StampField::kFont:
      return Type() == StampType::kDate ? dateFontButton_ : simpleFontButton_;
    case StampField::kImagePath:
      return imagePath_;
    case StampField::kLineWidth:
      return lineWidth_;
    case StampField::kRowText:
      break;
  }
  return rows_[static_cast<size_t>(std::clamp(failure.row, 1, 4) - 1)];
}

std::optional<StampSetting> StampEditDialog::CheckedStamp() {
  settings::StampForm form;
  form.name = FromQ(name_->text());
  form.xOffset = FromQ(xOffset_->edit()->text());
  form.yOffset = FromQ(yOffset_->edit()->text());
  form.type = Type();
  form.font = font_;
  form.pointSize = pointSize_;
  form.imagePath = FromQ(imagePath_->text());
  form.rulerLines = rulerLines_->isChecked();
  form.lineWidth = FromQ(lineWidth_->edit()->text());
  for (size_t i = 0; i < rows_.size(); ++i) form.rowTexts[i] = FromQ(rows_[i]->text());
  if (auto failure = settings::ValidateStampForm(form, stamps_, editing_)) {
    ShowFieldFailure(messages_, failure->message, FieldWidget(*failure));
    return std::nullopt;
  }

  StampSetting s = stamp_;
  s.name = base::TrimNameBlanks(form.name);
  name_->setText(ToQ(s.name));
  for (size_t i = 0; i < corners_.size(); ++i)
    if (corners_[i]->isChecked()) s.corner = static_cast<settings::StampCorner>(i);
  s.xOffset = settings::ParseStampOffset(form.xOffset).value_or(0);
  s.yOffset = settings::ParseStampOffset(form.yOffset).value_or(0);
  s.type = form.type;
  s.font = font_;
  s.pointSize = pointSize_;
  s.dateType = static_cast<settings::StampDateType>(
      (form.type == StampType::kSimple ? simpleFormat_ : dateFormat_)->currentData().toInt());
  s.imagePath = form.imagePath;
  s.borderType = border_;
  s.fourthRow = fourthRow_->isChecked();
  s.rulerLines = form.rulerLines;
  s.rowTexts = form.rowTexts;
  // Checked only with ruler lines on; otherwise an unreadable width keeps
  // the stored one.
  s.lineWidth = settings::ParseStampLineWidth(form.lineWidth).value_or(s.lineWidth);
  s.dateRow = dateRow_->currentIndex();
  return s;
}

void StampEditDialog::Preview() {
  const auto stamp = CheckedStamp();
  if (!stamp) return;
  StampPreviewDialog preview(this, program_, *stamp);
  if (!preview.Rendered()) {
    messages_.Warning("スタンプのプレビューを表示できませんでした。");
    return;
  }
  preview.exec();
}

void StampEditDialog::Close() { SaveWindowPlacement(*this, program_, kSection); }

void StampEditDialog::accept() {
  const auto stamp = CheckedStamp();
  if (!stamp) return;
  stamp_ = *stamp;
  Close();
  QDialog::accept();
}

void StampEditDialog::reject() {
  Close();
  QDialog::reject();
}

bool EditStamp(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
               StampSetting& stamp, const settings::StampList& stamps, std::optional<size_t> editing) {
  StampEditDialog dialog(parent, program, messages, stamp, stamps, editing);
  if (dialog.exec() != QDialog::Accepted) return false;
  stamp = dialog.Result();
  return true;
}

}  // namespace orvella::dialogs
