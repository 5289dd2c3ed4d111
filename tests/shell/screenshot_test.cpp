// Renders the main window offscreen and keeps the picture for a look by eye.
#include "shell/frmvardecks.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(MainWindowPicture, grabsTheWholeFrame)
{
    rr::frmVardecks window;
    window.LoadDynamicMenus();
    window.resetToolbarButtons();
    window.resetMenuItems();
    window.resize(900, 620);
    window.show();
    QTest::qWait(50);
    const QPixmap picture = window.grab();
    ASSERT_FALSE(picture.isNull());
    const QString path = QDir::temp().filePath(QStringLiteral("frmVardecks.png"));
    EXPECT_TRUE(picture.save(path));
}

} // namespace
