#include "jobs/start_operation.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "settings/input_folder_state.h"
#include "settings/settings_error.h"

namespace orvella::jobs {
namespace {

// Each message holds two %s: the input folder path, then the missing name.
struct MissingKind {
  const char* message;
  const char* file;  // where the name should be
  const char* english;
};

constexpr MissingKind kStamp{"入力設定 %s にあるスタンプ %s が見つからないため実行できません。", "STAMP.INI",
                             "stamp"};
constexpr MissingKind kPrinter{"入力設定 %s にあるプリンタ %s が見つからないため実行できません。",
                               "PRINTER.INI", "printer"};
constexpr MissingKind kFold{"入力設定 %s にある紙折設定 %s が見つからないため実行できません。", "FOLD.INI",
                            "fold setting"};

template <typename Record>
bool Has(const std::vector<Record>& records, const std::string& name) {
  return std::any_of(records.begin(), records.end(), [&](const Record& r) { return r.name == name; });
}

// The names are copied in, never read as a format.
std::string FillNames(std::string_view message, const std::string& folder, const std::string& name) {
  std::string text;
  const std::string* next[] = {&folder, &name};
  std::size_t used = 0;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (used < 2 && message.compare(i, 2, "%s") == 0) {
      text += *next[used++];
      ++i;
    } else {
      text += message[i];
    }
  }
  return text;
}

base::Failure Missing(const MissingKind& kind, std::size_t index, const settings::InputFolderSetting& folder,
                      const std::string& name) {
  return {FillNames(kind.message, folder.inputDir, name),
          "input folder " + std::to_string(index) + " (" + folder.inputDir + ") names " + kind.english +
              " \"" + name + "\", which " + kind.file + " does not have"};
}

}  // namespace

std::optional<base::Failure> FindStartProblem(const OperationSettings& loaded) {
  if (loaded.inputs.empty()) return base::Failure{kNoInputFolders, "INPUT.INI has no input folder"};
  for (std::size_t i = 0; i < loaded.inputs.size(); ++i) {
    const settings::InputFolderSetting& folder = loaded.inputs[i];
    for (const settings::StampUse& stamp : folder.stamps) {
      if (!stamp.name.empty() && !Has(loaded.stamps, stamp.name))
        return Missing(kStamp, i, folder, stamp.name);
    }
    for (const std::string* printer : {&folder.widePrinterName, &folder.a2PrinterName}) {
      if (!printer->empty() && !Has(loaded.printers, *printer)) return Missing(kPrinter, i, folder, *printer);
    }
    if (!folder.wideFoldName.empty() && !Has(loaded.folds, folder.wideFoldName))
      return Missing(kFold, i, folder, folder.wideFoldName);
  }
  return std::nullopt;
}

std::optional<base::Failure> InputFolderNotice(std::size_t index,
                                               const settings::InputFolderSetting& folder) {
  const auto problem = settings::InputFolderProblem(folder.inputDir);
  if (!problem) return std::nullopt;
  return base::Failure{FillNames(kInputFolderUnreadable, folder.inputDir, ""),
                       "input folder " + std::to_string(index) + " (" + folder.inputDir + ") " + *problem +
                           "; operation runs, and takes its files once it can read it"};
}

std::shared_ptr<const OperationSettings> LoadStartSettings(const std::filesystem::path& program,
                                                           base::Failure& failure) {
  std::shared_ptr<OperationSettings> loaded;
  try {
    loaded = std::make_shared<OperationSettings>(LoadOperationSettings(program));
  } catch (const settings::SettingsError& e) {
    failure = {e.what(), "a settings file under INI cannot be read"};
    return nullptr;
  }
  if (auto problem = FindStartProblem(*loaded)) {
    failure = std::move(*problem);
    return nullptr;
  }
  return loaded;
}

std::shared_ptr<const OperationSettings> StartOperation(const std::filesystem::path& program,
                                                        base::OperatorMessages& messages,
                                                        printer::PrinterMemoryTable& memory) {
  base::Failure failure;
  auto loaded = LoadStartSettings(program, failure);
  if (!loaded) {
    messages.Warning(failure.message);
    return nullptr;
  }
  memory.Rebuild(loaded->printers.size(), loaded->hidden.maxMem, loaded->hidden.outPerSec);
  return loaded;
}

}  // namespace orvella::jobs
