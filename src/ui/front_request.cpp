#include "ui/front_request.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QWidget>
#include <unistd.h>

namespace kelmar::ui {
namespace {

// Silent unless switched on with QT_LOGGING_RULES="kelmar.front.debug=true".
Q_LOGGING_CATEGORY(lcFront, "kelmar.front", QtInfoMsg)

constexpr QByteArrayView kRequest = "front\n";
constexpr int kWaitMs = 300;

// One name per user and locked file, short enough for a socket name wherever the file lives. The
// abstract namespace leaves nothing behind when the window is killed, so a stale channel never
// stands in the way of the next owner.
QString ChannelName(const QString& lock_path) {
  const QByteArray key = QByteArray::number(getuid()) + '/' + lock_path.toUtf8();
  return QStringLiteral("kelmar-") +
         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

void BringToFront(QWidget* window) {
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
  qCDebug(lcFront) << "brought to the front";
}

}  // namespace

void ListenForFrontRequests(const QString& lock_path, QWidget* window) {
  auto* server = new QLocalServer(window);
  server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
  if (!server->listen(ChannelName(lock_path))) {
    delete server;
    return;
  }
  qCDebug(lcFront) << "listening";
  QObject::connect(server, &QLocalServer::newConnection, window, [server, window] {
    while (QLocalSocket* caller = server->nextPendingConnection()) {
      QObject::connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
      QObject::connect(caller, &QLocalSocket::readyRead, window, [caller, window] {
        while (caller->canReadLine())
          if (caller->readLine() == kRequest) BringToFront(window);
      });
    }
  });
}

void AskOwnerToComeToFront(const QString& lock_path) {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(ChannelName(lock_path));
  if (!socket.waitForConnected(kWaitMs)) return;
  socket.write(kRequest.data(), kRequest.size());
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
}

}  // namespace kelmar::ui
