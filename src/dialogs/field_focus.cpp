#include "dialogs/field_focus.h"

#include <QLineEdit>
#include <QTabWidget>

#include "dialogs/dialog_messages.h"

namespace orvella::dialogs {

void FocusField(QWidget* field) {
  // Bring forward every tab page the field lies on, outermost last.
  for (QWidget* p = field->parentWidget(); p; p = p->parentWidget()) {
    auto* tabs = qobject_cast<QTabWidget*>(p);
    if (!tabs) continue;
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->widget(i)->isAncestorOf(field)) tabs->setCurrentIndex(i);
  }
  field->setFocus(Qt::OtherFocusReason);
  QWidget* target = field->focusProxy() ? field->focusProxy() : field;
  if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
}

void ShowFieldFailure(DialogMessages& messages, const std::string& message, QWidget* field) {
  messages.Warning(message);
  FocusField(field);
}

}  // namespace orvella::dialogs
