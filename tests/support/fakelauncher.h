#pragma once
// A launcher for tests: records every program start and every hand-over to the
// desktop's opener, starts nothing, and finds only the programs it is told about.
#include "platform/launcher.h"

#include <QHash>
#include <vector>

namespace rr::test
{

class FakeLauncher final : public Launcher
{
public:
    struct Start {
        QString program;
        QStringList args;
    };

    FakeLauncher() { launcher::install(this); }
    ~FakeLauncher() override { launcher::install(nullptr); }
    FakeLauncher(const FakeLauncher &) = delete;
    FakeLauncher &operator=(const FakeLauncher &) = delete;

    // Makes name found on PATH at path.
    void addProgram(const QString &name, const QString &path) { m_programs.insert(name, path); }
    // Makes every start fail, as for a program that can't run.
    void failStarts(bool fail = true) { m_failStarts = fail; }

    bool startDetached(const QString &program, const QStringList &args) override
    {
        m_starts.push_back({program, args});
        return !m_failStarts;
    }
    bool openUrl(const QString &url) override
    {
        m_opened << url;
        return true;
    }
    QString findExecutable(const QString &name) const override { return m_programs.value(name); }

    const std::vector<Start> &starts() const { return m_starts; }
    const QStringList &openedUrls() const { return m_opened; }

private:
    QHash<QString, QString> m_programs;
    bool m_failStarts = false;
    std::vector<Start> m_starts;
    QStringList m_opened;
};

} // namespace rr::test
