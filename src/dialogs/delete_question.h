#pragma once
// The question a list asks before deleting a record that input folders may
// name.
#include <filesystem>
#include <string>
#include <vector>

#include "settings/input_settings.h"

namespace orvella::dialogs {

using FindInput = const settings::InputFolderSetting* (*)(const std::vector<settings::InputFolderSetting>&,
                                                          const std::string&);

// usedPattern (with the folder for its %s) when an input folder of INPUT.INI
// uses name, else plain. An unreadable INPUT.INI counts as no use.
std::string DeleteQuestion(const std::filesystem::path& program, const std::string& name, FindInput find,
                           const char* plain, const char* usedPattern);

}  // namespace orvella::dialogs
