#include "platform/gui/qtprompt.h"

#include "platform/prompt.h"
#include "platform/textutil.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>

namespace rr
{
namespace
{

QMessageBox::StandardButton toStandard(MsgResult r)
{
    switch (r) {
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    case MsgResult::Retry:
        return QMessageBox::Retry;
    case MsgResult::Abort:
        return QMessageBox::Abort;
    case MsgResult::Ignore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons toStandard(MsgButtons b)
{
    switch (b) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

MsgResult fromStandard(int b, MsgButtons buttons)
{
    switch (b) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    default:
        // Closing the box with Escape or the window's close button.
        return buttons == MsgButtons::Ok      ? MsgResult::Ok
               : buttons == MsgButtons::YesNo ? MsgResult::No
                                              : MsgResult::Cancel;
    }
}

QMessageBox::Icon toIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

// A box sized by a short text would be narrower than its own title, which the
// window frame then cuts ("Razuze... Revidod"): the box is made wide enough for the
// title with the frame's icon and buttons beside it.
void fitTitle(QMessageBox &box)
{
    const int wanted = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + 160;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

namespace
{

// The most letters of one line a message box shows: a name of millions of letters
// read from a file is cut in its line's middle, so the sentence around it stays.
constexpr qsizetype kMostLetters = 1024;

QString shownMessage(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = shownText(line, Qt::ElideMiddle, kMostLetters);
    return lines.join(QLatin1Char('\n'));
}

class QtPromptHandler final : public PromptHandler
{
public:
    MsgResult message(const MessageRequest &request) override
    {
        QMessageBox box(toIcon(request.icon), request.title, shownMessage(request.text), toStandard(request.buttons),
                        QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(toStandard(request.defaultButton));
        fitTitle(box);
        return fromStandard(box.exec(), request.buttons);
    }

    QString file(const FileRequest &request) override
    {
        QWidget *parent = QApplication::activeWindow();
        const QString filter = request.filters.join(QLatin1String(";;"));
        QString start = request.startFolder;
        if (!request.defaultName.isEmpty())
            start = start.isEmpty() ? request.defaultName : start + QLatin1Char('/') + request.defaultName;
        switch (request.kind) {
        case FileRequest::Kind::Open:
            return QFileDialog::getOpenFileName(parent, request.title, start, filter);
        // Callers that care ask their own overwrite question.
        case FileRequest::Kind::Save:
            return QFileDialog::getSaveFileName(parent, request.title, start, filter, nullptr,
                                                QFileDialog::DontConfirmOverwrite);
        case FileRequest::Kind::Folder:
            return QFileDialog::getExistingDirectory(parent, request.title, start);
        }
        return {};
    }

    QString input(const InputRequest &request, bool *ok) override
    {
        return QInputDialog::getText(QApplication::activeWindow(), request.title, request.label, QLineEdit::Normal,
                                     request.defaultText, ok);
    }
};

} // namespace

void installQtPromptHandler()
{
    static QtPromptHandler handler;
    prompt::install(&handler);
}

} // namespace rr
