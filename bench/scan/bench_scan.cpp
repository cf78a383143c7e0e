// Measures one scan for the oldest complete file, wall time, the best of
// REPEATS scans (the folders are made once, in OUTDIR):
//   orvella-bench-scan run PAGES OUTDIR [REPEATS]   one line per figure:
//       NAME scan_ms T
// PAGES is not used.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/bench_main.h"
#include "jobs/folder_scanner.h"

namespace {

namespace fs = std::filesystem;

// count small files with distinct last-write times in each of folders new folders.
std::vector<std::string> MakeFolders(const fs::path& root, int folders, int count) {
  std::vector<std::string> paths;
  for (int f = 0; f < folders; ++f) {
    const fs::path folder = root / ("in" + std::to_string(f));
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      const fs::path file = folder / ("page" + std::to_string(i) + ".tif");
      const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      if (fd < 0) continue;
      (void)!::write(fd, "II*\0", 4);
      const time_t when = 1000000 + (f * count + i) % 7919;
      const timespec times[2] = {{when, 0}, {when, 0}};
      ::futimens(fd, times);
      ::close(fd);
    }
    paths.push_back(folder.string());
  }
  return paths;
}

double BestScanMs(const std::vector<std::string>& folders, int repeats) {
  double best = 1e300;
  for (int r = 0; r < std::max(1, repeats); ++r) {
    orvella::jobs::FolderScanner scanner;
    const auto start = std::chrono::steady_clock::now();
    const orvella::jobs::ScanResult result = scanner.Scan(folders);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!result.found) return -1;
    best = std::min(best, ms);
  }
  return best;
}

int Run(const orvella::bench::RunArgs& args) {
  const fs::path root = fs::path(args.outDir) / "scan";
  fs::remove_all(root);
  const double one = BestScanMs(MakeFolders(root / "one", 1, 10000), args.repeats);
  const double fifty = BestScanMs(MakeFolders(root / "fifty", 50, 200), args.repeats);
  fs::remove_all(root);
  if (one < 0 || fifty < 0) {
    std::fprintf(stderr, "orvella-bench-scan: a scan found no file\n");
    return 1;
  }
  std::printf("scan_one_folder_10000_files scan_ms %.1f\n", one);
  std::printf("scan_fifty_folders_200_files scan_ms %.1f\n", fifty);
  return 0;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{
    .name = "orvella-bench-scan",
    .run = &Run,
};
