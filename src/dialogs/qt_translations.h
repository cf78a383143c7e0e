#pragma once
// Qt's own texts (standard buttons, its dialogs) in Japanese, beside ours.
#include <QCoreApplication>

namespace orvella::dialogs {

// Loads Qt's Japanese translations from Qt's translations folder; false when
// they are not installed (Qt's texts then stay English).
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace orvella::dialogs
