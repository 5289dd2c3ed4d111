#include "dialogs/frmduplicates.h"

#include "controls/qbbuttons_h.h"
#include "platform/gui/caselessitem.h"
#include "platform/gui/columnfit.h"
#include "platform/gui/itemtags.h"
#include "platform/prompt.h"
#include "storage/record.h"
#include "storage/useroptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rr
{
namespace
{

qbButtons_H *addButton(QWidget *parent, QLayout *layout, const char *name, const QString &caption, const QString &tip)
{
    auto *button = new qbButtons_H(parent);
    button->setObjectName(QLatin1String(name));
    button->setCaption(caption);
    button->setToolTip(tip);
    button->setMinimumSize(75, 25);
    layout->addWidget(button);
    return button;
}

QLabel *addValueLabel(QWidget *parent, QGridLayout *grid, int row, const QString &caption, const char *name)
{
    grid->addWidget(new QLabel(caption, parent), row, 0);
    auto *value = new QLabel(parent);
    value->setObjectName(QLatin1String(name));
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, 1);
    return value;
}

} // namespace

frmDuplicates::frmDuplicates(XmlDocument &doc, const QString &dupCheckAddress, bool checkDup, DuplicatesHost &host,
                             const QMap<QString, QIcon> &images, QWidget *parent)
    : QDialog(parent), m_doc(doc), m_host(host), m_images(images)
{
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(QStringLiteral("Manage duplicates"));
    setModal(true);
    buildControls();
    m_host.applyFontFallback(this);
    load(dupCheckAddress, checkDup);
}

void frmDuplicates::run(XmlDocument &doc, const QString &dupCheckAddress, bool checkDup, DuplicatesHost &host,
                        const QMap<QString, QIcon> &images, QWidget *parent)
{
    frmDuplicates dialog(doc, dupCheckAddress, checkDup, host, images, parent);
    if (!dialog.closesUnseen())
        dialog.exec();
}

void frmDuplicates::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *counts = new QHBoxLayout;
    Label2 = new QLabel(QStringLiteral("duplicate(s) found."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("1 of 1"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    counts->addWidget(Label2);
    counts->addStretch();
    counts->addWidget(Label3);
    layout->addLayout(counts);

    listVD = new QTreeWidget(this);
    listVD->setObjectName(QStringLiteral("listVD"));
    listVD->setRootIsDecorated(false);
    listVD->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Created date"),
                             QStringLiteral("Last visited"), QStringLiteral("Hits"), QStringLiteral("Description")});
    listVD->setMinimumSize(600, 160);
    // The columns take the width of what they show when the window opens.
    new ColumnFit(listVD);
    layout->addWidget(listVD);
    connect(listVD, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            showVDDetails(m_doc.nodeFromID(tagOf(item)));
    });

    auto *details = new QGridLayout;
    lblFolder = addValueLabel(this, details, 0, QStringLiteral("Folder:"), "lblFolder");
    lblName = addValueLabel(this, details, 1, QStringLiteral("Name:"), "lblName");
    lblAddress = addValueLabel(this, details, 2, QStringLiteral("Address:"), "lblAddress");
    lblDesc = addValueLabel(this, details, 3, QStringLiteral("Description:"), "lblDesc");
    details->setColumnStretch(1, 1);
    layout->addLayout(details);

    auto *actions = new QGroupBox(QStringLiteral("Actions"), this);
    auto *actionLayout = new QHBoxLayout(actions);
    chkAllDelete = new QCheckBox(QStringLiteral("Delete all but selected"), actions);
    chkAllDelete->setObjectName(QStringLiteral("chkAllDelete"));
    chkSuppress = new QCheckBox(QStringLiteral("Suppress warnings"), actions);
    chkSuppress->setObjectName(QStringLiteral("chkSuppress"));
    actionLayout->addWidget(chkAllDelete);
    actionLayout->addWidget(chkSuppress);
    layout->addWidget(actions);

    auto *buttons = new QHBoxLayout;
    qbButtons_H2 = addButton(this, buttons, "qbButtons_H2", QStringLiteral("First"),
                             QStringLiteral("Navigate to first duplicate set"));
    qbButtons_H1 = addButton(this, buttons, "qbButtons_H1", QStringLiteral("Previous"),
                             QStringLiteral("Navigate to previous duplicate set"));
    qbButtons_H4 = addButton(this, buttons, "qbButtons_H4", QStringLiteral("Next"),
                             QStringLiteral("Navigate to next duplicate set"));
    qbButtons_H3 = addButton(this, buttons, "qbButtons_H3", QStringLiteral("Last"),
                             QStringLiteral("Navigate to last duplicate set"));
    buttons->addStretch();
    qbButtons_H6 = addButton(this, buttons, "qbButtons_H6", QStringLiteral("Delete"), QStringLiteral("Delete"));
    cmdCancel = addButton(this, buttons, "cmdCancel", QStringLiteral("Close"), QString());
    layout->addLayout(buttons);

    connect(qbButtons_H2, &qbButtons_H::Click, this, &frmDuplicates::cmdFirst_Click, Qt::QueuedConnection);
    connect(qbButtons_H1, &qbButtons_H::Click, this, &frmDuplicates::cmdPrevious_Click, Qt::QueuedConnection);
    connect(qbButtons_H4, &qbButtons_H::Click, this, &frmDuplicates::cmdNext_Click, Qt::QueuedConnection);
    connect(qbButtons_H3, &qbButtons_H::Click, this, &frmDuplicates::cmdLast_Click, Qt::QueuedConnection);
    connect(qbButtons_H6, &qbButtons_H::Click, this, &frmDuplicates::cmdDelete_Click, Qt::QueuedConnection);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmDuplicates::cmdCancel_Click, Qt::QueuedConnection);
}

