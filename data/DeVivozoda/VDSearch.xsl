<?xml version="1.0" encoding="UTF-8"?>
<!-- The Vardecks whose name, address, description, keywords or notes hold the search text, in any letter case. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" indent="no" doctype-public="-//W3C//DTD HTML 4.01//EN" doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>
<!-- The program sets the text of this first variable to the words searched for. -->
<xsl:variable name="search"></xsl:variable>
<xsl:variable name="upper" select="'ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ'"/>
<xsl:variable name="lower" select="'abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ'"/>

<!-- A Vardeck's address becomes a link only for web, file and mail addresses; any
     other scheme (javascript:, data:, ...) is shown as plain text. -->
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
    <xsl:otherwise><span class="nolink"><xsl:value-of select="$label"/></span></xsl:otherwise>
  </xsl:choose>
</xsl:template>

<xsl:template name="favclass">
  <xsl:param name="base"/>
  <xsl:attribute name="class">
    <xsl:value-of select="$base"/>
    <xsl:if test="translate(FAV, 'true', 'TRUE') = 'TRUE'"> fav</xsl:if>
  </xsl:attribute>
</xsl:template>

<xsl:template name="folderpath">
  <xsl:for-each select="ancestor-or-self::FOLDER">
    <xsl:if test="position() &gt; 1"> / </xsl:if>
    <xsl:value-of select="NAME"/>
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
    <td class="folder"><xsl:value-of select="../../NAME"/></td>
    <td class="created"><xsl:value-of select="CREATED_DATE"/></td>
    <td class="hits"><xsl:value-of select="HITS"/></td>
  </tr>
</xsl:template>

<xsl:template name="tablehead">
  <tr><th class="name">Name</th><th class="address">Address</th><th class="folder">Folder</th><th class="created">Added</th><th class="hits">Hits</th></tr>
</xsl:template>

<xsl:variable name="term" select="translate(normalize-space($search), $upper, $lower)"/>

<xsl:template match="/">
<html>
  <head>
    <title>Search Vardecks</title>
    <LINK rel="stylesheet" href="VDStyle.css" type="text/css"/>
  </head>
  <body class="search">
    <h1>Search Vardecks</h1>
    <xsl:choose>
      <xsl:when test="$term = ''">
        <p class="empty">Type a word into the search box and press Enter or Search.</p>
      </xsl:when>
      <xsl:otherwise>
        <xsl:variable name="found" select="//VARDECK[contains(translate(concat(NAME, '&#10;', ADDRESS, '&#10;', DESCRIPTION, '&#10;', KEYWORD1, '&#10;', NOTES), $upper, $lower), $term)]"/>
        <!-- At most 500 are listed, the first in the collection's order, as in the
             Explorer's search; the count then says how many match beside them. -->
        <xsl:variable name="count" select="count($found)"/>
        <xsl:choose>
          <xsl:when test="$count &gt; 500">
            <p class="summary">Found: <xsl:value-of select="format-number($count, '#,##0')"/> (500 listed)</p>
          </xsl:when>
          <xsl:otherwise>
            <p class="summary">Vardecks found for &#8220;<xsl:value-of select="normalize-space($search)"/>&#8221;: <xsl:value-of select="$count"/></p>
          </xsl:otherwise>
        </xsl:choose>
        <xsl:choose>
          <xsl:when test="$found">
            <ul class="vardecks">
              <xsl:for-each select="$found[position() &lt;= 500]">
                <xsl:sort select="translate(NAME, $upper, $lower)"/>
                <xsl:apply-templates select="." mode="card"/>
              </xsl:for-each>
            </ul>
          </xsl:when>
          <xsl:otherwise><p class="empty">No Vardeck holds this text.</p></xsl:otherwise>
        </xsl:choose>
      </xsl:otherwise>
    </xsl:choose>
  </body>
</html>
</xsl:template>

</xsl:stylesheet>
