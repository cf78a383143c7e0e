#include "printer/printer_memory.h"

#include <algorithm>

namespace orvella::printer {

void PrinterMemoryTable::Rebuild(std::size_t printerCount, int maxMemKb, int outPerSecKb) {
  const std::int64_t capacity = std::int64_t{std::max(maxMemKb, 0)} * 1024;
  const std::int64_t drain = std::int64_t{std::max(outPerSecKb, 0)} * 1024;
  std::lock_guard lock(mutex_);
  entries_.assign(printerCount, PrinterMemoryEntry{capacity, capacity, drain});
}

void PrinterMemoryTable::Replenish() {
  std::lock_guard lock(mutex_);
  for (auto& entry : entries_) entry.free = std::min(entry.free + entry.drainPerTick, entry.capacity);
}

std::optional<std::int64_t> PrinterMemoryTable::Reserve(std::size_t printer, std::int64_t size) {
  std::lock_guard lock(mutex_);
  if (printer >= entries_.size()) return std::nullopt;
  auto& entry = entries_[printer];
  entry.free = std::max<std::int64_t>(entry.free - size, 0);
  return entry.free;
}

std::optional<PrinterMemoryEntry> PrinterMemoryTable::Entry(std::size_t printer) const {
  std::lock_guard lock(mutex_);
  if (printer >= entries_.size()) return std::nullopt;
  return entries_[printer];
}

std::size_t PrinterMemoryTable::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace orvella::printer
