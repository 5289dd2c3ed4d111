#pragma once
// The details panel: one Vardeck's fields, site icon, thumbnail, home page and marks
// on the right-hand side; what follows when the shown folder or Vardeck changes (tab
// captions fitted, commands enabled, the folder path in the status bar); the address
// and home-page links; and the right-clicks that keep a text for the Copy command.
//
// The panel makes and keeps its controls: the name and address above the details tabs
// (Frame2 with lblWName, txtWName, lblAddress, txtAddress, imgIcon and the captions
// lbl(25) and lbl(26)), the Details page (PictureDetails with the thumbnail, the
// favourite mark, the values and their captions, the description and keywords and the
// Update and search buttons) and the notes. No other file touches them: the edit mode
// (editmode.h) and the Vardeck editor (savevardeck.h) ask the panel to switch its faces
// and to fill or read its fields, and the other parts reach it through its operations:
// those of detailsops.h, and the DetailsOperations it offers on the window for the
// frame, the finding panes and the parts above the Explorer
// (shell/detailsoperations.h).
#include "platform/gui/commands.h"
#include "platform/gui/textboxes.h"
#include "platform/xmldocument.h"
#include "shell/controlarrays.h"
#include "shell/detailsoperations.h"

#include <QMap>
#include <QObject>
#include <array>

class QCheckBox;
class QImage;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPixmap;
class QPoint;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

// The fields the panel's edit boxes edit.
enum class EditField { Name, Address, Description, Keywords, Notes };

class frmVardecks;
struct PageFields;
class qbButtons_H;

class DetailsPanel : public QObject, public DetailsOperations
{
    Q_OBJECT
public:
    explicit DetailsPanel(frmVardecks &w);
    // The panel installDetailsPanel made for the window.
    static DetailsPanel &of(const frmVardecks &w);

    void displayVardeckData(const XmlNode &vardeck) override;
    void lblWName_Change();
    void lblTName_Change();

    // The link labels.
    void linkClicked(QLabel *link);
    void linkHovered(QLabel *link);
    // A right-click on one of the panel's controls.
    void rightClicked(QWidget *control);

    // The texts of the tab captions for the shown Vardeck and folder.
    QString fittedVardeckCaption(const QString &caption) const;
    QString fittedFolderCaption(const QString &caption) const;

    // ----- what the other parts ask of the panel (DetailsOperations and detailsops.h) -----
    // The faces of the panel, switched by the edit mode (editmode.h) with the window's
    // toolbar and menus, and reset to the read-only face with the details tabs hidden.
    void setFormEditMode(bool editing) override;
    void setNonEditableFields() override;
    QString detailsText(DetailsField field) const override;
    void showHits(const QString &hits) override;
    void showLastVisit(const QString &stamp);
    // The favourite check box and mark, and the picture of the Vardeck tab.
    void showFavoriteMark(bool favorite) override;
    void takePageIntoEdit(const PageFields &page);
    void showThumbnail(const QImage &thumbnail);
    // The icon in the details and, fitted, on the Vardeck tab (the plain mark when null).
    void showSiteIcon(const QPixmap &icon);
    void siteIconRemoved();
    // The favourite check box clicked during an edit: the mark follows it.
    void chkFav_Click();
    // The button beside the check box takes the shown Vardeck off the favourites when the
    // box is checked and adds it otherwise.
    void cmdAddFavs_Click();

    // The panel's controls a page or an address may be dropped on.
    QList<QWidget *> dropTargets() const;

    // The text a field's box edits. A box shows at most what it lays out at once (a name
    // or an address kMostLineLetters letters, the others kMostEditedLetters); a longer
    // text shows its beginning, with a sentence that says so, and stays whole as long as
    // the box shows what it was given. A name or an address is given on one line.
    void setFieldText(EditField field, const QString &text);
    QString fieldText(EditField field) const;
    // A field whose text is what the stored text becomes in its box: the stored text.
    bool fieldShowsStored(EditField field, const QString &stored) const;

