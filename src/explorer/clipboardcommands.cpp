#include "explorer/clipboardcommands.h"

#include "shell/frmvardecks.h"
#include "storage/xmldatabase.h"

#include <QClipboard>
#include <QGuiApplication>

namespace rr
{

void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

namespace
{

// A field of the shown Vardeck; a missing Vardeck or field copies an empty text.
using Getter = QString (XMLDatabase::*)(const QString &, bool *) const;

} // namespace

void installClipboardCommands(frmVardecks &w)
{
    const auto copyAll = [&w](int) {
        putOnClipboard(w.dbXML.isOpen() ? w.dbXML->getVDAsFormattedString(w.currentWID()) : QString());
    };
    w.setCommand(QStringLiteral("mnuEditClipVD_Click"), copyAll);
    w.setCommand(QStringLiteral("mnuCopyAll2_Click"), copyAll);
    const std::pair<const char *, Getter> fields[] = {
        {"mnuEditClipName_Click", &XMLDatabase::getVDName},
        {"mnuEditClipURL_Click", &XMLDatabase::getVDAddress},
        {"mnuEditClipDesc_Click", &XMLDatabase::getVDDescription},
        {"mnuEditClipNotes_Click", &XMLDatabase::getVDNotes},
        {"mnuEditClipKeywords_Click", &XMLDatabase::getVDKeywords},
    };
    for (const auto &[handler, getter] : fields) {
        w.setCommand(QLatin1String(handler), [&w, getter = getter](int) {
            putOnClipboard(w.dbXML.isOpen() ? ((*w.dbXML).*getter)(w.currentWID(), nullptr) : QString());
        });
    }
    w.setCommand(QStringLiteral("mnuCopy_Click"), [&w](int) { putOnClipboard(w.copyText); });
}

} // namespace rr
