// Times a Vardeck whose name, description, keywords and notes are each one line of ten
// million letters in the main window: shown from its folder's tree with its notes in
// front, put into an update (Ctrl+U), a key typed into its description, and the update
// saved after a change of its address. Each step is drawn before its time is taken.
// Beside each, the same step for a Vardeck of short texts in the same run, the floor.
//   each step with texts of ten million letters   goal <= 1000 ms
// Checks that the boxes show 100,000 letters of each and that the save keeps every
// field it did not change whole. Exits non-zero when a goal is missed or a check fails.
// Usage: longtexts_bench [rounds]
#include "app/assembly.h"
#include "collectiongen.h"
#include "platform/gui/textboxes.h"
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
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace rr;

namespace
{

constexpr qsizetype kLetters = 10'000'000;
constexpr double kGoalMs = 1000;

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QByteArray vardeckXml(const char *wid, const QByteArray &text)
{
    return "<VARDECK WID=\"" + QByteArray(wid) + "\"><NAME>" + text + "</NAME><ADDRESS>http://" + wid +
           ".example/</ADDRESS><CREATED_DATE>06 Dec 2026</CREATED_DATE><DESCRIPTION>" + text +
           "</DESCRIPTION><KEYWORD1>" + text + "</KEYWORD1><NOTES>" + text +
           "</NOTES><KEYWORD2/><FILESIZE>1</FILESIZE><HITS>1</HITS><FAV>FALSE</FAV></VARDECK>";
}

template <typename T> T *control(frmVardecks &w, const char *name)
{
    return w.findChild<T *>(QString::fromLatin1(name));
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
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    deferWebGraphics();
    QApplication app(argc, argv);
    Session benchSession;
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    paths::prepareProgramFolder();
    const QByteArray huge(kLetters, 'x');
    const QString path = paths::databaseFolder() + QStringLiteral("Vardecks.xml");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FOLDERS SYSTEM \"Vardecks.dtd\">\n<FOLDERS>"
                   "<FOLDER TID=\"T1\"><NAME>Long</NAME><VARDECKS>" +
                   vardeckXml("W1", huge) + vardeckXml("W2", "short text") + "</VARDECKS></FOLDER></FOLDERS>\n");
    }
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");

    frmVardecks window;
    assembleMainWindow(window);
    Main(window);
    window.resize(1100, 800);
    QApplication::processEvents();
    auto *folders = control<QTreeWidget>(window, "tvwTopics");
    auto *vardecks = control<QTreeWidget>(window, "tvwWM");
    auto *description = control<QPlainTextEdit>(window, "txtDescription");
    auto *address = control<QLineEdit>(window, "txtAddress");
    QTreeWidgetItem *folder = folders && folders->topLevelItem(0) ? folders->topLevelItem(0)->child(0) : nullptr;
    if (!window.dbXML.isOpen() || !folder || !vardecks || !description || !address) {
        std::printf("the collection did not open in the window\n");
        return 1;
    }
    folders->setCurrentItem(folder);
    emit folders->itemClicked(folder, 0);

    const auto timed = [&](const std::function<void()> &step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        QApplication::processEvents();
        (void)window.grab();
        return msSince(start);
    };
    const auto row = [&](const char *wid) {
        for (int i = 0; i < vardecks->topLevelItemCount(); ++i)
            if (vardecks->topLevelItem(i)->data(0, Qt::UserRole).toString() == QLatin1String(wid))
                return vardecks->topLevelItem(i);
        return static_cast<QTreeWidgetItem *>(nullptr);
    };
    const char *steps[] = {"shown with its notes", "Ctrl+U", "a key in the description", "saved"};
    std::vector<double> times[2][4];
    bool checked = true;
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            const char *wid = which == 0 ? "W1" : "W2";
            std::vector<double> *t = times[which];
            t[0].push_back(timed([&] {
                vardecks->setCurrentItem(row(wid));
                emit vardecks->itemClicked(row(wid), 0);
                window.showInfoTab(InfoTab::Notes);
            }));
            t[1].push_back(timed([&] {
                window.showInfoTab(InfoTab::Details);
                window.menuItem(MenuId::mnuEditModify)->trigger();
            }));
            t[2].push_back(timed([&] {
                description->setFocus();
                description->moveCursor(QTextCursor::Start);
                QTest::keyClick(description, Qt::Key_Delete);
            }));
            if (which == 0)
                checked = checked && description->toPlainText().size() == kMostEditedLetters - 1;
            t[3].push_back(timed([&] {
                // The description goes back to what it was given: only the address changed.
                description->undo();
                address->setText(QStringLiteral("http://%1.example/%2").arg(QLatin1String(wid)).arg(round));
                window.toolbarButton(Tb::Save)->trigger();
            }));
        }
    }
    XMLDatabase saved;
    checked = checked && saved.openDBValidate(path);
    const XmlNode kept = checked ? saved.getTheDOM()->nodeFromID(QStringLiteral("W1")) : XmlNode();
    for (const char *child : {"NAME", "DESCRIPTION", "KEYWORD1", "NOTES"})
        checked = checked && kept.childText(QLatin1String(child)).size() == kLetters;
    checked =
        checked && kept.childText(QStringLiteral("ADDRESS")) == QStringLiteral("http://W1.example/%1").arg(rounds - 1);

    bool met = checked;
    for (int step = 0; step < 4; ++step) {
        const double longMs = median(times[0][step]);
        const bool stepMet = longMs <= kGoalMs;
        met = met && stepMet;
        std::printf("%s: texts of %lld letters %.1f ms, short texts %.1f ms (goal <= %.0f ms) %s\n", steps[step],
                    qlonglong(kLetters), longMs, median(times[1][step]), kGoalMs, stepMet ? "met" : "MISSED");
    }
    if (!checked)
        std::printf("A BOX OR THE SAVED FILE DID NOT HOLD WHAT IT SHOULD\n");
    return met ? 0 : 1;
}
