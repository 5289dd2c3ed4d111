// The enabling table for every mode text and selection, and the edit face of the details panel.
#include "editingfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

// Per control, the state in viewing, modifying and adding: T on, F off, - kept,
// Fo with a folder shown, V with a Vardeck shown. One spot row per pattern.
struct Expected {
    const char *target;
    const char *viewing;
    const char *modifying;
    const char *adding;
};

const Expected kTable[] = {
    {"#1", "T", "F", "F"},
    {"#2", "V", "F", "F"},
    {"#5", "Fo", "Fo", "Fo"},
    {"#12", "T", "F", "-"},
    {"#14", "Fo", "F", "F"},
    {"#16", "V", "-", "-"},
    {"#23", "-", "T", "-"},
    {"#24", "-", "T", "T"},
    {"mnuAddVardeck", "T", "-", "F"},
    {"mnuNavigate(0)", "Fo", "Fo", "Fo"},
    {"mnuEditDeleteTopic", "Fo", "-", "F"},
    {"mnuEditModify", "V", "-", "F"},
    {"cmdMoveVD", "V", "F", "F"},
    {"lbl(25)", "F", "T", "T"},
};

struct Case {
    const char *mode;
    int column; // 0 viewing, 1 modifying, 2 adding, -1 an unknown mode
    bool folder;
    bool vardeck;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << '"' << c.mode << "\" folder=" << c.folder << " vardeck=" << c.vardeck;
}

class EnablingTable : public EditingTest, public ::testing::WithParamInterface<Case>
{
protected:
    // Reads the target's state, or sets it when on is given. A label's state is its visibility.
    bool access(const QString &target, std::optional<bool> on = {})
    {
        if (target.startsWith('#') || target.startsWith("mnu")) {
            QAction *action =
                target.startsWith('#') ? window->toolbarButton(target.mid(1).toInt()) : window->menuItem(target);
            if (on)
                action->setEnabled(*on);
            return action->isEnabled();
        }
        QWidget *control = window->findChild<QWidget *>(target);
        EXPECT_NE(control, nullptr) << target.toStdString();
        const bool label = target.startsWith("lbl");
        if (on)
            label ? control->setVisible(*on) : control->setEnabled(*on);
        return label ? !control->isHidden() : control->isEnabled();
    }
};

TEST_P(EnablingTable, appliesTheRowsOfTheMode)
{
    const Case c = GetParam();
    openDb();
    if (c.vardeck)
        showVardeck("T1", "W1");
    else if (c.folder)
        clickFolder("T1");
    ASSERT_EQ(window->folderShown(), c.folder);
    ASSERT_EQ(window->vardeckShown(), c.vardeck);

    // Two passes, from everything on and from everything off, tell "kept" apart.
    for (const bool before : {true, false}) {
        window->txtMode->setText("reset");
        // A hidden toolbar button reads as disabled: Save and Cancel show as in an edit.
        window->toolbarButton(23)->setVisible(true);
        window->toolbarButton(24)->setVisible(true);
        for (const Expected &e : kTable)
            access(e.target, before);
        setMode(*window, QString::fromLatin1(c.mode));
        EXPECT_EQ(window->txtMode->text(), QString::fromLatin1(c.mode));
        for (const Expected &e : kTable) {
            const char *rule = c.column == 0 ? e.viewing : c.column == 1 ? e.modifying : e.adding;
            const QString r = c.column < 0 ? "-" : rule;
            const bool expected =
                r == "T" || (r == "Fo" && c.folder) || (r == "V" && c.vardeck) || (r == "-" && before);
            EXPECT_EQ(access(e.target), expected) << e.target << " rule " << r.toStdString() << " from " << before;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, EnablingTable,
                         ::testing::Values(Case{"", 0, false, false}, Case{"", 0, true, false}, Case{"", 0, true, true},
                                           Case{"mod", 1, true, true}, Case{"Mod", 1, true, false},
                                           Case{"add", 2, true, false}, Case{"Add", 2, false, false},
                                           Case{"edit", -1, true, true}));

TEST_F(EditingTest, theEditFaceShowsTheBoxesAndSaveAndCancelAndDisablesTheEditMenuKeys)
{
    openDb();
    showVardeck("T1", "W1");
    window->tabInfo->setTab(1);
    menu("mnuEditModify");
    EXPECT_EQ(window->tabInfo->Tab(), 0) << "the preview gives way to the details";
    EXPECT_EQ(window->wbPreview->property("rrAddress").toString(), "about:blank");
    for (QWidget *box : std::initializer_list<QWidget *>{
             window->txtWName, window->txtAddress, window->txtDescription, window->txtKeywords, window->lblWName,
             window->lblAddress, window->lblDescription, window->lblKeyWords, window->cmdAddFavs, window->cmdEdit(0)})
        EXPECT_EQ(box->isVisible(), box->objectName().startsWith("txt")) << box->objectName().toStdString();
    EXPECT_TRUE(window->toolbarButton(23)->isVisible());
    EXPECT_TRUE(window->chkFav->isEnabled());
    EXPECT_FALSE(window->txtNotes->isReadOnly());

    // Ctrl+N and Delete belong to the Edit menu, which a modification disables.
    press(window->txtWName, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->txtMode->text(), "mod");
    press(window->txtWName, Qt::Key_Delete);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(doc()->nodeFromID("W1"));

    // A name of blanks keeps Save off; the caption still shows the blanks.
    window->txtWName->setText("  ");
    EXPECT_FALSE(window->toolbarButton(23)->isEnabled());
    EXPECT_EQ(window->tabView->TabCaption(0), "   *      ");

    prompts.answer(MsgResult::Yes);
    button(24);
    EXPECT_TRUE(window->lblWName->isVisible());
    EXPECT_FALSE(window->txtWName->isVisible());
    EXPECT_FALSE(window->toolbarButton(23)->isVisible());
    EXPECT_FALSE(window->chkFav->isEnabled());
    EXPECT_TRUE(window->txtNotes->isReadOnly());
    EXPECT_EQ(window->editMode(), "");
}

} // namespace
