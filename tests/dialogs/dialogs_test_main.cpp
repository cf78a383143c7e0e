// The dialog tests' main: a QApplication on the offscreen platform, so the
// dialogs work without a display, with Qt's texts in Japanese as the program
// has them.
#include <gtest/gtest.h>

#include <QApplication>

#include "dialogs/qt_translations.h"
#include "support/process_setup.h"

int main(int argc, char** argv) {
  orvella::test::SetUpTestProcess();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  orvella::dialogs::InstallQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
