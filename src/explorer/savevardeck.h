#pragma once
// Adding and changing a Vardeck in the details panel: Update puts the shown Vardeck
// into modify mode, New Vardeck starts an empty (or browser-filled) panel in add
// mode, Save checks the fields and writes a new VARDECK or rewrites the shown one,
// Cancel drops the edit. Every save writes the whole database file at once; when the
// file cannot be written the user is told and the change stays in memory.
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTimer;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

class DetailsPanel;
struct DetectedPage;
class frmVardecks;
class XmlNode;

class VardeckEditor : public QObject
{
    Q_OBJECT
public:
    explicit VardeckEditor(frmVardecks &w);

    void mnuEditModify_Click();
    void mnuAddVardeck_Click();
    // The panel is filled from the page the new Vardeck is made from; none: an empty add.
    void addVardeckSetup(const std::optional<DetectedPage> &page);
    // The size in KB of the page the Vardeck being edited was made from or synchronised
    // with: shown in the details and stored by Save.
    void setEditedPageSize(const QString &size);
    void saveVardeckDetails();
    // Cancel: asks when anything was typed, then ends the edit.
    void cancelVardeckEdit();
    // Ends the edit without asking: a modified Vardeck shows again what is stored, an
    // add leaves no Vardeck shown.
    void dropEdit();

private:
    // The folder a new Vardeck goes into: the folder shown (its tab, its list and the
    // status bar say which), and its node in the tree.
    XmlNode targetFolder(QTreeWidgetItem **node) const;
    // Adds the Vardeck to the document; false when nothing was added (the edit stays
    // open). The file is written with the first visit that follows.
    bool saveNewVardeck();
    bool saveModifiedVardeck();
    // The address box's text as it is stored: on one line, nothing around it.
    QString editedAddress() const;
    void recordFirstVisitAndSave();
    void clearDownloadedIcon();
    // The control the user was on before an edit began: a cancelled edit gives the
    // keyboard back to it (or to the Vardeck list), not to whatever comes next in
    // the tab order once the edit boxes hide.
    void rememberFocus();
    void restoreFocus();

    // What the edit boxes and the favourite mark hold; an edit whose fields still
    // read as they did when it began has nothing to lose.
    struct Fields {
        QStringList texts;
        bool favorite = false;
        bool operator==(const Fields &) const = default;
    };
    Fields currentFields() const;

    frmVardecks &w;
    // The panel whose faces the edit switches and whose fields it fills and reads.
    DetailsPanel &p;
    // The icon timer (timerIcon): a new Vardeck taken from a browser has its page's site
    // icon fetched 10 ms after the add began.
    QTimer *m_iconTimer;
    // The address of the page the add under way was made from, whose site icon the
    // timer fetches ("" an empty add).
    QString m_iconAddress;
    // The fields as the edit began: the stored Vardeck's for an update, empty for a
    // new Vardeck (a page taken from a browser is unsaved too).
    Fields m_startFields;
    // The notes as the update began: what a cancel puts back when the Vardeck has gone.
    QString m_savedNotes;
    // What the Vardeck being edited holds beyond the edit boxes: the size of the page it
    // was made from or synchronised with. None: a new Vardeck has no size, a modified
    // one keeps the stored size. Its hit count is "1" when new, and otherwise the stored
    // one, which visits change meanwhile in the document itself.
    std::optional<QString> m_pageSize;
    QPointer<QWidget> m_focusBefore;
};

// The clock of created dates and first-visit stamps; an empty function restores the
// system clock. For tests.
void setEditingClock(std::function<QDateTime()> clock);
QDateTime editingNow();

// The message shown when a database has no free Vardeck identifier left.
QString noFreeIdentifierMessage();
// What a new Vardeck in a database whose every identifier is in use is told at once.
QString databaseFullMessage();

} // namespace rr
