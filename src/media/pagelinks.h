#pragma once
// The LINK elements of a web page, read with libxml2's HTML parser: in document
// order, each with its rel, href and type values as the page gives them (entities decoded,
// nothing else changed). Broken markup is read as far as it goes; a page that is no
// HTML at all gives no links. No network: nothing the page names is loaded.
#include <QByteArray>
#include <QList>
#include <QString>

namespace rr
{

struct PageLink {
    QString rel;
    QString href;
    QString type; // the media type the page names for the linked file, or ""
};

// baseHref, when given, receives the href of the first BASE element that has one
// (the address the page's relative links are read against), or "".
QList<PageLink> readPageLinks(const QByteArray &html, QString *baseHref = nullptr);

} // namespace rr
