#include "dialogs/delete_question.h"

#include <cstdio>

#include "settings/settings_error.h"

namespace orvella::dialogs {

std::string DeleteQuestion(const std::filesystem::path& program, const std::string& name, FindInput find,
                           const char* plain, const char* usedPattern) {
  std::string folder;
  try {
    const auto inputs = settings::LoadInputSettings(program);
    if (const settings::InputFolderSetting* user = find(inputs, name)) folder = user->inputDir;
  } catch (const settings::SettingsError&) {
  }
  if (folder.empty()) return plain;
  const int n = std::snprintf(nullptr, 0, usedPattern, folder.c_str());
  std::string text(static_cast<size_t>(n), '\0');
  std::snprintf(text.data(), text.size() + 1, usedPattern, folder.c_str());
  return text;
}

}  // namespace orvella::dialogs
