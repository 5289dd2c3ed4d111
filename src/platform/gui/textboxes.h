#pragma once
// The program's text boxes of several lines. Every one is a TextBox, a PlainTextBox or a
// TextBrowserBox, never a bare QTextEdit, QPlainTextEdit or QTextBrowser, for what these
// keep to:
// - A paste (Ctrl+V, Shift+Insert, the middle button) or a drop takes the text of what
//   it brings: its plain text, else the text of its HTML, else its list of files (a local
//   file by its path), one a line; a picture alone, or a clipboard that holds nothing,
//   brings nothing. Qt 6.4's own paste reads the first of the clipboard's formats without
//   looking whether there is one: with none (no owner, or one that has gone) it crashes.
// - A box holds at most kMostEditedLetters letters, which it lays out and edits at once.
//   A paste past them is cut to what fits, a key past them is refused, and the box says
//   so in a line under its text until it holds fewer again.
// - A line with no blank for longer than kLongestWrappedWord letters is wrapped
//   anywhere: wrapped at blanks, such a line is laid out in a time that grows with the
//   square of its length (100,000 letters: most of a second, at every key).
// - The box's owner may say something of its own in the line under the text (setNotice).
// Boxes of one line (QLineEdit) hold at most kMostLineLetters letters; guardLineBox gives
// such a box the same line of its own, at its right end.
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTextEdit>

class QLabel;
class QLineEdit;

namespace rr
{

inline constexpr qsizetype kMostEditedLetters = 100'000;
inline constexpr qsizetype kLongestWrappedWord = 2'000;
// What a box of one line holds at most (its own limit, QLineEdit's default).
inline constexpr qsizetype kMostLineLetters = 32'767;

// A count of letters as the window writes it: "100,000".
QString letterCount(qsizetype letters);

template <class Box> class GuardedTextBox : public Box
{
public:
    explicit GuardedTextBox(QWidget *parent = nullptr);

    // The box shows text (at most kMostEditedLetters letters of it) wrapped as it needs.
    void setBoxText(const QString &text);
    // The owner's sentence under the text; "" takes it away.
    void setNotice(const QString &sentence);
    // What the line under the text says ("" when it is not shown).
    QString noticeShown() const;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    qsizetype letters() const;
    qsizetype selectedLetters() const;
    // How many of count letters may come in, where the selection goes.
    qsizetype room(qsizetype count) const;
    void fitWrapTo(const QString &text);
    void textChanged();
    void refuse(const QString &sentence);
    void placeNotice();
    void setBottomMargin(int height);

    QLabel *m_notice;
    QString m_ownerNotice;
    QString m_refusal;
};

using TextBox = GuardedTextBox<QTextEdit>;
using PlainTextBox = GuardedTextBox<QPlainTextEdit>;
using TextBrowserBox = GuardedTextBox<QTextBrowser>;

extern template class GuardedTextBox<QTextEdit>;
extern template class GuardedTextBox<QPlainTextEdit>;
extern template class GuardedTextBox<QTextBrowser>;

// A box of one line says, at its right end, when a key or a paste would take it past
// kMostLineLetters letters; setLineNotice puts the owner's sentence there.
void guardLineBox(QLineEdit *box);
void setLineNotice(QLineEdit *box, const QString &sentence);
QString lineNoticeShown(const QLineEdit *box);

} // namespace rr
