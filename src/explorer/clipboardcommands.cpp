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
    w.commands.mnuEditClipVD_Click = copyAll;
    w.commands.mnuCopyAll2_Click = copyAll;
    const std::pair<HandlerRef, Getter> fields[] = {
        {&Commands::mnuEditClipName_Click, &XMLDatabase::getVDName},
        {&Commands::mnuEditClipURL_Click, &XMLDatabase::getVDAddress},
        {&Commands::mnuEditClipDesc_Click, &XMLDatabase::getVDDescription},
        {&Commands::mnuEditClipNotes_Click, &XMLDatabase::getVDNotes},
        {&Commands::mnuEditClipKeywords_Click, &XMLDatabase::getVDKeywords},
    };
    for (const auto &[handler, getter] : fields) {
        w.commands.*handler = [&w, getter = getter](int) {
            putOnClipboard(w.dbXML.isOpen() ? (w.dbXML.get()->*getter)(w.currentWID(), nullptr) : QString());
        };
    }
    w.commands.mnuCopy_Click = [&w](int) { putOnClipboard(w.popup.copyText()); };
}

} // namespace rr
