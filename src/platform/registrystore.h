#pragma once
// The settings registry: a tree of keys with named values under two root keys, each
// root kept in one file of the config folder. Key and value names are compared
// without regard to letter case and keep the spelling they were created with.
//
// Every change is one locked read-modify-write of the root's file: the file is read
// fresh under a lock file, the one change is applied and the whole file is replaced
// atomically, so two running copies never erase each other's values. Reads use the
// parsed file as long as the file on disk is unchanged.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace rr
{
namespace reg
{

// A key handle. The two roots are handles that are always open; 0 is no key.
using Key = quint32;
inline constexpr Key HKEY_CURRENT_USER = 0x80000001u;
inline constexpr Key HKEY_LOCAL_MACHINE = 0x80000002u;

inline constexpr quint32 REG_NONE = 0;
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;

// The access every key is opened with: query, set, create sub-key, enumerate,
// notify, create link. The store grants it always; it is kept for the callers' record.
inline constexpr quint32 KEY_ACCESS_63 = 0x3F;

// Statuses of the store's calls (0 is success).
inline constexpr qint32 ERROR_SUCCESS = 0;
inline constexpr qint32 ERROR_FILE_NOT_FOUND = 2;
inline constexpr qint32 ERROR_ACCESS_DENIED = 5;
inline constexpr qint32 ERROR_INVALID_HANDLE = 6;
inline constexpr qint32 ERROR_LOCK_VIOLATION = 33;
inline constexpr qint32 ERROR_INVALID_PARAMETER = 87;
inline constexpr qint32 ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr qint32 ERROR_KEY_DELETED = 1018;

// One stored value. data holds a QString for REG_SZ, a quint32 for REG_DWORD and
// a QByteArray for every other type.
struct Value {
    quint32 type = REG_NONE;
    QVariant data;

    static Value text(const QString &text) { return {REG_SZ, QVariant(text)}; }
    static Value number(quint32 number) { return {REG_DWORD, QVariant(number)}; }
    static Value bytes(quint32 type, const QByteArray &bytes) { return {type, QVariant(bytes)}; }
};

} // namespace reg

class RegistryStore
{
public:
    // folder: where the root files live; empty means paths::configFolder(), looked up
    // at every call so that a changed home is followed.
    explicit RegistryStore(const QString &folder = QString());
    ~RegistryStore();
    RegistryStore(const RegistryStore &) = delete;
    RegistryStore &operator=(const RegistryStore &) = delete;

    // The store of this process.
    static RegistryStore &instance();

    // Groups the changes made through the store while it lives (nesting allowed)
    // into one locked read-modify-write per root file: the lock is taken at the first
    // change and the file is written once when the outermost batch ends. Reads through
    // the store see the changes at once; other copies see them when the batch ends.
    // A write that fails at the end is reported on stderr and is lost as a whole.
    class Batch
    {
    public:
        explicit Batch(RegistryStore &store = RegistryStore::instance());
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        RegistryStore &m_store;
    };

    // The file that holds a root key ("HKEY_CURRENT_USER.reg"), or "" for a non-root.
    QString fileOf(reg::Key root) const;

    // subKey is a path below parent with "\" between the names; empty names (a
    // trailing "\") are ignored. On failure *result is 0.
    qint32 openKey(reg::Key parent, const QString &subKey, reg::Key *result);
    // Opens the key, creating it and every missing key above it.
    qint32 createKey(reg::Key parent, const QString &subKey, reg::Key *result);
    qint32 closeKey(reg::Key key);

    qint32 setValue(reg::Key key, const QString &name, const reg::Value &value);
    // value may be null to ask only whether the value exists.
    qint32 queryValue(reg::Key key, const QString &name, reg::Value *value);
    qint32 deleteValue(reg::Key key, const QString &name);
    // Fails with ERROR_ACCESS_DENIED, leaving the key, while it has sub-keys.
    qint32 deleteKey(reg::Key parent, const QString &subKey);

    // A root's file that could not be read, as the store found it: kept as keptAs
    // (renamed aside whole, and the root started empty), or, when keptAs is empty,
    // left in place and not written over until it is mended or removed.
    struct Unreadable {
        reg::Key root = 0;
        QString file;
        QString reason;
        QString keptAs;
    };
    // The files found unreadable since the last call, in order; each is told once.
    QList<Unreadable> takeUnreadable();

    // Names in their stored spelling, in the order they were created.
    qint32 valueNames(reg::Key key, QStringList *names);
    qint32 subKeyNames(reg::Key key, QStringList *names);

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace rr
