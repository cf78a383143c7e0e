#include "app/setup/process_setup.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on
#include <curl/curl.h>
#include <tiffio.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <system_error>

namespace orvella::cli {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The user's network mount folder, or empty without a runtime folder.
std::filesystem::path NetworkShortcutsFolder() {
  const std::string runtime = Variable("XDG_RUNTIME_DIR");
  return runtime.empty() ? std::filesystem::path() : std::filesystem::path(runtime) / "gvfs";
}

void StartSnmp() {
  // Without a handler of its own the library logs to stderr.
  netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
  setenv("MIBS", "", 1);
  setenv("MIBDIRS", "", 1);
  // Start-up makes folders (cert_indexes) in the persistent folder whatever
  // the switches say: give it a scratch folder and remove that afterwards.
  // The program folder is not known yet, so the scratch lies in the system's.
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  std::string scratch = (temp / "orvella-snmp-XXXXXX").string();
  const bool haveScratch = ::mkdtemp(scratch.data()) != nullptr;
  set_persistent_directory(haveScratch ? scratch.c_str() : temp.c_str());
  init_snmp("orvella");
  if (haveScratch) std::filesystem::remove_all(scratch, ec);
}

}  // namespace

settings::ProcessFolders SetUpProcess() {
  // Before any thread: curl's global start-up is not thread-safe.
  curl_global_init(CURL_GLOBAL_DEFAULT);
  StartSnmp();
  // The few messages libtiff raises without a handle go to the process-wide
  // handlers, which print by default; each file has handlers of its own.
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  // A lease break is delivered as SIGIO, whose default action ends the process.
  std::signal(SIGIO, SIG_IGN);
  return CurrentProcessFolders();
}

settings::ProcessFolders CurrentProcessFolders() {
  settings::ProcessFolders folders;
  folders.executable = ExecutableFolder();
  folders.data = DataFolder(folders.executable);
  folders.networkShortcuts = NetworkShortcutsFolder();
  return folders;
}

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}

std::filesystem::path DataFolder(const std::filesystem::path& executable) {
  if (executable.empty()) return {};
  auto installed = settings::InstalledDataFolder(executable);
  std::error_code ec;
  return std::filesystem::is_directory(installed, ec) ? installed : executable;
}

settings::ProgramFolderInputs CurrentProgramFolderInputs(const std::filesystem::path& homeOption) {
  settings::ProgramFolderInputs in;
  in.homeOption = homeOption;
  in.homeVariable = Variable("ORVELLA_HOME");
  in.executable = ExecutableFolder();
  std::error_code ec;
  in.executableFolderUsable =
      !in.executable.empty() && ::access(in.executable.c_str(), W_OK) == 0 &&
      !std::filesystem::is_directory(settings::InstalledDataFolder(in.executable), ec);
  in.xdgDataHome = Variable("XDG_DATA_HOME");
  in.userHome = Variable("HOME");
  return in;
}

settings::ProgramFolderChoice ResolveProgramFolderChoice(const std::filesystem::path& homeOption,
                                                         bool makeMissing) {
  return settings::ResolveProgramFolderChoice(CurrentProgramFolderInputs(homeOption), makeMissing);
}

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& homeOption, bool makeMissing) {
  return ResolveProgramFolderChoice(homeOption, makeMissing).folder;
}

}  // namespace orvella::cli
