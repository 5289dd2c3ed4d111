#include "shell/singleinstance.h"

#include "platform/paths.h"
#include "platform/prompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRandomGenerator>

#include <unistd.h>

namespace rr
{
namespace
{

constexpr int kConnectTimeoutMs = 1500;
constexpr int kLockTimeoutMs = 5000;

bool sendHandOff(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    const quint32 n = QRandomGenerator::global()->bounded(1u, 1000001u);
    socket.write(QByteArray::number(n) + '\n');
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    // Wait for the receiver's acknowledgement so the hand-off has been taken in
    // before this copy ends.
    if (sent)
        socket.waitForReadyRead(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    const QByteArray home =
        QCryptographicHash::hash(QDir(paths::configFolder()).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    return prompt::appTitle().remove(QLatin1Char(' ')) + QLatin1Char('-') + QString::number(getuid()) +
           QLatin1Char('-') + QString::fromLatin1(home);
}

SingleInstance::Role SingleInstance::start()
{
    const QString name = serverName();
    paths::makeFolder(paths::configFolder());
    QLockFile lock(paths::configFolder() + QLatin1String("/instance.lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(kLockTimeoutMs))
        return sendHandOff(name) ? Role::HandedOver : Role::Failed;

    if (sendHandOff(name))
        return Role::HandedOver;

    // Nobody answered: whatever socket file is there was left by a copy that ended.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        delete m_server;
        m_server = nullptr;
        return Role::Failed;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return Role::First;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString text = QString::fromLatin1(socket->readLine()).trimmed();
                socket->write("ok\n");
                emit handOffReceived(text);
            }
        });
    }
}

} // namespace rr
