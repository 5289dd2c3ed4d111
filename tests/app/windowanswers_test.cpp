// The window answers whatever the user does while long work runs. Each kind of long
// work is started in the window as the program puts it together and held on its own
// thread while the user clicks every toolbar button and presses every menu key: a
// call queued to the window's event loop is handled within seconds after each, and
// any dialog that opens takes the Escape key and closes. Work the window waits for
// (an import, a merge, an export, the e-mailed page, opening a database, the start)
// lets no command start meanwhile; while the Web Aspect makes a page or a print its
// pieces, the window's commands run as ever. Afterwards the work has ended as it
// should, and the toolbar's Options opens its dialog.
#include "app/assembly.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/databasecommands.h"
#include "explorer/explorerfixture.h"
#include "platform/paths.h"
#include "shell/mainmodule.h"
#include "storage/chosendatabase.h"
#include "storage/registryfunctions.h"
#include "support/httpserver.h"
#include "support/workhold.h"
#include "web/ui/printprogress.h"
#include "web/ui/webaspect.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QPrinter>
#include <QSet>
#include <QToolBar>

using namespace rr;
using namespace rr::test;

namespace
{

// About 1.3 MB: the Web Aspect then shows a first screen of its own, and a print
// prints from pieces.
QByteArray largeCollection()
{
    QByteArray folders[2];
    for (int i = 1; i <= 3000; ++i) {
        const QString name = QStringLiteral("Vardeck %1 ").arg(i, 5, 10, QLatin1Char('0')) + QString(300, 'x');
        folders[i % 2] += vardeckXml(QStringLiteral("W%1").arg(i), name, QStringLiteral("http://v%1.example/").arg(i));
    }
    return "<FOLDERS>" + folderXml("T1", "First", folders[0]) + folderXml("T2", "Second", folders[1]) + "</FOLDERS>";
}

// Answers No (or Cancel) to every question but those that start the work under test.
class Answers final : public PromptHandler
{
public:
    Answers() : m_previous(prompt::installed()) { prompt::install(this); }
    ~Answers() override { prompt::install(m_previous); }
    MsgResult message(const MessageRequest &request) override
    {
        texts << request.text;
        if (request.buttons == MsgButtons::Ok)
            return MsgResult::Ok;
        if (yesToAll || yesTo.contains(request.text))
            return request.buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Yes;
        return request.buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
    }
    QString file(const FileRequest &request) override { return files.value(request.title); }
    QString input(const InputRequest &, bool *ok) override
    {
        *ok = false;
        return {};
    }
    QStringList texts;
    QStringList yesTo;
    bool yesToAll = false;
    QHash<QString, QString> files;

private:
    PromptHandler *m_previous;
};

// Presses Escape on every modal dialog that opens, as the user does; one that is
// still open two seconds later took no input, and is closed by force.
class DialogAnswerer
{
public:
    DialogAnswerer()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
        m_timer.start();
    }
    QStringList opened;
    QStringList unanswered;

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            m_current = nullptr;
            return;
        }
        if (modal != m_current) {
            m_current = modal;
            opened << modal->objectName();
            m_since.start();
            QTest::keyClick(modal, Qt::Key_Escape);
            return;
        }
        if (m_since.elapsed() < 2000)
            return;
        unanswered << modal->objectName();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        m_current = nullptr;
    }

    QTimer m_timer;
    QPointer<QWidget> m_current;
    QElapsedTimer m_since;
};

class WindowAnswersTest;

struct Kind;
void PrintTo(const Kind &kind, std::ostream *os);

struct Kind {
    const char *id;
    // The window waits for the work: no command starts and no dialog opens meanwhile.
    bool windowWaits;
    // Starts the work; it may return once the work has ended.
    std::function<void(WindowAnswersTest &)> start;
    // True once the work has ended as it should.
    std::function<bool(WindowAnswersTest &)> ended;
};

void PrintTo(const Kind &kind, std::ostream *os)
{
    *os << kind.id;
}

