#include "app/gui/gui_icons.h"

#include <array>

// The images live in a static library, whose resource registration the
// linker would drop unless something calls it.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace orvella::cli {

namespace {

QIcon Resource(const char* path) {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  return QIcon(QString::fromLatin1(path));
}

}  // namespace

QIcon ProgramIcon() { return Resource(":/icons/orvella.png"); }

QIcon RunStateIcon(jobs::RunState state) {
  static constexpr std::array<const char*, jobs::kRunStateCount> kFiles{
      ":/icons/state_stopped.png", ":/icons/state_running.png", ":/icons/state_stop_pending.png",
      ":/icons/state_forced_stop_pending.png"};
  const int index = static_cast<int>(state);
  return index >= 0 && index < jobs::kRunStateCount ? Resource(kFiles[index]) : QIcon();
}

QIcon StatusMarkIcon(jobs::StatusMark mark) {
  switch (mark) {
    case jobs::StatusMark::kDone:
      return Resource(":/icons/mark_done.png");
    case jobs::StatusMark::kInProgress:
      return Resource(":/icons/mark_in_progress.png");
    case jobs::StatusMark::kFailed:
      return Resource(":/icons/mark_failed.png");
  }
  return QIcon();
}

}  // namespace orvella::cli
