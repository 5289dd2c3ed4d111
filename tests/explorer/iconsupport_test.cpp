// A database's icon files: a download filed under a Vardeck's name, the PDF icon, deletions.
#include "media/iconsupport.h"
#include "storage/vardeckmodule.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

struct IconFolder {
    test::TempHome home;
    QString base = home.path() + "/db/";
    QString icons = base + "icons/Work/";
    IconFolder()
    {
        currentDBName = "Work.xml";
        QDir().mkpath(icons);
    }
    ~IconFolder() { currentDBName = "Vardecks.xml"; }
    void picture(const QString &path, const char *format = "PNG") const
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        image.save(path, format);
    }
};

TEST(IconSupport, filesAPictureUnderTheVardeckReplacingAnOlderIconAndRefusesWhatIsNone)
{
    IconFolder f;
    IconSupport icons;
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W1"), "") << "no download";
    test::writeBytes(f.icons + "favicon.ico", "<html>Not found</html>");
    EXPECT_FALSE(IconSupport::checkValidIcon(f.icons + "favicon.ico"));
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W1"), "");
    EXPECT_FALSE(QFile::exists(f.icons + "W1.ico"));
    icons.clearIconFile();
    EXPECT_FALSE(QFile::exists(f.icons + "favicon.ico"));
    icons.clearIconFile(); // nothing left to delete is no error

    icons.setIconPath(f.base);
    EXPECT_EQ(icons.getIconFile(), f.icons + "favicon.ico");
    EXPECT_EQ(icons.getGenericIconFile(), f.icons + "generic.ico");
    f.picture(f.icons + "favicon.ico", "BMP");
    test::writeBytes(f.icons + "W7.ico", "older");
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W7"), f.icons + "W7.ico");
    EXPECT_FALSE(QFile::exists(f.icons + "favicon.ico"));
    EXPECT_FALSE(QImage(f.icons + "W7.ico").isNull()) << "any picture format under the .ico name";
}

TEST(IconSupport, deletesOnlyAVardecksOwnIconAndGivesAPdfTheStockIcon)
{
    IconFolder f;
    f.picture(f.icons + "W2.ico");
    f.picture(f.icons + "Vardeck.gif");
    IconSupport icons;
    icons.setIconPath(f.base);
    icons.deleteIcon("W9");
    icons.deleteIcon("../Vardeck");
    icons.deleteIcon("W2");
    EXPECT_FALSE(QFile::exists(f.icons + "W2.ico"));
    EXPECT_TRUE(QFile::exists(f.icons + "Vardeck.gif"));

    // A database name that cannot name a folder gives no paths at all.
    icons.setIconPath(f.base, "../x");
    EXPECT_EQ(icons.getIconPath(), "");

    // A PDF address gets the stock icon, once there is one.
    EXPECT_EQ(IconSupport::checkSavePDFIcon(f.base, "W3", "http://a.example/paper.pdf"), "") << "no stock icon yet";
    f.picture(f.base + "pdficon.gif", "PNG");
    EXPECT_EQ(IconSupport::checkSavePDFIcon(f.base, "W3", "http://a.example/paper.PDF"), f.icons + "W3.ico");
    EXPECT_TRUE(QFile::exists(f.base + "pdficon.gif"));
    EXPECT_TRUE(QFile::exists(f.icons + "W3.ico"));
}

} // namespace
