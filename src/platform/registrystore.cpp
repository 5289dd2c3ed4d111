#include "platform/registrystore.h"

#include "platform/atomicfile.h"
#include "platform/filelock.h"
#include "platform/filestamp.h"
#include "platform/paths.h"
#include "platform/plainfile.h"
#include "platform/textutil.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <cstdio>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace rr
{
namespace
{

using reg::Key;

const char kFormat[] = "Razuzezu Revidod settings";
constexpr int kFormatVersion = 1;
constexpr int kLockTimeoutMs = 10000;

QStringList splitPath(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

struct NamedValue {
    QString name;
    reg::Value value;
};

struct Node {
    QString name;
    std::vector<NamedValue> values;
    std::vector<Node> keys;

    Node *child(const QString &childName)
    {
        for (Node &k : keys)
            if (sameText(k.name, childName))
                return &k;
        return nullptr;
    }
    const Node *child(const QString &childName) const { return const_cast<Node *>(this)->child(childName); }

    NamedValue *value(const QString &valueName)
    {
        for (NamedValue &v : values)
            if (sameText(v.name, valueName))
                return &v;
        return nullptr;
    }
    const NamedValue *value(const QString &valueName) const { return const_cast<Node *>(this)->value(valueName); }
};

Node *findKey(Node &root, const QStringList &path)
{
    Node *node = &root;
    for (const QString &name : path) {
        node = node->child(name);
        if (!node)
            return nullptr;
    }
    return node;
}

const Node *findKey(const Node &root, const QStringList &path)
{
    return findKey(const_cast<Node &>(root), path);
}

Node *ensureKey(Node &root, const QStringList &path, bool *created)
{
    Node *node = &root;
    for (const QString &name : path) {
        Node *next = node->child(name);
        if (!next) {
            node->keys.push_back(Node{name, {}, {}});
            next = &node->keys.back();
            *created = true;
        }
        node = next;
    }
    return node;
}

// --- the file format: one JSON document per root ---------------------------------

QJsonObject valueToJson(const NamedValue &v)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), v.name);
    o.insert(QStringLiteral("type"), static_cast<qint64>(v.value.type));
    if (v.value.type == reg::REG_SZ)
        o.insert(QStringLiteral("data"), v.value.data.toString());
    else if (v.value.type == reg::REG_DWORD)
        o.insert(QStringLiteral("data"), static_cast<qint64>(v.value.data.toUInt()));
    else
        o.insert(QStringLiteral("data"), QString::fromLatin1(v.value.data.toByteArray().toBase64()));
    return o;
}

// Keys are listed flat, each with its full path, parents before children, so that
// the file reads like the tree it holds.
void appendKeys(const Node &node, const QString &path, QJsonArray *out)
{
    if (!path.isEmpty() || !node.values.empty()) {
        QJsonArray values;
        for (const NamedValue &v : node.values)
            values.append(valueToJson(v));
        QJsonObject o;
        o.insert(QStringLiteral("path"), path);
        o.insert(QStringLiteral("values"), values);
        out->append(o);
    }
    for (const Node &k : node.keys)
        appendKeys(k, path.isEmpty() ? k.name : path + QLatin1Char('\\') + k.name, out);
}

bool valueFromJson(const QJsonValue &json, NamedValue *out)
{
    const QJsonObject o = json.toObject();
    const QJsonValue name = o.value(QStringLiteral("name"));
    const QJsonValue type = o.value(QStringLiteral("type"));
    const QJsonValue data = o.value(QStringLiteral("data"));
    if (!name.isString() || !type.isDouble())
        return false;
    const qint64 typeCode = type.toInteger(-1);
    if (typeCode < 0 || typeCode > 0xFFFFFFFFLL)
        return false;
    out->name = name.toString();
    out->value.type = static_cast<quint32>(typeCode);
    if (typeCode == reg::REG_SZ) {
        if (!data.isString())
            return false;
        out->value.data = data.toString();
    } else if (typeCode == reg::REG_DWORD) {
        const qint64 n = data.toInteger(-1);
        if (!data.isDouble() || n < 0 || n > 0xFFFFFFFFLL)
            return false;
        out->value.data = static_cast<quint32>(n);
    } else {
        if (!data.isString())
            return false;
        out->value.data = QByteArray::fromBase64(data.toString().toLatin1());
    }
    return true;
}

void warn(const QString &text);

