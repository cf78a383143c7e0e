#include "dialogs/authentication_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/qt_text.h"

namespace orvella::dialogs {
namespace {
constexpr int kLoginMaxChars = 254;
}

AuthenticationDialog::AuthenticationDialog(QWidget* parent, const settings::PrinterSetting& printer)
    : QDialog(parent) {
  setWindowTitle("認証情報の入力");
  using settings::AuthenticationMode;
  using settings::kAuthenticationModeNames;
  basic_ = new QRadioButton(
      ToQ(kAuthenticationModeNames[static_cast<int>(AuthenticationMode::kBasic)].display), this);
  none_ = new QRadioButton(ToQ(kAuthenticationModeNames[static_cast<int>(AuthenticationMode::kNone)].display),
                           this);
  user_ = new QLineEdit(ToQ(printer.loginUsername), this);
  password_ = new QLineEdit(ToQ(printer.loginPassword), this);
  basic_->setObjectName("basic");
  none_->setObjectName("none");
  user_->setObjectName("loginUsername");
  password_->setObjectName("loginPassword");
  user_->setMaxLength(kLoginMaxChars);
  password_->setMaxLength(kLoginMaxChars);
  password_->setEchoMode(QLineEdit::Password);
  (printer.authenticationMode == AuthenticationMode::kBasic ? basic_ : none_)->setChecked(true);

  auto* fields = new QFormLayout;
  fields->addRow("ﾛｸﾞｲﾝﾕｰｻﾞｰ名 :", user_);
  fields->addRow("ﾛｸﾞｲﾝﾊﾟｽﾜｰﾄﾞ :", password_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(basic_);
  layout->addWidget(none_);
  layout->addLayout(fields);
  layout->addWidget(buttons);
  setMinimumWidth(360);

  connect(basic_, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdateEnabling();
}

void AuthenticationDialog::UpdateEnabling() {
  user_->setEnabled(basic_->isChecked());
  password_->setEnabled(basic_->isChecked());
}

void AuthenticationDialog::StoreInto(settings::PrinterSetting& printer) const {
  printer.authenticationMode =
      basic_->isChecked() ? settings::AuthenticationMode::kBasic : settings::AuthenticationMode::kNone;
  printer.loginUsername = FromQ(user_->text());
  printer.loginPassword = FromQ(password_->text());
}

}  // namespace orvella::dialogs
