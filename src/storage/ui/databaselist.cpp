#include "storage/ui/databaselist.h"

#include "storage/dbfolder.h"

#include <QHeaderView>
#include <QStyle>

namespace rr
{

DatabaseList::DatabaseList(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvwDB"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int DatabaseList::fill(const QString &folder)
{
    clear();
    const DatabaseFolder databases(folder);
    const QIcon picture = style()->standardIcon(QStyle::SP_FileIcon);
    const QStringList files = databases.databaseFiles();
    for (const QString &name : files) {
        auto *item = new QTreeWidgetItem(this, QStringList{name});
        item->setIcon(0, picture);
        item->setData(0, Qt::UserRole, databases.filePath(name));
    }
    return int(files.size());
}

QString DatabaseList::tag(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

void applyUserFontSize(const QList<QWidget *> &widgets, int fontSize)
{
    for (QWidget *w : widgets) {
        QFont font = w->font();
        font.setPointSize(fontSize);
        w->setFont(font);
    }
}

} // namespace rr
