#pragma once
// What a routine without windows has for the user. It returns its notices, in the
// order they arose, and the window layer shows them (tell, in prompt.h): the routine
// never waits on a message box, and a test reads the texts from its result. Core
// code includes this header, never prompt.h.
#include <QList>
#include <QString>

namespace rr
{

enum class MsgIcon { None, Information, Exclamation, Critical, Question };

struct Notice {
    Notice() = default;
    Notice(const QString &text, MsgIcon icon = MsgIcon::None, const QString &title = QString())
        : text(text), icon(icon), title(title)
    {
    }
    bool isEmpty() const { return text.isEmpty(); }

    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title; // empty: the program's title
};
using Notices = QList<Notice>;

} // namespace rr
