#include "storage/dbfolder.h"

#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

namespace rr
{
namespace
{

const QLatin1String kExtension(".xml");
// The longest file name the file systems we run on accept, in bytes.
constexpr int kMaxFileNameBytes = 255;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

DatabaseFolder::DatabaseFolder(const QString &folder) : m_path(QDir::fromNativeSeparators(folder))
{
    if (!m_path.endsWith(QLatin1Char('/')))
        m_path += QLatin1Char('/');
}

QString DatabaseFolder::iconFolder(const QString &stem) const
{
    return m_path + QLatin1String("icons/") + stem;
}

QString DatabaseFolder::thumbFolder(const QString &stem) const
{
    return m_path + QLatin1String("thumbs/") + stem;
}

QStringList DatabaseFolder::stockPictures()
{
    return {QStringLiteral("Vardeck.gif"), QStringLiteral("SelVardeck.gif")};
}

QStringList DatabaseFolder::databaseFiles() const
{
    QStringList out;
    const QStringList names = QDir(m_path).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (name.endsWith(kExtension, Qt::CaseInsensitive) && isSafeStem(databaseStem(name)))
            out << name;
    }
    return out;
}

bool DatabaseFolder::containsName(const QString &fileName) const
{
    const QStringList names =
        QDir(m_path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return names.contains(fileName, Qt::CaseInsensitive);
}

DatabaseFolder::NameProblem DatabaseFolder::checkNewName(const QString &typed, QString *stem) const
{
    QString name = typed.trimmed();
    if (name.endsWith(kExtension, Qt::CaseInsensitive)) {
        name.chop(kExtension.size());
        name = name.trimmed();
    }
    if (stem)
        *stem = name;
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        hasControlCharacter(name))
        return NameProblem::Unsafe;
    if (QFile::encodeName(name + kExtension).size() > kMaxFileNameBytes)
        return NameProblem::TooLong;
    if (containsName(name + kExtension))
        return NameProblem::Exists;
    return NameProblem::None;
}

QString DatabaseFolder::nameProblemText(NameProblem problem)
{
    switch (problem) {
    case NameProblem::None:
        return {};
    case NameProblem::Empty:
        return QStringLiteral("Please enter a name for the new database");
    case NameProblem::Unsafe:
        return QStringLiteral("A database name may not start with \".\" or contain \"/\", \"\\\" or control "
                              "characters - please choose a different name");
    case NameProblem::TooLong:
        return QStringLiteral("The database name is too long - please choose a shorter name");
    case NameProblem::Exists:
        return QStringLiteral("The database already exists - please choose a different name");
    }
    return {};
}

bool DatabaseFolder::copyStockPicture(const QString &name, const QString &iconFolder, QString *error) const
{
    // The installed copy stands in for a picture the user removed from the folder.
    QString source = m_path + name;
    if (!QFileInfo(source).isFile())
        source = paths::installedDataFolder() + QLatin1String("/DeVivozoda/") + name;
    if (!QFileInfo(source).isFile()) {
        setError(error, QStringLiteral("The picture %1 is missing from the database folder.").arg(name));
        return false;
    }
    const QString target = iconFolder + QLatin1Char('/') + name;
    if (QFileInfo::exists(target))
        QFile::remove(target);
    QFile in(source);
    if (!in.copy(target)) {
        setError(
            error,
            QStringLiteral("The picture %1 could not be copied to %2: %3").arg(name, iconFolder, in.errorString()));
        return false;
    }
    paths::keepPrivate(target);
    return true;
}

bool DatabaseFolder::createDatabase(const QString &stem, QString *error) const
{
    if (!isSafeStem(stem) || stem.startsWith(QLatin1Char('.'))) {
        setError(error, nameProblemText(NameProblem::Unsafe));
        return false;
    }
    for (const QString &folder : {iconFolder(stem), thumbFolder(stem)}) {
        if (!paths::makeFolder(folder)) {
            setError(error, QStringLiteral("The folder %1 could not be created.").arg(folder));
            return false;
        }
    }
    for (const QString &picture : stockPictures()) {
        if (!copyStockPicture(picture, iconFolder(stem), error))
            return false;
    }
    return XMLDatabase::createDatabaseFile(filePath(stem + kExtension), error);
}

bool DatabaseFolder::removeSideFolder(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    // A link is removed itself; following it would empty a folder elsewhere.
    if (info.isSymLink() || !info.isDir()) {
        if (QFile::remove(path))
            return true;
    } else if (QDir(path).removeRecursively()) {
        return true;
    }
    setError(error, QStringLiteral("The folder %1 could not be deleted completely.").arg(path));
    return false;
}

bool DatabaseFolder::deleteDatabase(const QString &fileName, QString *error) const
{
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
        fileName == QLatin1String(".") || fileName == QLatin1String("..")) {
        setError(error, QStringLiteral("%1 is not a database of the database folder.").arg(fileName));
        return false;
    }
    QFile file(filePath(fileName));
    if ((file.exists() || QFileInfo(file).isSymLink()) && !file.remove()) {
        setError(error, QStringLiteral("The file %1 could not be deleted: %2").arg(fileName, file.errorString()));
        return false;
    }
    const QString stem = databaseStem(fileName);
    if (!isSafeStem(stem))
        return true;
    QString firstError;
    bool ok = removeSideFolder(iconFolder(stem), &firstError);
    QString secondError;
    if (!removeSideFolder(thumbFolder(stem), &secondError)) {
        if (ok)
            firstError = secondError;
        ok = false;
    }
    if (!ok)
        setError(error, firstError);
    return ok;
}

bool DatabaseFolder::isSameFile(const QString &a, const QString &b)
{
    struct stat first {
    };
    struct stat second {
    };
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool DatabaseFolder::backupDatabase(const QString &source, const QString &target, QString *error)
{
    if (isSameFile(source, target)) {
        setError(error, QStringLiteral("The backup cannot be written over the open database itself - please choose a "
                                       "different file"));
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("The database %1 could not be read: %2").arg(source, in.errorString()));
        return false;
    }
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("The database %1 could not be read: %2").arg(source, in.errorString()));
        return false;
    }
    return writeFileAtomically(target, data, error);
}

} // namespace rr