// One key of the file. A value of the wrong type, or a key entry that is no key,
// is left out with a word on stderr and reads as missing (its default); the rest of
// the file stays in use.
void keyFromJson(const QJsonValue &json, Node *root, const QString &file)
{
    const QJsonObject o = json.toObject();
    const QJsonValue path = o.value(QStringLiteral("path"));
    const QJsonValue values = o.value(QStringLiteral("values"));
    if (!path.isString() || !(values.isArray() || values.isUndefined())) {
        warn(QStringLiteral("the settings file %1 holds a malformed key entry; it is ignored.").arg(file));
        return;
    }
    bool created = false;
    Node *node = ensureKey(*root, splitPath(path.toString()), &created);
    for (const QJsonValue &jv : values.toArray()) {
        NamedValue v;
        if (!valueFromJson(jv, &v)) {
            const QString name = jv.toObject().value(QStringLiteral("name")).toString();
            warn(QStringLiteral("the settings file %1: the value \"%2\" of \"%3\" has the wrong type; its default "
                                "is used.")
                     .arg(file, name, path.toString()));
            continue;
        }
        if (NamedValue *existing = node->value(v.name))
            existing->value = v.value;
        else
            node->values.push_back(std::move(v));
    }
}

QByteArray serialize(const Node &root)
{
    QJsonArray keys;
    appendKeys(root, QString(), &keys);
    QJsonObject o;
    o.insert(QStringLiteral("format"), QLatin1String(kFormat));
    o.insert(QStringLiteral("version"), kFormatVersion);
    o.insert(QStringLiteral("keys"), keys);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool parse(const QByteArray &bytes, Node *root, QString *error, const QString &file)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (doc.isNull()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        o.value(QStringLiteral("version")).toInt() != kFormatVersion) {
        *error = QStringLiteral("not a settings file of this program");
        return false;
    }
    const QJsonValue keys = o.value(QStringLiteral("keys"));
    if (!keys.isArray()) {
        *error = QStringLiteral("malformed content");
        return false;
    }
    for (const QJsonValue &key : keys.toArray())
        keyFromJson(key, root, file);
    return true;
}

QString rootName(Key root)
{
    if (root == reg::HKEY_CURRENT_USER)
        return QStringLiteral("HKEY_CURRENT_USER");
    if (root == reg::HKEY_LOCAL_MACHINE)
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    return {};
}

void warn(const QString &text)
{
    std::fprintf(stderr, "Razuzezu Revidod: %s\n", qUtf8Printable(text));
}

} // namespace

// Says why the lock of a settings file could not be taken: only a lock that another
// program holds is "locked"; a folder that cannot be written is said to be so.
qint32 lockFailure(const FileLock &lock, const QString &path)
{
    if (lock.error() == FileLock::Error::Held) {
        warn(QStringLiteral("the settings file %1 is locked by another program.").arg(path));
        return reg::ERROR_LOCK_VIOLATION;
    }
    warn(QStringLiteral("the settings file %1 cannot be written: its folder %2 cannot be written to.")
             .arg(path, QFileInfo(path).absolutePath()));
    return reg::ERROR_ACCESS_DENIED;
}

class RegistryStore::Impl
{
public:
    struct Handle {
        Key root = 0;
        QStringList path;
    };
    struct Cache {
        QString file;
        FileStamp stamp;
        bool loaded = false;
        Node tree;
    };
    // A root's file held under its lock for a batch.
    struct Pending {
        bool active = false;
        bool ok = false;
        qint32 failure = reg::ERROR_SUCCESS;
        bool changed = false;
        QString file;
        std::unique_ptr<FileLock> lock;
        Node tree;
    };
    using Change = std::function<qint32(Node &tree, bool *changed)>;

    QString fixedFolder;
    QMutex mutex;
    std::map<Key, Handle> handles;
    Key nextHandle = 1;
    Cache caches[2];
    int batchDepth = 0;
    Pending pending[2];
    QList<Unreadable> unreadable;
    QStringList toldInPlace;

    QString folder() const { return fixedFolder.isEmpty() ? paths::configFolder() : fixedFolder; }

    QString file(Key root) const
    {
        const QString name = rootName(root);
        return name.isEmpty() ? QString() : folder() + QLatin1Char('/') + name + QLatin1String(".reg");
    }

    Cache &cacheOf(Key root) { return caches[root == reg::HKEY_LOCAL_MACHINE ? 1 : 0]; }
    Pending &pendingOf(Key root) { return pending[root == reg::HKEY_LOCAL_MACHINE ? 1 : 0]; }

