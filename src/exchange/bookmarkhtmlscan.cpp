#include "exchange/bookmarkhtmlscan.h"

#include <array>
#include <vector>

namespace rr
{
namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The elements whose content a browser reads as text up to their end tag.
bool holdsText(QByteArrayView name)
{
    for (const char *n : {"script", "style", "title", "textarea", "xmp", "iframe", "noembed", "noframes"}) {
        if (name.compare(n, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isOtherHeading(QByteArrayView name)
{
    if (name.size() != 2 || (name[0] | 0x20) != 'h')
        return false;
    return name[1] == '1' || name[1] == '2' || name[1] == '4' || name[1] == '5' || name[1] == '6';
}

struct Tag {
    QByteArrayView name;
    QByteArrayView href; // null when the tag has none
    bool selfClosing = false;
};

class Scanner
{
public:
    Scanner(const QByteArray &in, BookmarkHtmlEvents &events)
        : m_in(in), m_p(in.constData()), m_n(in.size()), m_events(events)
    {
    }

    void run()
    {
        while (m_at < m_n) {
            const qsizetype lt = m_in.indexOf('<', m_at);
            const qsizetype textEnd = lt < 0 ? m_n : lt;
            text(m_at, textEnd);
            m_at = textEnd;
            if (m_at < m_n && !markup()) {
                text(m_at, m_at + 1);
                ++m_at;
            }
        }
        while (!m_open.empty())
            pop();
    }

private:
    char at(qsizetype i) const { return i < m_n ? m_p[i] : '\0'; }

    // Text without its NUL characters.
    void text(qsizetype from, qsizetype to)
    {
        while (from < to) {
            const char *nul = static_cast<const char *>(memchr(m_p + from, '\0', size_t(to - from)));
            const qsizetype end = nul ? nul - m_p : to;
            if (end > from)
                m_events.text(QByteArrayView(m_p + from, end - from));
            from = end + 1;
        }
    }

    void skipPast(char c, qsizetype from)
    {
        const qsizetype found = m_in.indexOf(c, from);
        m_at = found < 0 ? m_n : found + 1;
    }

    // At a "<": reads the markup it starts; false when it starts none (it is text).
    bool markup()
    {
        const char next = at(m_at + 1);
        if (isLetter(next)) {
            startTag();
            return true;
        }
        if (next == '/') {
            if (isLetter(at(m_at + 2))) {
                endTag();
                return true;
            }
            if (m_at + 2 >= m_n)
                return false;
            if (at(m_at + 2) == '>')
                m_at += 3;
            else
                skipPast('>', m_at + 2);
            return true;
        }
        if (next == '!') {
            if (at(m_at + 2) == '-' && at(m_at + 3) == '-')
                comment();
            else
                skipPast('>', m_at + 2);
            return true;
        }
        if (next == '?') {
            skipPast('>', m_at + 2);
            return true;
        }
        return false;
    }

    // "<!--" up to "-->" or "--!>" ("<!-->" and "<!--->" are whole comments), or to the
    // end of the text.
    void comment()
    {
        qsizetype from = m_at + 4;
        if (at(from) == '>') {
            m_at = from + 1;
            return;
        }
        if (at(from) == '-' && at(from + 1) == '>') {
            m_at = from + 2;
            return;
        }
        for (;;) {
            const qsizetype dashes = m_in.indexOf("--", from);
            if (dashes < 0) {
                m_at = m_n;
                return;
            }
            if (at(dashes + 2) == '>') {
                m_at = dashes + 3;
                return;
            }
            if (at(dashes + 2) == '!' && at(dashes + 3) == '>') {
                m_at = dashes + 4;
                return;
            }
            from = dashes + 1;
        }
    }

    // The tag's name and attributes, from just after "<" or "</" to its ">"; false
    // when the text ends first (the tag is then no tag).
    bool readTag(Tag &tag)
    {
        const qsizetype nameStart = m_at;
        while (m_at < m_n && !isBlank(m_p[m_at]) && m_p[m_at] != '/' && m_p[m_at] != '>')
            ++m_at;
        tag.name = QByteArrayView(m_p + nameStart, m_at - nameStart);
        for (;;) {
            while (m_at < m_n && (isBlank(m_p[m_at]) || m_p[m_at] == '/')) {
                tag.selfClosing = m_p[m_at] == '/' && at(m_at + 1) == '>';
                ++m_at;
            }
            if (m_at >= m_n)
                return false;
            if (m_p[m_at] == '>') {
                ++m_at;
                return true;
            }
            tag.selfClosing = false;
            // The first letter of an attribute's name may be anything, "=" too.
            const qsizetype attributeStart = m_at++;
            while (m_at < m_n && !isBlank(m_p[m_at]) && m_p[m_at] != '/' && m_p[m_at] != '>' && m_p[m_at] != '=')
                ++m_at;
            const bool href =
                QByteArrayView(m_p + attributeStart, m_at - attributeStart).compare("href", Qt::CaseInsensitive) == 0;
            while (m_at < m_n && isBlank(m_p[m_at]))
                ++m_at;
            QByteArrayView value(m_p + m_at, 0);
            if (at(m_at) == '=') {
                ++m_at;
                while (m_at < m_n && isBlank(m_p[m_at]))
                    ++m_at;
                if (m_at >= m_n)
                    return false;
                const char quote = m_p[m_at];
                if (quote == '"' || quote == '\'') {
                    const qsizetype close = m_in.indexOf(quote, m_at + 1);
                    if (close < 0) {
                        m_at = m_n;
                        return false;
                    }
                    value = QByteArrayView(m_p + m_at + 1, close - m_at - 1);
                    m_at = close + 1;
                } else {
                    const qsizetype valueStart = m_at;
                    while (m_at < m_n && !isBlank(m_p[m_at]) && m_p[m_at] != '>')
                        ++m_at;
                    value = QByteArrayView(m_p + valueStart, m_at - valueStart);
                }
            }
            if (href && tag.href.isNull())
                tag.href = value;
        }
    }

    static bool elementOf(QByteArrayView name, BookmarkElement *element)
    {
        if (name.compare("a", Qt::CaseInsensitive) == 0)
            *element = BookmarkElement::Link;
        else if (name.compare("h3", Qt::CaseInsensitive) == 0)
            *element = BookmarkElement::Heading;
        else if (name.compare("dl", Qt::CaseInsensitive) == 0)
            *element = BookmarkElement::List;
        else
            return false;
        return true;
    }

    void push(BookmarkElement element, QByteArrayView href)
    {
        m_open.push_back(element);
        ++m_counts[size_t(element)];
        m_events.start(element, href);
    }

    void pop()
    {
        const BookmarkElement element = m_open.back();
        m_open.pop_back();
        --m_counts[size_t(element)];
        m_events.end(element);
    }

    bool innermostIs(BookmarkElement element) const { return !m_open.empty() && m_open.back() == element; }

    void startTag()
    {
        ++m_at;
        Tag tag;
        if (!readTag(tag))
            return;
        if (tag.name.compare("plaintext", Qt::CaseInsensitive) == 0) {
            m_at = m_n;
            return;
        }
        if (holdsText(tag.name))
            return skipText(tag.name);
        BookmarkElement element;
        if (!elementOf(tag.name, &element)) {
            if (isOtherHeading(tag.name) && innermostIs(BookmarkElement::Heading))
                pop();
            return;
        }
        if (element == BookmarkElement::Link && innermostIs(BookmarkElement::Link))
            pop();
        push(element, element == BookmarkElement::Link ? tag.href : QByteArrayView());
        if (tag.selfClosing)
            pop();
    }

    void endTag()
    {
        m_at += 2;
        Tag tag;
        BookmarkElement element;
        if (!readTag(tag) || !elementOf(tag.name, &element) || m_counts[size_t(element)] == 0)
            return;
        while (m_open.back() != element)
            pop();
        pop();
    }

    // Past the text of an element that holds text, to its end tag or the end of the
    // file.
    void skipText(QByteArrayView name)
    {
        for (qsizetype from = m_at;;) {
            const qsizetype end = m_in.indexOf("</", from);
            if (end < 0) {
                m_at = m_n;
                return;
            }
            const qsizetype after = end + 2 + name.size();
            if (after <= m_n && QByteArrayView(m_p + end + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
                (after == m_n || isBlank(m_p[after]) || m_p[after] == '/' || m_p[after] == '>')) {
                skipPast('>', end);
                return;
            }
            from = end + 2;
        }
    }

    const QByteArray &m_in;
    const char *m_p;
    const qsizetype m_n;
    BookmarkHtmlEvents &m_events;
    qsizetype m_at = 0;
    std::vector<BookmarkElement> m_open;
    std::array<int, 3> m_counts{};
};

} // namespace

void scanBookmarkHtml(const QByteArray &utf8, BookmarkHtmlEvents &events)
{
    Scanner(utf8, events).run();
}

} // namespace rr
