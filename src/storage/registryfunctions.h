#pragma once
// The thin layer through which the settings, the user options and every other
// registry read and write of the program go. Values cross it as variants: an
// invalid QVariant is the empty variant, which callers read as "", 0 or False.
#include "platform/registrystore.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace rr::RegistryFunctions
{

using reg::Key;

// Deletes the key (it must have no sub-keys); the outcome is not looked at.
void DeleteKey(Key root, const QString &subKey);
// Opens the key, deletes the value, closes the key; the outcome is not looked at.
void DeleteValue(Key root, const QString &keyPath, const QString &valueName);

// Type REG_SZ writes the value as text, REG_DWORD as a 32-bit integer; any other
// type writes nothing and returns 0. Returns the store's status.
qint32 SetValueEx(Key key, const QString &valueName, quint32 type, const QVariant &value);
// Reads a text (QString) or a 32-bit number (qint32) into value. On a failed call
// value is untouched and the status is returned; a value of another type leaves
// value untouched and returns -1.
qint32 QueryValueEx(Key key, const QString &valueName, QVariant &value);
// Opens the key, reads the value and closes the key; the empty variant when the key
// or value is missing or of another type.
QVariant QueryValue(Key root, const QString &keyPath, const QString &valueName);

// The open and close steps of the writers; 0 when the key cannot be opened.
Key OpenKey(Key root, const QString &keyPath);
// Opens the key, creating it first when absent.
Key CreateKey(Key root, const QString &keyPath);
void CloseKey(Key key);

// One value written the writers' way: create or open the key, SetValueEx, close.
qint32 WriteValue(Key root, const QString &keyPath, const QString &valueName, const QVariant &value,
                  quint32 type = reg::REG_SZ);
// The names of a key's values; empty when the key is missing.
QStringList ValueNames(Key root, const QString &keyPath);

} // namespace rr::RegistryFunctions
