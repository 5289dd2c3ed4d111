#pragma once
// A private desktop configuration folder, and a help viewer that records the pages it was asked to show.
#include "options/htmlhelp.h"

#include <QStringList>
#include <QTemporaryDir>

namespace rr::test
{

class TempConfig
{
public:
    TempConfig() : m_previous(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8()); }
    ~TempConfig() { qputenv("XDG_CONFIG_HOME", m_previous); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

class RecordingViewer final : public HelpViewer
{
public:
    RecordingViewer() { helpviewer::install(this); }
    ~RecordingViewer() override { helpviewer::install(nullptr); }
    bool showHelpPage(const QString &helpFolder, const QString &page) override
    {
        folders << helpFolder;
        pages << page;
        return true;
    }
    QStringList folders;
    QStringList pages;
};

} // namespace rr::test
