#include "shell/singleinstance.h"

#include "platform/filelock.h"
#include "platform/paths.h"
#include "platform/prompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace rr
{
namespace
{

constexpr int kLockTimeoutMs = 5000;
// How long a second copy waits for the running copy's answer. An idle copy answers
// within a few milliseconds; a busy one takes the message in later all the same.
constexpr int kAnswerWaitMs = 100;

// A folder of this user's that is no link and in which group and others have none of
// the forbidden rights.
bool isOwnFolder(const QString &path, mode_t forbidden)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & forbidden) == 0;
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

QString SingleInstance::socketFolder()
{
    // The runtime folder counts only as its rules have it: this user's, mode 0700.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isOwnFolder(QDir::cleanPath(runtime), 077))
        return QDir::cleanPath(runtime);
    // The settings folder is made 0700; one an older version left readable is still
    // safe while nobody else may add a file to it.
    const QString own = QDir::cleanPath(paths::configFolder());
    return isOwnFolder(own, S_IWGRP | S_IWOTH) ? own : QString();
}

QString SingleInstance::serverPath()
{
    const QString folder = socketFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + serverName();
}

bool SingleInstance::handOver()
{
    const QByteArray path = QFile::encodeName(serverPath());
    sockaddr_un address{};
    if (path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A socket file nobody listens on (a copy that crashed) refuses the connection; a
    // copy that has stopped taking connections at all refuses it too, rather than
    // keeping this one waiting.
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return false;
    }
    const quint32 n = QRandomGenerator::global()->bounded(1u, 1000001u);
    const QByteArray message = QByteArray::number(n) + '\n';
    const bool sent = ::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) == message.size();
    if (sent) {
        pollfd answer{fd, POLLIN, 0};
        ::poll(&answer, 1, kAnswerWaitMs);
    }
    ::close(fd);
    return sent;
}

SingleInstance::Role SingleInstance::start()
{
    if (handOver())
        return Role::HandedOver;
    paths::makeFolder(paths::configFolder());
    FileLock lock(paths::configFolder() + QLatin1String("/instance.lock"));
    if (!lock.tryLock(kLockTimeoutMs))
        return handOver() ? Role::HandedOver : Role::Failed;
    // Another copy may have started between the first try and the lock.
    if (handOver())
        return Role::HandedOver;

    // Nobody answered: whatever socket file is there was left by a copy that ended.
    // Without a folder only this user can write in, this copy runs alone rather than
    // listen where another user could take the name first.
    const QString path = serverPath();
    if (path.isEmpty())
        return Role::Failed;
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        delete m_server;
        m_server = nullptr;
        return Role::Failed;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return Role::First;
}

void SingleInstance::stop()
{
    if (m_server)
        m_server->close();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString text = QString::fromLatin1(socket->readLine()).trimmed();
                // The answer goes out now, before whatever the hand-off starts.
                socket->write("ok\n");
                socket->flush();
                emit handOffReceived(text);
            }
        });
    }
}

} // namespace rr
