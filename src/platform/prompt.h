#pragma once
// The one seam through which every message box, question and file dialog of the
// program passes. The GUI installs a handler that shows real windows; tests install
// a scripted handler; without any handler a message goes to stderr and the default
// button is taken, so code without a display never blocks.
//
// No message box opens while a Hold lives: the window's thread then lets window events
// through in the middle of long work (platform/gui/windowevents.h), where input
// reaches only the work's own window and a box could never be answered. A message
// with only an OK button is kept and shown, in the order given, from the event loop
// once no hold lives; a question is not asked (it gets its No, Cancel or Abort, and a
// file or text request is cancelled), and stderr says which.
#include "platform/notice.h"

#include <QString>
#include <QStringList>

namespace rr
{

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageRequest {
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
};

struct FileRequest {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    QString title;
    QString startFolder;
    QString defaultName;
    QStringList filters; // "Name (*.ext)" entries
};

struct InputRequest {
    QString title;
    QString label;
    QString defaultText;
};

class PromptHandler
{
public:
    virtual ~PromptHandler() = default;
    virtual MsgResult message(const MessageRequest &request) = 0;
    // The chosen path, or "" when the user cancelled.
    virtual QString file(const FileRequest &request) = 0;
    // The typed text; ok is false when the user cancelled.
    virtual QString input(const InputRequest &request, bool *ok) = 0;
};

namespace prompt
{

// While one lives, no message box opens (see the top of this file).
class Hold
{
public:
    Hold();
    ~Hold();
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
};
// True while a Hold lives.
bool held();

// The handler stays owned by the caller; nullptr restores the headless default.
void install(PromptHandler *handler);
PromptHandler *installed();

// The program's title on every message box that names no other.
QString appTitle();

MsgResult message(const MessageRequest &request);
// A message box titled with the program's title unless a title is given.
MsgResult show(const QString &text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
               const QString &title = QString());
// Yes/No question; true on Yes.
bool askYesNo(const QString &text, MsgIcon icon = MsgIcon::Question, const QString &title = QString(),
              MsgResult defaultButton = MsgResult::Yes);
// Shows a notice in a message box with an OK button; an empty one shows nothing.
void tell(const Notice &notice);
void tell(const Notices &notices);
QString file(const FileRequest &request);
QString input(const InputRequest &request, bool *ok);

} // namespace prompt
} // namespace rr
