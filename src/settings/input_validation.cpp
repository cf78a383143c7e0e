#include "settings/input_validation.h"

#include <strings.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr int kMaxPathBytes = 260;
constexpr int kMinCopies = 1, kMaxCopies = 999;
constexpr int kMinMagnification = 20, kMaxMagnification = 400;

using Failure = ValidationFailure<InputField>;

std::string Format(const char* pattern, int a, int b = 0) {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, a, b);
  return buf;
}

// The folder itself or anything inside it, letter case ignored.
bool InsideFolderIgnoringCase(const std::string& path, std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty() || path.size() < folder.size() ||
      strncasecmp(path.c_str(), folder.c_str(), folder.size()) != 0)
    return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

// The folder itself or anything inside it, links and ".." resolved where
// the path exists.
bool InsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder) {
  const auto resolved = [](const std::filesystem::path& p) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(p, error);
    if (error) real = std::filesystem::absolute(p, error).lexically_normal();
    return real.has_filename() ? real : real.parent_path();
  };
  const std::filesystem::path inside = resolved(path), outer = resolved(folder);
  if (outer.empty()) return false;
  return std::mismatch(outer.begin(), outer.end(), inside.begin(), inside.end()).first == outer.end();
}

// The whole text as a number; nullopt when any of it is not.
std::optional<double> WholeNumber(const std::string& text) {
  double v = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return v;
}

std::optional<int> WholeInteger(const std::string& text) {
  int v = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return v;
}

}  // namespace

std::optional<Failure> ValidateInputGeneral(const InputGeneralForm& form,
                                            const std::vector<InputFolderSetting>& all,
                                            std::optional<size_t> editedIndex,
                                            const std::filesystem::path& networkShortcuts,
                                            const std::filesystem::path& program) {
  const auto bytes = base::Cp932Length(form.inputDir);
  if (!bytes) {
    // The INI files are CP932: a path it cannot hold could not be saved.
    return Failure{"入力フォルダパスに使用できない文字が含まれています。", InputField::kInputDir};
  }
  if (*bytes > kMaxPathBytes) {
    return Failure{Format("入力フォルダパスは半角 %d 文字以内で指定してください。", kMaxPathBytes),
                   InputField::kInputDir};
  }
  if (form.inputDir.empty()) return Failure{"入力フォルダを選択してください。", InputField::kInputDir};
  if (InsideFolderIgnoringCase(form.inputDir, networkShortcuts.string())) {
    return Failure{"選択されたフォルダは入力フォルダとして使用できません。", InputField::kInputDir};
  }
  if (!program.empty() && InsideFolder(form.inputDir, program)) {
    return Failure{"プログラムフォルダ内のフォルダは入力フォルダとして使用できません。",
                   InputField::kInputDir, -1,
                   "the program folder (" + program.string() +
                       ") and the folders inside it hold the program's own files (settings, logs, error "
                       "copies, work files), which an input folder there would print and delete"};
  }
  for (size_t i = 0; i < all.size(); ++i) {
    if (editedIndex && *editedIndex == i) continue;
    if (all[i].inputDir == form.inputDir) {
      return Failure{"選択された入力フォルダは既に登録されています。", InputField::kInputDir};
    }
  }
  if (form.widePrinterName.empty() && form.a2PrinterName.empty()) {
    return Failure{"使用プリンタを「広幅機」と「A2以下機」から、少なくとも1つ選択してください。",
                   InputField::kWidePrinter};
  }
  const auto copies = WholeInteger(form.quantityText);
  if (!copies || *copies < kMinCopies || *copies > kMaxCopies) {
    return Failure{Format("部数は%d～%dで指定してください。", kMinCopies, kMaxCopies), InputField::kQuantity};
  }
  return std::nullopt;
}

std::optional<Failure> ValidateOutputSettings(
    bool useOutputSetting, const std::array<OutputTarget, kInputSizeCount>& targets,
    const std::array<std::string, kInputSizeCount>& magnificationTexts) {
  if (!useOutputSetting) return std::nullopt;
  for (int i = 0; i < kInputSizeCount; ++i) {
    if (targets[i] != OutputTarget::kMag) continue;
    const std::string& text = magnificationTexts[i];
    const auto value = text.size() <= 5 ? WholeNumber(text) : std::nullopt;
    if (!value || *value < kMinMagnification || *value > kMaxMagnification) {
      return Failure{Format("出力設定の変倍サイズは%d.0～%d.0で指定してください。", kMinMagnification,
                            kMaxMagnification),
                     InputField::kMagnification, i};
    }
  }
  return std::nullopt;
}

}  // namespace orvella::settings
