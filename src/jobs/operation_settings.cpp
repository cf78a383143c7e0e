#include "jobs/operation_settings.h"

namespace orvella::jobs {

OperationSettings LoadOperationSettings(const std::filesystem::path& program) {
  OperationSettings loaded;
  loaded.preferences = settings::LoadPreferences(program);
  loaded.hidden = settings::LoadHiddenSettings(program);
  loaded.stamps = settings::LoadStamps(program);
  loaded.inputs = settings::LoadInputSettings(program);
  loaded.printers = settings::LoadPrinterSettings(program);
  // An unknown fold type ends the list there; the start checks then name any
  // fold that went missing with it.
  settings::LoadFolds(program, loaded.folds);
  return loaded;
}

const settings::PrinterSetting* FindPrinter(const OperationSettings& settings, const std::string& name,
                                            std::size_t* index) {
  if (name.empty()) return nullptr;
  for (std::size_t i = 0; i < settings.printers.size(); ++i) {
    if (settings.printers[i].name != name) continue;
    if (index) *index = i;
    return &settings.printers[i];
  }
  return nullptr;
}

}  // namespace orvella::jobs
