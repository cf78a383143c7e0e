#pragma once
// How a dialog reports a failed check: the message box, then the field gets
// the focus (on its page) with its text selected.
#include <string>

class QWidget;

namespace orvella::dialogs {

class DialogMessages;

void FocusField(QWidget* field);
void ShowFieldFailure(DialogMessages& messages, const std::string& message, QWidget* field);

}  // namespace orvella::dialogs
