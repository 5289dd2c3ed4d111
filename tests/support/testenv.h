#pragma once
// Test environment: a temporary home for the program's folders, and a scripted
// prompt handler that records every message box and answers from a queue.
#include "platform/prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <vector>

namespace rr::test
{

// Points RAZUZEZU_HOME at a fresh temporary folder for the lifetime of the object,
// restoring the previous value afterwards.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    QString path() const { return m_dir.path(); }
    // The program folder and database folder inside the temporary home.
    QString programFolder() const;
    QString databaseFolder() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// Records each prompt; answers with the queued answers in order, then with each
// request's default button (files: ""); every text input is cancelled.
class ScriptedPrompts final : public PromptHandler
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    void answer(MsgResult result) { m_answers.push_back(result); }
    void answerFile(const QString &path) { m_files.push_back(path); }

    const std::vector<MessageRequest> &messages() const { return m_messages; }
    const std::vector<FileRequest> &fileRequests() const { return m_fileRequests; }
    QStringList texts() const;
    QString lastText() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    void clear();

    MsgResult message(const MessageRequest &request) override;
    QString file(const FileRequest &request) override;
    QString input(const InputRequest &request, bool *ok) override;

private:
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