void frmDuplicates::load(const QString &dupCheckAddress, bool checkDup)
{
    if (const int size = appOptions().getFontSize(); size > 0) {
        for (QWidget *control :
             {static_cast<QWidget *>(listVD), static_cast<QWidget *>(lblAddress), static_cast<QWidget *>(lblDesc),
              static_cast<QWidget *>(lblName), static_cast<QWidget *>(lblFolder)}) {
            QFont font = control->font();
            font.setPointSize(size);
            control->setFont(font);
        }
    }
    m_sets.clear();
    m_singleMode = false;
    QList<DuplicateSet> found;
    if (!checkDup || dupCheckAddress.isEmpty()) {
        found = findDuplicateSets(m_doc);
    } else {
        m_singleMode = true;
        const DuplicateSet copies = findAddressCopies(m_doc, dupCheckAddress);
        if (copies.size() == 1) {
            m_closesUnseen = true;
            return;
        }
        if (copies.size() > 1)
            found.append(copies);
    }
    for (const DuplicateSet &set : std::as_const(found)) {
        QStringList wids;
        for (const XmlNode &vardeck : set)
            wids.append(vardeck.attribute(tag::Wid));
        m_sets.append(wids);
    }
    m_setIndex = 1;
    populateDupList(m_setIndex);
}

void frmDuplicates::showCounts(int k)
{
    Label2->setText(QString::number(m_sets.size()) + QStringLiteral(" duplicate set(s) found"));
    Label3->setText(QStringLiteral("Duplicate set ") + QString::number(k) + QStringLiteral(" of ") +
                    QString::number(m_sets.size()));
}

void frmDuplicates::populateDupList(int k)
{
    showCounts(k);
    listVD->clear();
    if (m_sets.isEmpty()) {
        showEmptyState();
        return;
    }
    XmlNode first;
    for (const QString &wid : m_sets.at(k - 1)) {
        const XmlNode vardeck = m_doc.nodeFromID(wid);
        if (!vardeck)
            continue;
        if (!first)
            first = vardeck;
        const XmlNode hits = vardeck.child(tag::Hits);
        auto *row =
            new CaselessItem(listVD, {vardeck.childText(tag::Name), vardeck.childText(tag::Address),
                                      vardeck.childText(tag::CreatedDate), vardeck.childText(tag::Keyword2),
                                      hits ? hits.text() : QStringLiteral("1"), vardeck.childText(tag::Description)});
        setTag(row, wid);
        row->setIcon(0, m_images.value(wid, m_images.value(QStringLiteral("Vardeck"))));
    }
    showVDDetails(first);
    if (listVD->topLevelItemCount() > 0) {
        const QSignalBlocker quiet(listVD);
        listVD->setCurrentItem(listVD->topLevelItem(0));
        listVD->topLevelItem(0)->setSelected(true);
    }
}

