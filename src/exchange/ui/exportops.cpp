// The exports of the Import/Export window: the Favorites folder, Firefox's bookmark
// file, web pages and a CSV file.
#include "exchange/favoritesexport.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/exchangeops.h"
#include "exchange/ui/frmimportexport.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"

#include <QDir>

namespace rr
{

void frmImportExport::exportToIEFavorites()
{
    if (!checkDatabaseOpen(w))
        return;
    FavoritesExportResult result;
    {
        BusyWindow busy(w, false);
        result = exportToFavorites(*w.m_objDOMVardecks, favoritesFolder());
    }
    if (!result.error.isEmpty()) {
        prompt::show(result.error, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (result.failures.isEmpty()) {
        prompt::show(
            QStringLiteral("Your Vardecks have been successfully been exported to Internet Explorer favorites."));
        return;
    }
    QString text = QStringLiteral("Your Vardecks were exported to %1, except for these %2 that could not be written:")
                       .arg(QDir::toNativeSeparators(result.targetDir))
                       .arg(result.failures.size());
    for (const QString &failure : result.failures.mid(0, 10))
        text += QLatin1Char('\n') + failure;
    if (result.failures.size() > 10)
        text += QStringLiteral("\n... and %1 more.").arg(result.failures.size() - 10);
    prompt::show(text, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace rr
