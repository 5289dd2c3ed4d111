<?xml version="1.0" encoding="UTF-8"?>
<!-- The visited Vardecks, most visits first. -->
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
    <title>Popular Vardecks</title>
    <LINK rel="stylesheet" href="VDStyle.css" type="text/css"/>
  </head>
  <body class="list">
    <h1>Popular Vardecks</h1>
    <!-- A new Vardeck starts with one hit; more means it was visited. -->
    <xsl:variable name="vardecks" select="//VARDECK[number(HITS) &gt; 1]"/>
    <p class="summary"><xsl:value-of select="count($vardecks)"/> visited Vardecks</p>
    <xsl:choose>
      <xsl:when test="$vardecks">
        <table class="vardecks">
          <tr><th class="rank">#</th><th class="hits">Hits</th><th class="name">Name</th><th class="visited">Last visited</th><th class="folder">Folder</th></tr>
          <xsl:for-each select="$vardecks">
            <xsl:sort select="number(HITS)" data-type="number" order="descending"/>
            <xsl:sort select="translate(NAME, $upper, $lower)"/>
            <tr>
              <xsl:call-template name="favclass"><xsl:with-param name="base" select="'vardeck'"/></xsl:call-template>
              <td class="rank"><xsl:value-of select="position()"/></td>
              <td class="hits"><xsl:value-of select="number(HITS)"/></td>
              <td class="name"><xsl:call-template name="link"/><div class="address"><xsl:value-of select="ADDRESS"/></div></td>
              <td class="visited"><xsl:value-of select="KEYWORD2"/></td>
              <td class="folder"><xsl:for-each select="../.."><xsl:call-template name="foldername"/></xsl:for-each></td>
            </tr>
          </xsl:for-each>
        </table>
      </xsl:when>
      <xsl:otherwise><p class="empty">No Vardeck has been visited yet.</p></xsl:otherwise>
    </xsl:choose>
  </body>
</html>
</xsl:template>

</xsl:stylesheet>
