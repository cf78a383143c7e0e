#pragma once
// The start of operation: reload every settings file, make sure each input
// folder names only settings that exist, and fill the printers' memory
// allowances. Nothing runs unless all of it succeeds.
#include <filesystem>
#include <memory>
#include <optional>

#include "base/failure.h"
#include "base/operator_messages.h"
#include "jobs/operation_settings.h"
#include "printer/printer_memory.h"

namespace orvella::jobs {

inline constexpr const char* kNoInputFolders = "入力設定がありません。";
inline constexpr const char* kInputFolderUnreadable = "入力フォルダ %s が見つからないか、読み込めません。";

// The first reason the loaded settings cannot run, its message exactly as the
// operator is told; nullopt when they can. Folders are checked in list order,
// each for its stamps, its wide and A2 printers, then its fold; empty names
// are not checked.
std::optional<base::Failure> FindStartProblem(const OperationSettings& loaded);

// The notice for input folder index when the scan cannot read its folder;
// nullopt when it can. Such a folder contributes nothing and does not keep
// operation from starting.
std::optional<base::Failure> InputFolderNotice(std::size_t index, const settings::InputFolderSetting& folder);

// Loads the settings and checks them; nullptr with failure filled when they
// cannot run (an unreadable settings file gives its own message).
std::shared_ptr<const OperationSettings> LoadStartSettings(const std::filesystem::path& program,
                                                           base::Failure& failure);

// LoadStartSettings with its failure shown as a warning, then the memory
// table rebuilt full (one entry per printer, in list order). The settings the
// worker reads, or nullptr when the system must stay stopped. Input folders
// that cannot be read are not checked here (see InputFolderNotice).
std::shared_ptr<const OperationSettings> StartOperation(const std::filesystem::path& program,
                                                        base::OperatorMessages& messages,
                                                        printer::PrinterMemoryTable& memory);

}  // namespace orvella::jobs
