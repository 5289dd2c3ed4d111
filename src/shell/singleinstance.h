#pragma once
// Only one copy of the program works at a time. A second launch hands over to the
// running copy and ends before it creates a window or writes anything.
//
// The running copy listens on a per-user local socket named after the window
// caption (and the settings folder, so separate homes are separate programs). The
// socket lives in the user's runtime folder (XDG_RUNTIME_DIR), or in the settings
// folder when there is none or its path is too long for a socket's name: never in the
// shared temporary folder, where another user could take the name first and so end
// every launch. A folder counts only when it is this user's own and nobody else may
// add a file to it. A lock file closes the race of two copies starting together; a
// socket left by a copy that was killed is cleared by the next start.
//
// The hand-off: the running copy greets each connection from its event loop; only
// then does the launch send its number (which the running copy answers) and end. A
// copy whose events do not run (stopped, or stuck) greets nobody: after kAnswerWaitMs
// the launch asks the user whether to open a window of its own. Yes sends nothing, so
// the other copy, should it run again, starts nothing for this launch; the database
// then opens read-only in this copy while the other has it (storage/databaseclaim.h).
// No leaves the number in the connection and ends: the other copy takes the launch
// over when its events run again.
//
// The first try comes before the second copy connects to the display or reads
// anything, so a launch handed to a copy that answers ends within milliseconds.
#include <QObject>
#include <QString>

class QLocalServer;

namespace rr
{

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // How long a launch waits for the running copy's greeting. An idle copy greets
    // within milliseconds, one opening a large database within a second or two.
    static inline int answerWaitMs = 3000;

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class HandOver {
        Taken,       // the running copy greeted and has the launch's number
        NoAnswer,    // a copy listens but did not greet in time
        NobodyThere, // no copy listens (none runs, or one was killed)
    };
    // One try to hand this launch over; needs no application object and takes no
    // lock. The connection of a try that got no answer is kept for askForOwnWindow.
    HandOver handOver();

    enum class Role {
        First,      // listening: later launches hand over to this copy
        HandedOver, // the running copy took the launch: this copy ends
        Unanswered, // a copy runs but does not answer: askForOwnWindow decides
        Alone,      // no folder fit for the socket: this copy runs without one
    };
    // Becomes the running copy or hands over; Unanswered at once when an earlier
    // handOver() found a copy that does not answer.
    Role start();
    // Asks whether to open a window of this copy while the other does not answer:
    // true on Yes. On No the launch's number is left for the other copy and false
    // comes back.
    bool askForOwnWindow();
    // Stops listening and removes the socket (for an end without tearing down).
    void stop();

    // The local socket name of the running copy in this home, and its full path
    // ("" when no folder fit for it is found).
    static QString serverName();
    static QString serverPath();
    // Where the socket lives: the runtime folder when it is this user's alone (0700)
    // and the socket's path fits, else the settings folder when it is this user's,
    // nobody else may write in it and the path fits; "" when neither.
    static QString socketFolder();

signals:
    // A second launch handed over; text is what it sent (the receiver ignores it).
    void handOffReceived(const QString &text);

private:
    void acceptConnections();
    void dropPending();
    QLocalServer *m_server = nullptr;
    int m_pending = -1; // the connection to a copy that did not answer
};

} // namespace rr
