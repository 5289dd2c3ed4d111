#pragma once
// What tells one state of a file from another without reading it: the file a name
// leads to (its device and inode: a file replaced by a rename is another one) and its
// size and time of last change of content. A file's name changes none of them (our
// own saves rename a finished file into place). A change that keeps the size within
// the same tick of the file system's clock goes unseen.
#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace rr
{

struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no stamp
    qint64 modifiedNs = 0;

    bool isNull() const { return size < 0; }
    bool operator==(const FileStamp &other) const = default;

    static FileStamp of(const struct stat &st)
    {
        return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
                qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    // The stamp of an open file; null when it cannot be read.
    static FileStamp ofOpenFile(int fd)
    {
        struct stat st;
        return ::fstat(fd, &st) == 0 ? of(st) : FileStamp();
    }
    // The stamp of the file the path leads to (links followed); null when there is none.
    static FileStamp ofPath(const QString &path)
    {
        struct stat st;
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? of(st) : FileStamp();
    }
};

} // namespace rr
