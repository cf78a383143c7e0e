#pragma once
// Where a dialog opens and what it remembers when it closes (WINDOW.INI).
// Positions are a convenience: a WINDOW.INI that cannot be read or written
// never stops a dialog.
#include <filesystem>
#include <string_view>

class QTreeWidget;
class QWidget;

namespace orvella::dialogs {

// At the stored position kept inside the work area, else centred over the
// parent. Call once the dialog has its layout.
void RestoreDialogPosition(QWidget& dialog, const std::filesystem::path& program, std::string_view section);
void SaveDialogPosition(const QWidget& dialog, const std::filesystem::path& program,
                        std::string_view section);

// Resizable windows: position, size and the maximised state.
void RestoreWindowPlacement(QWidget& window, const std::filesystem::path& program, std::string_view section);
void SaveWindowPlacement(const QWidget& window, const std::filesystem::path& program,
                         std::string_view section);

void RestoreColumnWidths(QTreeWidget& list, const std::filesystem::path& program, std::string_view section);
void SaveColumnWidths(const QTreeWidget& list, const std::filesystem::path& program,
                      std::string_view section);

}  // namespace orvella::dialogs