void frmDuplicates::showEmptyState()
{
    // The window shows no Vardeck any more before it says so.
    for (QWidget *control : {static_cast<QWidget *>(qbButtons_H6), static_cast<QWidget *>(qbButtons_H2),
                             static_cast<QWidget *>(qbButtons_H3), static_cast<QWidget *>(qbButtons_H1),
                             static_cast<QWidget *>(qbButtons_H4), static_cast<QWidget *>(chkAllDelete),
                             static_cast<QWidget *>(chkSuppress), static_cast<QWidget *>(listVD)})
        control->setEnabled(false);
    for (QLabel *label : {lblFolder, lblName, lblAddress, lblDesc})
        label->clear();
    m_shownWID.clear();
    if (!m_singleMode)
        prompt::show(QStringLiteral("No duplicate web addresses exist in the current Vardecks database."),
                     MsgButtons::Ok, MsgIcon::Information);
}

void frmDuplicates::showVDDetails(const XmlNode &vardeck)
{
    m_shownWID = vardeck.attribute(tag::Wid);
    lblFolder->setText(vardeck.parentNode().parentNode().childText(tag::Name));
    lblName->setText(vardeck.childText(tag::Name));
    lblAddress->setText(vardeck.childText(tag::Address));
    lblDesc->setText(vardeck.childText(tag::Description));
}

void frmDuplicates::cmdFirst_Click()
{
    populateDupList(1);
    m_setIndex = 1;
}

void frmDuplicates::cmdPrevious_Click()
{
    if (m_setIndex <= 1)
        return;
    populateDupList(--m_setIndex);
}

void frmDuplicates::cmdNext_Click()
{
    if (m_setIndex + 1 > setCount()) {
        m_setIndex = setCount();
        return;
    }
    populateDupList(++m_setIndex);
}

void frmDuplicates::cmdLast_Click()
{
    populateDupList(setCount());
    m_setIndex = setCount();
}

void frmDuplicates::cmdDelete_Click()
{
    if (m_sets.isEmpty())
        return;
    const bool suppress = chkSuppress->isChecked();
    if (!chkAllDelete->isChecked()) {
        if (suppress || prompt::askYesNo(QStringLiteral("Are you sure you wish to delete ") + lblName->text() +
                                             QStringLiteral(" from folder ") + lblFolder->text() + QLatin1Char('?'),
                                         MsgIcon::None, QStringLiteral("Delete Vardeck?")))
            deleteVD();
        return;
    }
    if (suppress ||
        prompt::askYesNo(QStringLiteral("Are you sure you wish to delete all the duplicate Vardecks displayed other "
                                        "than ") +
                             lblName->text() + QStringLiteral(" from folder ") + lblFolder->text() + QLatin1Char('?'),
                         MsgIcon::None, QStringLiteral("Delete all other duplicate Vardecks?")))
        deleteRest(m_shownWID);
}

void frmDuplicates::deleteVD()
{
    const QString wid = m_shownWID;
    if (wid.isEmpty())
        return;
    m_host.deleteSelectedVardeck(wid);
    m_host.resetAfterDelete();
    // The set keeps the Vardecks still in the document: the one deleted now, and any
    // that went otherwise, leave it.
    QStringList &set = m_sets[m_setIndex - 1];
    set.removeIf([this](const QString &member) { return !m_doc.nodeFromID(member); });
    set.removeAll(wid);
    if (set.size() > 1)
        populateDupList(m_setIndex);
    else
        dropShownSet();
}

void frmDuplicates::deleteRest(const QString &keepWID)
{
    if (keepWID.isEmpty())
        return;
    // A copy of the set: it must not change while it is walked.
    QStringList doomed = m_sets[m_setIndex - 1];
    doomed.removeAll(keepWID);
    for (const QString &wid : std::as_const(doomed))
        m_host.deleteSelectedVardeck(wid);
    m_host.resetAfterDelete();
    dropShownSet();
}

void frmDuplicates::dropShownSet()
{
    m_sets.removeAt(m_setIndex - 1);
    m_setIndex = std::min(m_setIndex, setCount());
    populateDupList(m_setIndex);
}

void frmDuplicates::cmdCancel_Click()
{
    m_host.refreshAfterDuplicates();
    accept();
}

} // namespace rr
