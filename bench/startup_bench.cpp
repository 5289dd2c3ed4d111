// Times the program's start on generated collections: from the main window's
// construction to the end of its load (window shown, folder tree, favourites and
// popular list filled), with the splash and tips off. Offscreen.
// Usage: startup_bench [runs]
#include "app/assembly.h"
#include "collectiongen.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/useroptions.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace rr;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    for (int vardecks : {1000, 10000, 32767}) {
        QTemporaryDir home;
        qputenv("RAZUZEZU_HOME", home.path().toUtf8());
        paths::prepareProgramFolder();
        bench::CollectionShape shape;
        shape.vardecks = vardecks;
        bench::writeCollection(paths::databaseFolder(), QStringLiteral("Vardecks.xml"), shape);
        const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            appOptions() = UserOptions();
            const auto start = std::chrono::steady_clock::now();
            {
                frmVardecks window;
                assembleMainWindow(window);
                Main(window);
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                // The embedded browser costs its first view ~100 ms: it waits until a pane shows it.
                if (const auto views = window.findChildren<QWebEngineView *>(); !views.isEmpty()) {
                    std::printf("%lld web views were made at start-up\n", static_cast<long long>(views.size()));
                    return 1;
                }
                window.hide();
            }
        }
        std::sort(times.begin(), times.end());
        std::printf("%6d Vardecks: start-up to a shown window %8.1f ms (median of %d)\n", vardecks,
                    times[times.size() / 2], runs);
    }
    return 0;
}
