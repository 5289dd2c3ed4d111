#include "storage/session.h"

#include <QtGlobal>

namespace rr
{

namespace
{

Session *g_current = nullptr;

} // namespace

Session::Session() : m_previous(g_current)
{
    g_current = this;
}

Session::~Session()
{
    if (g_current == this)
        g_current = m_previous;
}

Session &session()
{
    if (!g_current)
        qFatal("No session: main() or the test fixture creates one before anything runs.");
    return *g_current;
}

} // namespace rr
