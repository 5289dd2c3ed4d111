// The enabling table for every mode text and selection, the two faces of the details
// panel, and what entering an edit does to the preview.
#include "editingfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

// The table as the window must apply it: per control, the state in viewing,
// modifying and adding. T on, F off, - kept, Fo with a folder shown, V with a
// Vardeck shown.
struct Expected {
    const char *target;
    const char *viewing;
    const char *modifying;
    const char *adding;
};

// Spot rows: each pattern of rules the modes apply, on toolbar buttons, menus,
// pane buttons and captions.
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
    bool state(const QString &target) const
    {
        if (target.startsWith('#'))
            return window->toolbarButton(target.mid(1).toInt())->isEnabled();
        if (target.startsWith("mnu"))
            return window->menuItem(target)->isEnabled();
        QWidget *control = window->findChild<QWidget *>(target);
        return target.startsWith("lbl") ? !control->isHidden() : control->isEnabled();
    }
    void setAll(bool on)
    {
        // A hidden toolbar button reads as disabled: Save and Cancel show as in an edit.
        window->toolbarButton(23)->setVisible(true);
        window->toolbarButton(24)->setVisible(true);
        for (const Expected &e : kTable) {
            const QString target = e.target;
            if (target.startsWith('#'))
                window->toolbarButton(target.mid(1).toInt())->setEnabled(on);
            else if (target.startsWith("mnu"))
                window->menuItem(target)->setEnabled(on);
            else if (target.startsWith("lbl"))
                window->findChild<QWidget *>(target)->setVisible(on);
            else
                window->findChild<QWidget *>(target)->setEnabled(on);
        }
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
    for (const Expected &e : kTable)
        ASSERT_TRUE(e.target[0] == '#' || QString(e.target).startsWith("mnu")
                        ? true
                        : window->findChild<QWidget *>(e.target) != nullptr)
            << e.target;

    // Two passes, from everything on and from everything off, tell "kept" apart.
    for (const bool before : {true, false}) {
        window->txtMode->setText("reset");
        setAll(before);
        setMode(*window, QString::fromLatin1(c.mode));
        EXPECT_EQ(window->txtMode->text(), QString::fromLatin1(c.mode));
        for (const Expected &e : kTable) {
            const QString rule = c.column < 0 ? "-"
                                              : QString::fromLatin1(c.column == 0   ? e.viewing
                                                                    : c.column == 1 ? e.modifying
                                                                                    : e.adding);
            const bool expected =
                rule == "T" || (rule == "Fo" && c.folder) || (rule == "V" && c.vardeck) || (rule == "-" && before);
            EXPECT_EQ(state(e.target), expected) << e.target << " rule " << rule.toStdString() << " from " << before;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, EnablingTable,
                         ::testing::Values(Case{"", 0, false, false}, Case{"", 0, true, false}, Case{"", 0, true, true},
                                           Case{"mod", 1, true, true}, Case{"Mod", 1, true, false},
                                           Case{"add", 2, true, false}, Case{"Add", 2, false, false},
                                           Case{"edit", -1, true, true}));

TEST_F(EditingTest, viewingWithAFolderButNoVardeck)
{
    openDb();
    clickFolder("T6");
    setMode(*window, "");
    for (int position : {5, 6, 7, 8, 14})
        EXPECT_TRUE(window->toolbarButton(position)->isEnabled()) << position;
    for (int position : {2, 3, 16})
        EXPECT_FALSE(window->toolbarButton(position)->isEnabled()) << position;
}

TEST_F(EditingTest, theEditFaceShowsTheBoxesAndSaveAndCancel)
{
    openDb();
    showVardeck("T1", "W1");
    window->tabInfo->setTab(1);
    menu("mnuEditModify");
    EXPECT_EQ(window->tabInfo->Tab(), 0) << "the preview gives way to the details";
    EXPECT_EQ(window->wbPreview->property("rrAddress").toString(), "about:blank");
    for (QWidget *box : std::initializer_list<QWidget *>{window->txtWName, window->txtAddress, window->txtDescription,
                                                         window->txtKeywords})
        EXPECT_TRUE(box->isVisible()) << box->objectName().toStdString();
    for (QWidget *label : std::initializer_list<QWidget *>{window->lblWName, window->lblAddress, window->lblDescription,
                                                           window->lblKeyWords, window->cmdAddFavs, window->cmdEdit(0)})
        EXPECT_FALSE(label->isVisible()) << label->objectName().toStdString();
    EXPECT_TRUE(window->toolbarButton(23)->isVisible());
    EXPECT_TRUE(window->chkFav->isEnabled());
    EXPECT_FALSE(window->txtNotes->isReadOnly());

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

TEST_F(EditingTest, theDisabledEditMenuKeepsItsShortcutsFromFiring)
{
    openDb();
    showVardeck("T1", "W1");
    menu("mnuEditModify");
    // Ctrl+N belongs to the Edit menu, which a modification disables.
    press(window->txtWName, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->txtMode->text(), "mod");
    press(window->txtWName, Qt::Key_Delete);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(doc()->nodeFromID("W1"));
}

} // namespace
