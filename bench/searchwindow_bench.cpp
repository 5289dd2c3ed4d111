// Times the search as a user meets it in the main window: the program's own window,
// put together as the program does and shown offscreen with a generated collection of
// 32,767 Vardecks; 0.3 s after it is shown a rare word is typed into the search box and
// Return pressed; the time runs until the rows of the result list are drawn. Each
// round types the word again. The peer, timed round by round in turn, is buku's deep
// search of the same Vardecks, the first after it opens its database (bukupeer.h):
//   window's search, Return to rows drawn, vs buku --deep                goal >= 1
// The first round, 0.3 s after the window was shown, is printed on its own too. Run it
// under taskset for one or two processors. Prints min/median/max in ms and the median
// of the rounds' ratios; exits non-zero when the goal is missed or the rows are not
// the Vardecks that match.
// Usage: searchwindow_bench [rounds] [vardecks]
#include "app/assembly.h"
#include "benchtime.h"
#include "bukupeer.h"
#include "collectiongen.h"
#include "finding/wordsearch.h"
#include "platform/gui/webgraphics.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace rr;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QTemporaryDir home;
    qputenv("RAZUZEZU_HOME", home.path().toUtf8());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    deferWebGraphics();
    QApplication app(argc, argv);
    Session benchSession;
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const int vardecks = argc > 2 ? std::max(1, atoi(argv[2])) : 32767;
    const QString word = QStringLiteral("page3276");

    paths::prepareProgramFolder();
    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    const QString path = bench::writeCollection(paths::databaseFolder(), QStringLiteral("Vardecks.xml"), shape);
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");

    // The peer and the Vardecks the window must list.
    QStringList expected;
    std::unique_ptr<bench::BukuPeer> buku;
    {
        XMLDatabase peerCopy;
        if (!peerCopy.openDBValidate(path)) {
            std::printf("the collection did not open\n");
            return 1;
        }
        SearchFieldBoxes all;
        for (const SearchResult &result : WordSearch().search(peerCopy.getTheDOM(), word, all))
            expected << result.wid;
        buku = bench::BukuPeer::start(*peerCopy.getTheDOM(), home.path());
    }
    if (!buku) {
        std::printf("without buku there is nothing to compare with\n");
        return 1;
    }

    frmVardecks window;
    assembleMainWindow(window);
    Main(window);
    QElapsedTimer sinceShown;
    sinceShown.start();
    auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbSearch"));
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("lstSrch"));
    auto *count = window.findChild<QLabel *>(QStringLiteral("lblFound"));
    if (!window.isVisible() || !window.dbXML.isOpen() || !box || !box->lineEdit() || !list || !count) {
        std::printf("the collection did not open in the window\n");
        return 1;
    }
    window.showIndexTab(IndexTab::Search);
    box->setFocus();
    // The user reaches for the keyboard: the window's event loop runs meanwhile.
    while (sinceShown.elapsed() < 300)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);

    bool listed = true;
    const auto search = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box->lineEdit(), &press);
        QApplication::sendEvent(box->lineEdit(), &release);
        list->viewport()->repaint();
    };
    const bench::Step ours{[&] { box->setEditText(word); }, search, {}};
    int found = 0;
    std::vector<double> first;
    const bench::Step checkedOurs{ours.before, {}, [&] {
                                      const double ms = bench::timeMs(search);
                                      listed = listed && list->topLevelItemCount() == expected.size() &&
                                               count->text() == QString::number(expected.size());
                                      if (first.empty())
                                          first.push_back(ms);
                                      return ms;
                                  }};
    const bench::PairTimes t =
        bench::alternate(rounds, checkedOurs, {{}, {}, [&] { return buku->search(true, word, &found); }});
    const bool met = t.ratio.median >= 1 && listed && found == int(expected.size());
    std::printf("%d Vardecks, %d processor(s) the program may run on\n", vardecks, QThread::idealThreadCount());
    std::printf("window's search, Return to rows drawn: %s ms (the first, 0.3 s after the window was shown: %.2f ms) "
                "vs buku --deep's first %s ms: ratio %s, median %.2f (goal >= 1) %s%s\n",
                bench::formatSpread(t.a).c_str(), first.empty() ? 0.0 : first.front(), bench::formatSpread(t.b).c_str(),
                bench::formatSpread(t.ratio).c_str(), t.ratio.median, bench::verdict(met),
                listed ? "" : "  THE ROWS ARE NOT THE VARDECKS THAT MATCH");
    return met ? 0 : 1;
}
