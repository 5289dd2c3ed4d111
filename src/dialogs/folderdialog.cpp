#include "dialogs/folderdialog.h"
#include "storage/record.h"
#include "storage/ui/savereport.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "platform/gui/textfit.h"
#include "platform/prompt.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"

#include <QLabel>
#include <QLineEdit>

namespace rr
{
namespace
{

// The dialogs' geometry in twips. Their width and height are the outer size, frame
// included; the frame is taken as a fixed nominal border so that every window
// manager lays out alike.
constexpr int kFrameWidth = 90;
constexpr int kFrameHeight = 450;
constexpr int kLeft = 300;
constexpr int kFieldLeft = 900; // the bold captions after "Move:", "from:", "to:"
constexpr int kButtonWidth = 855;

struct Geometry {
    int clientWidth;
    int clientHeight;
    int treeTop;
    int instructionAbove; // instruction caption top = tree top - this
    int treeHeightLess;   // tree height = H - this
    int lineOffsets[3];   // line tops = tree bottom + these
    int buttonOffset;
    int buttonHeight;
};

const Geometry &geometryOf(FolderDialog::Kind kind)
{
    static const Geometry nameBox{5775, 4785, 600, 400, 3800, {300, 900, 1200}, 1780, 645};
    static const Geometry moveVardeck{5775, 5160, 900, 700, 4200, {200, 800, 1400}, 1900, 630};
    static const Geometry moveFolder{5775, 4665, 800, 600, 3800, {300, 900, 0}, 1600, 630};
    switch (kind) {
    case FolderDialog::Kind::NameBox:
        return nameBox;
    case FolderDialog::Kind::MoveVardeck:
        return moveVardeck;
    case FolderDialog::Kind::MoveFolder:
        return moveFolder;
    }
    return nameBox;
}

QFont designedFont(const QString &family, bool bold)
{
    QFont font(family);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void place(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(ButtonDialog::px(left), ButtonDialog::px(top), ButtonDialog::px(width), ButtonDialog::px(height));
}

} // namespace

FolderDialog::FolderDialog(Kind kind, XMLDatabase &db, FolderDialogHost &host, QWidget *parent)
    : ButtonDialog(parent), m_kind(kind), m_db(db), m_host(host)
{
    Label2 = makeLabel(QStringLiteral("Label2"), QString());
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tvwTopicList = new DialogTopicTree(this);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("Save"), QStyle::SP_DialogSaveButton);
    connect(cmdCancel, &qbButtons_H::Click, this, &FolderDialog::reject);
    const Geometry &g = geometryOf(kind);
    setMinimumSize(px(g.clientWidth), px(g.clientHeight));
    resize(px(g.clientWidth), px(g.clientHeight));
}

void FolderDialog::buildFrame(const QString &instruction, const QList<Line> &lines)
{
    m_lines = lines;
    Label2->setText(instruction);
    Label2->setFont(designedFont(QStringLiteral("Microsoft Sans Serif"), false));
    const int fontSize = appOptions().getFontSize();
    const int height = lineHeightTwips(fontSize);

    QFont treeFont = designedFont(QStringLiteral("Tahoma"), false);
    treeFont.setPointSize(fontSize);
    tvwTopicList->setFont(treeFont);
    cmdSave->setFont(designedFont(QStringLiteral("Tahoma"), false));
    cmdCancel->setFont(designedFont(QStringLiteral("Tahoma"), false));
    QFont nameFont = designedFont(QStringLiteral("Tahoma"), true);
    nameFont.setPointSize(fontSize);
    for (const Line &line : lines) {
        if (line.label)
            line.label->setFont(designedFont(QStringLiteral("Microsoft Sans Serif"), false));
        // The fields are the name box and the bold captions naming folders and
        // Vardecks; a plain prompt caption in the name dialogs has no label beside it.
        const bool named =
            line.label || qobject_cast<QLineEdit *>(line.field) || line.field->property("namesFolder").toBool();
        if (named) {
            line.field->setFont(nameFont);
            line.field->setProperty("lineHeightTwips", height);
            // A long name shows shortened with "…", whole in its tool tip.
            if (auto *caption = qobject_cast<QLabel *>(line.field))
                elideLabel(caption);
        } else {
            line.field->setFont(designedFont(QStringLiteral("Microsoft Sans Serif"), false));
            line.field->setProperty("lineHeightTwips", 220);
        }
    }
    populateDialogTopicTree(document(), tvwTopicList);
    layoutFrame();
}

void FolderDialog::finishLoad()
{
    m_host.applyFontFallback(this);
}

XmlDocument &FolderDialog::document() const
{
    return *m_db.getTheDOM();
}

XmlNode FolderDialog::folderElement(const QString &tid) const
{
    const XmlNode node = document().nodeFromID(tid);
    return node && node.nodeName() == tag::Folder ? node : XmlNode();
}

bool FolderDialog::saveChanges(const StalePages &stale)
{
    const bool saved = saveDatabaseReporting(m_db);
    m_host.collectionChanged(stale);
    return saved;
}

void FolderDialog::resizeEvent(QResizeEvent *event)
{
    ButtonDialog::resizeEvent(event);
    layoutFrame();
}

void FolderDialog::layoutFrame()
{
    const Geometry &g = geometryOf(m_kind);
    const double w = width() * 15.0 + kFrameWidth;
    const double h = height() * 15.0 + kFrameHeight;
    const double treeWidth = w - 600;
    // An instruction that wraps to more lines than the design holds pushes the tree
    // down rather than losing its last line.
    const double designed = g.instructionAbove - 60;
    const double needed = Label2->heightForWidth(px(w - 600)) * 15.0;
    const double extra = qMax(0.0, needed - designed);
    const double treeTop = g.treeTop + extra;
    const double treeHeight = h - g.treeHeightLess - extra;
    place(Label2, kLeft, g.treeTop - g.instructionAbove, w - 600, designed + extra);
    place(tvwTopicList, kLeft, treeTop, treeWidth, treeHeight);
    const double treeBottom = treeTop + qMax(0.0, treeHeight);
    const double treeRight = kLeft + qMax(0.0, treeWidth);
    for (int i = 0; i < m_lines.size() && i < 3; ++i) {
        const Line &line = m_lines.at(i);
        const double top = treeBottom + g.lineOffsets[i];
        const double fieldHeight = line.field->property("lineHeightTwips").toInt();
        if (line.label) {
            place(line.label, kLeft, top, kFieldLeft - kLeft, fieldHeight);
            place(line.field, kFieldLeft, top, w - 1200, fieldHeight);
        } else {
            place(line.field, kLeft, top, w - 600, fieldHeight);
        }
    }
    // A caption wider than the designed button (other fonts than the designed ones)
    // widens both buttons towards the left instead of being cut.
    const double hinted = qMax(cmdSave->sizeHint().width(), cmdCancel->sizeHint().width()) * 15.0;
    const double wider = qMax(0.0, hinted - kButtonWidth);
    const double buttonTop = treeBottom + g.buttonOffset;
    place(cmdCancel, treeRight - 1700 - 2 * wider, buttonTop, kButtonWidth + wider, g.buttonHeight);
    place(cmdSave, treeRight - 850 - wider, buttonTop, kButtonWidth + wider, g.buttonHeight);
}

} // namespace rr
