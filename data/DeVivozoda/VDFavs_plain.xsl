<?xml version="1.0" encoding="UTF-8"?>
<!-- The favorite Vardecks by name, with their style inside the page. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no" doctype-public="-//W3C//DTD HTML 4.01//EN" doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>
<xsl:variable name="upper" select="'ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ'"/>
<xsl:variable name="lower" select="'abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ'"/>

<!-- A Vardeck's address becomes a link only for web, file and mail addresses and for
     a local path, which links as a file: address; any other scheme (javascript:,
     data:, ...) is shown as plain text. -->
<xsl:template name="link">
  <xsl:variable name="address" select="normalize-space(ADDRESS)"/>
  <xsl:variable name="scheme" select="translate(substring($address, 1, 8), $upper, $lower)"/>
  <xsl:variable name="label">
    <xsl:choose>
      <xsl:when test="normalize-space(NAME)"><xsl:value-of select="NAME"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="$address"/></xsl:otherwise>
    </xsl:choose>
  </xsl:variable>
  <xsl:choose>
    <xsl:when test="starts-with($scheme, 'http://') or starts-with($scheme, 'https://') or starts-with($scheme, 'ftp://') or starts-with($scheme, 'file:') or starts-with($scheme, 'mailto:')">
      <a href="{$address}"><xsl:value-of select="$label"/></a>
    </xsl:when>
    <xsl:when test="starts-with($scheme, 'www.')">
      <a href="http://{$address}"><xsl:value-of select="$label"/></a>
    </xsl:when>
    <xsl:when test="starts-with($address, '/')">
      <a><xsl:attribute name="href">file://<xsl:call-template name="filepath"><xsl:with-param name="text" select="substring(ADDRESS, string-length(substring-before(ADDRESS, '/')) + 1)"/></xsl:call-template></xsl:attribute><xsl:value-of select="$label"/></a>
    </xsl:when>
    <xsl:otherwise><span class="nolink"><xsl:value-of select="$label"/></span></xsl:otherwise>
  </xsl:choose>
</xsl:template>

<!-- A path as written in a file: address: "%", "#", "?" and "\" are escaped ("%"
     first), so that no part of the name is cut off or read as another letter; the
     html output escapes blanks and the letters outside ASCII. -->
<xsl:template name="filepath">
  <xsl:param name="text"/>
  <xsl:param name="chars" select="'%#?\'"/>
  <xsl:param name="codes" select="'%25%23%3F%5C'"/>
  <xsl:variable name="c" select="substring($chars, 1, 1)"/>
  <xsl:choose>
    <xsl:when test="translate($text, $chars, '') = $text"><xsl:value-of select="$text"/></xsl:when>
    <xsl:otherwise>
      <xsl:call-template name="filepath">
        <xsl:with-param name="text" select="substring-before(concat($text, $c), $c)"/>
        <xsl:with-param name="chars" select="substring($chars, 2)"/>
        <xsl:with-param name="codes" select="substring($codes, 4)"/>
      </xsl:call-template>
      <xsl:if test="contains($text, $c)">
        <xsl:value-of select="substring($codes, 1, 3)"/>
        <xsl:call-template name="filepath">
          <xsl:with-param name="text" select="substring-after($text, $c)"/>
          <xsl:with-param name="chars" select="$chars"/>
          <xsl:with-param name="codes" select="$codes"/>
        </xsl:call-template>
      </xsl:if>
    </xsl:otherwise>
  </xsl:choose>
</xsl:template>

<xsl:template name="favclass">
  <xsl:param name="base"/>
  <xsl:attribute name="class">
    <xsl:value-of select="$base"/>
    <xsl:if test="translate(FAV, 'true', 'TRUE') = 'TRUE'"> fav</xsl:if>
  </xsl:attribute>
</xsl:template>

<!-- A folder's name, "(no name)" for one without, as the contents list says. -->
<xsl:template name="foldername">
  <xsl:choose><xsl:when test="normalize-space(NAME)"><xsl:value-of select="NAME"/></xsl:when><xsl:otherwise>(no name)</xsl:otherwise></xsl:choose>
</xsl:template>

<xsl:template name="folderpath">
  <xsl:for-each select="ancestor-or-self::FOLDER">
    <xsl:if test="position() &gt; 1"> / </xsl:if>
    <xsl:call-template name="foldername"/>
  </xsl:for-each>
</xsl:template>

<!-- One Vardeck as a card: name with its link, address, description, keywords,
     notes and the visit record. -->
