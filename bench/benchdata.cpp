// Benchmarks live outside the program's layout (bin/ beside share/razuzezu-revidod/):
// every benchmark program reads the program's data from the source tree.
#include <QByteArray>
#include <QtGlobal>

namespace
{

[[maybe_unused]] const bool kDataFolderSet = [] {
    if (!qEnvironmentVariableIsSet("RAZUZEZU_DATA_DIR"))
        qputenv("RAZUZEZU_DATA_DIR", QByteArray(RR_PROGRAM_DATA_DIR));
    return true;
}();

} // namespace
