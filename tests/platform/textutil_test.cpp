#include "platform/htmlnamedrefs.h"
#include "platform/textutil.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace rr;

namespace
{

std::string decoded(const char *text, HtmlRefContext context = HtmlRefContext::Text)
{
    return decodeHtmlCharacterReferences(QString::fromUtf8(text), context).toStdString();
}

} // namespace

// The expected texts are what a real Firefox stored for the same references.
TEST(HtmlCharacterReferences, decodeAsBrowsersDoInTextAndInAttributeValues)
{
    // Old names need no ";"; the longest known name wins; unknown ones and a lone "&" stay.
    EXPECT_EQ(decoded("&copy 2024"), "© 2024");
    EXPECT_EQ(decoded("Caf&eacute &amp Bar &notit; &notin; &hellip &check; &Amp;"),
              "Café & Bar ¬it; ∉ &hellip ✓ &Amp;");
    EXPECT_EQ(decoded("x&nbsp;y&copyx &fjlig; &amp;copy; &AMP &lt3 &NotANamedRef; a&b & &; &"),
              "x\u00a0y©x fj &copy; & <3 &NotANamedRef; a&b & &; &");
    EXPECT_EQ(decoded("&CounterClockwiseContourIntegral; &CounterClockwiseContourIntegralX;"),
              "∳ &CounterClockwiseContourIntegralX;");

    // Numbers: with or without ";", 128–159 as Windows-1252 (where it has a character),
    // impossible ones as U+FFFD, no digits no reference.
    EXPECT_EQ(decoded("&#128; &#x93;quoted&#148; &#150; &#65 &#X42 &#x1F600;"), "€ “quoted” – A B 😀");
    EXPECT_EQ(decoded("&#0; &#x110000; &#xD800; &#99999999999999999999; &#x81;"), "\ufffd \ufffd \ufffd \ufffd \u0081");
    EXPECT_EQ(decoded("&#; &#x; &#xg; &#-1;"), "&#; &#x; &#xg; &#-1;");

    // In an attribute an old name without ";" stays when a letter, digit or "=" follows.
    EXPECT_EQ(decoded("?a=1&copy=2&amp;b=3&copyx&copy;&notin=4&lt;&gt&notin;&quot", HtmlRefContext::Attribute),
              "?a=1&copy=2&b=3&copyx©&notin=4<>∉\"");
    EXPECT_EQ(decoded("?q=&amp&ampx&amp=&para=1&para;&#128", HtmlRefContext::Attribute), "?q=&&ampx&amp=&para=1¶€");
    EXPECT_EQ(decoded("&copy=2&copyx"), "©=2©x");

    EXPECT_EQ(decoded(""), "");
    EXPECT_EQ(decoded("no references"), "no references");
}

TEST(HtmlCharacterReferences, tableIsSortedAndKnowsEveryNameBrowsersDo)
{
    const auto table = htmlNamedReferences();
    ASSERT_EQ(table.size(), 2231u);
    int withoutSemicolon = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(std::strcmp(table[i - 1].name, table[i].name), 0) << table[i].name;
        }
        if (table[i].name[std::strlen(table[i].name) - 1] != ';')
            ++withoutSemicolon;
    }
    EXPECT_EQ(withoutSemicolon, 106);
}
