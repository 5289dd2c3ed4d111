#include "exchange/importprogress.h"

namespace rr
{

QString importCancelledReason()
{
    return QStringLiteral("The import was cancelled.");
}

float progressItemStep(float value)
{
    if (value < 60.0f)
        return value + 1.0f;
    if (value < 80.0f)
        return value + 0.5f;
    if (value < 99.0f)
        return value + 0.1f;
    return value;
}

float progressFillTo98(float value)
{
    while (value < 98.0f)
        value += 2.0f;
    return value;
}

void ImportProgress::setFolderName(const QString &name)
{
    m_state.folderName = name;
    changed();
}

void ImportProgress::setVardeckName(const QString &name)
{
    m_state.vardeckName = name;
    m_state.bar = progressItemStep(m_state.bar);
    changed();
}

void ImportProgress::setFolderCount(int count)
{
    m_state.folders = count;
    changed();
}

void ImportProgress::setVardeckCount(int count)
{
    m_state.vardecks = count;
    changed();
}

void ImportProgress::setBar(float value)
{
    m_state.bar = value;
    changed();
}

void ImportProgress::flush()
{
    draw(m_state);
    m_sinceDrawn.start();
}

void ImportProgress::changed()
{
    if (!m_sinceDrawn.isValid() || m_sinceDrawn.elapsed() >= kRedrawIntervalMs)
        flush();
}

} // namespace rr
