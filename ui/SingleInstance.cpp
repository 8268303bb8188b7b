#include "ui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

namespace tamzel::ui {

QString InstanceName(const QString& programFolder) {
    QByteArray hash = QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1);
    return "tamzel-" + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), name_(name) {}

bool SingleInstance::OtherInstanceRaised() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(300)) return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(300);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(std::function<void()> onRaise) {
    onRaise_ = std::move(onRaise);
    // A socket left behind by a crashed instance would block the name.
    QLocalServer::removeServer(name_);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (onRaise_) onRaise_();
        }
    });
    return server_.listen(name_);
}

}  // namespace tamzel::ui
