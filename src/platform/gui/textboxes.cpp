#include "platform/gui/textboxes.h"

#include <QEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>
#include <type_traits>

namespace rr
{
namespace
{

const QString kNoticeName = QStringLiteral("boxNotice");

// Plain text of its own, not the text Qt makes of a list of addresses.
bool hasPlainText(const QMimeData *source)
{
    const QStringList formats = source->formats();
    return std::any_of(formats.cbegin(), formats.cend(), [](const QString &format) {
        return format == QLatin1String("text/plain") || format.startsWith(QLatin1String("text/plain;"));
    });
}

// What a paste or a drop brings to a box of text (see the header).
QString textOf(const QMimeData *source)
{
    if (!source)
        return {};
    if (hasPlainText(source))
        return source->text();
    if (source->hasHtml())
        return QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    if (source->hasUrls()) {
        QStringList lines;
        for (const QUrl &url : source->urls())
            lines << (url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded));
        return lines.join(QLatin1Char('\n'));
    }
    return {};
}

bool hasLongRun(QStringView text)
{
    if (text.size() <= kLongestWrappedWord)
        return false;
    qsizetype run = 0;
    for (const QChar c : text) {
        if (c.isSpace())
            run = 0;
        else if (++run > kLongestWrappedWord)
            return true;
    }
    return false;
}

// The first letters of text, a character of two UTF-16 units kept whole or left out.
QString firstLetters(const QString &text, qsizetype letters)
{
    if (letters >= text.size())
        return text;
    if (letters > 0 && text.at(letters - 1).isHighSurrogate())
        --letters;
    return text.left(letters);
}

// A key that types a letter or a line break, not one of the box's own keys (Ctrl+V).
bool typesText(const QKeyEvent *key)
{
    const QString typed = key->text();
    if (typed.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    return typed.at(0).isPrint() || typed == QLatin1String("\r") || typed == QLatin1String("\n");
}

QLabel *makeNotice(QWidget *box)
{
    auto *notice = new QLabel(box);
    notice->setObjectName(kNoticeName);
    notice->setTextFormat(Qt::PlainText);
    notice->setAutoFillBackground(true);
    notice->setBackgroundRole(QPalette::ToolTipBase);
    notice->setForegroundRole(QPalette::ToolTipText);
    notice->setContentsMargins(3, 1, 3, 1);
    notice->setCursor(Qt::ArrowCursor);
    notice->hide();
    return notice;
}

QString joined(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty())
        return first + second;
    return first + QLatin1Char('\n') + second;
}

} // namespace

QString letterCount(qsizetype letters)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qlonglong(letters));
}

template <class Box> GuardedTextBox<Box>::GuardedTextBox(QWidget *parent) : Box(parent), m_notice(makeNotice(this))
{
    m_notice->setWordWrap(true);
    QObject::connect(this, &Box::textChanged, this, [this] { textChanged(); });
    // A plain box wraps at its width and never scrolls sideways.
    if constexpr (std::is_same_v<Box, QPlainTextEdit>)
        this->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

template <class Box> void GuardedTextBox<Box>::setBoxText(const QString &text)
{
    const QString kept = firstLetters(text, kMostEditedLetters);
    // Wrapping anywhere comes before the text that needs it, wrapping at blanks after the
    // text that had needed the other has gone: no long line is ever laid out at blanks.
    if (hasLongRun(kept)) {
        this->setWordWrapMode(QTextOption::WrapAnywhere);
        this->setPlainText(kept);
    } else {
        this->setPlainText(kept);
        this->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    }
}

template <class Box> void GuardedTextBox<Box>::setNotice(const QString &sentence)
{
    if (sentence == m_ownerNotice)
        return;
    m_ownerNotice = sentence;
    placeNotice();
}

template <class Box> QString GuardedTextBox<Box>::noticeShown() const
{
    return m_notice->isHidden() ? QString() : m_notice->text();
}

template <class Box> bool GuardedTextBox<Box>::canInsertFromMimeData(const QMimeData *source) const
{
    return source && (source->hasText() || source->hasHtml() || source->hasUrls());
}

template <class Box> void GuardedTextBox<Box>::insertFromMimeData(const QMimeData *source)
{
    if (this->isReadOnly())
        return;
    const QString brought = textOf(source);
    if (brought.isEmpty())
        return;
    const QString text = firstLetters(brought, room(brought.size()));
    if (text.size() < brought.size()) {
        refuse(text.isEmpty()
                   ? QStringLiteral("This box holds at most %1 letters: none of the %2 pasted could be taken.")
                         .arg(letterCount(kMostEditedLetters), letterCount(brought.size()))
                   : QStringLiteral("This box holds at most %1 letters: only the first %2 of the %3 pasted were taken.")
                         .arg(letterCount(kMostEditedLetters), letterCount(text.size()), letterCount(brought.size())));
    }
    if (text.isEmpty())
        return;
    if (hasLongRun(text))
        this->setWordWrapMode(QTextOption::WrapAnywhere);
    QMimeData plain;
    plain.setText(text);
    Box::insertFromMimeData(&plain);
}

template <class Box> void GuardedTextBox<Box>::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!this->isReadOnly() && typesText(event) && room(typed.size()) < typed.size()) {
        refuse(QStringLiteral("This box holds at most %1 letters: no more can be typed here.")
                   .arg(letterCount(kMostEditedLetters)));
        event->accept();
        return;
    }
    Box::keyPressEvent(event);
}

