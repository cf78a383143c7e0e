#include "jobs/start_operation.h"

#include <gtest/gtest.h>

#include <functional>

#include "settings/settings_home.h"
#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

struct RecordedMessages : base::OperatorMessages {
  std::vector<std::string> warnings;
  void Warning(const std::string& text) override { warnings.push_back(text); }
  bool Question(const std::string&) override { return false; }
};

settings::StampSetting Stamp(const std::string& name) {
  settings::StampSetting stamp = settings::NewStamp();
  stamp.name = name;
  return stamp;
}

settings::PrinterSetting Printer(const std::string& name) {
  settings::PrinterSetting printer;
  printer.name = name;
  return printer;
}

settings::InputFolderSetting Folder(const std::string& dir) {
  settings::InputFolderSetting folder;
  folder.inputDir = dir;
  folder.widePrinterName = "plotter";
  folder.a2PrinterName = "office";
  folder.wideFoldName = "長尺折り";
  folder.stamps[0].name = "受付印";
  folder.stamps[2].name = "検図";
  return folder;
}

// Two folders that name every kind of setting, all present.
OperationSettings Runnable() {
  OperationSettings loaded;
  loaded.stamps = {Stamp("受付印"), Stamp("検図")};
  loaded.printers = {Printer("plotter"), Printer("office")};
  settings::FoldSetting fold;
  fold.name = "長尺折り";
  loaded.folds = {fold};
  loaded.inputs = {Folder("/hot/a"), Folder("/hot/b")};
  return loaded;
}

std::string Missing(const std::string& folder, const std::string& kind, const std::string& name) {
  return "入力設定 " + folder + " にある" + kind + " " + name + " が見つからないため実行できません。";
}

TEST(FindStartProblem, ReportsTheFirstMissingSettingExactly) {
  struct Case {
    const char* what;
    std::function<void(OperationSettings&)> change;
    std::string message;  // empty: the settings run
  };
  const Case cases[] = {
      {"all present", [](OperationSettings&) {}, ""},
      {"no input folders", [](OperationSettings& s) { s.inputs.clear(); }, "入力設定がありません。"},
      {"third stamp deleted", [](OperationSettings& s) { s.stamps.pop_back(); },
       Missing("/hot/a", "スタンプ", "検図")},
      {"fold deleted", [](OperationSettings& s) { s.folds.clear(); },
       Missing("/hot/a", "紙折設定", "長尺折り")},
      {"names are case-sensitive", [](OperationSettings& s) { s.printers[0].name = "Plotter"; },
       Missing("/hot/a", "プリンタ", "plotter")},
      {"A2 printer missing", [](OperationSettings& s) { s.inputs[0].a2PrinterName = "事務所"; },
       Missing("/hot/a", "プリンタ", "事務所")},
      {"empty names are not checked",
       [](OperationSettings& s) {
         s.inputs[0].a2PrinterName.clear();
         s.inputs[1] = settings::InputFolderSetting{};
         s.printers.pop_back();
       },
       ""},
      {"stamps before printers before the fold",
       [](OperationSettings& s) {
         s.inputs[1].wideFoldName = "gone";
         s.inputs[1].widePrinterName = "gone";
         s.inputs[1].stamps[1].name = "gone";
       },
       Missing("/hot/b", "スタンプ", "gone")},
      {"wide printer before A2 printer",
       [](OperationSettings& s) {
         s.inputs[0].widePrinterName = "wide-gone";
         s.inputs[0].a2PrinterName = "a2-gone";
       },
       Missing("/hot/a", "プリンタ", "wide-gone")},
      {"only the first faulty folder",
       [](OperationSettings& s) {
         s.inputs[0].wideFoldName = "first";
         s.inputs[1].stamps[0].name = "second";
       },
       Missing("/hot/a", "紙折設定", "first")},
  };
  for (const Case& c : cases) {
    OperationSettings loaded = Runnable();
    c.change(loaded);
    const auto problem = FindStartProblem(loaded);
    EXPECT_EQ(problem ? problem->message : "", c.message) << c.what;
    if (problem) {
      EXPECT_FALSE(problem->detail.empty()) << c.what;
    }
  }
}