class WindowAnswersTest : public ::testing::TestWithParam<Kind>
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(paths::prepareProgramFolder());
        const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", largeCollection());
        other = writeDatabase(home.databaseFolder(), "Other.xml",
                              "<FOLDERS>" + folderXml("T1", "Merged", vardeckXml("W1", "m1")) + "</FOLDERS>");
        writeBytes(files.filePath(".mozilla/firefox/a.default/bookmarks.html"),
                   readBytes(dataFile("exchange/bookmarks.html")));
        launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
        setPrinterChooser([this](QWidget *) {
            auto printer = std::make_shared<QPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed());
            return printer;
        });
    }
    void TearDown() override
    {
        setPrinterChooser({});
        delete frmProgress::current();
        if (window)
            window->close();
        window.reset();
        session().webAspectHtml = false;
    }

    // The window as the program puts it together, with the large collection open.
    void makeWindow()
    {
        window = std::make_unique<frmVardecks>();
        assembleMainWindow(*window);
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(openTheDatabase(*window, ChosenDatabase{path, "Vardecks.xml"}));
    }
    // The Web Aspect shown, its pages made by the program or by the pane, all stale.
    void showWebAspect(bool programPages)
    {
        session().webAspectHtml = programPages;
        window->commands.mnuAspectWeb_Click();
        ASSERT_TRUE(waitUntil([&] { return !WebAspect::of(*window)->makingPage(); }, 60000));
        window->collectionChanged(StalePages::everyPage());
    }
    frmImportExport *importExport()
    {
        auto *dialog = frmImportExport::showFor(exchangeWindowOf(*window));
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
        return dialog;
    }
    QString printed() const { return home.path() + "/printed.pdf"; }
    // An add or a modification a button or key started ends, so the next one starts
    // from the window as it was.
    void endEdit(frmVardecks &walked)
    {
        if (walked.editState() == EditState::Viewing)
            return;
        prompts.yesToAll = true;
        walked.commands.cancelVardeckEdit();
        prompts.yesToAll = false;
    }
    int topFolders() const { return int(window->dbXML.document()->documentElement().childElements().size()); }

    // Clicks every toolbar button and presses every menu key of walked; after each,
    // the window must handle a call queued to it within five seconds.
    void walk(frmVardecks &walked)
    {
        QList<std::pair<QString, std::function<void()>>> actions;
        for (QToolBar *bar : walked.findChildren<QToolBar *>()) {
            for (QAction *button : bar->actions()) {
                QWidget *widget = bar->widgetForAction(button);
                if (widget && button->isVisible() && !button->isSeparator())
                    actions.append({"the toolbar button " + button->toolTip(),
                                    [widget] { QTest::mouseClick(widget, Qt::LeftButton); }});
            }
        }
        QSet<QString> seen;
        for (QAction *item : walked.allMenuItems()) {
            const QKeySequence key = item->shortcut();
            if (key.isEmpty() || seen.contains(key.toString()))
                continue;
            seen.insert(key.toString());
            actions.append({"the key " + key.toString(), [&walked, key] {
                                QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &walked;
                                QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
                            }});
        }
        ASSERT_GT(actions.size(), 40);
        for (const auto &[what, act] : actions) {
            act();
            while (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            endEdit(walked);
            bool handled = false;
            QMetaObject::invokeMethod(
                qApp, [&handled] { handled = true; }, Qt::QueuedConnection);
            if (!waitUntil([&] { return handled; }, 5000))
                late << what;
        }
        walkedThrough = true;
    }

    TempHome home;
    Answers prompts;
    FakeLauncher launcher;
    DialogAnswerer dialogs;
    QTemporaryDir files;
    QString path;
    QString other;
    std::unique_ptr<frmVardecks> window;
    // The window walked when it is not the one above (the start makes its own).
    std::unique_ptr<frmVardecks> started;
    QStringList late;
    bool walkedThrough = false;
};

Kind webView(const char *id, int button, bool programPages = true)
{
    return {id, false,
            [button, programPages](WindowAnswersTest &t) {
                t.showWebAspect(programPages);
                txtS(*t.window)->setText("Vardeck 0001");
                t.window->commands.cmdWeb_Click(button);
            },
            [](WindowAnswersTest &t) { return !WebAspect::of(*t.window)->makingPage(); }};
}

