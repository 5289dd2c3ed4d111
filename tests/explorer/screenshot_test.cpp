// Renders the main window with a sample collection browsed, for a look by eye.
#include "explorerfixture.h"

#include <QDir>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(ExplorerTest, pictureOfACollectionBrowsed)
{
    const VD news{"W4",
                  "News & weather",
                  "https://www.news.example/today",
                  "02 Mar 2026",
                  "Daily headlines",
                  "news",
                  "",
                  "04 Dec 2026 08:15 AM",
                  "48",
                  "17",
                  "FALSE"};
    QByteArray body = sampleBody();
    body.replace("</VARDECKS><SUBFOLDERS><FOLDER TID=\"T2\"", news.xml() + "</VARDECKS><SUBFOLDERS><FOLDER TID=\"T2\"");
    openDatabase(body);
    window->resize(1000, 680);
    callOp(window->ops.viewAsList);
    window->tabView->setTab(0);
    showVardeck("T1", "W1");
    QTest::qWait(50);
    const QPixmap picture = window->grab();
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(QDir::temp().filePath("explorer.png")));
    window->tabView->setTab(1);
    QTest::qWait(20);
    EXPECT_TRUE(window->grab().save(QDir::temp().filePath("explorer-list.png")));
}

} // namespace
