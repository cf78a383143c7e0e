#pragma once
// The operator's preferences ("環境設定"), read from PREFERENCE.INI when the
// dialog opens and written key by key on OK.
#include <QDialog>
#include <array>
#include <filesystem>

#include "logging/net_send.h"
#include "settings/preferences.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace orvella::dialogs {

class DialogMessages;
class UpDownEdit;

class PreferenceDialog : public QDialog {
 public:
  PreferenceDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                   logging::NetSendCommand netSend = {});

  // "送信テスト" of address row 0 to 2.
  void SendTest(int row);
  // Checks the margins, then writes every value; a failure keeps the dialog open.
  void accept() override;
  void reject() override;

 private:
  std::filesystem::path program_;
  DialogMessages& messages_;
  logging::NetSendCommand netSend_;
  UpDownEdit* marginPlus_;
  UpDownEdit* marginMinus_;
  QRadioButton* a0Portrait_;
  QRadioButton* a4Portrait_;
  QCheckBox* tiffResoOnPrinter_;
  QCheckBox* model02Rotation_;
  QCheckBox* panelOff_;
  QCheckBox* energySave_;
  std::array<QLineEdit*, settings::kNetSendPcCount> addresses_{};
};

// Opens the dialog; true on OK.
// netSend: how the send test reaches the workstations.
bool EditPreferences(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                     const logging::NetSendCommand& netSend);

}  // namespace orvella::dialogs
