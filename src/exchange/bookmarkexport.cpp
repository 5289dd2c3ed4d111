#include "exchange/bookmarkexport.h"

#include "storage/record.h"

namespace rr
{
namespace
{

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

BookmarkHtmlWriter::BookmarkHtmlWriter(const Form &form, qint64 stamp)
    : m_form(form), m_stamp(QByteArray::number(stamp)), m_depth(form.level)
{
}

void BookmarkHtmlWriter::line(const QByteArray &text)
{
    if (m_form.indented)
        m_out += QByteArray(4 * m_depth, ' ');
    m_out += text + m_form.lineEnd;
}

QByteArray BookmarkHtmlWriter::identifier(const QString &id) const
{
    return m_form.identifiers ? " ID=\"rdf:#" + escaped(id) + "\"" : QByteArray();
}

void BookmarkHtmlWriter::openFolder(const QString &id, const QString &name)
{
    line("<DT><H3 ADD_DATE=\"" + m_stamp + "\"" + identifier(id) + ">" + escaped(name) + "</H3>");
    line("<DL><p>");
    ++m_depth;
}

void BookmarkHtmlWriter::closeFolder()
{
    --m_depth;
    line("</DL><p>");
}

void BookmarkHtmlWriter::folder(const XmlNode &folder)
{
    openFolder(folder.attribute(tag::Tid), folder.childText(tag::Name));
    for (const XmlNode &vardeck : folder.child(tag::Vardecks).childElements()) {
        if (vardeck.nodeName() == tag::Vardeck)
            line("<DT><A HREF=\"" + escaped(vardeck.childText(tag::Address)) + "\" ADD_DATE=\"" + m_stamp + "\"" +
                 identifier(vardeck.attribute(tag::Wid)) + ">" + escaped(vardeck.childText(tag::Name)) + "</A>");
    }
    for (const XmlNode &sub : folder.child(tag::SubFolders).childElements()) {
        if (sub.nodeName() == tag::Folder)
            this->folder(sub);
    }
    closeFolder();
}

QByteArray bookmarkFileText(const XmlDocument &doc, qint64 stamp)
{
    BookmarkHtmlWriter writer({.lineEnd = "\n", .identifiers = false, .indented = true, .level = 1}, stamp);
    for (const XmlNode &folder : doc.documentElement().childElements()) {
        if (folder.nodeName() == tag::Folder)
            writer.folder(folder);
    }
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
           "<TITLE>Bookmarks</TITLE>\n"
           "<H1>Bookmarks</H1>\n"
           "<DL><p>\n" +
           writer.text() + "</DL><p>\n";
}

} // namespace rr
