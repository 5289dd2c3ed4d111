#include "platform/prompt.h"

#include <QCoreApplication>
#include <QList>

#include <cstdio>

namespace rr
{
namespace
{

class HeadlessPromptHandler final : public PromptHandler
{
public:
    MsgResult message(const MessageRequest &request) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title), qUtf8Printable(request.text));
        return request.defaultButton;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }
};

HeadlessPromptHandler g_headless;
PromptHandler *g_handler = nullptr;
int g_holds = 0;
// The messages kept while held, shown once no hold lives.
QList<MessageRequest> g_kept;
bool g_showPosted = false;

// The answer of a question that is not asked: the one that does nothing.
MsgResult refusal(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::YesNo:
        return MsgResult::No;
    case MsgButtons::AbortRetryIgnore:
        return MsgResult::Abort;
    default:
        return MsgResult::Cancel;
    }
}

void notAsked(const char *what, const QString &text)
{
    std::fprintf(stderr, "Not asked while long work runs (%s): %s\n", what, qUtf8Printable(text));
}

void showKept();

// The kept messages are shown from the event loop, never from inside the code that
// released the last hold (the long work goes on there).
void postShowKept()
{
    if (g_kept.isEmpty() || g_showPosted || !QCoreApplication::instance())
        return;
    g_showPosted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &showKept, Qt::QueuedConnection);
}

void showKept()
{
    g_showPosted = false;
    // Held again by then: they wait for the next release.
    while (g_holds == 0 && !g_kept.isEmpty())
        prompt::installed()->message(g_kept.takeFirst());
}

MsgResult firstButton(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgResult::Yes;
    case MsgButtons::RetryCancel:
        return MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore:
        return MsgResult::Abort;
    }
    return MsgResult::Ok;
}

} // namespace

namespace prompt
{

Hold::Hold()
{
    ++g_holds;
}

Hold::~Hold()
{
    if (--g_holds == 0)
        postShowKept();
}

bool held()
{
    return g_holds > 0;
}

void install(PromptHandler *handler)
{
    g_handler = handler;
}

PromptHandler *installed()
{
    return g_handler ? g_handler : &g_headless;
}

QString appTitle()
{
    return QStringLiteral("Razuzezu Revidod");
}

MsgResult message(const MessageRequest &request)
{
    if (!held())
        return installed()->message(request);
    if (request.buttons == MsgButtons::Ok) {
        g_kept.append(request);
        return MsgResult::Ok;
    }
    notAsked("question", request.text);
    return refusal(request.buttons);
}

MsgResult show(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title)
{
    MessageRequest request;
    request.title = title.isNull() ? appTitle() : title;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = firstButton(buttons);
    return message(request);
}

bool askYesNo(const QString &text, MsgIcon icon, const QString &title, MsgResult defaultButton)
{
    MessageRequest request;
    request.title = title.isNull() ? appTitle() : title;
    request.text = text;
    request.icon = icon;
    request.buttons = MsgButtons::YesNo;
    request.defaultButton = defaultButton;
    return message(request) == MsgResult::Yes;
}

void tell(const Notice &notice)
{
    if (!notice.isEmpty())
        show(notice.text, MsgButtons::Ok, notice.icon, notice.title.isEmpty() ? appTitle() : notice.title);
}

void tell(const Notices &notices)
{
    for (const Notice &notice : notices)
        tell(notice);
}

QString file(const FileRequest &request)
{
    if (!held())
        return installed()->file(request);
    notAsked("file", request.title);
    return {};
}

QString input(const InputRequest &request, bool *ok)
{
    if (!held())
        return installed()->input(request, ok);
    notAsked("input", request.title);
    if (ok)
        *ok = false;
    return {};
}

} // namespace prompt
} // namespace rr
