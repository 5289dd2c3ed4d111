#include "support/testenv.h"

#include <QDir>

namespace rr::test
{

TempHome::TempHome()
{
    m_hadPrevious = qEnvironmentVariableIsSet("RAZUZEZU_HOME");
    m_previous = qgetenv("RAZUZEZU_HOME");
    qputenv("RAZUZEZU_HOME", m_dir.path().toUtf8());
}

TempHome::~TempHome()
{
    if (m_hadPrevious)
        qputenv("RAZUZEZU_HOME", m_previous);
    else
        qunsetenv("RAZUZEZU_HOME");
}

QString TempHome::programFolder() const
{
    return m_dir.path() + QLatin1String("/data");
}

QString TempHome::databaseFolder() const
{
    return programFolder() + QLatin1String("/DeVivozoda/");
}

ScriptedPrompts::ScriptedPrompts() : m_previous(prompt::installed())
{
    prompt::install(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    if (prompt::installed() == this)
        prompt::install(m_previous == this ? nullptr : m_previous);
}

QStringList ScriptedPrompts::texts() const
{
    QStringList out;
    for (const auto &m : m_messages)
        out << m.text;
    return out;
}

void ScriptedPrompts::clear()
{
    m_messages.clear();
    m_fileRequests.clear();
}

MsgResult ScriptedPrompts::message(const MessageRequest &request)
{
    m_messages.push_back(request);
    if (m_answers.empty())
        return request.defaultButton;
    const MsgResult r = m_answers.front();
    m_answers.pop_front();
    return r;
}

QString ScriptedPrompts::file(const FileRequest &request)
{
    m_fileRequests.push_back(request);
    if (m_files.empty())
        return {};
    const QString r = m_files.front();
    m_files.pop_front();
    return r;
}

QString ScriptedPrompts::input(const InputRequest &, bool *ok)
{
    if (ok)
        *ok = false;
    return {};
}

QString dataFile(const QString &name)
{
    return QStringLiteral(RR_TEST_DATA_DIR "/") + name;
}

} // namespace rr::test