// A folder the scan cannot read is no reason to refuse the start, but it is
// named with what is wrong with it.
TEST(InputFolderNotice, NamesAFolderTheScanCannotRead) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "plain-file", "");
  struct Case {
    std::string path;
    const char* cause;  // empty when the folder is readable
  };
  const Case cases[] = {{dir.Path().string(), ""},
                        {(dir / "gone").string(), "does not exist"},
                        {(dir / "plain-file").string(), "is not a folder"},
                        {"", "is empty"}};
  for (const Case& c : cases) {
    const auto notice = InputFolderNotice(3, Folder(c.path));
    ASSERT_EQ(notice.has_value(), *c.cause != '\0') << c.path;
    if (!notice) continue;
    EXPECT_EQ(notice->message, "入力フォルダ " + c.path + " が見つからないか、読み込めません。");
    EXPECT_NE(notice->detail.find("input folder 3 (" + c.path + ") " + c.cause), std::string::npos)
        << notice->detail;
  }
  EXPECT_FALSE(FindStartProblem(Runnable()).has_value());  // its folders do not exist
}

TEST(StartOperation, WarnsAndKeepsTheMemoryTableWhenRefused) {
  test::SettingsHome home;
  printer::PrinterMemoryTable memory;
  memory.Rebuild(1, 10, 1);
  memory.Reserve(0, 4096);
  RecordedMessages messages;
  EXPECT_EQ(StartOperation(home.Path(), messages, memory), nullptr);
  EXPECT_EQ(messages.warnings, std::vector<std::string>{kNoInputFolders});
  EXPECT_EQ(memory.Entry(0)->free, 10 * 1024 - 4096);

  // A settings file that cannot be read refuses the start with its own message.
  std::filesystem::create_directory(home.Ini("INPUT.INI"));
  messages.warnings.clear();
  EXPECT_EQ(StartOperation(home.Path(), messages, memory), nullptr);
  ASSERT_EQ(messages.warnings.size(), 1u);
  EXPECT_NE(messages.warnings[0], kNoInputFolders);
}

TEST(StartOperation, LoadsWhatTheWorkerReadsAndFillsTheMemoryOfEveryPrinter) {
  test::SettingsHome home;
  const OperationSettings saved = Runnable();
  settings::SaveStamps(home.Path(), saved.stamps);
  ASSERT_TRUE(settings::SavePrinterSettings(home.Path(), saved.printers));
  ASSERT_TRUE(settings::SaveFolds(home.Path(), saved.folds));
  settings::SaveInputSettings(home.Path(), saved.inputs);
  home.WriteIni("HIDDEN.INI", "[SETTING]\nMAX_MEM=\"300\"\nOUT_PER_SEC=\"7\"\n");

  printer::PrinterMemoryTable memory;
  memory.Rebuild(1, 10, 1);
  memory.Reserve(0, 4096);
  RecordedMessages messages;
  const auto loaded = StartOperation(home.Path(), messages, memory);
  ASSERT_NE(loaded, nullptr) << (messages.warnings.empty() ? "" : messages.warnings[0]);
  EXPECT_TRUE(messages.warnings.empty());
  EXPECT_EQ(loaded->inputs.size(), 2u);
  EXPECT_EQ(loaded->hidden.maxMem, 300);
  ASSERT_EQ(memory.Size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(memory.Entry(i)->free, 300 * 1024);
    EXPECT_EQ(memory.Entry(i)->capacity, 300 * 1024);
    EXPECT_EQ(memory.Entry(i)->drainPerTick, 7 * 1024);
  }
}

}  // namespace
}  // namespace orvella::jobs
