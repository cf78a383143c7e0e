#pragma once
// What the dialog tests share: a program folder, message boxes answered
// from the test, and the dialog's widgets found by object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "dialogs/dialog_messages.h"
#include "settings/settings_home.h"

namespace orvella::dialogs::test {

class RecordingMessages : public DialogMessages {
 public:
  void Warning(const std::string& text) override { warnings.push_back(text); }
  bool Question(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void Information(const std::string& text) override { information.push_back(text); }

  std::vector<std::string> warnings;
  std::vector<std::string> questions;
  std::vector<std::string> information;
  bool answer = true;
};

template <typename T>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

inline void SetText(const QWidget& parent, const char* name, const std::string& utf8) {
  if (auto* edit = Child<QLineEdit>(parent, name)) edit->setText(QString::fromStdString(utf8));
}

// Shown and active, so that the focus can be checked.
inline void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// The one warning shown is message and the focus is in the field named.
inline void ExpectFieldFailure(const QWidget& dialog, const RecordingMessages& messages,
                               const std::string& message, const char* field) {
  ASSERT_EQ(messages.warnings.size(), 1u);
  EXPECT_EQ(messages.warnings[0], message);
  QWidget* focus = QApplication::focusWidget();
  QWidget* expected = dialog.findChild<QWidget*>(field);
  ASSERT_NE(expected, nullptr) << field;
  EXPECT_TRUE(focus && (focus == expected || expected->isAncestorOf(focus)))
      << "focus on " << (focus ? focus->objectName().toStdString() : "nothing") << ", expected " << field;
  if (auto* edit = qobject_cast<QLineEdit*>(focus); edit && !edit->text().isEmpty()) {
    EXPECT_EQ(edit->selectedText(), edit->text());
  }
  EXPECT_TRUE(dialog.isVisible());
}

}  // namespace orvella::dialogs::test

namespace orvella::dialogs::test {

// With ORVELLA_SCREENSHOT_DIR set, the window as a PNG there, for a person
// to look at.
inline void Screenshot(QWidget& window, const char* name) {
  const QString dir = qEnvironmentVariable("ORVELLA_SCREENSHOT_DIR");
  if (!dir.isEmpty()) window.grab().save(dir + "/" + name + ".png");
}

}  // namespace orvella::dialogs::test