<xsl:template match="VARDECK" mode="card">
  <li>
    <xsl:call-template name="favclass"><xsl:with-param name="base" select="'vardeck'"/></xsl:call-template>
    <div class="name"><xsl:call-template name="link"/></div>
    <div class="address"><xsl:value-of select="ADDRESS"/></div>
    <xsl:if test="normalize-space(DESCRIPTION)"><div class="description"><xsl:value-of select="DESCRIPTION"/></div></xsl:if>
    <xsl:if test="normalize-space(KEYWORD1)"><div class="keywords"><span class="label">Keywords: </span><xsl:value-of select="KEYWORD1"/></div></xsl:if>
    <xsl:if test="normalize-space(NOTES)"><div class="notes"><xsl:value-of select="NOTES"/></div></xsl:if>
    <div class="meta">
      <xsl:if test="normalize-space(CREATED_DATE)"><span class="created">Added <xsl:value-of select="CREATED_DATE"/></span></xsl:if>
      <xsl:if test="normalize-space(KEYWORD2)"><span class="visited">Last visited <xsl:value-of select="KEYWORD2"/></span></xsl:if>
      <span class="hits">Hits <xsl:value-of select="HITS"/></span>
      <xsl:if test="normalize-space(FILESIZE)"><span class="size"><xsl:value-of select="FILESIZE"/> KB</span></xsl:if>
    </div>
  </li>
</xsl:template>

<!-- One Vardeck as a table row. -->
<xsl:template match="VARDECK" mode="row">
  <tr>
    <xsl:call-template name="favclass"><xsl:with-param name="base" select="'vardeck'"/></xsl:call-template>
    <td class="name"><xsl:call-template name="link"/>
      <xsl:if test="normalize-space(DESCRIPTION)"><div class="description"><xsl:value-of select="DESCRIPTION"/></div></xsl:if>
    </td>
    <td class="address"><xsl:value-of select="ADDRESS"/></td>
    <td class="folder"><xsl:for-each select="../.."><xsl:call-template name="foldername"/></xsl:for-each></td>
    <td class="created"><xsl:value-of select="CREATED_DATE"/></td>
    <td class="hits"><xsl:value-of select="HITS"/></td>
  </tr>
</xsl:template>

<xsl:template name="tablehead">
  <tr><th class="name">Name</th><th class="address">Address</th><th class="folder">Folder</th><th class="created">Added</th><th class="hits">Hits</th></tr>
</xsl:template>

<xsl:template match="/">
<html>
  <head>
    <title>Favorite Vardecks</title>
    <style type="text/css">
/* VD_plain.css: A plain black-on-white page that prints and mails well. */
body { font-family: "DejaVu Serif", "Times New Roman", serif; font-size: 11pt; color: #000000; background: #ffffff; margin: 1em 1.5em; }
h1 { font-size: 1.6em; border-bottom: 1px solid #000000; }
h2 { font-size: 1.2em; }
a { color: #0000cc; }
.summary, .meta, .address, .count { color: #444444; }
div.folder h2 { border-bottom: 1px solid #999999; }
li.vardeck { padding-left: 0; }
table.vardecks th { border-bottom: 2px solid #000000; }
table.vardecks td { border-bottom: 1px solid #cccccc; }
h1 { margin: 0 0 0.2em 0; }
.summary { margin: 0 0 1.2em 0; }
.contents ul { list-style: none; margin: 0; padding-left: 1.2em; }
.contents > ul { padding-left: 0; }
.contents li { margin: 0.15em 0; }
div.folder { margin: 1.4em 0; }
div.folder h2 { margin: 0 0 0.5em 0; }
.count { font-weight: normal; font-size: 0.85em; }
ul.vardecks { list-style: none; margin: 0; padding: 0; }
li.vardeck { margin: 0 0 0.8em 0; padding: 0.5em 0.8em; }
.name { font-weight: bold; }
div.address, td.address { font-size: 0.85em; font-weight: normal; word-break: break-all; }
.description, .keywords { margin-top: 0.25em; }
.notes { margin-top: 0.3em; white-space: pre-wrap; }
.meta { margin-top: 0.3em; font-size: 0.8em; }
.meta span { margin-right: 1.2em; }
.fav .name:before, tr.fav td.name:before { content: "\2605 "; }
.nolink { font-style: italic; }
.empty { font-style: italic; }
table.vardecks { border-collapse: collapse; width: 100%; }
table.vardecks th, table.vardecks td { text-align: left; vertical-align: top; padding: 0.35em 0.6em; }
table.vardecks td.hits, table.vardecks th.hits, table.vardecks td.rank, table.vardecks th.rank { text-align: right; white-space: nowrap; }
td.created, td.visited { white-space: nowrap; }
td .description { font-weight: normal; font-size: 0.85em; }
</style>
  </head>
  <body class="list">
    <h1>Favorite Vardecks</h1>
    <xsl:variable name="vardecks" select="//VARDECK[translate(FAV, 'true', 'TRUE') = 'TRUE']"/>
    <p class="summary"><xsl:value-of select="count($vardecks)"/> Vardecks</p>
    <xsl:choose>
      <xsl:when test="$vardecks">
        <table class="vardecks">
          <xsl:call-template name="tablehead"/>
          <xsl:apply-templates select="$vardecks" mode="row">
            <xsl:sort select="translate(NAME, $upper, $lower)"/>
            <xsl:sort select="ADDRESS"/>
          </xsl:apply-templates>
        </table>
      </xsl:when>
      <xsl:otherwise><p class="empty">No Vardeck is marked as a favorite yet.</p></xsl:otherwise>
    </xsl:choose>
  </body>
</html>
</xsl:template>

</xsl:stylesheet>