    // ----- the faces, switched and filled for the edit mode and the Vardeck editor -----
    // The edit face: the name, address, description and keyword boxes in the labels'
    // places, the favourite box enabled, the notes unlocked, the Update and search buttons
    // hidden; or the view face: the labels and links, the notes locked.
    void showEditFace(bool editing);
    // The read-only face is reset: no Vardeck shown, the address, size and hit labels
    // empty, the details tabs shown or hidden.
    void setNonEditableFields(bool detailsTabsShown);
    // A new Vardeck starts with nothing of the one shown before: the favourite box and
    // mark, the description and keyword labels, the last visit, size, hits and home
    // page, and the thumbnail are empty.
    void showNoVardeckDetails();
    void showCreatedDate(const QString &date);
    // The size in KB ("12.5") of the page the Vardeck being edited was made from or
    // synchronised with.
    void showPageSize(const QString &size);
    // Whether the favourite box is ticked.
    bool favoriteTicked() const;
    // The name box takes the keyboard; an update starts with its cursor at the start.
    void focusNameBox(bool cursorAtStart = false);
    // Whether widget is one of the edit boxes (name, address, description, keywords,
    // notes).
    bool isEditBox(const QWidget *widget) const;
    // The "Name" and "Address" captions beside the boxes, shown during an edit: the
    // enabling table's operation (editmode.h).
    static void showEditCaptions(const QObject &window, bool shown);
    // What edits need of the boxes, which the edit mode asks for as it is installed: the
    // name and the address hold one line whatever reaches them; Tab and Shift+Tab during
    // an edit go from box to box across the details tabs; a key typed into the locked
    // notes of a shown Vardeck starts a modification (the Update command) and goes on to
    // the notes it unlocked, and a right-click on them offers to copy what is selected,
    // or all of them.
    void prepareForEdits();

signals:
    // The name box's text changed, typed or set.
    void nameBoxChanged(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building (detailspanel_build.cpp).
    void buildNameAndAddress(QWidget *page);
    void buildDetailsPage(QWidget *page);
    void buildNotes(QWidget *page);
    void placeInTabOrder();
    void handToTheFrame();
    QLabel *makeCaption(QWidget *parent, Lbl index, const QString &caption, double l, double t, double width,
                        double height);
    qbButtons_H *makeButton(QWidget *parent, const QString &name, double l, double t, double width, double height,
                            HandlerRef command, int index = 0);

    void showStoredSiteIcon();
    void showStoredThumbnail();
    void showPreview(const QString &address);
    void enableVardeckCommands(bool shown);
    void enableFolderCommands(bool shown);
    bool panelIdle() const;
    bool bothShown() const;
    void fitToFont(QLabel *label);
    // The thumbnail's own pointer: its tool tip names the Vardeck, a click opens it and a
    // right-click offers Copy.
    bool thumbnailEvent(QEvent *event);
    // The handlers prepareForEdits gives the boxes and the notes; true when the event
    // went no further.
    bool editBoxTab(QObject *box, const QKeyEvent *key);
    bool notesEvent(QObject *watched, QEvent *event);
    void txtNotes_KeyDown();
    void txtNotes_MouseDown(Qt::MouseButton button);

    frmVardecks &w;

    // The shown Vardeck's name and address, and the boxes that edit them.
    QWidget *Frame2 = nullptr;
    QLabel *lblWName = nullptr;
    QLabel *lblTName = nullptr; // the shown folder's caption, hidden
    QLineEdit *txtWName = nullptr;
    QLabel *lblAddress = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLabel *imgIcon = nullptr; // holds the site icon; never shown itself
    // The Details page.
    QWidget *PictureDetails = nullptr;
    QLabel *picThumb = nullptr;
    QCheckBox *chkFav = nullptr;
    qbButtons_H *cmdAddFavs = nullptr;
    QLabel *Picture10 = nullptr; // the favourite mark
    QLabel *lblHome = nullptr;
    QLabel *lblCreatedDate = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblDescription = nullptr;
    PlainTextBox *txtDescription = nullptr;
    QLabel *lblKeyWords = nullptr;
    PlainTextBox *txtKeywords = nullptr;
    // The two Update buttons: at the top of the page, and in front of "Keywords:".
    qbButtons_H *m_updateButton = nullptr;
    qbButtons_H *m_keywordsUpdateButton = nullptr;
    // Search the collection for the home page's domain, the last visit's day, the
    // created date.
    qbButtons_H *m_searchDomain = nullptr;
    qbButtons_H *m_searchLastVisited = nullptr;
    qbButtons_H *m_searchCreatedDate = nullptr;
    // The Notes page.
    TextBox *txtNotes = nullptr;
    // What each field's box was given, and what it showed of it.
    struct HeldText {
        QString whole;
        QString shown;
    };
    std::array<HeldText, 5> m_held;
    QString boxText(EditField field) const;
    // The elements of lbl() on the panel: the captions and the last visit and hits.
    QMap<Lbl, QLabel *> m_labels;
    QLabel *label(Lbl index) const { return m_labels.value(index); }
};

// Makes the window's details panel, attaches its commands (lblWName_Change,
// lblTName_Change, chkFav_Click, cmdAddFavs_Click) and offers its DetailsOperations on
// the window. installExplorer calls it.
DetailsPanel &installDetailsPanel(frmVardecks &w);

} // namespace rr
