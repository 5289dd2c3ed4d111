#include "storage/databaseclaim.h"

#include "platform/filelock.h"

#include <QFileInfo>

namespace rr
{

DatabaseClaim::DatabaseClaim() = default;
DatabaseClaim::~DatabaseClaim() = default;

QString DatabaseClaim::lockPathFor(const QString &path)
{
    const QFileInfo given(path);
    const QString real = given.canonicalFilePath();
    const QFileInfo file(real.isEmpty() ? given.absoluteFilePath() : real);
    return file.absolutePath() + QLatin1String("/.") + file.fileName() + QLatin1String(".lock");
}

QString DatabaseClaim::heldElsewhereMessage(const QString &path)
{
    return QStringLiteral("%1 is open in another copy of Razuzezu Revidod, so this copy does not write it.").arg(path);
}

QString DatabaseClaim::openedReadOnlyMessage(const QString &path)
{
    return QStringLiteral("%1 is open in another copy of Razuzezu Revidod, so this window opens it read-only: no "
                          "change made here is saved while the other copy has it open.")
        .arg(path);
}

bool DatabaseClaim::take(const QString &path)
{
    const QString lockPath = lockPathFor(path);
    if (!m_lock || m_lock->path() != lockPath)
        m_lock = std::make_unique<FileLock>(lockPath);
    m_heldElsewhere = !m_lock->tryLock(0) && m_lock->error() == FileLock::Error::Held;
    return !m_heldElsewhere;
}

DatabaseClaim::State DatabaseClaim::claim(const QString &path)
{
    m_claimed = true;
    take(path);
    return state();
}

void DatabaseClaim::release()
{
    m_lock.reset();
    m_claimed = false;
    m_heldElsewhere = false;
}

DatabaseClaim::State DatabaseClaim::state() const
{
    if (!m_claimed || !m_lock)
        return State::Unclaimed;
    if (m_heldElsewhere)
        return State::HeldElsewhere;
    return m_lock->isLocked() ? State::Held : State::Unclaimed;
}

bool DatabaseClaim::allowsWrite(const QString &path, QString *error)
{
    if (!m_claimed)
        return true;
    // A handle that now saves elsewhere lets go of the file it had.
    if (m_lock && m_lock->isLocked() && m_lock->path() == lockPathFor(path))
        return true;
    if (take(path))
        return true;
    if (error)
        *error = heldElsewhereMessage(path);
    return false;
}

} // namespace rr
