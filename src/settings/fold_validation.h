#pragma once
// The checks of the fold edit dialog, run on OK; the first failure is shown.
#include <optional>
#include <vector>

#include "settings/fold_settings.h"
#include "settings/folder_models.h"
#include "settings/validation.h"

namespace orvella::settings {

// kFoldType and kMargin come with the size slot in ValidationFailure::row.
enum class FoldField { kName, kFoldType, kMargin };

inline constexpr size_t kFoldNameMaxBytes = 50;

// Checks the name as trimmed of leading and trailing ASCII and full-width
// spaces (base::TrimNameBlanks; the dialog stores it so): present, storable
// and at most 50 bytes; no other record of that name (editedIndex, the
// record's own position when editing, is skipped); then per size slot in
// order, the fold type offered by the record's folding unit (an entry of
// units) and the margin within the type's rule.
std::optional<ValidationFailure<FoldField>> ValidateFoldSetting(const FoldSetting& fold,
                                                                const std::vector<FoldSetting>& list,
                                                                std::optional<size_t> editedIndex,
                                                                const std::vector<FolderModel>& units);

}  // namespace orvella::settings
