#pragma once
// The database folder: which of its files are databases, and creating, deleting and
// backing up a database together with its icon and thumbnail folders. Every
// operation returns success or a reason the user can read.
//
// A typed name becomes a file name only through checkNewName, and a side folder is
// removed only for a stem that isSafeStem accepts: a file called ".xml" (empty stem)
// would otherwise name the whole "icons" and "thumbs" folders.
#include <QString>
#include <QStringList>

namespace rr
{

class DatabaseFolder
{
public:
    // folder: the database folder, with or without its trailing separator.
    explicit DatabaseFolder(const QString &folder);

    // The folder with its trailing separator.
    QString path() const { return m_path; }
    QString filePath(const QString &fileName) const { return m_path + fileName; }
    QString iconFolder(const QString &stem) const;
    QString thumbFolder(const QString &stem) const;

    // The databases of the folder: files whose name ends in ".xml" in any letter
    // case and whose stem can name a side folder, sorted by name ignoring case.
    QStringList databaseFiles() const;
    // True when any entry of the folder has this name, ignoring letter case.
    bool containsName(const QString &fileName) const;

    enum class NameProblem { None, Empty, Unsafe, TooLong, Exists };
    // Turns a typed database name into the stem of its file: blanks around it are
    // dropped and one trailing ".xml" is removed. Refuses an empty name, a name that
    // starts with "." or holds "/", "\" or control characters, a name too long for a
    // file, and the name of an existing entry (ignoring case).
    NameProblem checkNewName(const QString &typed, QString *stem) const;
    static QString nameProblemText(NameProblem problem);

    // Creates the icon and thumbnail folders (existing ones are kept), copies the two
    // stock pictures into the icon folder and writes the new, empty database file
    // last, so that a failure leaves no half-made database behind.
    bool createDatabase(const QString &stem, QString *error = nullptr) const;
    // Deletes the database file and both side folders with everything in them. A
    // file or folder that is already missing counts as deleted.
    bool deleteDatabase(const QString &fileName, QString *error = nullptr) const;

    // Copies the database file to target through a temporary file renamed into
    // place; refuses a target that is the source itself.
    static bool backupDatabase(const QString &source, const QString &target, QString *error = nullptr);
    // True when both paths name one existing file (links and hard links included).
    static bool isSameFile(const QString &a, const QString &b);

    // The stock pictures a new icon folder receives.
    static QStringList stockPictures();

private:
    bool copyStockPicture(const QString &name, const QString &iconFolder, QString *error) const;
    static bool removeSideFolder(const QString &path, QString *error);

    QString m_path;
};

} // namespace rr
