#pragma once
// The hand-over between two starts of the program on one program folder: the
// first listens on a local socket named from the folder and the user, a
// second start asks it there to come forward.
#include <QLocalServer>
#include <QObject>
#include <filesystem>

namespace orvella::cli {

QString HandOverName(const std::filesystem::path& program);

// Asks the first instance to come forward; false when none answered in time.
bool AskFirstInstanceToShow(const QString& name);

class HandOverServer : public QObject {
  Q_OBJECT

 public:
  // False when the socket cannot be set up. Call only while holding the
  // instance lock: a left-over socket of a dead instance is removed first.
  bool Listen(const QString& name);

 signals:
  void ShowRequested();

 private:
  void Answer();

  QLocalServer server_;
};

}  // namespace orvella::cli
