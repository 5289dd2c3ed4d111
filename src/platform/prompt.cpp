#include "platform/prompt.h"

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
    return installed()->message(request);
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
    return installed()->file(request);
}

QString input(const InputRequest &request, bool *ok)
{
    return installed()->input(request, ok);
}

} // namespace prompt
} // namespace rr
