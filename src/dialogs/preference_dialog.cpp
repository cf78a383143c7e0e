#include "dialogs/preference_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>
#include <optional>

#include "base/ipv4_address.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/field_focus.h"
#include "dialogs/qt_text.h"
#include "dialogs/up_down_edit.h"
#include "dialogs/window_position.h"
#include "logging/job_log.h"
#include "settings/hidden_settings.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::HdiDataDirection;
constexpr std::string_view kSection = settings::window_section::kPreference;
constexpr const char* kProductName = "Orvella";

std::string Format(const char* pattern, const std::string& a) {
  char buf[512];
  std::snprintf(buf, sizeof buf, pattern, a.c_str());
  return buf;
}

std::string RangeMessage(const char* pattern) {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, settings::kMarginMin, settings::kMarginMax);
  return buf;
}

// A non-empty string of decimal digits within low to high.
std::optional<int> MarginValue(const QString& text) {
  if (text.isEmpty() || text.size() > 3) return std::nullopt;
  for (QChar c : text)
    if (c < '0' || c > '9') return std::nullopt;
  const int value = text.toInt();
  if (value < settings::kMarginMin || value > settings::kMarginMax) return std::nullopt;
  return value;
}

bool ShowsPanelOffAndEnergySave(const std::filesystem::path& program) {
  try {
    return settings::LoadHiddenSettings(program).enablePanelOffAndEnergySaveSetting;
  } catch (const settings::SettingsError&) {
    return false;
  }
}

// "横とみなす" / "縦とみなす" for one paper size; returns the portrait button.
QRadioButton* DirectionRow(QWidget* parent, QGridLayout* grid, int row, const char* label,
                           HdiDataDirection direction, const char* objectName) {
  auto* group = new QButtonGroup(parent);
  auto* landscape = new QRadioButton(
      ToQ(settings::kHdiDataDirectionNames[static_cast<int>(HdiDataDirection::kLandscape)].display), parent);
  auto* portrait = new QRadioButton(
      ToQ(settings::kHdiDataDirectionNames[static_cast<int>(HdiDataDirection::kPortrait)].display), parent);
  portrait->setObjectName(objectName);
  group->addButton(portrait);
  group->addButton(landscape);
  (direction == HdiDataDirection::kPortrait ? portrait : landscape)->setChecked(true);
  grid->addWidget(new QLabel(label, parent), row, 0);
  grid->addWidget(portrait, row, 1);
  grid->addWidget(landscape, row, 2);
  return portrait;
}

HdiDataDirection Direction(const QRadioButton* portrait) {
  return portrait->isChecked() ? HdiDataDirection::kPortrait : HdiDataDirection::kLandscape;
}

}  // namespace

