#include "dialogs/qt_translations.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>

namespace orvella::dialogs {
namespace {

// Qt's standard buttons beside our Japanese texts: Japanese too once Qt's
// translations are installed (the package depends on them).
TEST(QtTranslations, StandardButtonsReadJapanese) {
  const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
  if (!QFileInfo::exists(file)) GTEST_SKIP() << file.toStdString() << " is not installed";
  ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance()));
  const struct {
    QDialogButtonBox::StandardButton button;
    const char* text;
  } cases[] = {
      {QDialogButtonBox::Cancel, "キャンセル"},
      {QDialogButtonBox::Yes, "はい(&Y)"},
      {QDialogButtonBox::No, "いいえ(&N)"},
  };
  for (const auto& c : cases) {
    QDialogButtonBox box(c.button);
    EXPECT_EQ(box.button(c.button)->text().toStdString(), c.text);
  }
}

}  // namespace
}  // namespace orvella::dialogs
