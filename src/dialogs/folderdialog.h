#pragma once
// The frame that the four folder dialogs share: the folder tree, the instruction
// caption, the lines under the tree, the Save and Cancel buttons, the fonts and
// heights that follow the user's font size, the layout in twips, and the tail of a
// Save (write the file, report a failed write, tell the main window).
//
// The dialogs take identifiers, never document nodes: a node remembered by the main
// window may have been removed since, and every element is looked up again when
// the dialog acts.
#include "dialogs/dialogresults.h"
#include "dialogs/folderdialoghost.h"
#include "storage/ui/buttondialog.h"

class QLabel;

namespace rr
{

class DialogTopicTree;
class XMLDatabase;
class XmlDocument;
class XmlNode;

class FolderDialog : public ButtonDialog
{
    Q_OBJECT
public:
    enum class Kind { NameBox, MoveVardeck, MoveFolder };

protected:
    DialogTopicTree *tvwTopicList = nullptr;
    QLabel *Label2 = nullptr; // the instruction caption
    qbButtons_H *cmdSave = nullptr;
    qbButtons_H *cmdCancel = nullptr;

    FolderDialog(Kind kind, XMLDatabase &db, FolderDialogHost &host, QWidget *parent);

    // One line under the tree: an optional plain label ("Move:") and its field.
    struct Line {
        QWidget *label = nullptr;
        QWidget *field = nullptr;
    };
    // Places the lines, sets their designed fonts and the heights and font size that
    // follow the user's option; fills the tree.
    void buildFrame(const QString &instruction, const QList<Line> &lines);
    // The end of every load: Save disabled unless the dialog says otherwise, the font fallback.
    void finishLoad();

    XmlDocument &document() const;
    XMLDatabase &database() const { return m_db; }
    // The FOLDER element with this TID, or a null node.
    XmlNode folderElement(const QString &tid) const;

    // Writes the file; a failure is shown with its reason (the change stays in
    // memory). Either way the main window hears of the change (collectionChanged).
    // True when written.
    bool saveChanges(const StalePages &stale);

    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutFrame();

    Kind m_kind;
    XMLDatabase &m_db;
    FolderDialogHost &m_host;
    QList<Line> m_lines;
};

} // namespace rr
