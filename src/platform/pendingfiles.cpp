#include "platform/pendingfiles.h"

#include "platform/atomicfile.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace rr::pendingfiles
{
namespace
{

const QLatin1String kRecordPrefix("printing-");
const QLatin1String kSuffix(".printing");

QString recordOf(qint64 pid)
{
    return paths::configFolder() + QLatin1Char('/') + kRecordPrefix + QString::number(pid);
}

QStringList readRecord(const QString &record)
{
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool writeRecord(const QString &record, const QStringList &paths)
{
    if (paths.isEmpty())
        return QFile::remove(record) || !QFileInfo::exists(record);
    return writeFileAtomically(record, (paths.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

bool writerIsGone(qint64 pid)
{
    return pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// A file this program made: a plain file of this user's, reached without a link,
// whose name is of the temporary form.
bool isOwnPendingFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!QDir::isAbsolutePath(path) || !name.startsWith(QLatin1Char('.')) || !name.endsWith(kSuffix) ||
        name.size() <= 1 + kSuffix.size())
        return false;
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace

QString printingNameFor(const QString &target)
{
    const QFileInfo file(target);
    return file.dir().filePath(QLatin1Char('.') + file.fileName() + kSuffix);
}

bool remember(const QString &path)
{
    const QString record = recordOf(::getpid());
    QStringList paths = readRecord(record);
    if (!paths.contains(path))
        paths << path;
    return paths::makeFolder(paths::configFolder()) && writeRecord(record, paths);
}

void forget(const QString &path)
{
    const QString record = recordOf(::getpid());
    QStringList paths = readRecord(record);
    if (paths.removeAll(path) > 0)
        writeRecord(record, paths);
}

int removeLeftovers()
{
    int removed = 0;
    const QDir config(paths::configFolder());
    for (const QString &name : config.entryList({kRecordPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        bool number = false;
        const qint64 pid = name.mid(kRecordPrefix.size()).toLongLong(&number);
        if (!number || pid <= 0 || !writerIsGone(pid))
            continue;
        const QString record = config.filePath(name);
        for (const QString &path : readRecord(record))
            removed += isOwnPendingFile(path) && QFile::remove(path) ? 1 : 0;
        QFile::remove(record);
    }
    return removed;
}

} // namespace rr::pendingfiles
