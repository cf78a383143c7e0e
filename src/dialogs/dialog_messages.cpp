#include "dialogs/dialog_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace orvella::dialogs {
namespace {

constexpr const char* kTitle = "Orvella";

// Some messages carry CR LF line breaks; a box shows a bare LF cleanly.
QString BoxText(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

void MessageBoxMessages::Warning(const std::string& text) {
  QMessageBox::warning(QApplication::activeWindow(), kTitle, BoxText(text));
}

bool MessageBoxMessages::Question(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), kTitle, BoxText(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxMessages::Information(const std::string& text) {
  QMessageBox::information(QApplication::activeWindow(), kTitle, BoxText(text));
}

}  // namespace orvella::dialogs
