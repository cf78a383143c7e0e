#pragma once
// The status texts of a job row (column 3), one table of formats for every
// unit of work and step.
#include <string>
#include <string_view>

namespace orvella::jobs {

enum class WorkUnit {
  kWholeTiff,  // a multi-page TIFF file, all copies in one print job
  kTiffPage,   // one page of one copy of a TIFF file
  kHpglCopy    // one copy of an HP-GL/2 file
};
inline constexpr int kWorkUnitCount = 3;

enum class UnitStep { kAdded, kConverting, kTransferring, kDone, kAborted, kFailed };
inline constexpr int kUnitStepCount = 6;

// Counters shown in the texts; copy and page count from 1.
struct UnitCounters {
  int copy = 1;
  int copies = 1;
  int page = 1;
  int pages = 1;
};

// The status text of a unit at a step; message is the failure's text (used by
// kFailed only).
std::string JobStatusText(WorkUnit unit, UnitStep step, const UnitCounters& counters,
                          std::string_view message = {});

// Shown in row 0 when the source file could not be deleted.
inline constexpr const char* kDeleteFailedText = "ファイルの削除に失敗しました";

}  // namespace orvella::jobs
