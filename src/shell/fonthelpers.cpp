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
    window.applyFontSize(size);
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
