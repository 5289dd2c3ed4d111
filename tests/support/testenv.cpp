#include "support/testenv.h"

namespace rr::test
{

QString dataFile(const QString &name)
{
    return QStringLiteral(RR_TEST_DATA_DIR "/") + name;
}

} // namespace rr::test
