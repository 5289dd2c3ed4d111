// The main window driven by real key and mouse events, with questions answered through a
// real modal dialog so that focus moves and nested event loops run as on screen.
#include "editingfixture.h"

#include <QDialog>
#include <QPushButton>

using namespace rr;
using namespace rr::test;

namespace
{

// Answers every question through a modal dialog of its own, as a message box would,
// and notes whether the question came while a key was still being delivered.
class ModalPrompts final : public PromptHandler
{
public:
    explicit ModalPrompts(MsgResult answer) : m_answer(answer), m_previous(prompt::installed())
    {
        prompt::install(this);
    }
    ~ModalPrompts() override { prompt::install(m_previous); }

    MsgResult message(const MessageRequest &request) override
    {
        texts << request.text;
        askedDuringKey = askedDuringKey || keyInFlight;
        QDialog dialog(QApplication::activeWindow());
        auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
        dialog.setModal(true);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ok->setFocus();
        QTimer::singleShot(30, &dialog, &QDialog::accept);
        dialog.exec();
        return m_answer;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *ok) override
    {
        *ok = false;
        return {};
    }

    QStringList texts;
    bool askedDuringKey = false;
    static inline bool keyInFlight = false;

private:
    MsgResult m_answer;
    PromptHandler *m_previous;
};

class KeyboardTest : public EditingTest
{
protected:
    // A key sent to whatever has the focus, then the events it queued.
    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        ModalPrompts::keyInFlight = true;
        QTest::keyClick(target, code, modifiers);
        ModalPrompts::keyInFlight = false;
        settle();
    }
    void keys(const QString &text)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClicks(target, text);
        settle();
    }
    // A second click on the selected folder, then the wait after which a tree opens
    // its in-place editor.
    void clickSelectedFolderAgainAndWait(const QString &tid)
    {
        clickFolder(tid);
        QTest::qWait(QApplication::doubleClickInterval() + 150);
        settle();
    }
    bool folderEditorOpen() const
    {
        const auto editors = topics()->viewport()->findChildren<QLineEdit *>();
        return std::any_of(editors.begin(), editors.end(), [](QLineEdit *e) { return e->isVisible(); });
    }
};

TEST_F(KeyboardTest, escInANewVardeckAfterASecondFolderClickCancelsOnceAndRenamesNothing)
{
    openDb();
    clickFolder("T5");
    window->tvwTopics->setFocus();
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(window->txtMode->text(), "add");
    keys("typed for the Vardeck");
    clickSelectedFolderAgainAndWait("T5");
    EXPECT_FALSE(folderEditorOpen()) << "no folder editor while a Vardeck is being added";
    QTest::mouseClick(window->txtWName, Qt::LeftButton, {}, QPoint(window->txtWName->width() - 2, 5));
    keys(" more");
    EXPECT_EQ(window->txtWName->text(), "typed for the Vardeck more");

    ModalPrompts modal(MsgResult::Yes);
    key(Qt::Key_Escape);
    EXPECT_EQ(modal.texts, QStringList{"You are about to lose unsaved changes - do you wish to continue?"});
    EXPECT_FALSE(modal.askedDuringKey) << "the question waits until the key is delivered";
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(onDisk("T5", "NAME"), "Apple");
    EXPECT_EQ(node("T5")->text(0), "Apple");
}

TEST_F(KeyboardTest, theFolderEditorClosesWithoutRenamingWhenAnAddStartsOrOnEscAndRenamesOnEnter)
{
    openDb();
    clickFolder("T6");
    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen()) << "viewing: the second click renames in place";
    keys("renamed by mistake");
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->txtMode->text(), "add");
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(QApplication::focusWidget(), window->txtWName);
    keys("Harbour");
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(onDisk("T6", "NAME"), "banana");
    EXPECT_EQ(node("T6")->text(0), "banana");
    EXPECT_EQ(stored("W4").childText("NAME"), "Harbour");

    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Cherry");
    key(Qt::Key_Escape);
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(onDisk("T6", "NAME"), "banana") << "Esc";

    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Cherry");
    key(Qt::Key_Return);
    EXPECT_EQ(onDisk("T6", "NAME"), "Cherry") << "Enter";
    EXPECT_EQ(window->lblTName->text(), "Cherry");
}

TEST_F(KeyboardTest, oneF4DuringAnEditAsksOnceAndMovesOnce)
{
    openDb();
    clickFolder("T1");
    const QString first = tag(window->tvwWM->topLevelItem(0)), second = tag(window->tvwWM->topLevelItem(1));
    clickVardeck(first);
    menu("mnuEditModify");
    ASSERT_EQ(window->txtMode->text(), "mod");
    ASSERT_EQ(QApplication::focusWidget(), window->txtWName);
    ModalPrompts modal(MsgResult::Yes);
    key(Qt::Key_F4);
    EXPECT_EQ(modal.texts.size(), 1);
    EXPECT_FALSE(modal.askedDuringKey);
    EXPECT_EQ(window->currentWID, second);
    EXPECT_EQ(tag(window->tvwWM->currentItem()), second);
    EXPECT_EQ(window->txtMode->text(), "");
}

TEST_F(KeyboardTest, arrowsTypeAheadEnterAndSpaceShowTheFolderReached)
{
    openDb();
    topics()->setCurrentItem(root());
    topics()->setFocus();
    key(Qt::Key_Down); // Apple, the first by name
    EXPECT_EQ(window->lblTName->text(), "Apple");
    EXPECT_EQ(window->currentTID, "T5");
    EXPECT_NE(wmNode("W3"), nullptr);
    keys("z");
    EXPECT_EQ(window->lblTName->text(), "zebra");
    EXPECT_NE(wmNode("W1"), nullptr);

    // Enter and Space show the folder that has the keyboard's selection.
    topics()->setCurrentItem(node("T6"));
    window->setTNameCaption("No folder selected");
    key(Qt::Key_Return);
    EXPECT_EQ(window->lblTName->text(), "banana");
    topics()->setCurrentItem(node("T5"));
    window->setTNameCaption("No folder selected");
    key(Qt::Key_Space);
    EXPECT_EQ(window->lblTName->text(), "Apple");
}

TEST_F(KeyboardTest, anyKeyButCtrlSInTheLockedNotesStartsAModification)
{
    openDb();
    showVardeck("T1", "W1");
    for (Qt::Key code : {Qt::Key_Right, Qt::Key_Home, Qt::Key_X}) {
        window->tabInfo->setTab(2);
        window->txtNotes->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), window->txtNotes);
        key(code);
        EXPECT_EQ(window->txtMode->text(), "mod") << code;
        EXPECT_EQ(QApplication::focusWidget(), window->txtNotes);
        prompts.answer(MsgResult::Yes);
        window->runCommand("cancelVardeckEdit");
        ASSERT_EQ(window->txtMode->text(), "");
    }
    window->tabInfo->setTab(2);
    window->txtNotes->setFocus();
    key(Qt::Key_Control);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(onDisk("W1", "NOTES"), "Notes\nline 2");
}

} // namespace
