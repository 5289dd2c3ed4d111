#include "storage/registryfunctions.h"

#include "storage/regconvert.h"

namespace rr::RegistryFunctions
{
namespace
{

RegistryStore &store()
{
    return RegistryStore::instance();
}

} // namespace

void DeleteKey(Key root, const QString &subKey)
{
    store().deleteKey(root, subKey);
}

void DeleteValue(Key root, const QString &keyPath, const QString &valueName)
{
    Key key = OpenKey(root, keyPath);
    store().deleteValue(key, valueName);
    CloseKey(key);
}

qint32 SetValueEx(Key key, const QString &valueName, quint32 type, const QVariant &value)
{
    if (type == reg::REG_SZ)
        return store().setValue(key, valueName, reg::Value::text(textOf(value)));
    if (type == reg::REG_DWORD) {
        const std::optional<qint32> number = longOf(value);
        if (!number)
            return reg::ERROR_INVALID_PARAMETER;
        return store().setValue(key, valueName, reg::Value::number(static_cast<quint32>(*number)));
    }
    return reg::ERROR_SUCCESS;
}

qint32 QueryValueEx(Key key, const QString &valueName, QVariant &value)
{
    reg::Value stored;
    const qint32 status = store().queryValue(key, valueName, &stored);
    if (status != reg::ERROR_SUCCESS)
        return status;
    if (stored.type == reg::REG_SZ) {
        value = stored.data.toString();
        return status;
    }
    if (stored.type == reg::REG_DWORD) {
        value = static_cast<qint32>(stored.data.toUInt());
        return status;
    }
    return -1;
}

QVariant QueryValue(Key root, const QString &keyPath, const QString &valueName)
{
    QVariant value;
    const Key key = OpenKey(root, keyPath);
    QueryValueEx(key, valueName, value);
    CloseKey(key);
    return value;
}

Key OpenKey(Key root, const QString &keyPath)
{
    Key key = 0;
    store().openKey(root, keyPath, &key);
    return key;
}

Key CreateKey(Key root, const QString &keyPath)
{
    Key key = 0;
    store().createKey(root, keyPath, &key);
    return key;
}

void CloseKey(Key key)
{
    if (key != 0)
        store().closeKey(key);
}

qint32 WriteValue(Key root, const QString &keyPath, const QString &valueName, const QVariant &value, quint32 type)
{
    Key key = 0;
    const qint32 created = store().createKey(root, keyPath, &key);
    if (created != reg::ERROR_SUCCESS)
        return created;
    const qint32 status = SetValueEx(key, valueName, type, value);
    CloseKey(key);
    return status;
}

QStringList ValueNames(Key root, const QString &keyPath)
{
    QStringList names;
    const Key key = OpenKey(root, keyPath);
    if (key != 0)
        store().valueNames(key, &names);
    CloseKey(key);
    return names;
}

} // namespace rr::RegistryFunctions
