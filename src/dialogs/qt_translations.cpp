#include "dialogs/qt_translations.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace orvella::dialogs {

bool InstallQtTranslations(QCoreApplication& app) {
  // Japanese whatever the session's locale: every text of our own is.
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator.get())) {
    return false;
  }
  translator.release()->setParent(&app);  // the application owns it from here
  return true;
}

}  // namespace orvella::dialogs
