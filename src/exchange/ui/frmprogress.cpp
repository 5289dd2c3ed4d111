#include "exchange/ui/frmprogress.h"

#include "controls/qbbuttons_h.h"
#include "platform/gui/textfit.h"
#include "platform/gui/windowevents.h"
#include "platform/xmldocument.h"
#include "shell/fonthelpers.h"
#include "storage/useroptions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>

namespace rr
{
namespace
{

QPointer<frmProgress> g_window;

void setBold(QLabel *label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

} // namespace

frmProgress *frmProgress::instance(QWidget *owner)
{
    if (!g_window)
        g_window = new frmProgress(owner);
    return g_window;
}

frmProgress *frmProgress::current()
{
    return g_window;
}

QLabel *frmProgress::place(QLabel *label, double left, double top, double width, double height)
{
    label->setGeometry(px(left), px(top), px(width), px(height));
    return label;
}

frmProgress::frmProgress(QWidget *owner) : ButtonDialog(owner)
{
    setObjectName(QStringLiteral("frmProgress"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Loading..."));
    setFixedSize(px(5850), px(3645));

    progress1 = new QProgressBar(this);
    progress1->setObjectName(QStringLiteral("progress1"));
    progress1->setRange(0, 100);
    progress1->setTextVisible(false);
    progress1->setGeometry(px(240), px(240), px(5295), px(220));
    Label1 = place(makeLabel(QStringLiteral("Label1"), QStringLiteral("Folder name:")), 240, 720, 1215, 255);
    lblName = place(makeLabel(QStringLiteral("lblName"), QString()), 1680, 720, 3855, 615);
    Label3 = place(makeLabel(QStringLiteral("Label3"), QStringLiteral("Loading Vardeck:")), 240, 1440, 1335, 255);
    lblName2 = place(makeLabel(QStringLiteral("lblName2"), QString()), 1680, 1440, 3855, 735);
    Label2 = place(makeLabel(QStringLiteral("Label2"), QStringLiteral("Fav's folders:")), 240, 2520, 1080, 255);
    lblFavs = place(makeLabel(QStringLiteral("lblFavs"), QStringLiteral("0")), 1320, 2520, 495, 255);
    Label6 = place(makeLabel(QStringLiteral("Label6"), QStringLiteral("Folders:")), 1800, 2520, 735, 255);
    lblFolders = place(makeLabel(QStringLiteral("lblFolders"), QStringLiteral("0")), 2640, 2520, 495, 255);
    Label4 = place(makeLabel(QStringLiteral("Label4"), QStringLiteral("Vardecks:")), 3360, 2520, 900, 255);
    lblVD = place(makeLabel(QStringLiteral("lblVD"), QStringLiteral("0")), 4320, 2520, 615, 255);
    lblRead = place(makeLabel(QStringLiteral("lblRead"), QString()), 240, 2190, 5295, 255);
    lblRead->setTextFormat(Qt::PlainText);
    lblRead->hide();
    for (QLabel *name : {lblName, lblName2}) {
        name->setWordWrap(true);
        name->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (QLabel *bold : {lblName2, lblFavs, lblFolders, lblVD})
        setBold(bold);
    Command1 = makeButton(QStringLiteral("Command1"), QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    Command1->setGeometry(px(4800), px(2880), px(855), px(630));
    connect(Command1, &qbButtons_H::Click, this, &frmProgress::Command1_Click);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);
    cmdCancel->setGeometry(px(4560), px(2880), px(1095), px(630));
    cmdCancel->hide();
    connect(cmdCancel, &qbButtons_H::Click, this, &frmProgress::cmdCancel_Click);

    // The Load.
    QFont names = lblName->font();
    names.setPointSize(appOptions().getFontSize());
    lblName->setFont(names);
    names.setBold(true);
    lblName2->setFont(names);
    Command1->hide();
    show();
    raise();
    progress1->setValue(0);
    applyFontFallback(this);
}

void frmProgress::fitCaptions()
{
    // The phase captions ("Indexing Vardeck:") run wider than the caption column in
    // wider fonts; the column then grows and the names beside it start after it, keeping
    // their right edge, so neither is cut. A short caption gives the names their place back.
    const int needed = std::max(Label1->fontMetrics().horizontalAdvance(Label1->text()),
                                Label3->fontMetrics().horizontalAdvance(Label3->text()));
    Label1->resize(std::max(px(1215), needed), Label1->height());
    Label3->resize(std::max(px(1335), needed), Label3->height());
    const int nameLeft = std::max(px(1680), Label1->x() + needed + px(105));
    const int nameRight = px(1680) + px(3855);
    for (QLabel *name : {lblName, lblName2})
        name->setGeometry(nameLeft, name->y(), nameRight - nameLeft, name->height());
}

void frmProgress::draw(const ProgressState &state)
{
    fitCaptions();
    progress1->setValue(int(state.bar));
    lblName->setText(state.folderName);
    lblName2->setText(state.vardeckName);
    lblFolders->setText(QString::number(state.folders));
    lblVD->setText(QString::number(state.vardecks));
    // The import keeps the thread busy: the window is put on the screen and repainted
    // (and every other window with it) only when the pending window events run.
    windowevents::runPending(this);
}

void frmProgress::runLongStep(const std::function<void()> &step)
{
    windowevents::runAside(step, this);
}

void frmProgress::showCounts(bool folders)
{
    Label2->setVisible(false);
    lblFavs->setVisible(false);
    Label6->setVisible(folders);
    lblFolders->setVisible(folders);
}

void frmProgress::setCaptions(const QString &folderCaption, const QString &vardeckCaption)
{
    if (!folderCaption.isEmpty())
        Label1->setText(folderCaption);
    if (!vardeckCaption.isEmpty())
        Label3->setText(vardeckCaption);
}

void frmProgress::begin()
{
    Label1->setText(QStringLiteral("Folder name:"));
    Label3->setText(QStringLiteral("Loading Vardeck:"));
    lblName->setToolTip(QString());
    lblName->resize(lblName->width(), px(615));
    lblName2->move(lblName2->x(), px(1440));
    Command1->hide();
    lblRead->hide();
    clearCancel();
    cmdCancel->setEnabled(true);
    cmdCancel->show();
    setDefaultButton(cmdCancel);
    setWindowTitle(QStringLiteral("Loading..."));
    comeForward();
}

void frmProgress::saving()
{
    cmdCancel->setEnabled(false);
}

bool frmProgress::running() const
{
    return cmdCancel->isVisibleTo(this);
}

void frmProgress::cmdCancel_Click()
{
    if (!running() || !cmdCancel->isEnabled())
        return;
    requestCancel();
    cmdCancel->setEnabled(false);
}

void frmProgress::closeEvent(QCloseEvent *event)
{
    // The close box during an import asks it to stop; the import closes the window.
    if (running() && event->spontaneous()) {
        event->ignore();
        cmdCancel_Click();
        return;
    }
    cmdCancel->hide();
    ButtonDialog::closeEvent(event);
}

void frmProgress::comeForward()
{
    // The window is reused while open, and the Import/Export window the next import
    // starts from stands over it by then.
    show();
    raise();
    activateWindow();
}

void frmProgress::finish(int vardecks, bool fill, const ImportNotes &notes)
{
    if (fill)
        fillBarTo98();
    setBar(100);
    setVardeckCount(vardecks);
    cmdCancel->hide();
    Command1->show();
    setDefaultButton(Command1);
    ProgressState done = state();
    done.vardeckName = QStringLiteral("Task completed");
    QStringList lines;
    if (!notes.skipped.isEmpty())
        lines << QStringLiteral("Skipped, could not be read: %1").arg(notes.skipped.size());
    if (notes.withoutAddress > 0)
        lines << QStringLiteral("Links without an address, passed over: %1").arg(notes.withoutAddress);
    if (notes.movedFolders > 0)
        lines << QStringLiteral("Folders moved up to level %1: %2").arg(kMaxFolderLevels).arg(notes.movedFolders);
    done.folderName = lines.join(QLatin1Char('\n'));
    adoptState(done);
    Label1->clear();
    Label3->clear();
    lblName->setToolTip((notes.skipped.mid(0, 30) + notes.withoutAddressItems.mid(0, 30) + notes.moved.mid(0, 30))
                            .join(QLatin1Char('\n')));
    setWindowTitle(QStringLiteral("Vardecks imported: ") + QString::number(vardecks));
    // The notes may take more lines than a folder's name: the label grows to show them
    // all, and "Task completed" moves down below it.
    lblName->setText(done.folderName);
    lblName->resize(lblName->width(), std::max(px(615), lblName->heightForWidth(lblName->width())));
    lblName2->move(lblName2->x(), std::max(px(1440), lblName->geometry().bottom() + px(105)));
    showFilesRead(notes.read);
    flush();
    comeForward();
    QApplication::beep();
}

void frmProgress::showFilesRead(const QStringList &read)
{
    // Which file an import took matters where a profile holds several of different ages:
    // one file is named (shortened in the middle, so its time stays), several are
    // counted, and the tool tip lists them all with their folders.
    lblRead->setVisible(!read.isEmpty());
    if (read.isEmpty())
        return;
    // One file is named without its folder, which the tool tip gives.
    const QString &note = read.constFirst();
    const QString named =
        note.mid(note.lastIndexOf(QLatin1Char('/'), note.lastIndexOf(QLatin1String(", written "))) + 1);
    const QString text =
        read.size() == 1 ? QStringLiteral("Read: ") + named : QStringLiteral("Files read: %1").arg(read.size());
    lblRead->setText(elidedText(text, lblRead->fontMetrics(), lblRead->width(), Qt::ElideMiddle));
    lblRead->setToolTip(read.mid(0, 30).join(QLatin1Char('\n')));
    lblRead->move(lblRead->x(), std::max(px(2190), lblName2->y() + lblName2->fontMetrics().lineSpacing() + px(60)));
}

void frmProgress::Command1_Click()
{
    hide();
    close();
}

} // namespace rr
