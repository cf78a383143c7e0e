#include "app/gui/instance_handover.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QThread>

namespace orvella::cli {

namespace {

constexpr QByteArrayView kShowRequest = "show\n";
constexpr QByteArrayView kShowAnswer = "ok\n";
constexpr int kWaitMs = 2000;
// The first instance holds the lock a moment before it listens.
constexpr int kConnectTries = 30;
constexpr int kConnectPauseMs = 100;

}  // namespace

QString HandOverName(const std::filesystem::path& program) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::weakly_canonical(program, error);
  if (error) folder = program;
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(folder.string()), QCryptographicHash::Sha256)
          .toHex();
  return QStringLiteral("orvella-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(16)));
}

bool AskFirstInstanceToShow(const QString& name) {
  for (int attempt = 0; attempt < kConnectTries; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(kWaitMs)) {
      socket.write(kShowRequest.data(), kShowRequest.size());
      if (!socket.waitForBytesWritten(kWaitMs)) return false;
      while (socket.bytesAvailable() < kShowAnswer.size() && socket.waitForReadyRead(kWaitMs)) {
      }
      return socket.readAll() == kShowAnswer;
    }
    QThread::msleep(kConnectPauseMs);
  }
  return false;
}

bool HandOverServer::Listen(const QString& name) {
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) return false;
  connect(&server_, &QLocalServer::newConnection, this, &HandOverServer::Answer);
  return true;
}

void HandOverServer::Answer() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto serve = [this, socket] {
      if (!socket->canReadLine()) return;
      if (socket->readLine() == kShowRequest) {
        emit ShowRequested();
        socket->write(kShowAnswer.data(), kShowAnswer.size());
      }
      socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, serve);
    serve();  // the request may have come with the connection
  }
}

}  // namespace orvella::cli
