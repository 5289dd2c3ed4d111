// Times filling the main window's Vardeck views with one folder of 32,767 Vardecks, as
// the window shows the folder an import made: the tree's nodes and the list's rows
// made, with their icons, then sorted by name. The window is the program's own, put
// together as the program does, offscreen. The floor, timed round by round in turn, is
// two bare tree widgets given the same texts as plain items (the tree its names, the
// list every column) and sorted by name: what any fill of the two views costs.
//   views filled and sorted vs bare fill and sort        goal <= 2.5
// Prints min/median/max in ms over the rounds, the time per Vardeck and the median of
// the rounds' ratios; exits non-zero when the goal is missed or a Vardeck is not listed.
// Usage: listfill_bench [rounds] [vardecks]
#include "app/assembly.h"
#include "benchtime.h"
#include "collectiongen.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/webgraphics.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace rr;

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
    const int vardecks = argc > 2 ? std::max(1, atoi(argv[2])) : 32767;

    paths::prepareProgramFolder();
    // Every Vardeck in the one folder, as an import of a flat bookmark file makes it.
    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    shape.topFolders = 1;
    shape.subfoldersPerFolder = 0;
    shape.depth = 1;
    const QString path = bench::writeCollection(paths::databaseFolder(), QStringLiteral("Vardecks.xml"), shape);
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");

    frmVardecks window;
    assembleMainWindow(window);
    Main(window);
    QApplication::processEvents();
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("tvwTopics"));
    QTreeWidgetItem *root = tree && window.dbXML.isOpen() ? tree->topLevelItem(0) : nullptr;
    QTreeWidgetItem *folder = root ? root->child(0) : nullptr;
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("listVD"));
    if (!folder || !list) {
        std::printf("the collection did not open in the window\n");
        return 1;
    }
    tree->setCurrentItem(folder);
    rr::VardeckViews::of(window).populateVardeckList(folder);
    // The floor: the same rows, every column's text, as plain items in two bare trees
    // (the Vardeck tree's names, the list's rows), sorted by name.
    QList<QStringList> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->topLevelItem(i)->text(c);
        rows << cells;
    }
    const int columns = list->columnCount();
    const auto bareFill = [&rows, columns] {
        QTreeWidget bareTree;
        QTreeWidget bareList;
        bareList.setColumnCount(columns);
        QList<QTreeWidgetItem *> nodes;
        QList<QTreeWidgetItem *> items;
        for (const QStringList &cells : rows) {
            nodes << new QTreeWidgetItem(QStringList{cells.value(0)});
            items << new QTreeWidgetItem(cells);
        }
        bareTree.addTopLevelItems(nodes);
        bareList.addTopLevelItems(items);
        bareTree.sortItems(0, Qt::AscendingOrder);
        bareList.sortItems(0, Qt::AscendingOrder);
    };
    std::vector<double> times, floors, ratios;
    bool filled = true;
    for (int i = 0; i < rounds; ++i) {
        times.push_back(bench::timeMs([&] { rr::VardeckViews::of(window).populateVardeckList(folder); }));
        filled = filled && list->topLevelItemCount() == vardecks;
        QApplication::processEvents();
        floors.push_back(bench::timeMs(bareFill));
        ratios.push_back(times.back() / std::max(floors.back(), 0.001));
    }
    const bench::Spread spread = bench::spreadOf(times);
    const double ratio = bench::spreadOf(ratios).median;
    const bool met = ratio <= 2.5;
    std::printf("%d Vardecks in one folder (%.1f MB): the window's views filled and sorted %s ms, %.1f us a "
                "Vardeck, vs bare fill and sort %s ms: ratio %.2f (goal <= 2.5) %s%s\n",
                vardecks, QFile(path).size() / 1048576.0, bench::formatSpread(spread, 1).c_str(),
                spread.median * 1000 / vardecks, bench::formatSpread(bench::spreadOf(floors), 1).c_str(), ratio,
                met ? "met" : "MISSED", filled ? "" : "  NOT EVERY VARDECK WAS LISTED");
    return filled && met ? 0 : 1;
}
