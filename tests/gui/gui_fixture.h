#pragma once
// A shell on a fresh program folder, with message boxes the test answers.
#include <QCoreApplication>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/message_boxes.h"
#include "app/gui/shell.h"
#include "settings/settings_home.h"
#include "support/temp_dir.h"

namespace orvella::cli::test {

// Records every message; questions take the answers queued, then no.
class ScriptedMessages : public MessageBoxes {
 public:
  void Warning(const std::string& text) override { warnings.push_back(text); }
  bool Question(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Information(const std::string& text) override { notes.push_back(text); }
  void About(const std::string&, const std::string& text) override { notes.push_back(text); }

  std::deque<bool> answers;
  std::vector<std::string> questions;
  std::vector<std::string> warnings;
  std::vector<std::string> notes;
};

// Serves Qt events until done() or the time is up; false on time-out.
bool ServeEventsUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10));

// Occurrences of text in the program folder's job logs.
int CountInJobLogs(const std::filesystem::path& program, const std::string& text);

class ShellFixture {
 public:
  ShellFixture();
  // The INPUT.INI of one input folder (an empty hot folder), so that
  // operation starts.
  void WriteStartableSettings();
  // stopWait: the stop-pending tick's wait (none unless a test looks at it).
  std::unique_ptr<Shell> MakeShell(bool trayHost = true,
                                   std::chrono::milliseconds stopWait = std::chrono::milliseconds(0));

  orvella::test::SettingsHome home;
  orvella::test::TempDir hot;
  ScriptedMessages messages;
};

}  // namespace orvella::cli::test
