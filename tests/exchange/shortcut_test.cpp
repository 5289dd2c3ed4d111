#include "exchange/exchangenames.h"
#include "exchange/internetshortcut.h"
#include "exchangefixture.h"

#include <QSet>
#include <QTemporaryDir>

using namespace rr;
using rr::test::readBytes;
using rr::test::writeBytes;

namespace
{

QString addressOf(const QByteArray &bytes)
{
    QString address;
    return shortcutAddress(bytes, &address) ? address : QStringLiteral("<none>");
}

} // namespace

TEST(ShortcutReader, takesTheLastUrlLineThatIsNoBaseUrl)
{
    EXPECT_EQ(addressOf("[DEFAULT]\r\nBASEURL=http://a/\r\n[InternetShortcut]\r\nURL=http://b/\r\n"), "http://b/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://first/\r\n[Other]\r\nURL=http://second/\r\n"),
              "http://second/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nurl=http://lower/\r\n"), "<none>");
    // The key is looked for anywhere in the line.
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://b/\r\nIconURL=http://x/i.ico\r\n"), "http://x/i.ico");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://b/\r\nIconFile=http://b/favicon.ico\r\nIconIndex=1\r\n"),
              "http://b/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=\r\n"), "");
    EXPECT_EQ(addressOf("URL=http://a/?q=URL=x\r\n"), "http://a/?q=URL=x");
    // The Unicode section repeats the address in UTF-7.
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://?.example/\r\n[InternetShortcut.W]\r\n"
                        "URL=http://+ZeVnLA-.example/a+-b+AOk\r\n"),
              QString::fromUtf8("http://\xe6\x97\xa5\xe6\x9c\xac.example/a+b\xc3\xa9"));
}

TEST(ShortcutReader, readsEveryLineEndAndBothEncodings)
{
    EXPECT_EQ(addressOf("[InternetShortcut]\nURL=http://lf/\n"), "http://lf/");
    EXPECT_EQ(addressOf("[InternetShortcut]\rURL=http://cr/\rIconIndex=0"), "http://cr/");
    EXPECT_EQ(addressOf("URL=http://no-line-end/"), "http://no-line-end/");
    EXPECT_EQ(addressOf("URL=http://caf\xc3\xa9.example/\r\n"), QString::fromUtf8("http://caf\xc3\xa9.example/"));
    EXPECT_EQ(addressOf("\xEF\xBB\xBFURL=http://bom/\r\n"), "http://bom/");
    // Not UTF-8: the legacy code page, where 0xE9 is é and 0x80 the euro sign.
    EXPECT_EQ(addressOf("URL=http://caf\xe9.example/\x80\r\n"),
              QString::fromUtf8("http://caf\xc3\xa9.example/\xe2\x82\xac"));
    const QByteArray utf16("\xFF\xFE[\0I\0]\0\r\0\n\0U\0R\0L\0=\0h\0\r\0\n\0", 26);
    EXPECT_EQ(addressOf(utf16), "<none>");
    EXPECT_EQ(addressOf(""), "<none>");
    EXPECT_EQ(addressOf(QByteArray("\x00\x01\xff\xfe\x80garbage\x00", 12)), "<none>");
}

TEST(ShortcutWriter, writesTwoCrLfLinesThatReadBackTheSame)
{
    EXPECT_EQ(shortcutFileBytes("http://www.example.co/"), "[InternetShortcut]\r\nURL=http://www.example.co/\r\n");
    EXPECT_EQ(shortcutFileBytes("http://www.example/x").size(), 46);
    // A line break in the address cannot add a key of its own.
    EXPECT_EQ(shortcutFileBytes("http://a/\r\nIconFile=C:\\evil\nx"),
              "[InternetShortcut]\r\nURL=http://a/IconFile=C:\\evilx\r\n");
    EXPECT_EQ(shortcutFileBytes(QString::fromUtf8("http://caf\xc3\xa9/")),
              "[InternetShortcut]\r\nURL=http://caf\xe9/\r\n");
    EXPECT_EQ(shortcutFileBytes(QString::fromUtf8("http://\xce\xa9/")),
              "[InternetShortcut]\r\nURL=http://\xce\xa9/\r\n");

    QTemporaryDir dir;
    for (const QString &address : {QStringLiteral("http://a.example/x%20y?z=1&w=2"),
                                   QString::fromUtf8("http://caf\xc3\xa9.example/\xe2\x82\xac"),
                                   QString::fromUtf8("http://\xe6\x97\xa5\xe6\x9c\xac.example/")}) {
        const QString path = dir.filePath("x.url");
        ASSERT_TRUE(writeShortcutFile(path, address));
        QString back;
        EXPECT_EQ(readShortcutFile(path, &back), ShortcutRead::Address);
        EXPECT_EQ(back, address);
    }
}

TEST(SafeNames, everyNameBecomesOneHarmlessPathComponent)
{
    EXPECT_EQ(safePathComponent("a/b"), "a_b");
    EXPECT_EQ(safePathComponent("../x"), ".._x");
    EXPECT_EQ(safePathComponent(".."), "_");
    EXPECT_EQ(safePathComponent("."), "_");
    EXPECT_EQ(safePathComponent(""), "_");
    EXPECT_EQ(safePathComponent("a\\b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
    EXPECT_EQ(safePathComponent(QString("tab\tline\nnul") + QChar(0) + "end"), "tab_line_nul_end");
    EXPECT_EQ(safePathComponent(QString::fromUtf8("Caf\xc3\xa9 & Co. ...")),
              QString::fromUtf8("Caf\xc3\xa9 & Co. ..."));
    // Cut at 240 bytes of UTF-8, never inside a character.
    const QString long2 = QString(300, QChar(0xE9));
    EXPECT_EQ(safePathComponent(long2), QString(120, QChar(0xE9)));
    const QString odd = "a" + QString(300, QChar(0xE9));
    EXPECT_EQ(safePathComponent(odd).toUtf8().size(), 239);
}
