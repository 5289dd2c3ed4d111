#include "shell/fonthelpers.h"

#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/twips.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTreeWidget>

namespace rr
{

bool detectSansSerifInstalled()
{
    return QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"), Qt::CaseSensitive);
}

void setFormFont(QWidget *window, const QString &fontName)
{
    const QString designed = QStringLiteral("Verdana");
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->font().family() == designed)
            continue;
        QFont font = control->font();
        font.setFamily(fontName);
        control->setFont(font);
    }
}

void applyFontFallback(QWidget *window)
{
    if (!session().sansSerifInstalled)
        setFormFont(window, QStringLiteral("MS Sans Serif"));
}

void applyFontSize(frmVardecks &window, int &size)
{
    if (size == 0)
        size = 8;
    QWidget *const controls[] = {
        window.tvwTopics,   window.tvwWM,          window.lstSrch,    window.tvwFavs,        window.listPop,
        window.lstSearch,   window.listVD,         window.txtNotes,   window.lblDescription, window.lblKeyWords,
        window.txtKeywords, window.txtDescription, window.txtAddress, window.txtWName,       window.lblAddress,
        window.lblWName,    window.cmbSearch,      window.txtS,
    };
    for (QWidget *control : controls) {
        // The fallback face is given to every widget one by one, so the parts of a
        // control keep a font of their own: the size goes to them too, or a tree's
        // in-place editor (a child of its viewport) and a combo box's text stay small.
        QList<QWidget *> parts = control->findChildren<QWidget *>();
        parts.prepend(control);
        for (QWidget *part : std::as_const(parts)) {
            QFont font = part->font();
            font.setPointSize(size);
            part->setFont(font);
        }
    }
    // Taller rows push the row the user is on down, out of sight: each list and tree
    // shows it whole again.
    for (QWidget *control : controls) {
        auto *view = qobject_cast<QAbstractItemView *>(control);
        if (view && view->currentIndex().isValid())
            view->scrollTo(view->currentIndex());
    }
    if (size == 8 || size == 9) {
        twips::setHeight(window.txtAddress, 280);
        twips::setHeight(window.txtWName, 280);
        twips::setHeight(window.txtS, 280);
    } else if (size == 10 || size == 11) {
        twips::setHeight(window.txtWName, 300);
        twips::setHeight(window.txtS, 300);
    }
}

QString getAppPathFromRegistry(const QString &exeName)
{
    const QString key = QLatin1String(SettingsStore::kAppPathsKey) + QLatin1Char('\\') + exeName;
    const QString registered = RegistryFunctions::QueryValue(reg::HKEY_LOCAL_MACHINE, key, QString()).toString();
    if (!registered.isEmpty())
        return registered;

    QStringList programs;
    if (sameText(exeName, QStringLiteral("firefox.exe")))
        programs = {QStringLiteral("firefox"), QStringLiteral("firefox-esr")};
    else if (sameText(exeName, QStringLiteral("Mozilla.exe")))
        programs = {QStringLiteral("seamonkey")};
    else if (sameText(exeName, QStringLiteral("Opera.exe")))
        programs = {QStringLiteral("opera")};
    for (const QString &program : programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

} // namespace rr
