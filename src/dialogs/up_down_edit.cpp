#include "dialogs/up_down_edit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace orvella::dialogs {

UpDownEdit::UpDownEdit(QWidget* parent, double low, double high, int decimals, double step)
    : QWidget(parent), edit_(new QLineEdit(this)), low_(low), high_(high), decimals_(decimals), step_(step) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(edit_);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  for (const auto& [arrow, direction] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(16, 11);
    connect(button, &QToolButton::clicked, this, [this, direction = direction] { Step(direction); });
    arrows->addWidget(button);
  }
  row->addLayout(arrows);
  setFocusProxy(edit_);
}

void UpDownEdit::Step(int direction) {
  bool ok = false;
  const double value = edit_->text().toDouble(&ok);
  const double next = ok ? std::clamp(value + direction * step_, low_, high_) : low_;
  edit_->setText(QString::number(next, 'f', decimals_));
}

}  // namespace orvella::dialogs
