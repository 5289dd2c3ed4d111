#pragma once
// A small open database for the folder dialog tests, and helpers to find the dialogs' controls by name.
#include "controls/qbbuttons_h.h"
#include "dialogs/dialogresults.h"
#include "dialogs/dialogtopictree.h"
#include "dialogs/folderdialoghost.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/xmlids.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace rr::test
{

// FOLDERS
//   T1 Zeta (W1 One, W2 Two, W3 Three)
//     T2 Beta
//       T3 Gamma
//     T4 Alpha
//   T5 Apple (W4 Four)
//   T6 FOLDERS
struct DialogDb {
    TempHome home;
    ScriptedPrompts prompts;
    XMLDatabase db;
    QString path;
    std::vector<StalePages> changes;
    // What the dialogs ask of the main window: every change they report is kept in
    // order; the font fallback does nothing.
    struct Host final : FolderDialogHost {
        explicit Host(std::vector<StalePages> &reported) : changes(reported) {}
        void collectionChanged(const StalePages &stale) override { changes.push_back(stale); }
        std::vector<StalePages> &changes;
    } host{changes};

    explicit DialogDb(const QByteArray &body = sampleBody())
    {
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", body);
        db.setPath(path);
        EXPECT_TRUE(db.openDBValidate(path));
    }

    static QByteArray sampleBody()
    {
        const QByteArray zeta =
            folderXml("T1", "Zeta", vardeckXml("W1", "One") + vardeckXml("W2", "Two") + vardeckXml("W3", "Three"),
                      folderXml("T2", "Beta", {}, folderXml("T3", "Gamma")) + folderXml("T4", "Alpha"));
        return "<FOLDERS>" + zeta + folderXml("T5", "Apple", vardeckXml("W4", "Four")) + folderXml("T6", "FOLDERS") +
               "</FOLDERS>";
    }

    XmlDocument &doc() const { return *db.getTheDOM(); }
    XmlNode node(const QString &id) const { return doc().nodeFromID(id); }
    QStringList ids(const QString &id, const QString &childName) const { return childIds(doc(), id, childName); }
    QStringList idsOnDisk(const QString &id, const QString &childName) const
    {
        return childIdsOnDisk(path, id, childName);
    }
    QByteArray fileBytes() const { return readBytes(path); }
};

template <typename T> T *find(QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QString labelText(QWidget *dialog, const char *name)
{
    return find<QLabel>(dialog, name)->text();
}
inline QStringList labelTexts(QWidget *dialog, std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *name : names)
        out << labelText(dialog, name);
    return out;
}
inline DialogTopicTree *treeOf(QWidget *dialog)
{
    return find<DialogTopicTree>(dialog, "tvwTopicList");
}
inline qbButtons_H *saveOf(QWidget *dialog)
{
    return find<qbButtons_H>(dialog, "cmdSave");
}

// Clicks the node tagged tid ("" for the root), as the user would.
inline void clickFolder(QWidget *dialog, const QString &tid)
{
    DialogTopicTree *tree = treeOf(dialog);
    QTreeWidgetItem *item = tid.isEmpty() ? tree->root() : tree->findByTag(tid);
    ASSERT_NE(item, nullptr) << tid.toStdString();
    tree->selectNode(item);
    emit tree->itemClicked(item, 0);
}

} // namespace rr::test
