#include "logging/net_send.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <initializer_list>
#include <vector>

#include "base/ipv4_address.h"
#include "base/unique_fd.h"
#include "logging/job_log.h"
#include "settings/preferences.h"

namespace orvella::logging {
namespace {

constexpr const char* kProductName = "Orvella";

// printf-like filling of our own templates' %s fields, in order.
std::string Fill(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string text;
  auto next = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      if (next != values.end()) text += *next++;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace

NetSendCommand NetSendBeside(const std::filesystem::path& executableFolder) {
  return {executableFolder / "orvella-netsend", kNetSendPort};
}

bool IsMessengerRunning() { return true; }

bool RunNetSend(const NetSendCommand& command, const std::string& address, const std::string& message) {
  if (address.empty()) return true;
  // Everything the children need is built before fork: after it only
  // async-signal-safe calls are allowed.
  const std::string tool = command.tool.string();
  const std::string port = std::to_string(command.port);
  // "--": a message that starts with dashes is still the message.
  std::vector<std::string> words{tool, "--port", port, "--", address, message};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  base::UniqueFd readEnd(pipeFds[0]);
  base::UniqueFd writeEnd(pipeFds[1]);

  // Two forks: the middle child exits at once, so the sender is nobody's
  // child to wait for and never lingers as a zombie.
  const pid_t middle = ::fork();
  if (middle < 0) return false;
  if (middle == 0) {
    ::setsid();
    const pid_t sender = ::fork();
    if (sender == 0) {
      // The service blocks its exit signals for its own loop; the sender
      // must not inherit that and outlive a SIGTERM.
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::execv(argv[0], argv.data());
      const int error = errno;
      (void)!::write(writeEnd.Get(), &error, sizeof error);
      ::_exit(127);
    }
    ::_exit(sender < 0 ? 1 : 0);
  }
  writeEnd.Reset();
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  // The pipe closes on a successful exec; an errno arrives when it failed.
  int error = 0;
  ssize_t n;
  while ((n = ::read(readEnd.Get(), &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return n == 0;
}

void NotifyError(const std::filesystem::path& program, const std::string& errorText,
                 const NetSendCommand& command) {
  settings::NetSendAddresses addresses{};
  try {
    addresses = settings::GetNetSendAddresses(program);
  } catch (const std::exception&) {
    return;  // unreadable preferences: nobody to tell, and the job goes on
  }
  for (const base::Ipv4Address& address : addresses) {
    if (base::IsZeroAddress(address)) continue;
    if (!IsMessengerRunning()) {
      WriteJobLogMessage(program, kMessengerNotRunning);
      return;
    }
    const std::string dotted = base::FormatIpv4Address(address);
    RunNetSend(command, dotted, Fill(kNoticeTemplate, {kProductName, errorText}));
    // Logged also when the sender could not be started.
    WriteJobLogMessage(program, Fill(kNoticeSent, {dotted}));
  }
}

}  // namespace orvella::logging
