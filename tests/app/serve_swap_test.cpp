// A local user with write access to a hot folder races a symbolic link into
// the place of a file the scan has just looked at, to make the service read,
// copy or print a file of its own (its settings, say). The job reads only the
// file the scan found, so nothing from outside the hot folder ever reaches
// the error folder or the printer.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "app/serve_home.h"
#include "support/background_process.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using namespace std::chrono_literals;

constexpr char kSecret[] = "SECRET-0f3a PASSWORD=not-for-the-printer";

bool AnyFileHolds(const std::filesystem::path& folder, const std::string& text) {
  if (!std::filesystem::exists(folder)) return false;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    if (test::ReadFileBytes(entry.path()).find(text) != std::string::npos) return true;
  }
  return false;
}

// Waits (bounded) for an event of mask on name in the watched folder.
bool WaitForEvent(int inotify, const std::string& name, uint32_t mask, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  alignas(inotify_event) char buffer[4096];
  while (std::chrono::steady_clock::now() < end) {
    pollfd fd{inotify, POLLIN, 0};
    if (::poll(&fd, 1, 50) <= 0) continue;
    const ssize_t got = ::read(inotify, buffer, sizeof buffer);
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if ((event->mask & mask) != 0 && event->len > 0 && name == event->name) return true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return false;
}

TEST(ServeSwapTest, ALinkSwappedInAfterTheScanNeverLeaksAFileFromOutside) {
  test::TempDir dir;
  const std::filesystem::path home = dir / "home";
  const std::filesystem::path hot = dir / "hot";
  test::SimulatedPrinter sim;
  test::PrepareServeHome(home, hot, sim);
  {
    std::ofstream hidden(home / "INI/HIDDEN.INI", std::ios::app | std::ios::binary);
    hidden << "FILE_QUIET_SECONDS=\"0\"\r\n";  // every scan takes a closed file at once
  }
  const std::filesystem::path secret = home / "INI" / "secret.txt";
  test::WriteFileBytes(secret, kSecret);
  test::BackgroundProcess serve(test::BinaryPath("orvella"), {"serve", "--home", home.string()},
                                dir / "serve.out");

  const int inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  ASSERT_GE(inotify, 0);
  ASSERT_GE(::inotify_add_watch(inotify, hot.c_str(), IN_CLOSE_NOWRITE | IN_DELETE), 0);
  int swapped = 0;
  constexpr int kRounds = 15;
  for (int round = 0; round < kRounds; ++round) {
    const std::string name = "decoy" + std::to_string(round) + ".txt";
    const std::filesystem::path link = dir / ("link" + std::to_string(round));
    std::filesystem::create_symlink(secret, link);
    test::WriteFileBytes(hot / name, "an unsupported file, round " + std::to_string(round));
    // The scan's look closes the file: swap at once, before the job opens it.
    if (WaitForEvent(inotify, name, IN_CLOSE_NOWRITE, 5s)) {
      std::filesystem::rename(link, hot / name);
      ++swapped;
    }
    // Settled either way: the decoy went (to the error folder) or the link
    // stays, passed over; then the next round.
    test::WaitUntil(
        [&] { return std::filesystem::is_symlink(hot / name) || !std::filesystem::exists(hot / name); }, 5s);
    std::this_thread::sleep_for(1500ms);
    std::error_code ignored;
    std::filesystem::remove(hot / name, ignored);
    std::filesystem::remove(link, ignored);
  }
  ::close(inotify);
  const std::string out = serve.Output();
  serve.Stop();

  EXPECT_EQ(swapped, kRounds);
  EXPECT_FALSE(AnyFileHolds(home / "ERROR", "SECRET-0f3a")) << "the error folder holds a copy of the secret";
  EXPECT_FALSE(AnyFileHolds(sim.Dir() / "spool", "SECRET-0f3a")) << "the printer got the secret";
  EXPECT_TRUE(std::filesystem::exists(secret));
  EXPECT_NE(out.find("passed-over"), std::string::npos) << out;
}

}  // namespace
}  // namespace orvella
