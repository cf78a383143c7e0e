#pragma once
// Window placement and list column widths kept in WINDOW.INI, applied to Qt
// widgets. The fitting arithmetic is the settings layer's.
#include <filesystem>
#include <string_view>

class QHeaderView;
class QWidget;

namespace orvella::cli {

void SaveWindowPlacementOf(const std::filesystem::path& program, std::string_view section,
                           const QWidget& window);
// A hidden window is placed where it was last (maximised if it was) and
// shown; a shown one is restored from minimised and brought to the front.
void ShowPlaced(const std::filesystem::path& program, std::string_view section, QWidget& window);

void SaveColumnWidthsOf(const std::filesystem::path& program, std::string_view section,
                        const QHeaderView& header);
// Columns without a stored width keep theirs.
void RestoreColumnWidthsOf(const std::filesystem::path& program, std::string_view section,
                           QHeaderView& header);

}  // namespace orvella::cli
