#pragma once
// The menu commands of the windows and the notification icon. One id means
// one action in every menu it appears in.

namespace orvella::cli {

enum class CommandId : int {
  kPreference = 32803,
  kNewFolder = 3,
  kEditFolder = 32802,
  kDeleteFolder = 5,
  kPrinters = 32804,
  kStamps = 32805,
  kFolds = 32825,
  kClose = 32807,
  kHelp = 32824,
  kVersion = 32809,
  kExit = 32776,
  kStart = 32780,
  kStop = 32779,
  kShowFolderWindow = 32815,
  kShowJobWindow = 32816,
};

}  // namespace orvella::cli
