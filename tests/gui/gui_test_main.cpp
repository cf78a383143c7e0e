// The GUI tests' main: a QApplication on the offscreen platform, so the
// windows work without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/process_setup.h"

int main(int argc, char** argv) {
  orvella::test::SetUpTestProcess();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
