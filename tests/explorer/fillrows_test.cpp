// The rows a fill of the shown folder's views makes: each cell's text from Vardecks stored in
// odd shapes, and the order by name, which must be the order the views' own sort gives.
#include "explorerfixture.h"

#include "explorer/vardeckrows.h"
#include "platform/textutil.h"

#include <QHeaderView>
#include <algorithm>
#include <numeric>
#include <random>

using namespace rr;
using namespace rr::test;

namespace
{

// Every cell of the item, whole (a long text is shown cut), joined by "|".
QString cells(const QTreeWidgetItem *item)
{
    QStringList out;
    for (int c = 0; item && c < item->columnCount(); ++c)
        out << item->data(c, Qt::EditRole).toString();
    return out.join('|');
}

const QString kLongName = QString(5000, 'n');

struct OddRecord {
    const char *wid;
    QByteArray xml;
    QString filled;   // the list's row after a fill of both views
    QString refilled; // after the list alone is filled again
};
const OddRecord kOddRecords[] = {
    {"W1",
     "<VARDECK WID=\"W1\"><NAME></NAME><ADDRESS>http://one.example/</ADDRESS><CREATED_DATE>06 Dec 2026"
     "</CREATED_DATE><DESCRIPTION></DESCRIPTION><KEYWORD2>01 Dec 2026 10:00 AM</KEYWORD2><HITS>3</HITS></VARDECK>",
     "|http://one.example/|06 Dec 2026|01 Dec 2026 10:00 AM|     3| ",
     "|http://one.example/|06 Dec 2026|01 Dec 2026 10:00 AM|     3|"},
    {"W2", "<VARDECK WID=\"W2\"/>", "| | | |     1| ", "||||     1|"},
    // Of several NAME children the first counts, of several counts the last in any letter case.
    {"W3", "<VARDECK WID=\"W3\"><NAME>first</NAME><NAME>second</NAME><HITS>4</HITS><hits>7</hits></VARDECK>",
     "first| | | |     7| ", "first||||     7|"},
    {"W4", "<VARDECK WID=\"W4\"><NAME>empty count</NAME><HITS>5</HITS><Hits/></VARDECK>", "empty count| | | |     1| ",
     "empty count||||      |"},
    // A field named in another case is not that field; "hıts" upper-cased is HITS; a text in
    // pieces (an entity, CDATA, a child element, a comment) reads joined.
    {"W5",
     "<VARDECK WID=\"W5\"><name>lower</name><NAME>AT&amp;T <![CDATA[<b>]]></NAME><DESCRIPTION>one <I>two</I>"
     " three<!-- note --></DESCRIPTION><h\xc4\xb1ts>1234567</h\xc4\xb1ts></VARDECK>",
     "AT&T <b>| | | |1234567|one two three", "AT&T <b>||||1234567|one two three"},
    {"W6", "<VARDECK WID=\"W6\"><NAME>" + kLongName.toUtf8() + "</NAME></VARDECK>", kLongName + "| | | |     1| ",
     kLongName + "||||     1|"},
};

TEST_F(ExplorerTest, eachRowShowsTheTextsItsVardeckHoldsWhateverShapeItIsStoredIn)
{
    QByteArray vardecks;
    for (const OddRecord &record : kOddRecords)
        vardecks += record.xml;
    openDatabase("<FOLDERS>" + folderXml("T1", "Odd", vardecks) + "</FOLDERS>");
    showVardeck("T1", "W3");
    for (const OddRecord &record : kOddRecords) {
        EXPECT_EQ(cells(row(record.wid)), record.filled) << record.wid;
        EXPECT_EQ(cells(wmNode(record.wid)), record.filled.section('|', 0, 0)) << record.wid;
    }
    explorer->views.populateVDList(doc()->nodeFromID("T1"));
    for (const OddRecord &record : kOddRecords)
        EXPECT_EQ(cells(row(record.wid)), record.refilled) << record.wid;
    // The refilled list selects the shown Vardeck's row.
    ASSERT_EQ(listVD(*window)->selectedItems().size(), 1);
    EXPECT_EQ(tag(listVD(*window)->selectedItems().first()), "W3");
    EXPECT_EQ(tag(listVD(*window)->currentItem()), "W3");
}

TEST_F(ExplorerTest, bothViewsListTheFolderInTheOrderTheirOwnSortByNameGives)
{
    const char *const names[] = {"beta",
                                 "Beta",
                                 "alpha",
                                 "",
                                 "ALPHA",
                                 "\xf0\x90\x90\xa8ski",
                                 "\xf0\x90\x90\x80SKI",
                                 "Straße",
                                 "STRASSE",
                                 "beta",
                                 "Zürich",
                                 "zurich",
                                 "Ελλάδα",
                                 "ελλαδα"};
    QByteArray vardecks;
    for (int i = 0; i < int(std::size(names)); ++i)
        vardecks += vardeckXml("W" + QString::number(i + 1), QString::fromUtf8(names[i]));
    openDatabase("<FOLDERS>" + folderXml("T1", "Names", vardecks) + "</FOLDERS>");
    clickFolder("T1");
    const QStringList expected = {"W4", "W5",  "W3",  "W2",  "W1",  "W10", "W9",
                                  "W8", "W12", "W11", "W13", "W14", "W7",  "W6"};
    for (QTreeWidget *view : {tvwWM(*window), listVD(*window)}) {
        QStringList shown;
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            shown << tag(view->topLevelItem(i));
        EXPECT_EQ(shown, expected) << view->objectName().toStdString();
        EXPECT_EQ(view->header()->sortIndicatorSection(), 0);
        EXPECT_EQ(view->header()->sortIndicatorOrder(), Qt::AscendingOrder);
        view->sortItems(0, Qt::AscendingOrder);
        QStringList sorted;
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            sorted << tag(view->topLevelItem(i));
        EXPECT_EQ(sorted, shown) << view->objectName().toStdString();
    }
}

// Against the views' comparison itself, on texts no file can hold: lone surrogates, and a low
// surrogate's place holding another unit.
TEST(OrderByName, ordersAsTheViewsCaselessComparisonThenTheExactTextThenTheOrderGiven)
{
    const char16_t pool[] = {u'a', u'A', u'b', u'S',   u's',   u'ß',   u'ẞ',   u'İ', u'i', u'ı', u'I',
                             u'Σ', u'σ', u'ς', 0xD801, 0xDC00, 0xDC28, 0xE000, u'é', u'É', u' '};
    std::mt19937 random(7);
    QList<QString> names;
    for (int i = 0; i < 3000; ++i) {
        QString name;
        for (int length = int(random() % 5); length > 0; --length)
            name += QChar(pool[random() % std::size(pool)]);
        names << name;
    }
    QList<qsizetype> expected(names.size());
    std::iota(expected.begin(), expected.end(), qsizetype(0));
    std::stable_sort(expected.begin(), expected.end(), [&names](qsizetype a, qsizetype b) {
        const int caseless = caselessCompare(names.at(a), names.at(b));
        return caseless != 0 ? caseless < 0 : names.at(a) < names.at(b);
    });
    EXPECT_EQ(orderByName(names), expected);
}

} // namespace