const Kind kKinds[] = {
    webView("WebAspectFolders", 0),
    webView("WebAspectAllVardecks", 1),
    webView("WebAspectFavorites", 2),
    webView("WebAspectSearch", 4),
    webView("WebAspectPopular", 5),
    webView("WebAspectFormattedByThePane", 1, false),
    {"PrintOfALargeView", false,
     [](WindowAnswersTest &t) {
         t.showWebAspect(true);
         t.window->commands.cmdWeb_Click(1);
         ASSERT_TRUE(waitUntil([&] { return !WebAspect::of(*t.window)->makingPage(); }, 60000));
         t.prompts.yesTo << "This will print the current view displayed in your Web aspect.  Do you wish to continue?";
         t.window->commands.mnuFilePrint_Click();
         t.prompts.yesTo.clear();
     },
     [](WindowAnswersTest &t) {
         return !t.window->findChild<PrintProgress *>() && readBytes(t.printed()).trimmed().endsWith("%%EOF");
     }},
    {"BookmarksImport", true,
     [](WindowAnswersTest &t) {
         t.prompts.yesTo << "You are about to import your Firefox bookmarks on this computer into Razuzezu Revidod.  "
                            "Do you wish to proceed?";
         t.importExport()->importFirefoxBookmarks();
     },
     [](WindowAnswersTest &t) {
         return t.topFolders() == 3 && frmProgress::current() &&
                frmProgress::current()->windowTitle().startsWith("Vardecks imported: ");
     }},
    {"Merge", true,
     [](WindowAnswersTest &t) {
         t.prompts.files.insert("Import Vardecks database...", t.other);
         t.importExport()->importVDDatabase();
     },
     [](WindowAnswersTest &t) { return t.topFolders() == 3 && !t.window->dbXML->hasUnsavedChanges(); }},
    {"ExportAsAWebPage", true,
     [](WindowAnswersTest &t) {
         t.prompts.files.insert("Choose a folder and file name to save as a web page", t.home.path() + "/all.htm");
         t.importExport()->exportAllAsWeb();
     },
     [](WindowAnswersTest &t) { return readBytes(t.home.path() + "/all.htm").contains("Vardeck 03000"); }},
    {"EmailedPage", true, [](WindowAnswersTest &t) { t.window->commands.mnuEmailAllVardecks_Click(); },
     [](WindowAnswersTest &t) { return t.launcher.starts().size() == 1; }},
    {"OpeningADatabase", true,
     [](WindowAnswersTest &t) {
         openTheDatabase(*t.window, ChosenDatabase{t.other, "Other.xml"});
     },
     [](WindowAnswersTest &t) { return t.window->dbXML.name() == "Other.xml"; }},
    {"TheStart", true,
     [](WindowAnswersTest &t) {
         t.started = std::make_unique<frmVardecks>();
         assembleMainWindow(*t.started);
         Main(*t.started);
     },
     [](WindowAnswersTest &t) { return t.started->isVisible() && t.started->dbXML.name() == "Vardecks.xml"; }},
};

} // namespace

TEST_P(WindowAnswersTest, everyButtonAndKeyDuringTheWorkLeavesTheWindowAnswering)
{
    const Kind &kind = GetParam();
    const bool start = QString(kind.id) == "TheStart";
    if (!start)
        makeWindow();
    const int textsBefore = int(prompts.texts.size());
    bool windowWaited = true;
    WorkHold hold(1, [&] {
        frmVardecks &walked = start ? *started : *window;
        const int opened = int(dialogs.opened.size());
        const int told = int(prompts.texts.size());
        walk(walked);
        windowWaited = dialogs.opened.size() == opened && prompts.texts.size() == told;
    });
    kind.start(*this);
    ASSERT_TRUE(waitUntil([&] { return hold.done(); }, 60000)) << "the work never started on its own thread";
    EXPECT_FALSE(hold.timedOut());
    EXPECT_TRUE(walkedThrough);
    EXPECT_TRUE(waitUntil([&] { return kind.ended(*this); }, 60000))
        << "the work did not end as it should; told: " << prompts.texts.join(" | ").toStdString();
    EXPECT_TRUE(late.isEmpty()) << "the window did not answer after " << late.join(", ").toStdString();
    EXPECT_TRUE(dialogs.unanswered.isEmpty()) << "took no input: " << dialogs.unanswered.join(", ").toStdString();
    if (kind.windowWaits) {
        EXPECT_TRUE(windowWaited) << "a command ran in the middle of the work: "
                                  << prompts.texts.mid(textsBefore).join(" | ").toStdString()
                                  << dialogs.opened.join(", ").toStdString();
    }

    // Afterwards the window takes the user's clicks again.
    frmVardecks &shown = start ? *started : *window;
    endEdit(shown);
    QApplication::setActiveWindow(&shown);
    const int opened = int(dialogs.opened.size());
    QTest::mouseClick(shown.findChild<QToolBar *>("Toolbar1")->widgetForAction(shown.toolbarButton(Tb::UserOptions)),
                      Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return dialogs.opened.size() > opened; }, 10000));
    EXPECT_EQ(dialogs.opened.value(opened), "frmPrefs");
    EXPECT_TRUE(dialogs.unanswered.isEmpty());
    if (started)
        started->close();
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfLongWork, WindowAnswersTest, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind> &info) { return std::string(info.param.id); });
