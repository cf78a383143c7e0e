#pragma once
// The printers' receive memory as the program models it: nothing is read back
// from a printer. Each printer empties its memory at a fixed rate; a transfer
// takes its file's size and waits while the file does not fit. The timer
// thread replenishes while the job worker reserves, so every change of an
// entry is made under the table's lock.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace orvella::printer {

struct PrinterMemoryEntry {
  std::int64_t free = 0;          // bytes assumed free in the printer now
  std::int64_t capacity = 0;      // MAX_MEM × 1024
  std::int64_t drainPerTick = 0;  // OUT_PER_SEC × 1024
};

class PrinterMemoryTable {
 public:
  // One full entry per printer, in printer list order (kilobytes of 1024
  // bytes; negative values count as 0).
  void Rebuild(std::size_t printerCount, int maxMemKb, int outPerSecKb);
  // The timer tick: each entry's free grows by its drain, up to its capacity.
  void Replenish();
  // Takes size bytes from the printer's free memory, never below 0, and
  // returns what is left; nothing for a printer outside the table.
  std::optional<std::int64_t> Reserve(std::size_t printer, std::int64_t size);
  // A copy of the printer's entry; nothing outside the table.
  std::optional<PrinterMemoryEntry> Entry(std::size_t printer) const;
  std::size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::vector<PrinterMemoryEntry> entries_;
};

}  // namespace orvella::printer
