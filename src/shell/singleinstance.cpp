#include "shell/singleinstance.h"

#include "platform/filelock.h"
#include "platform/paths.h"
#include "platform/prompt.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>

#include <cerrno>
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
// Once greeted, how long the launch waits for the answer to its number; a copy
// stopped in between takes the number in when it runs again.
constexpr int kNumberAnswerMs = 1000;
// The greeting the running copy sends each connection, and its answer to a number.
constexpr char kGreeting[] = "ready\n";
constexpr char kAnswer[] = "ok\n";

// A folder of this user's that is no link and in which group and others have none of
// the forbidden rights.
bool isOwnFolder(const QString &path, mode_t forbidden)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & forbidden) == 0;
}

// Whether a socket in folder can be named: a socket's path has a fixed room.
bool socketFits(const QString &folder)
{
    return QFile::encodeName(folder + QLatin1Char('/') + SingleInstance::serverName()).size() <
           qsizetype(sizeof(sockaddr_un::sun_path));
}

// Waits until bytes arrive on fd, within ms; false on a timeout or a closed connection.
bool bytesArrive(int fd, int ms)
{
    const QDeadlineTimer deadline(ms);
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        char buffer[64];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0)
            return true;
        if (got == 0 || (errno != EINTR && errno != EAGAIN))
            return false;
        if (deadline.hasExpired())
            return false;
    }
}

bool sendAll(int fd, const QByteArray &bytes)
{
    return ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
}

QByteArray handOffNumber()
{
    return QByteArray::number(QRandomGenerator::global()->bounded(1u, 1000001u)) + '\n';
}

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    dropPending();
}

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
    if (QDir::isAbsolutePath(runtime) && isOwnFolder(QDir::cleanPath(runtime), 077) &&
        socketFits(QDir::cleanPath(runtime)))
        return QDir::cleanPath(runtime);
    // The settings folder is made 0700; one an older version left readable is still
    // safe while nobody else may add a file to it.
    const QString own = QDir::cleanPath(paths::configFolder());
    return isOwnFolder(own, S_IWGRP | S_IWOTH) && socketFits(own) ? own : QString();
}

QString SingleInstance::serverPath()
{
    const QString folder = socketFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + serverName();
}

void SingleInstance::dropPending()
{
    if (m_pending >= 0)
        ::close(m_pending);
    m_pending = -1;
}

SingleInstance::HandOver SingleInstance::handOver()
{
    dropPending();
    const QByteArray path = QFile::encodeName(serverPath());
    sockaddr_un address{};
    if (path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return HandOver::NobodyThere;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return HandOver::NobodyThere;
    // A socket file nobody listens on (a copy that crashed) refuses the connection. A
    // copy whose queue of launches not yet taken is full is there, but not answering.
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const bool queueFull = errno == EAGAIN;
        ::close(fd);
        return queueFull ? HandOver::NoAnswer : HandOver::NobodyThere;
    }
    if (!bytesArrive(fd, answerWaitMs)) {
        m_pending = fd;
        return HandOver::NoAnswer;
    }
    if (sendAll(fd, handOffNumber()))
        bytesArrive(fd, kNumberAnswerMs);
    ::close(fd);
    return HandOver::Taken;
}

SingleInstance::Role SingleInstance::start()
{
    const auto roleOf = [](HandOver tried) {
        return tried == HandOver::Taken      ? Role::HandedOver
               : tried == HandOver::NoAnswer ? Role::Unanswered
                                             : Role::First;
    };
    if (m_pending >= 0)
        return Role::Unanswered;
    if (const Role role = roleOf(handOver()); role != Role::First)
        return role;
    paths::makeFolder(paths::configFolder());
    FileLock lock(paths::configFolder() + QLatin1String("/instance.lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        const Role role = roleOf(handOver());
        return role == Role::First ? Role::Alone : role;
    }
    // Another copy may have started between the first try and the lock.
    if (const Role role = roleOf(handOver()); role != Role::First)
        return role;

    // Nobody answered: whatever socket file is there was left by a copy that ended.
    // Without a folder only this user can write in, this copy runs alone rather than
    // listen where another user could take the name first.
    const QString path = serverPath();
    if (path.isEmpty())
        return Role::Alone;
    if (!m_server) {
        QLocalServer::removeServer(path);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    if (!m_server->isListening() && !m_server->listen(path))
        return Role::Alone;
    return Role::First;
}

bool SingleInstance::askForOwnWindow()
{
    MessageRequest question;
    question.title = prompt::appTitle();
    question.text = QStringLiteral("%1 is already running, but it does not answer.\n\n"
                                   "Open a window of this copy?  It opens the database read-only: no change is "
                                   "saved while the other copy has the database open.  No ends this launch; the "
                                   "other copy takes it over when it answers again.")
                        .arg(prompt::appTitle());
    question.icon = MsgIcon::Question;
    question.buttons = MsgButtons::YesNo;
    question.defaultButton = MsgResult::No;
    const bool ownWindow = prompt::message(question) == MsgResult::Yes;
    if (!ownWindow && m_pending >= 0)
        sendAll(m_pending, handOffNumber());
    dropPending();
    return ownWindow;
}

void SingleInstance::stop()
{
    if (m_server)
        m_server->close();
}

void SingleInstance::acceptConnections()
{
    // Written past the socket's buffers: a launch that has gone already (it left its
    // number and ended) makes the write fail, which must not drop what it left.
    const auto say = [](QLocalSocket *socket, const char *text) {
        ::send(int(socket->socketDescriptor()), text, std::strlen(text), MSG_NOSIGNAL | MSG_DONTWAIT);
    };
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, say] {
            while (socket->canReadLine()) {
                const QString text = QString::fromLatin1(socket->readLine()).trimmed();
                // The answer goes out now, before whatever the hand-off starts.
                say(socket, kAnswer);
                emit handOffReceived(text);
            }
        });
        // The greeting tells the launch that this copy's events run.
        say(socket, kGreeting);
    }
}

} // namespace rr
