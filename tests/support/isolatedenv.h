#pragma once
// The environment every test binary runs in, set up by both test mains before the
// application object exists.
#include <QByteArray>
#include <QTemporaryDir>

namespace rr::test
{

class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
    {
        // Never touch the real home: every test binary starts in a temporary one.
        qputenv("RAZUZEZU_HOME", m_home.path().toUtf8());
        // The program's data comes from the source tree.
        if (!qEnvironmentVariableIsSet("RAZUZEZU_DATA_DIR"))
            qputenv("RAZUZEZU_DATA_DIR", QByteArray(RR_PROGRAM_DATA_DIR));
        // No test reads the user's browsers (profiles below HOME, debugging ports).
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("RAZUZEZU_DEVTOOLS_PORTS", "");
        // Nothing reaches past that HOME; the runtime folder is the binary's own.
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            qunsetenv(name);
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    }

private:
    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
};

} // namespace rr::test
