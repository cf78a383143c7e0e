// Measures what a transfer adds to each unit of a job on top of its
// conversion: SendPrintFile of a small print file to orvella-printer-sim on
// loopback (memory reservation, SNMP query, status file fetch and judgement,
// upload), wall time per unit over 50 x REPEATS units:
//   orvella-bench-transfer run PAGES OUTDIR [REPEATS]   one line per figure:
//       send_print_file_4kb median_ms M p90_ms P
//       send_print_file_4kb_STEP median_ms M share_pct S
// PAGES is not used.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/setup/process_setup.h"
#include "common/bench_main.h"
#include "printer/snmp_status.h"
#include "printer/transfer.h"
#include "settings/program_folders.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kUnitsPerRepeat = 50;
constexpr int kWarmUpUnits = 5;
constexpr std::size_t kPrintFileBytes = 4096;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The simulated printer as a child process, its log in a file (a pipe nobody
// reads would fill up and stall it), stopped with SIGTERM when the object goes.
class SimulatedPrinter {
 public:
  explicit SimulatedPrinter(const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream(dir / "stat") << "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n";
    const fs::path log = dir.parent_path() / "sim.log";
    pid_ = fork();
    if (pid_ == 0) {
      if (!std::freopen(log.c_str(), "w", stdout)) _exit(127);
      execl(ORVELLA_PRINTER_SIM, ORVELLA_PRINTER_SIM, "--dir", dir.c_str(), "--address", "127.0.0.1",
            "--ftp-port", "0", "--snmp-port", "0", "--max-seconds", "600", static_cast<char*>(nullptr));
      _exit(127);
    }
    // The first line names the ports taken.
    for (int i = 0; i < 100 && pid_ > 0 && !Running(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      std::ifstream in(log);
      std::string line;
      int ftp = 0, snmp = 0;
      if (std::getline(in, line) && std::sscanf(line.c_str(), "listening ftp=%d snmp=%d", &ftp, &snmp) == 2) {
        ftpPort_ = ftp;
        snmpPort_ = snmp;
      }
    }
  }
  ~SimulatedPrinter() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  SimulatedPrinter(const SimulatedPrinter&) = delete;
  SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

  bool Running() const { return ftpPort_ > 0 && snmpPort_ > 0; }
  int FtpPort() const { return ftpPort_; }
  int SnmpPort() const { return snmpPort_; }

 private:
  pid_t pid_ = -1;
  int ftpPort_ = 0;
  int snmpPort_ = 0;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

int Run(const orvella::bench::RunArgs& args) {
  using namespace orvella;
  const fs::path root = fs::path(args.outDir) / "transfer";
  fs::remove_all(root);
  const fs::path home = root / "home";
  settings::CreateApplicationFolders(home);
  cli::SetUpProcess();
  int status = 0;
  {
    SimulatedPrinter sim(root / "printer");
    if (!sim.Running()) {
      std::fprintf(stderr, "orvella-bench-transfer: the simulated printer did not start (%s)\n",
                   (root / "sim.log").c_str());
      return 1;
    }
    const fs::path file = home / "TEMP/sendfile.prn";
    std::ofstream(file, std::ios::binary) << std::string(kPrintFileBytes, 'x');

    settings::PrinterSetting plotter;
    plotter.name = "plotter";
    plotter.ipAddr = {127, 0, 0, 1};
    printer::PrinterMemoryTable memory;
    memory.Rebuild(1, 1 << 20, 1 << 20);  // a gigabyte: never a wait
    printer::TransferContext context(memory);
    context.folders = {home, home / "TEMP", {}};
    context.hidden.printerFtpPort = sim.FtpPort();
    context.hidden.printerSnmpPort = sim.SnmpPort();
    context.hidden.sendTimeout = 60;

    Clock::time_point checking, uploading, snmpEnd;
    context.showStatus = [&](const std::string& text) {
      if (text.find("[接続確認中]") != std::string::npos) checking = Clock::now();
      if (text.find("[転送]") != std::string::npos) uploading = Clock::now();
    };
    context.querySnmp = [&](const std::string& address) {
      const auto result = printer::QueryPrinterStatus(address, context.timings.snmpTimeoutMs, sim.SnmpPort());
      snmpEnd = Clock::now();
      return result;
    };

    // Each unit's wall time, and its steps from the status texts the transfer
    // shows and the SNMP query it makes.
    std::vector<double> total, snmp, stat, upload;
    const int count = kWarmUpUnits + kUnitsPerRepeat * args.repeats;
    for (int i = 0; i < count; ++i) {
      base::Failure outcome;
      const auto start = Clock::now();
      if (!printer::SendPrintFile(file, plotter, "", outcome, context)) {
        std::fprintf(stderr, "orvella-bench-transfer: unit %d failed: %s (%s)\n", i + 1,
                     outcome.message.c_str(), outcome.detail.c_str());
        status = 1;
        break;
      }
      const auto end = Clock::now();
      if (i < kWarmUpUnits) continue;
      total.push_back(Ms(end - start));
      snmp.push_back(Ms(snmpEnd - checking));
      stat.push_back(Ms(uploading - snmpEnd));
      upload.push_back(Ms(end - uploading));
    }
    if (status == 0) {
      const double median = Percentile(total, 0.5);
      std::printf("send_print_file_4kb median_ms %.2f p90_ms %.2f\n", median, Percentile(total, 0.9));
      const struct {
        const char* name;
        const std::vector<double>& times;
      } steps[] = {{"snmp", snmp}, {"stat", stat}, {"upload", upload}};
      for (const auto& step : steps) {
        const double stepMedian = Percentile(step.times, 0.5);
        std::printf("send_print_file_4kb_%s median_ms %.2f share_pct %.0f\n", step.name, stepMedian,
                    100.0 * stepMedian / median);
      }
    }
  }
  fs::remove_all(root);
  return status;
}

}  // namespace

const orvella::bench::BenchProgram orvella::bench::kProgram{
    .name = "orvella-bench-transfer",
    .run = &Run,
};