    // Resolves a handle and a path below it to a root and a full path.
    bool resolve(Key key, const QString &subKey, Handle *out) const
    {
        if (key == reg::HKEY_CURRENT_USER || key == reg::HKEY_LOCAL_MACHINE) {
            *out = Handle{key, {}};
        } else {
            const auto it = handles.find(key);
            if (it == handles.end())
                return false;
            *out = it->second;
        }
        out->path += splitPath(subKey);
        return true;
    }

    Key addHandle(const Handle &h)
    {
        while (nextHandle == 0 || handles.count(nextHandle) || rootName(nextHandle).size())
            ++nextHandle;
        handles[nextHandle] = h;
        return nextHandle++;
    }

    // Reads the file; a file that cannot be read or parsed is renamed aside (never
    // deleted) and the root starts empty. Must be called with the lock file held.
    // Returns false when a bad file could not be moved aside: then nothing may be
    // written over it.
    bool loadLocked(const QString &path, Node *tree)
    {
        QString reason;
        QString aside;
        const bool goesOn = loadLocked(path, tree, &reason, &aside);
        // A file left in place is found again at each read: it is told once.
        if (!reason.isEmpty() && (!aside.isEmpty() || !toldInPlace.contains(path))) {
            if (aside.isEmpty())
                toldInPlace.append(path);
            unreadable.append({path == file(reg::HKEY_LOCAL_MACHINE) ? reg::HKEY_LOCAL_MACHINE : reg::HKEY_CURRENT_USER,
                               path, reason, aside});
        }
        return goesOn;
    }
    bool loadLocked(const QString &path, Node *tree, QString *reason, QString *keptAs)
    {
        *tree = Node{};
        if (FileStamp::ofPath(path).isNull())
            return true;
        QFile f(path);
        QString error;
        if (openPlainFile(f, &error)) {
            if (parse(f.readAll(), tree, &error, path))
                return true;
            *tree = Node{};
        }
        f.close();
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QString aside = path + QLatin1String(".unreadable-") + stamp;
        for (int n = 2; QFile::exists(aside); ++n)
            aside = path + QLatin1String(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
        *reason = error;
        if (!QFile::rename(path, aside)) {
            warn(QStringLiteral("the settings file %1 could not be read (%2) nor moved aside; "
                                "settings are not saved until it is mended or removed.")
                     .arg(path, error));
            return false;
        }
        warn(QStringLiteral("the settings file %1 could not be read (%2); it was kept as %3 and the settings "
                            "start empty.")
                 .arg(path, error, aside));
        *keptAs = aside;
        return true;
    }

    // The up-to-date tree of a root for reading.
    const Node &current(Key root)
    {
        if (const Pending &p = pendingOf(root); p.active && p.ok)
            return p.tree;
        Cache &cache = cacheOf(root);
        const QString path = file(root);
        // Every write renames a new file into place, so the inode alone changes each time;
        // size and nanosecond mtime cover file systems that reuse inodes at once.
        const FileStamp stamp = FileStamp::ofPath(path);
        if (cache.loaded && cache.file == path && cache.stamp == stamp)
            return cache.tree;
        Node tree;
        bool good = stamp.isNull();
        if (!stamp.isNull()) {
            QFile f(path);
            QString error;
            good = openPlainFile(f, &error) && parse(f.readAll(), &tree, &error, path);
        }
        if (!good) {
            // Only a holder of the lock may move the file aside: another copy may be
            // replacing it at this moment.
            FileLock lock(path + QLatin1String(".lock"));
            tree = Node{};
            if (!lock.tryLock(kLockTimeoutMs) || !loadLocked(path, &tree)) {
                cache.loaded = false;
                cache.tree = std::move(tree);
                return cache.tree;
            }
        }
        cache.file = path;
        cache.stamp = good ? stamp : FileStamp::ofPath(path);
        cache.loaded = true;
        cache.tree = std::move(tree);
        return cache.tree;
    }

    bool startPending(Key root)
    {
        Pending &p = pendingOf(root);
        if (p.active)
            return p.ok;
        p.active = true;
        p.changed = false;
        p.file = file(root);
        paths::makeFolder(folder());
        p.lock = std::make_unique<FileLock>(p.file + QLatin1String(".lock"));
        p.ok = p.lock->tryLock(kLockTimeoutMs);
        if (!p.ok) {
            p.failure = lockFailure(*p.lock, p.file);
        } else if (!loadLocked(p.file, &p.tree)) {
            p.ok = false;
            p.failure = reg::ERROR_REGISTRY_IO_FAILED;
        }
        return p.ok;
    }

    void finishPending(Key root)
    {
        Pending &p = pendingOf(root);
        if (!p.active)
            return;
        Cache &cache = cacheOf(root);
        if (p.ok) {
            QString error;
            if (p.changed && !writeFileAtomically(p.file, serialize(p.tree), &error)) {
                warn(error);
                cache.loaded = false;
            } else {
                cache.file = p.file;
                cache.stamp = FileStamp::ofPath(p.file);
                cache.loaded = true;
                cache.tree = std::move(p.tree);
            }
        }
        p = Pending{};
    }

    // One locked read-modify-write of a root's file, or a change to the held file of
    // the running batch.
    qint32 modify(Key root, const Change &change)
    {
        if (batchDepth > 0) {
            if (!startPending(root))
                return pendingOf(root).failure;
            Pending &p = pendingOf(root);
            bool changed = false;
            const qint32 status = change(p.tree, &changed);
            p.changed = p.changed || changed;
            return status;
        }
        const QString path = file(root);
        paths::makeFolder(folder());
        FileLock lock(path + QLatin1String(".lock"));
        if (!lock.tryLock(kLockTimeoutMs))
            return lockFailure(lock, path);
        Node tree;
        if (!loadLocked(path, &tree))
            return reg::ERROR_REGISTRY_IO_FAILED;
        bool changed = false;
        const qint32 status = change(tree, &changed);
        Cache &cache = cacheOf(root);
        if (status == reg::ERROR_SUCCESS && changed) {
            QString error;
            if (!writeFileAtomically(path, serialize(tree), &error)) {
                warn(error);
                cache.loaded = false;
                return reg::ERROR_REGISTRY_IO_FAILED;
            }
        }
        cache.file = path;
        cache.stamp = FileStamp::ofPath(path);
        cache.loaded = true;
        cache.tree = std::move(tree);
        return status;
    }
};

RegistryStore::RegistryStore(const QString &folder) : d(std::make_unique<Impl>())
{
    d->fixedFolder = folder;
}

RegistryStore::~RegistryStore() = default;

RegistryStore &RegistryStore::instance()
{
    static RegistryStore store;
    return store;
}

RegistryStore::Batch::Batch(RegistryStore &store) : m_store(store)
{
    QMutexLocker locker(&m_store.d->mutex);
    ++m_store.d->batchDepth;
}

RegistryStore::Batch::~Batch()
{
    QMutexLocker locker(&m_store.d->mutex);
    if (--m_store.d->batchDepth > 0)
        return;
    m_store.d->finishPending(reg::HKEY_CURRENT_USER);
    m_store.d->finishPending(reg::HKEY_LOCAL_MACHINE);
}

QString RegistryStore::fileOf(reg::Key root) const
{
    return d->file(root);
}

QList<RegistryStore::Unreadable> RegistryStore::takeUnreadable()
{
    QMutexLocker locker(&d->mutex);
    return std::exchange(d->unreadable, {});
}

qint32 RegistryStore::openKey(reg::Key parent, const QString &subKey, reg::Key *result)
{
    QMutexLocker locker(&d->mutex);
    *result = 0;
    Impl::Handle h;
    if (!d->resolve(parent, subKey, &h))
        return reg::ERROR_INVALID_HANDLE;
    if (!findKey(d->current(h.root), h.path))
        return reg::ERROR_FILE_NOT_FOUND;
    *result = d->addHandle(h);
    return reg::ERROR_SUCCESS;
}

qint32 RegistryStore::createKey(reg::Key parent, const QString &subKey, reg::Key *result)
{
    QMutexLocker locker(&d->mutex);
    *result = 0;
    Impl::Handle h;
    if (!d->resolve(parent, subKey, &h))
        return reg::ERROR_INVALID_HANDLE;
    if (!findKey(d->current(h.root), h.path)) {
        const qint32 status = d->modify(h.root, [&](Node &tree, bool *changed) {
            ensureKey(tree, h.path, changed);
            return reg::ERROR_SUCCESS;
        });
        if (status != reg::ERROR_SUCCESS)
            return status;
    }
    *result = d->addHandle(h);
    return reg::ERROR_SUCCESS;
}

qint32 RegistryStore::closeKey(reg::Key key)
{
    QMutexLocker locker(&d->mutex);
    if (key == reg::HKEY_CURRENT_USER || key == reg::HKEY_LOCAL_MACHINE)
        return reg::ERROR_SUCCESS;
    return d->handles.erase(key) ? reg::ERROR_SUCCESS : reg::ERROR_INVALID_HANDLE;
}

qint32 RegistryStore::setValue(reg::Key key, const QString &name, const reg::Value &value)
{
    QMutexLocker locker(&d->mutex);
    Impl::Handle h;
    if (!d->resolve(key, QString(), &h))
        return reg::ERROR_INVALID_HANDLE;
    return d->modify(h.root, [&](Node &tree, bool *changed) {
        Node *node = findKey(tree, h.path);
        if (!node)
            return reg::ERROR_KEY_DELETED;
        if (NamedValue *existing = node->value(name)) {
            // An existing value keeps the spelling of its name.
            if (existing->value.type == value.type && existing->value.data == value.data)
                return reg::ERROR_SUCCESS;
            existing->value = value;
        } else {
            node->values.push_back(NamedValue{name, value});
        }
        *changed = true;
        return reg::ERROR_SUCCESS;
    });
}

qint32 RegistryStore::queryValue(reg::Key key, const QString &name, reg::Value *value)
{
    QMutexLocker locker(&d->mutex);
    Impl::Handle h;
    if (!d->resolve(key, QString(), &h))
        return reg::ERROR_INVALID_HANDLE;
    const Node *node = findKey(d->current(h.root), h.path);
    if (!node)
        return reg::ERROR_KEY_DELETED;
    const NamedValue *found = node->value(name);
    if (!found)
        return reg::ERROR_FILE_NOT_FOUND;
    if (value)
        *value = found->value;
    return reg::ERROR_SUCCESS;
}

qint32 RegistryStore::deleteValue(reg::Key key, const QString &name)
{
    QMutexLocker locker(&d->mutex);
    Impl::Handle h;
    if (!d->resolve(key, QString(), &h))
        return reg::ERROR_INVALID_HANDLE;
    return d->modify(h.root, [&](Node &tree, bool *changed) {
        Node *node = findKey(tree, h.path);
        if (!node)
            return reg::ERROR_KEY_DELETED;
        for (auto it = node->values.begin(); it != node->values.end(); ++it) {
            if (sameText(it->name, name)) {
                node->values.erase(it);
                *changed = true;
                return reg::ERROR_SUCCESS;
            }
        }
        return reg::ERROR_FILE_NOT_FOUND;
    });
}

qint32 RegistryStore::deleteKey(reg::Key parent, const QString &subKey)
{
    QMutexLocker locker(&d->mutex);
    Impl::Handle h;
    if (!d->resolve(parent, subKey, &h))
        return reg::ERROR_INVALID_HANDLE;
    if (h.path.isEmpty())
        return reg::ERROR_ACCESS_DENIED;
    const QString last = h.path.takeLast();
    return d->modify(h.root, [&](Node &tree, bool *changed) {
        Node *above = findKey(tree, h.path);
        Node *target = above ? above->child(last) : nullptr;
        if (!target)
            return reg::ERROR_FILE_NOT_FOUND;
        if (!target->keys.empty())
            return reg::ERROR_ACCESS_DENIED;
        for (auto it = above->keys.begin(); it != above->keys.end(); ++it) {
            if (&*it == target) {
                above->keys.erase(it);
                break;
            }
        }
        *changed = true;
        return reg::ERROR_SUCCESS;
    });
}

qint32 RegistryStore::valueNames(reg::Key key, QStringList *names)
{
    QMutexLocker locker(&d->mutex);
    names->clear();
    Impl::Handle h;
    if (!d->resolve(key, QString(), &h))
        return reg::ERROR_INVALID_HANDLE;
    const Node *node = findKey(d->current(h.root), h.path);
    if (!node)
        return reg::ERROR_KEY_DELETED;
    for (const NamedValue &v : node->values)
        names->append(v.name);
    return reg::ERROR_SUCCESS;
}

qint32 RegistryStore::subKeyNames(reg::Key key, QStringList *names)
{
    QMutexLocker locker(&d->mutex);
    names->clear();
    Impl::Handle h;
    if (!d->resolve(key, QString(), &h))
        return reg::ERROR_INVALID_HANDLE;
    const Node *node = findKey(d->current(h.root), h.path);
    if (!node)
        return reg::ERROR_KEY_DELETED;
    for (const Node &k : node->keys)
        names->append(k.name);
    return reg::ERROR_SUCCESS;
}

} // namespace rr
