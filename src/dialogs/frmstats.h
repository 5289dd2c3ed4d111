#pragma once
// "Statistics": five figures of the open database computed once when the box opens
// (its name, the folder tree's nodes with the root, the Vardecks, the favourites and
// the total of the visit counts), and Copy, which puts them on the clipboard.
#include <QDialog>

class QLabel;

namespace rr
{

class XmlDocument;
class qbButtons_H;

class frmStats : public QDialog
{
    Q_OBJECT
public:
    struct Figures {
        QString database;    // the open database's file name
        int folderNodes = 1; // the main window's folder tree nodes, the root included
    };
    frmStats(const XmlDocument *doc, const Figures &figures, QWidget *parent = nullptr);

    void cmdCopy_Click();

private:
    QLabel *lblDB = nullptr;
    QLabel *lblFol = nullptr;
    QLabel *lblVD = nullptr;
    QLabel *lblFavs = nullptr;
    QLabel *lblHits = nullptr;
    qbButtons_H *cmdCopy = nullptr;
    qbButtons_H *cmdOK = nullptr;
};

} // namespace rr
