#pragma once
// The printer's FTP login ("認証情報の入力").
#include <QDialog>

#include "settings/printer_settings.h"

class QLineEdit;
class QRadioButton;

namespace orvella::dialogs {

class AuthenticationDialog : public QDialog {
 public:
  AuthenticationDialog(QWidget* parent, const settings::PrinterSetting& printer);
  // Mode, user and password into printer, whatever the mode: the login is
  // kept for when basic authentication is chosen again.
  void StoreInto(settings::PrinterSetting& printer) const;

 private:
  void UpdateEnabling();

  QRadioButton* basic_;
  QRadioButton* none_;
  QLineEdit* user_;
  QLineEdit* password_;
};

}  // namespace orvella::dialogs