template <class Box> void GuardedTextBox<Box>::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString fits = firstLetters(commit, room(commit.size()));
    if (this->isReadOnly() || fits.size() == commit.size()) {
        Box::inputMethodEvent(event);
        return;
    }
    refuse(QStringLiteral("This box holds at most %1 letters: no more can be typed here.")
               .arg(letterCount(kMostEditedLetters)));
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
    Box::inputMethodEvent(&cut);
}

template <class Box> void GuardedTextBox<Box>::resizeEvent(QResizeEvent *event)
{
    Box::resizeEvent(event);
    placeNotice();
}

template <class Box> qsizetype GuardedTextBox<Box>::letters() const
{
    return this->document()->characterCount() - 1;
}

template <class Box> qsizetype GuardedTextBox<Box>::selectedLetters() const
{
    const QTextCursor cursor = this->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

template <class Box> qsizetype GuardedTextBox<Box>::room(qsizetype count) const
{
    const qsizetype free = kMostEditedLetters - (letters() - selectedLetters());
    return std::clamp<qsizetype>(free, 0, count);
}

template <class Box> void GuardedTextBox<Box>::textChanged()
{
    // A line may have lost or gained its blanks: the wrap follows. A short text has no
    // long line, and needs no look.
    const qsizetype count = letters();
    const bool longRun = count > kLongestWrappedWord && hasLongRun(this->document()->toPlainText());
    const QTextOption::WrapMode mode = longRun ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (this->wordWrapMode() != mode)
        this->setWordWrapMode(mode);
    if (!m_refusal.isEmpty() && count < kMostEditedLetters) {
        m_refusal.clear();
        placeNotice();
    }
}

// A margin set again lays the box's parts out again, inside the resize that placed the
// notice: only a new one is set.
template <class Box> void GuardedTextBox<Box>::setBottomMargin(int height)
{
    const bool changed = this->viewportMargins().bottom() != height;
    if (changed)
        this->setViewportMargins(0, 0, 0, height);
    if (!changed && height == 0)
        return;
    // A plain box lays its lines out for the width its text has when the notice comes:
    // its scroll bar may take some of that width meanwhile. It is told the width again.
    if constexpr (std::is_same_v<Box, QPlainTextEdit>) {
        QResizeEvent again(this->viewport()->size(), QSize());
        Box::resizeEvent(&again);
    }
}

template <class Box> void GuardedTextBox<Box>::refuse(const QString &sentence)
{
    m_refusal = sentence;
    placeNotice();
}

// The line under the text takes the height its sentences need, at most half the box,
// and the text is shown above it.
template <class Box> void GuardedTextBox<Box>::placeNotice()
{
    const QString shown = joined(m_ownerNotice, m_refusal);
    if (shown.isEmpty()) {
        m_notice->hide();
        setBottomMargin(0);
        return;
    }
    m_notice->setText(shown);
    m_notice->setToolTip(shown);
    const int oneLine = m_notice->fontMetrics().height() + 2;
    const int most = std::max(oneLine, this->contentsRect().height() / 2);
    const int height = std::clamp(m_notice->heightForWidth(this->viewport()->width()), oneLine, most);
    setBottomMargin(height);
    // Under the text, beside the scroll bar, which keeps the box's whole height.
    const QRect text = this->viewport()->geometry();
    m_notice->setGeometry(text.left(), text.bottom() + 1, text.width(), height);
    m_notice->show();
    m_notice->raise();
}

template class GuardedTextBox<QTextEdit>;
template class GuardedTextBox<QPlainTextEdit>;
template class GuardedTextBox<QTextBrowser>;

// ----- boxes of one line -----

namespace
{

// The line at a box's right end: the owner's sentence, or the box's own when a key or a
// paste would take it past its limit.
class LineBoxNotice final : public QObject
{
public:
    explicit LineBoxNotice(QLineEdit *box) : QObject(box), m_box(box), m_notice(makeNotice(box))
    {
        setObjectName(QStringLiteral("lineBoxNotice"));
        box->setMaxLength(int(kMostLineLetters));
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this] { full() ? refuse() : forgetRefusal(); });
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!full())
                forgetRefusal();
        });
    }
    void setOwnerNotice(const QString &sentence)
    {
        m_owner = sentence;
        place();
    }
    QString shown() const { return m_notice->isHidden() ? QString() : m_notice->text(); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && !m_box->isReadOnly()) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const QString typed = key->text();
            if (typesText(key) && typed != QLatin1String("\r") && typed != QLatin1String("\n") &&
                m_box->text().size() - m_box->selectedText().size() + typed.size() > m_box->maxLength())
                refuse();
        }
        if (event->type() == QEvent::Resize)
            place();
        return false;
    }

