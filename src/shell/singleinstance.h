#pragma once
// Only one copy of the program works at a time. A second launch hands over to the
// running copy and ends before it creates a window or writes anything.
//
// The running copy listens on a per-user local socket named after the window
// caption (and the settings folder, so separate homes are separate programs). The
// socket lives in the user's runtime folder (XDG_RUNTIME_DIR), or in the settings
// folder when there is none: never in the shared temporary folder, where another
// user could take the name first and so end every launch. A lock file closes the
// race of two copies starting together; a socket left by a copy that was killed is
// cleared by the next start.
//
// The hand-off is a plain socket write, tried before the second copy connects to the
// display or reads anything, so a second launch ends within a few milliseconds. The
// running copy answers as soon as its window events run; when it is busy (opening a
// large database, in the middle of an import) the second copy does not wait for the
// answer: the message waits in the socket and is taken in when the events next run.
#include <QObject>
#include <QString>

class QLocalServer;

namespace rr
{

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Role { First, HandedOver, Failed };
    // Becomes the running copy, or hands a random number from 1 to 1,000,000 to the
    // one already running. Failed means neither worked (the copy should still run).
    Role start();
    // Stops listening and removes the socket (for an end without tearing down).
    void stop();

    // Hands over to a copy already running, if there is one; needs no application
    // object and takes no lock. True when the running copy has the message.
    static bool handOver();

    // The local socket name of the running copy in this home, and its full path
    // ("" when no folder fit for it is found).
    static QString serverName();
    static QString serverPath();
    // Where the socket lives: the runtime folder when it is this user's alone (0700),
    // else the settings folder when nobody else may write in it; "" when neither.
    static QString socketFolder();

signals:
    // A second launch handed over; text is what it sent (the receiver ignores it).
    void handOffReceived(const QString &text);

private:
    void acceptConnections();
    QLocalServer *m_server = nullptr;
};

} // namespace rr
