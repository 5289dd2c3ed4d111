// Names and addresses as they come into the details panel and the folder tree: on one
// line, and the address with nothing around it, however they arrive.
#include "editingfixture.h"
#include "support/windowcontrols.h"

#include <QClipboard>
#include <QLineEdit>

using namespace rr;
using namespace rr::test;

namespace
{

void paste(QWidget *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    press(box, Qt::Key_V, Qt::ControlModifier);
}

TEST_F(EditingTest, pastedOrCapturedNamesAndAddressesHoldOneLineAndTheAddressIsStoredWithNothingAround)
{
    openDb();
    clickFolder("T5");
    menu(MenuId::mnuAddVardeck);
    // Line breaks and tabs show as blanks as soon as they are pasted.
    paste(txtWName(*window), "Tide\r\n\ttimes");
    EXPECT_EQ(txtWName(*window)->text(), "Tide  times");
    paste(txtAddress(*window), " \thttps://tides.example/a%20b\r\n");
    EXPECT_EQ(txtAddress(*window)->text(), "  https://tides.example/a%20b ");
    save();
    EXPECT_EQ(stored("W4").childText("NAME"), "Tide  times");
    EXPECT_EQ(stored("W4").childText("ADDRESS"), "https://tides.example/a%20b");
    EXPECT_EQ(lblAddress(*window)->text(), "https://tides.example/a%20b");

    // So does what a page taken from a browser brings.
    window->commands.addVardeckSetup(DetectedPage{"\thttp://page.example/x\n", "Page\ttitle", "", "", "3", "Firefox"});
    EXPECT_EQ(txtWName(*window)->text(), "Page title");
    save();
    EXPECT_EQ(stored("W5").childText("ADDRESS"), "http://page.example/x");
    EXPECT_EQ(stored("W5").childText("NAME"), "Page title");

    // A folder renamed in place takes a pasted name on one line.
    topics()->editItem(node("T6"));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    paste(editor, "New\nname");
    EXPECT_EQ(editor->text(), "New name");
    press(editor, Qt::Key_Return);
    EXPECT_EQ(stored("T6").childText("NAME"), "New name");
    EXPECT_EQ(node("T6")->text(0), "New name");
}

} // namespace