private:
    bool full() const { return m_box->text().size() >= m_box->maxLength(); }
    void refuse()
    {
        m_refusal = QStringLiteral("This box holds at most %1 letters.").arg(letterCount(m_box->maxLength()));
        place();
    }
    void forgetRefusal()
    {
        if (m_refusal.isEmpty())
            return;
        m_refusal.clear();
        place();
    }
    // The sentence leaves the box room for some of its text, and is shortened with "…"
    // when it needs more; the whole of it is the tool tip.
    void place()
    {
        const QString sentence = m_refusal.isEmpty() ? m_owner : m_refusal;
        if (sentence.isEmpty()) {
            m_notice->hide();
            m_box->setTextMargins(0, 0, 0, 0);
            return;
        }
        const QRect inside = m_box->contentsRect();
        const QFontMetrics metrics = m_notice->fontMetrics();
        const int room = std::max(inside.width() / 2, inside.width() - 150);
        const QString shown = metrics.elidedText(sentence, Qt::ElideRight, room - 8);
        m_notice->setText(shown);
        m_notice->setToolTip(sentence);
        const int width = std::min(room, metrics.horizontalAdvance(shown) + 8);
        m_box->setTextMargins(0, 0, width, 0);
        m_notice->setGeometry(inside.right() + 1 - width, inside.top(), width, inside.height());
        m_notice->show();
        m_notice->raise();
    }

    QLineEdit *m_box;
    QLabel *m_notice;
    QString m_owner;
    QString m_refusal;
};

LineBoxNotice *lineNoticeOf(const QLineEdit *box)
{
    return box ? box->findChild<LineBoxNotice *>(QStringLiteral("lineBoxNotice"), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void guardLineBox(QLineEdit *box)
{
    if (box && !lineNoticeOf(box))
        new LineBoxNotice(box);
}

void setLineNotice(QLineEdit *box, const QString &sentence)
{
    guardLineBox(box);
    if (LineBoxNotice *notice = lineNoticeOf(box))
        notice->setOwnerNotice(sentence);
}

QString lineNoticeShown(const QLineEdit *box)
{
    const LineBoxNotice *notice = lineNoticeOf(box);
    return notice ? notice->shown() : QString();
}

} // namespace rr
