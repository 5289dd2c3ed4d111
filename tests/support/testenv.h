#pragma once
// Test environment: a temporary home for the program's folders, a scripted prompt
// handler that records every message box, and small file helpers.
#include "platform/prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <vector>

namespace rr::test
{

// Points RAZUZEZU_HOME at a fresh temporary folder while it lives; a pattern such as
// "/dev/shm/rr-home-XXXXXX" puts it elsewhere.
class TempHome
{
public:
    explicit TempHome(const QString &pattern = QString())
        : m_dir(pattern), m_hadPrevious(qEnvironmentVariableIsSet("RAZUZEZU_HOME")),
          m_previous(qgetenv("RAZUZEZU_HOME"))
    {
        qputenv("RAZUZEZU_HOME", m_dir.path().toUtf8());
    }
    ~TempHome()
    {
        if (m_hadPrevious)
            qputenv("RAZUZEZU_HOME", m_previous);
        else
            qunsetenv("RAZUZEZU_HOME");
    }
    QString path() const { return m_dir.path(); }
    // The database folder inside the program folder of the temporary home.
    QString databaseFolder() const { return m_dir.path() + QLatin1String("/data/DeVivozoda/"); }

private:
    QTemporaryDir m_dir;
    bool m_hadPrevious;
    QByteArray m_previous;
};

// Records each prompt; answers with the queued answers in order, then with each
// request's default button (files: ""); every text input is cancelled.
class ScriptedPrompts final : public PromptHandler
{
public:
    ScriptedPrompts() : m_previous(prompt::installed()) { prompt::install(this); }
    ~ScriptedPrompts() override
    {
        if (prompt::installed() == this)
            prompt::install(m_previous == this ? nullptr : m_previous);
    }

    void answer(MsgResult result) { m_answers.push_back(result); }
    void answerFile(const QString &path) { m_files.push_back(path); }

    const std::vector<MessageRequest> &messages() const { return m_messages; }
    const std::vector<FileRequest> &fileRequests() const { return m_fileRequests; }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : m_messages)
            out << m.text;
        return out;
    }
    QString lastText() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    void clear()
    {
        m_messages.clear();
        m_fileRequests.clear();
    }

    MsgResult message(const MessageRequest &request) override
    {
        m_messages.push_back(request);
        return m_answers.empty() ? request.defaultButton : take(m_answers);
    }
    QString file(const FileRequest &request) override
    {
        m_fileRequests.push_back(request);
        return m_files.empty() ? QString() : take(m_files);
    }
    QString input(const InputRequest &, bool *ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }

private:
    template <typename T> static T take(std::deque<T> &queue)
    {
        T first = queue.front();
        queue.pop_front();
        return first;
    }
    std::deque<MsgResult> m_answers;
    std::deque<QString> m_files;
    std::vector<MessageRequest> m_messages;
    std::vector<FileRequest> m_fileRequests;
    PromptHandler *m_previous;
};

// Path of a file in tests/data.
QString dataFile(const QString &name);

// The whole content of a file; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes a file in place, making its folders first; true when every byte was written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace rr::test
