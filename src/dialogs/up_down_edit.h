#pragma once
// A text field with up and down arrows. Unlike QSpinBox the text stays the
// operator's: the dialog's checks see exactly what was typed and report it.
#include <QWidget>

class QLineEdit;

namespace orvella::dialogs {

class UpDownEdit : public QWidget {
 public:
  // The arrows step by step within low to high and write decimals places.
  UpDownEdit(QWidget* parent, double low, double high, int decimals = 0, double step = 1);
  QLineEdit* edit() const { return edit_; }

 private:
  void Step(int direction);

  QLineEdit* edit_;
  double low_;
  double high_;
  int decimals_;
  double step_;
};

}  // namespace orvella::dialogs
