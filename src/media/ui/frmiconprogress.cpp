#include "media/ui/frmiconprogress.h"

#include "controls/qbbuttons_h.h"
#include "media/iconsupport.h"
#include "shell/fonthelpers.h"
#include "storage/session.h"
#include "storage/useroptions.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

namespace rr
{
namespace
{

QLabel *plainLabel(QWidget *parent, const QString &name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmIconProgress::frmIconProgress(QWidget *owner) : QWidget(nullptr, Qt::Dialog), m_owner(owner)
{
    // No parent: the main window is disabled during a run and would take this
    // window's button with it.
    setObjectName(QStringLiteral("frmIconProgress"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Still the owner's dialog for the window manager, which keeps it above the main
    // window instead of opening it behind.
    if (owner && owner->window()->windowHandle()) {
        create();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    setWindowTitle(QStringLiteral("Icon loading..."));
    lblLoaded = plainLabel(this, QStringLiteral("lblLoaded"), QStringLiteral("0"));
    lblFailed = plainLabel(this, QStringLiteral("lblFailed"), QStringLiteral("0"));
    Label3 = plainLabel(this, QStringLiteral("Label3"), QStringLiteral("Loading icon from:"));
    lblAddress = plainLabel(this, QStringLiteral("lblAddress"));
    Label1 = plainLabel(this, QStringLiteral("Label1"), QStringLiteral("Name:"));
    lblName = plainLabel(this, QStringLiteral("lblName"));
    lblRemaining = plainLabel(this, QStringLiteral("lblRemaining"), QStringLiteral("0"));
    imgIcon = plainLabel(this, QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(32, 32);
    Progress1 = new QProgressBar(this);
    Progress1->setObjectName(QStringLiteral("Progress1"));
    Progress1->setRange(0, 1000);
    Progress1->setTextVisible(false);
    Command1 = new qbButtons_H(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setCaption(QStringLiteral("Cancel"));
    Command1->setMinimumSize(90, 26);

    auto *rows = new QFormLayout;
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    rows->addRow(plainLabel(this, QString(), QStringLiteral("Loaded:")), lblLoaded);
    rows->addRow(plainLabel(this, QString(), QStringLiteral("No icon found:")), lblFailed);
    rows->addRow(Label3, lblAddress);
    rows->addRow(Label1, lblName);
    rows->addRow(plainLabel(this, QString(), QStringLiteral("Remaining:")), lblRemaining);
    rows->addRow(plainLabel(this, QString(), QStringLiteral("Last icon loaded:")), imgIcon);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Command1);
    buttonRow->addStretch();
    auto *column = new QVBoxLayout(this);
    column->addLayout(rows);
    column->addWidget(Progress1);
    column->addLayout(buttonRow);
    setMinimumWidth(420);

    QFont big = lblName->font();
    big.setPointSize(appOptions().getFontSize());
    lblName->setFont(big);
    lblAddress->setFont(big);
    applyFontFallback(this);

    connect(Command1, &qbButtons_H::Click, this, &frmIconProgress::pressButton);
    // Esc presses the one button: Cancel during a run, OK after it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmIconProgress::pressButton);
}

void frmIconProgress::pressButton()
{
    session().cancelIcons = true;
    emit buttonPressed();
    if (m_owner) {
        m_owner->setEnabled(true);
        m_owner->show();
    }
    // Closing from inside the button's own click is left to the event loop.
    QTimer::singleShot(0, this, &QWidget::close);
}

void frmIconProgress::setLoaded(int count)
{
    lblLoaded->setText(QString::number(count));
}
void frmIconProgress::setFailed(int count)
{
    lblFailed->setText(QString::number(count));
}
void frmIconProgress::setRemaining(int count)
{
    lblRemaining->setText(QString::number(count));
}

void frmIconProgress::setCurrent(const QString &name, const QString &home)
{
    lblName->setText(name);
    lblAddress->setText(home);
}

void frmIconProgress::showIcon(const QString &file)
{
    const QPixmap picture = QPixmap::fromImage(pictureFromFile(file));
    imgIcon->setPixmap(picture.isNull() ? QPixmap()
                                        : picture.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void frmIconProgress::setProgress(double percent)
{
    Progress1->setValue(qBound(0, int(percent * 10.0 + 0.5), 1000));
}

void frmIconProgress::showEnd(int loaded)
{
    setProgress(100.0);
    lblAddress->clear();
    Command1->setCaption(QStringLiteral("OK"));
    lblName->setText(QStringLiteral("Task completed"));
    setWindowTitle(QStringLiteral("Icons loaded: ") + QString::number(loaded));
    Label3->hide();
    Label1->hide();
}

} // namespace rr
