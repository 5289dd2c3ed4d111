#pragma once
// The pages of a Chromium-family browser that its user started with remote
// debugging on a local port: its /json/version names the product, its /json/list the
// open targets, of which only "page" targets count. The program only reads there and
// never starts a browser that way itself.
#include "web/detectedpage.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace rr::devtools
{

// The product a /json/version reply names ("Chrome" of "Chrome/120.0.1"), or "".
QString productName(const QByteArray &versionJson);
// The "page" targets of a /json/list reply, labelled with label; none when the
// reply is not a list. The list carries titles HTML-escaped: they come back as the
// pages give them.
QList<DetectedPage> parsePageList(const QByteArray &listJson, const QString &label);
// Asks the browser listening on 127.0.0.1:port; nothing when none answers in time.
QList<DetectedPage> pagesOn(quint16 port, int timeoutMs);

} // namespace rr::devtools
