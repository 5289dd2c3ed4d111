// A rendered page cut into pieces for printing: each piece a whole document with the
// page's head, the cut elements copied around each part, nothing lost or repeated.
#include "web/pagepieces.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

const QByteArray kHead = "<head><title>Vardecks - all</title><link rel=\"stylesheet\" href=\"VDStyle.css\"></head>";

QByteArray tablePage(int rows)
{
    QByteArray body = "<h1>Vardecks - all</h1><table class=\"vardecks\"><tr><th>Name</th></tr>";
    for (int i = 1; i <= rows; ++i)
        body += "<tr class=\"vardeck\"><td>Row " + QByteArray::number(i) + "</td></tr>";
    return "<html>" + kHead + "<body class=\"list\">" + body + "</table></body></html>";
}

// The numbers of "Row N" texts in the pieces, in order.
QList<int> rowsIn(const QList<QByteArray> &pieces)
{
    QList<int> rows;
    static const QRegularExpression row(QStringLiteral("Row (\\d+)"));
    for (const QByteArray &piece : pieces) {
        auto it = row.globalMatch(QString::fromUtf8(piece));
        while (it.hasNext())
            rows << it.next().captured(1).toInt();
    }
    return rows;
}

QList<int> oneTo(int n)
{
    QList<int> all;
    for (int i = 1; i <= n; ++i)
        all << i;
    return all;
}

} // namespace

TEST(PagePiecesTest, aTableIsCutBetweenRowsAndEveryPieceIsAWholeDocumentWithTheHeading)
{
    const struct {
        int rows;
        int maxNodes;
        int pieces;
    } cases[] = {{3, 1000, 1}, {40, 50, 3}, {100, 10, 51}, {10, 4, 12}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, " << c.maxNodes << " nodes");
        QList<QByteArray> pieces;
        ASSERT_TRUE(pagepieces::split(tablePage(c.rows), c.maxNodes, &pieces));
        EXPECT_EQ(pieces.size(), c.pieces);
        EXPECT_EQ(rowsIn(pieces), oneTo(c.rows)) << "each row once, in order";
        for (int i = 0; i < pieces.size(); ++i) {
            const QByteArray &piece = pieces[i];
            EXPECT_TRUE(piece.contains("<title>Vardecks - all</title>")) << i;
            EXPECT_TRUE(piece.contains("href=\"VDStyle.css\"")) << i;
            EXPECT_TRUE(piece.contains("<body class=\"list\">")) << i;
            EXPECT_EQ(piece.count("<h1>"), i == 0 ? 1 : 0) << i;
            // The table around the rows, and its heading row as its thead in each piece.
            if (piece.contains("Row ")) {
                EXPECT_TRUE(piece.contains("<table class=\"vardecks\">")) << i;
            }
            if (piece.contains("Row ")) {
                EXPECT_TRUE(piece.contains("<table class=\"vardecks\"><thead><tr><th>Name</th></tr></thead>")) << i;
            }
            EXPECT_LE(piece.count("<th>"), 1) << i;
        }
    }
}

TEST(PagePiecesTest, nestedListsAreCutInsideWithTheEnclosingElementsCopied)
{
    QByteArray body = "<ul class=\"folders\"><li class=\"folder\" id=\"T1\"><span>Top</span><ul>";
    for (int i = 1; i <= 30; ++i)
        body += "<li class=\"vardeck\">Row " + QByteArray::number(i) + "</li>";
    body += "</ul></li><li class=\"folder\" id=\"T2\"><span>Second</span></li></ul>";
    QList<QByteArray> pieces;
    ASSERT_TRUE(pagepieces::split("<html>" + kHead + "<body>" + body + "</body></html>", 20, &pieces));
    ASSERT_GT(pieces.size(), 2);
    EXPECT_EQ(rowsIn(pieces), oneTo(30));
    for (int i = 0; i + 1 < pieces.size(); ++i)
        EXPECT_TRUE(pieces[i].contains("<ul class=\"folders\"><li class=\"folder\" id=\"T1\">")) << i;
    EXPECT_EQ(pieces.join().count("<span>Top</span>"), 1);
    EXPECT_TRUE(pieces.last().contains("<li class=\"folder\" id=\"T2\"><span>Second</span></li>"));
}

TEST(PagePiecesTest, pagesWithoutAnythingToCutStayWholeOrAreRefused)
{
    const struct {
        const char *page;
        int maxNodes;
        bool read;
        int pieces;
        const char *kept;
    } cases[] = {
        {"<html><body><p>One <b>long</b> paragraph</p><p>Next</p></body></html>", 5, true, 2,
         "<p>One <b>long</b> paragraph</p>"},
        {"<html><body></body></html>", 10, true, 1, "<body></body>"},
        {"just text", 10, true, 1, "just text"},
        {"", 10, false, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        QList<QByteArray> pieces;
        QString error;
        EXPECT_EQ(pagepieces::split(c.page, c.maxNodes, &pieces, &error), c.read);
        EXPECT_EQ(pieces.size(), c.pieces);
        if (c.read) {
            EXPECT_TRUE(pieces.first().contains(c.kept)) << pieces.first().toStdString();
        } else {
            EXPECT_EQ(error, "The page holds no HTML document.");
        }
    }
}
