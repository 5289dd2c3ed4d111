#pragma once
// What tells one state of a file from another: the file a name leads to (its device
// and inode: a file replaced by a rename is another one), its size, its time of last
// change of content and its time of last change of any kind (st_ctime), both to the
// nanosecond, all read without reading the file. A program can set the first time back
// (touch -r) but not the second: the kernel sets it to now on every write, every
// change of the times, the mode, the owner or the links, and every rename, so a stamp
// is taken after our own save has put its file in place. Since a change of mode or
// links moves that time too, a stamp may carry a digest of the content, which then
// decides when only that time moved (sameContent). What still goes unseen is a
// rewrite in place that keeps the size and falls within the same tick of the kernel's
// clock as the stamp (a few milliseconds).
#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rr
{

struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no stamp
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    // The content's digest (contentDigest), when the stamp was taken with it; stamps
    // compare without it.
    QByteArray digest;

    bool isNull() const { return size < 0; }
    bool operator==(const FileStamp &other) const { return sameButChangeTime(other) && changedNs == other.changedNs; }
    // The same file, size and modification time: only the change time may differ.
    bool sameButChangeTime(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
    }

    static FileStamp of(const struct stat &st)
    {
        return {quint64(st.st_dev),
                quint64(st.st_ino),
                qint64(st.st_size),
                qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
                {}};
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

    static constexpr QCryptographicHash::Algorithm kDigest = QCryptographicHash::Md5;
    // The digest of the whole content of a file open for reading; "" when it cannot be read.
    static QByteArray contentDigest(int fd)
    {
        QCryptographicHash hash(kDigest);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (off_t at = 0;;) {
            const ssize_t n = ::pread(fd, buffer.data(), size_t(buffer.size()), at);
            if (n == 0)
                return hash.result();
            if (n < 0)
                return {};
            hash.addData(QByteArrayView(buffer.constData(), n));
            at += n;
        }
    }
    // True when the file at path holds what the stamp's digest was taken of; false
    // when the stamp has none or the file cannot be read.
    bool sameContent(const QString &path) const
    {
        if (digest.isEmpty())
            return false;
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const QByteArray now = contentDigest(fd);
        ::close(fd);
        return now == digest;
    }
};

} // namespace rr
