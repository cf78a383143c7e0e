#include "logging/net_send.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

#include "base/text_codec.h"
#include "logging/job_log.h"
#include "settings/preferences.h"
#include "settings/program_folders.h"
#include "support/background_process.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::logging {
namespace {

using namespace std::chrono_literals;

// "orvella-netsend --listen" on one loopback address; the port it reports.
struct Listener {
  Listener(const test::TempDir& dir, const std::string& address, int port, const std::string& extra = {})
      : process(test::BinaryPath("orvella-netsend"),
                extra.empty()
                    ? std::vector<std::string>{"--listen", "--address", address, "--port",
                                               std::to_string(port), "--seconds", "30"}
                    : std::vector<std::string>{"--listen", "--address", address, "--port",
                                               std::to_string(port), "--seconds", "30", "--from", extra},
                dir / ("listen-" + address + ".out")) {
    const std::string line = process.WaitForLine("listening on ", 10s);
    EXPECT_FALSE(line.empty()) << process.Output();
    this->port = std::stoi(line.substr(line.rfind(':') + 1));
  }
  // Waits for n notices to have arrived.
  std::string Notices(int n) {
    std::string out;
    for (int i = 0; i < 200; ++i) {
      out = process.Output();
      size_t count = 0;
      for (size_t at = out.find("notice from "); at != std::string::npos;
           at = out.find("notice from ", at + 1))
        ++count;
      if (count >= static_cast<size_t>(n)) break;
      std::this_thread::sleep_for(25ms);
    }
    return out;
  }
  test::BackgroundProcess process;
  int port = 0;
};

class NetSendTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::CreateApplicationFolders(home.Path()); }
  NetSendCommand Command(int port) const {
    return {test::BinaryPath("orvella-netsend"), static_cast<std::uint16_t>(port)};
  }
  std::string Log() const {
    const auto path = DailyLogPath(home.Path(), std::time(nullptr));
    return std::filesystem::exists(path) ? base::Cp932ToUtf8(test::ReadFileBytes(path)) : "";
  }
  test::TempDir home;
};

TEST_F(NetSendTest, NoticesGoToAddressesOneAndThreeInOrder) {
  Listener first(home, "127.0.0.1", 0);
  Listener third(home, "127.0.0.3", first.port);
  settings::SetNetSendAddresses(home.Path(), {{{127, 0, 0, 1}, {}, {127, 0, 0, 3}}});
  NotifyError(home.Path(), "用紙がありません", Command(first.port));

  const std::string text = "Orvella で次のエラーが発生しました。\r\n\r\n  ** 用紙がありません **";
  EXPECT_NE(first.Notices(1).find(text + "\n.\n"), std::string::npos) << first.process.Output();
  EXPECT_NE(third.Notices(1).find(text + "\n.\n"), std::string::npos) << third.process.Output();
  const std::string log = Log();
  const size_t one = log.find(",-,-,-,-,-,-,-,エラーメッセージを送信しました(IPアドレス: 127.0.0.1)\r\n");
  const size_t three = log.find(",-,-,-,-,-,-,-,エラーメッセージを送信しました(IPアドレス: 127.0.0.3)\r\n");
  ASSERT_NE(one, std::string::npos) << log;
  ASSERT_NE(three, std::string::npos) << log;
  EXPECT_LT(one, three);
}

TEST_F(NetSendTest, NoAddressConfiguredSendsAndLogsNothing) {
  NotifyError(home.Path(), "x", Command(9));
  EXPECT_EQ(Log(), "");
}

TEST_F(NetSendTest, AMessageWithShellCharactersArrivesVerbatim) {
  Listener listener(home, "127.0.0.1", 0, "127.0.0.1");
  const std::string message = "--x \"quoted\" 'single' $(touch pwned) `id` ; rm -rf / & | > *\n2nd line";
  ASSERT_TRUE(RunNetSend(Command(listener.port), "127.0.0.1", message));
  const std::string out = listener.Notices(1);
  EXPECT_NE(out.find("notice from 127.0.0.1 at "), std::string::npos) << out;
  EXPECT_NE(out.find("\n" + message + "\n.\n"), std::string::npos) << out;
  EXPECT_FALSE(std::filesystem::exists("pwned"));
}