PreferenceDialog::PreferenceDialog(QWidget* parent, const std::filesystem::path& program,
                                   DialogMessages& messages, logging::NetSendCommand netSend)
    : QDialog(parent), program_(program), messages_(messages), netSend_(std::move(netSend)) {
  setWindowTitle("環境設定");
  settings::Preferences values;
  try {
    values = settings::LoadPreferences(program);
  } catch (const settings::SettingsError& e) {
    messages_.Warning(e.what());
  }

  auto* margins = new QGroupBox("マージン", this);
  auto* marginGrid = new QGridLayout(margins);
  marginPlus_ = new UpDownEdit(margins, settings::kMarginMin, settings::kMarginMax);
  marginMinus_ = new UpDownEdit(margins, settings::kMarginMin, settings::kMarginMax);
  marginPlus_->setObjectName("marginPlus");
  marginMinus_->setObjectName("marginMinus");
  marginPlus_->edit()->setText(QString::number(values.marginPlus));
  marginMinus_->edit()->setText(QString::number(values.marginMinus));
  marginGrid->addWidget(new QLabel("+", margins), 0, 0);
  marginGrid->addWidget(marginPlus_, 0, 1);
  marginGrid->addWidget(new QLabel("mm", margins), 0, 2);
  marginGrid->addWidget(new QLabel("-", margins), 1, 0);
  marginGrid->addWidget(marginMinus_, 1, 1);
  marginGrid->addWidget(new QLabel("mm", margins), 1, 2);

  auto* directions = new QGroupBox("HDIデータの向き", this);
  auto* directionGrid = new QGridLayout(directions);
  a0Portrait_ =
      DirectionRow(directions, directionGrid, 0, "A0:", values.wideHdiA0DataDirection, "a0Portrait");
  a4Portrait_ =
      DirectionRow(directions, directionGrid, 1, "A4:", values.wideHdiA4DataDirection, "a4Portrait");

  tiffResoOnPrinter_ = new QCheckBox("TIFFの解像度自動調整をプリンタ側で行う", this);
  model02Rotation_ = new QCheckBox("TIFFの横長制限対応処理を行う（Model 02）", this);
  panelOff_ = new QCheckBox("パネルOFFモードを許可する", this);
  energySave_ = new QCheckBox("省エネモードを許可する", this);
  tiffResoOnPrinter_->setObjectName("tiffResoProcOnPrinter");
  model02Rotation_->setObjectName("model02Rotation");
  panelOff_->setObjectName("enablePanelOff");
  energySave_->setObjectName("enableEnergySave");
  tiffResoOnPrinter_->setChecked(values.tiffResoProcOnPrinter);
  model02Rotation_->setChecked(values.model02Rotation);
  panelOff_->setChecked(values.enablePanelOff);
  energySave_->setChecked(values.enableEnergySave);
  const bool panelOffShown = ShowsPanelOffAndEnergySave(program);
  panelOff_->setVisible(panelOffShown);
  energySave_->setVisible(panelOffShown);

  auto* netSendBox = new QGroupBox("エラーメッセージの送信先", this);
  auto* netSendGrid = new QGridLayout(netSendBox);
  for (int i = 0; i < settings::kNetSendPcCount; ++i) {
    QLineEdit*& address = addresses_[static_cast<size_t>(i)];
    address = new QLineEdit(
        QString::fromStdString(base::FormatIpv4Address(values.netSendAddresses[static_cast<size_t>(i)])),
        netSendBox);
    address->setObjectName(QString("netSendAddress%1").arg(i + 1));
    address->setMaxLength(15);
    auto* test = new QPushButton("送信テスト", netSendBox);
    test->setObjectName(QString("sendTest%1").arg(i + 1));
    connect(test, &QPushButton::clicked, this, [this, i] { SendTest(i); });
    netSendGrid->addWidget(new QLabel(QString("IPアドレス %1").arg(i + 1), netSendBox), i, 0);
    netSendGrid->addWidget(address, i, 1);
    netSendGrid->addWidget(test, i, 2);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(margins);
  layout->addWidget(directions);
  for (QCheckBox* box : {tiffResoOnPrinter_, model02Rotation_, panelOff_, energySave_})
    layout->addWidget(box);
  layout->addWidget(netSendBox);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  RestoreDialogPosition(*this, program_, kSection);
}

void PreferenceDialog::SendTest(int row) {
  QLineEdit* field = addresses_[static_cast<size_t>(row)];
  const base::Ipv4Address address = base::ParseIpv4Address(field->text().toStdString());
  if (base::IsZeroAddress(address)) {
    ShowFieldFailure(messages_, "正しいIPアドレスを指定してください。", field);
    return;
  }
  if (!logging::IsMessengerRunning()) {
    messages_.Warning(
        "Messengerサービスが起動されていないため、メッセージが送信できません。\r\nサービスを起動してください"
        "。");
    return;
  }
  const std::string text = base::FormatIpv4Address(address);
  if (!logging::RunNetSend(netSend_, text, Format("これは %s からのテストメッセージです。", kProductName))) {
    messages_.Warning("テストメッセージの送信に失敗しました。");
    return;
  }
  logging::WriteJobLogMessage(program_, Format("テストメッセージを送信しました(IPアドレス: %s)", text));
  messages_.Information(
      "テストメッセージを送信しました。送信先PCで確認してください。\r\n\r\n"
      "※送信先にメッセージが表示されるまで、しばらく時間が掛かる場合があります。");
}

void PreferenceDialog::accept() {
  const auto plus = MarginValue(marginPlus_->edit()->text());
  if (!plus) {
    ShowFieldFailure(messages_, RangeMessage("マージンプラス値は%d～%dで指定してください。"), marginPlus_);
    return;
  }
  const auto minus = MarginValue(marginMinus_->edit()->text());
  if (!minus) {
    ShowFieldFailure(messages_, RangeMessage("マージンマイナス値は%d～%dで指定してください。"), marginMinus_);
    return;
  }
  try {
    // Key by key in a fixed order: a failed write leaves the keys before it
    // written and the operator's input in the dialog.
    settings::SetMarginPlus(program_, *plus);
    settings::SetMarginMinus(program_, *minus);
    settings::SetTiffResoProcOnPrinter(program_, tiffResoOnPrinter_->isChecked());
    settings::SetModel02Rotation(program_, model02Rotation_->isChecked());
    settings::SetEnablePanelOff(program_, panelOff_->isChecked());
    settings::SetEnableEnergySave(program_, energySave_->isChecked());
    settings::SetWideHdiA0DataDirection(program_, Direction(a0Portrait_));
    settings::SetWideHdiA4DataDirection(program_, Direction(a4Portrait_));
    settings::NetSendAddresses addresses{};
    for (size_t i = 0; i < addresses.size(); ++i)
      addresses[i] = base::ParseIpv4Address(addresses_[i]->text().toStdString());
    settings::SetNetSendAddresses(program_, addresses);
  } catch (const settings::SettingsError& e) {
    messages_.Warning(e.what());
    return;
  }
  SaveDialogPosition(*this, program_, kSection);
  QDialog::accept();
}

void PreferenceDialog::reject() {
  SaveDialogPosition(*this, program_, kSection);
  QDialog::reject();
}

bool EditPreferences(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                     const logging::NetSendCommand& netSend) {
  PreferenceDialog dialog(parent, program, messages, netSend);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace orvella::dialogs
