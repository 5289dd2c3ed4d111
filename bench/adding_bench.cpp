// Times adding one Vardeck from the main window (New Vardeck, a name and an address
// typed, Save) in a collection one below the identifier ceiling, against one durable
// write of a file of the same bytes (temporary file, fsync, rename, folder fsync), the
// floor of any save. The two run in turn, round by round; times are min/median/max
// and the ratio is the median of the rounds' ratios.
//   add one Vardeck from the window vs one durable write of the file   goal <= 2
// The window is the program's own, put together as the program does, offscreen.
// Exits non-zero when the goal is missed or an add did not reach the file.
// Usage: adding_bench [rounds]
#include "app/assembly.h"
#include "collectiongen.h"
#include "explorer/vardeckviews.h"
#include "platform/atomicfile.h"
#include "platform/gui/webgraphics.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace rr;

namespace
{

// One below the identifier ceiling: each round's Vardeck takes the last free number
// and is taken out again before the next round.
constexpr int kVardecks = 32766;
constexpr double kGoal = 2.0;

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? Spread{} : Spread{values.front(), values[values.size() / 2], values.back()};
}

std::string format(const Spread &s)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.1f/%.1f/%.1f", s.min, s.median, s.max);
    return text;
}

// The window's folder tree, by its name.
QTreeWidget *folderTree(frmVardecks &window)
{
    return window.findChild<QTreeWidget *>(QStringLiteral("tvwTopics"));
}

// The first folder below the root of the folder tree, clicked.
bool showFirstFolder(frmVardecks &window)
{
    QTreeWidget *tree = folderTree(window);
    QTreeWidgetItem *root = tree ? tree->topLevelItem(0) : nullptr;
    QTreeWidgetItem *folder = root ? root->child(0) : nullptr;
    if (!folder)
        return false;
    tree->setCurrentItem(folder);
    emit tree->itemClicked(folder, 0);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QTemporaryDir home;
    qputenv("RAZUZEZU_HOME", home.path().toUtf8());
    // The window's start-up looks for pages open in browsers and offers them in a dialog,
    // which nobody answers here: it finds no browser profile and asks no debugging port.
    qputenv("HOME", home.path().toUtf8());
    qputenv("RAZUZEZU_DEVTOOLS_PORTS", "");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    deferWebGraphics();
    QApplication app(argc, argv);
    Session benchSession;
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    paths::prepareProgramFolder();
    bench::CollectionShape shape;
    shape.vardecks = kVardecks;
    const QString path = bench::writeCollection(paths::databaseFolder(), QStringLiteral("Vardecks.xml"), shape);
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("checkDup"), "False");

    frmVardecks window;
    assembleMainWindow(window);
    Main(window);
    QApplication::processEvents();
    if (!window.dbXML.isOpen() || !showFirstFolder(window)) {
        std::printf("the collection did not open in the window\n");
        return 1;
    }
    const QString floorPath = paths::databaseFolder() + QStringLiteral("floor.xml");

    // The details panel's edit boxes, by their names.
    auto *nameBox = window.findChild<QLineEdit *>(QStringLiteral("txtWName"));
    auto *addressBox = window.findChild<QLineEdit *>(QStringLiteral("txtAddress"));
    std::vector<double> adds, writes, ratios;
    bool reached = true;
    for (int i = 0; i < rounds; ++i) {
        const QString name = QStringLiteral("Bench page %1").arg(i);
        auto start = std::chrono::steady_clock::now();
        window.menuItem(MenuId::mnuAddVardeck)->trigger();
        nameBox->setText(name);
        addressBox->setText(QStringLiteral("https://bench.example/page%1").arg(i));
        window.toolbarButton(Tb::Save)->trigger();
        adds.push_back(msSince(start));

        // Untimed: the add reached the file, and its Vardeck leaves the document and the
        // folder's lists again, as a deletion leaves them.
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        reached = reached && bytes.contains(name.toUtf8());
        XmlNode added = window.dbXML.vardeck(window.currentWID());
        if (added)
            added.parentNode().removeChild(added);
        rr::VardeckViews::of(window).populateVardeckList(folderTree(window)->currentItem());

        start = std::chrono::steady_clock::now();
        reached = writeFileAtomically(floorPath, bytes) && reached;
        writes.push_back(msSince(start));
        ratios.push_back(adds.back() / writes.back());
    }
    const double ratio = spreadOf(ratios).median;
    const bool met = reached && ratio <= kGoal;
    std::printf("%d Vardecks (%.1f MB): add one Vardeck from the window %s ms vs one durable write of the file %s ms: "
                "ratio %.2f (goal <= %.0f) %s%s\n",
                kVardecks, QFile(path).size() / 1048576.0, format(spreadOf(adds)).c_str(),
                format(spreadOf(writes)).c_str(), ratio, kGoal, met ? "met" : "MISSED",
                reached ? "" : "  AN ADD DID NOT REACH THE FILE");
    return met ? 0 : 1;
}
