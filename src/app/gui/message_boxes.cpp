#include "app/gui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "app/gui/gui_texts.h"

namespace orvella::cli {

namespace {

QString Title() { return QString::fromUtf8(gui_text::kMessageTitle); }

// Over the window the operator works in; centred on the screen when only the
// notification icon shows.
QWidget* Owner() { return QApplication::activeWindow(); }

}  // namespace

void MessageBoxes::Warning(const std::string& text) {
  QMessageBox::warning(Owner(), Title(), QString::fromStdString(text));
}

bool MessageBoxes::Question(const std::string& text) {
  return QMessageBox::question(Owner(), Title(), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxes::Information(const std::string& text) {
  QMessageBox::information(Owner(), Title(), QString::fromStdString(text));
}

void MessageBoxes::About(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Information, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, Owner());
  box.exec();
}

}  // namespace orvella::cli