// Sets an environment variable for one scope (the listener started in it
// inherits it).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A listener started as in a desktop session, where notices pop up through
// notify-send: a stand-in notify-send records the arguments it was given.
struct DesktopListener {
  explicit DesktopListener(const test::TempDir& home) : recorded(home / "notify-args") {
    const auto bin = home / "bin";
    std::filesystem::create_directory(bin);
    test::WriteFileBytes(bin / "notify-send", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + recorded.string() +
                                                  ".part' && mv '" + recorded.string() + ".part' '" +
                                                  recorded.string() + "'\n");
    std::filesystem::permissions(bin / "notify-send", std::filesystem::perms::owner_all);
    const ScopedEnv path("PATH", bin.string() + ":" + std::getenv("PATH"));
    const ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    listener = std::make_unique<Listener>(home, "127.0.0.1", 0);
  }
  // Sends message from 127.0.0.1; the arguments notify-send was given.
  std::string Show(const NetSendCommand& command, const std::string& message) {
    std::filesystem::remove(recorded);
    EXPECT_TRUE(RunNetSend(command, "127.0.0.1", message));
    for (int i = 0; i < 100 && !std::filesystem::exists(recorded); ++i) std::this_thread::sleep_for(50ms);
    return test::ReadFileBytes(recorded);
  }
  std::filesystem::path recorded;
  std::unique_ptr<Listener> listener;
};

// The notice pops up with the text as one argument, titled with the sender.
TEST_F(NetSendTest, ADesktopSessionGetsTheNoticeAsOneArgument) {
  DesktopListener desktop(home);
  const std::string message = "図面 \"A1\" $(touch pwned); `id`";
  EXPECT_EQ(desktop.Show(Command(desktop.listener->port), message),
            std::string("--\0Orvella (127.0.0.1)\0", 23) + message + '\0');
  EXPECT_FALSE(std::filesystem::exists("pwned"));
}

// Notification daemons render the body as markup: what a sender writes is
// shown as text, never as a link or formatting.
TEST_F(NetSendTest, MarkupInANoticeIsShownAsText) {
  DesktopListener desktop(home);
  EXPECT_EQ(
      desktop.Show(Command(desktop.listener->port),
                   "<a href=\"http://example.invalid/\">更新</a> & <b>至急</b> &amp;"),
      std::string("--\0Orvella (127.0.0.1)\0", 23) +
          "&lt;a href=\"http://example.invalid/\"&gt;更新&lt;/a&gt; &amp; &lt;b&gt;至急&lt;/b&gt; &amp;amp;" +
          '\0');
  // The printed notice is the text as it came.
  EXPECT_NE(
      desktop.listener->process.Output().find("\n<a href=\"http://example.invalid/\">更新</a> & <b>至急</b> "
                                              "&amp;\n.\n"),
      std::string::npos)
      << desktop.listener->process.Output();
}

TEST_F(NetSendTest, AnEmptyAddressDoesNothingAndAMissingSenderIsReported) {
  EXPECT_TRUE(RunNetSend(Command(9), "", "x"));
  EXPECT_FALSE(RunNetSend({home / "no-such-tool", 9}, "127.0.0.1", "x"));
}

TEST(NetSendListener, AcceptsOnlyTheNamedSenders) {
  test::TempDir dir;
  Listener listener(dir, "127.0.0.1", 0, "127.0.0.9");
  // The sender's source address is 127.0.0.1, which is not accepted.
  EXPECT_EQ(test::RunProcess(test::BinaryPath("orvella-netsend"),
                             {"--port", std::to_string(listener.port), "127.0.0.1", "dropped"})
                .exitCode,
            0);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(listener.process.Output().find("dropped"), std::string::npos);
}

}  // namespace
}  // namespace orvella::logging
