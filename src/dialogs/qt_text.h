#pragma once
// Text crosses between the settings (UTF-8 std::string) and Qt here.
#include <QComboBox>
#include <QString>
#include <span>
#include <string>
#include <string_view>

#include "settings/keywords.h"

namespace orvella::dialogs {

inline QString ToQ(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQ(const QString& text) { return text.toStdString(); }

// Selects the item holding number; none when no item does.
inline void SelectData(QComboBox& combo, int number) { combo.setCurrentIndex(combo.findData(number)); }

// A list of the display texts of a keyword table, each item holding its
// number, with number selected.
inline QComboBox* KeywordCombo(QWidget* parent, std::span<const settings::KeywordName> table, int number,
                               const char* name = "") {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  for (size_t i = 0; i < table.size(); ++i) combo->addItem(ToQ(table[i].display), static_cast<int>(i));
  SelectData(*combo, number);
  return combo;
}

}  // namespace orvella::dialogs
