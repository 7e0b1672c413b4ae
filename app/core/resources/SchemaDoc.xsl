<?xml version="1.0" encoding="UTF-8"?>
<!-- Turns a sensor's message schema into one readable HTML page: the message lists by
     direction and kind, then a reference entry per message with examples and attributes. -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:xs="http://www.w3.org/2001/XMLSchema"
    exclude-result-prefixes="xs">

  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <!-- Nesting deeper than this is cut short, so types that refer to themselves end. -->
  <xsl:variable name="maxDepth" select="12"/>

  <xsl:key name="topElement" match="/xs:schema/xs:element" use="@name"/>
  <xsl:key name="complexType" match="/xs:schema/xs:complexType" use="@name"/>
  <xsl:key name="simpleType" match="/xs:schema/xs:simpleType" use="@name"/>
  <!-- A message's properties, found by the message's id and the property's name; a property
       valued 0 or false is not set. -->
  <xsl:key name="property" match="/xs:schema/xs:element/xs:annotation/xs:appinfo/*[not(@value = '0' or @value = 'false')]"
      use="concat(generate-id(../../..), '/', local-name())"/>

  <xsl:variable name="messages" select="/xs:schema/xs:element[@substitutionGroup = 'msgTypes'
      or substring-after(@substitutionGroup, ':') = 'msgTypes']"/>
  <xsl:variable name="listed" select="$messages[not(key('property', concat(generate-id(), '/PXRInternal')))]"/>
  <xsl:variable name="clientSync" select="$listed[key('property', concat(generate-id(), '/clientToServer'))]
      [key('property', concat(generate-id(), '/synchronous'))]"/>
  <xsl:variable name="requestsWithoutLock" select="$clientSync[not(key('property', concat(generate-id(), '/needsLock')))]"/>
  <xsl:variable name="requestsWithLock" select="$clientSync[key('property', concat(generate-id(), '/needsLock'))]"/>
  <xsl:variable name="serverSync" select="$listed[key('property', concat(generate-id(), '/serverToClient'))]
      [key('property', concat(generate-id(), '/synchronous'))]"/>
  <xsl:variable name="clientAsync" select="$listed[key('property', concat(generate-id(), '/clientToServer'))]
      [key('property', concat(generate-id(), '/asynchronous'))]"/>
  <xsl:variable name="serverAsync" select="$listed[key('property', concat(generate-id(), '/serverToClient'))]
      [key('property', concat(generate-id(), '/asynchronous'))]"/>

  <xsl:variable name="titleProperty" select="/xs:schema/xs:annotation/xs:appinfo/*[local-name() = 'title'][1]"/>
  <xsl:variable name="title">
    <xsl:choose>
      <xsl:when test="$titleProperty/@value"><xsl:value-of select="$titleProperty/@value"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="normalize-space($titleProperty)"/></xsl:otherwise>
    </xsl:choose>
    <xsl:text> XSD documentation</xsl:text>
  </xsl:variable>

  <!-- A document that is not a schema gives no page at all. -->
  <xsl:template match="/">
    <xsl:apply-templates select="xs:schema"/>
  </xsl:template>

  <xsl:template match="xs:schema">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:value-of select="$title"/></title>
        <style type="text/css">
body { margin: 0; padding: 24px 0; background: #d4d6d9; color: #1e1f21;
       font-family: "Segoe UI", "DejaVu Sans", Arial, sans-serif; font-size: 14px; line-height: 1.45; }
.content { max-width: 1040px; margin: 0 auto; padding: 8px 40px 40px; background: #ffffff;
           box-shadow: 0 1px 6px rgba(0, 0, 0, 0.25); }
a { color: #1f5d99; text-decoration: none; }
a:hover { text-decoration: underline; }
a:not([href]) { color: inherit; }
a.up { position: fixed; right: 24px; bottom: 24px; width: 44px; height: 62px; overflow: hidden;
       padding-top: 46px; box-sizing: border-box; text-align: center; font-size: 11px; color: #3b6ea5;
       background: url("data:image/svg+xml;base64,PHN2ZyB4bWxucz0iaHR0cDovL3d3dy53My5vcmcvMjAwMC9zdmciIHdpZHRoPSI0NCIgaGVpZ2h0PSI0NCIgdmlld0JveD0iMCAwIDQ0IDQ0Ij48Y2lyY2xlIGN4PSIyMiIgY3k9IjIyIiByPSIyMSIgZmlsbD0iIzNiNmVhNSIgc3Ryb2tlPSIjZmZmZmZmIiBzdHJva2Utd2lkdGg9IjIiLz48cGF0aCBkPSJNMjIgMTAgTDMzIDIzIEgyNiBWMzMgSDE4IFYyMyBIMTEgWiIgZmlsbD0iI2ZmZmZmZiIvPjwvc3ZnPg==") no-repeat center top; }
h1 { font-size: 26px; color: #23476e; border-bottom: 2px solid #3b6ea5; padding-bottom: 6px; }
h2 { font-size: 20px; color: #23476e; margin-top: 36px; border-bottom: 1px solid #b9c4d0; padding-bottom: 4px; }
h3 { font-size: 16px; color: #23476e; margin: 22px 0 6px; }
.toc { background: #f3f5f7; border: 1px solid #d7dde3; padding: 6px 18px; margin-top: 16px; }
.toc h2 { margin-top: 8px; border: none; }
.toc ul { margin: 2px 0; }
.toc ul.names { padding-left: 24px; }
.toc ul.names li { display: inline; margin-right: 10px; }
.summary { margin: 8px 0 12px 16px; }
.summary .doc { margin-left: 16px; }
.links { margin-left: 16px; color: #555a60; font-size: 13px; }
.message { border-top: 1px solid #d7dde3; padding-top: 4px; margin-top: 18px; }
.internal { background: #fff6da; border-left: 4px solid #e0b22e; padding: 4px 10px; }
.facts { color: #3a3d40; }
pre.example { background: #f5f7f9; border: 1px solid #d7dde3; padding: 8px 12px; overflow-x: auto;
              font-family: Consolas, "DejaVu Sans Mono", monospace; font-size: 12.5px; }
table.attributes { border-collapse: collapse; margin: 6px 0 10px; width: 100%; table-layout: fixed; }
table.attributes th.name { width: 22%; }
table.attributes th.use { width: 10%; }
table.attributes th.content { width: 30%; }
table.attributes th { background: #3b6ea5; color: #ffffff; text-align: left; padding: 4px 8px; font-weight: normal; }
table.attributes td { border: 1px solid #d7dde3; padding: 4px 8px; vertical-align: top; }
table.attributes td.name { font-family: Consolas, "DejaVu Sans Mono", monospace; overflow-wrap: anywhere; }
.sub { margin: 8px 0 8px 14px; padding-left: 12px; border-left: 3px solid #c8d3df; }
.sub > p > .name { font-family: Consolas, "DejaVu Sans Mono", monospace; font-weight: bold; }
.count { color: #555a60; }
        </style>
      </head>
      <body>
        <a id="top"></a>
        <a class="up" href="#top" title="Up">Up</a>
        <div class="content">
          <xsl:call-template name="tableOfContents"/>
          <h1><xsl:value-of select="$title"/></h1>

          <h2 id="clientRequests">Client synchronous requests</h2>
          <p>The client sends these requests on the synchronous connection, one at a time, and waits
            for the sensor's answer before it sends the next one.</p>
          <h3 id="requestsWithoutLock">Requests that can be sent without sensor lock</h3>
          <p>These requests may be sent at any time.</p>
          <xsl:call-template name="summaries"><xsl:with-param name="list" select="$requestsWithoutLock"/></xsl:call-template>
          <h3 id="requestsWithLock">Requests that need sensor lock</h3>
          <p>These requests change the sensor: the sensor must be locked before they are sent, or it
            refuses them.</p>
          <xsl:call-template name="summaries"><xsl:with-param name="list" select="$requestsWithLock"/></xsl:call-template>

          <h2 id="serverAnswers">Server synchronous answers</h2>
          <p>The sensor sends these messages on the synchronous connection, each one as the answer to a
            request.</p>
          <xsl:call-template name="summaries"><xsl:with-param name="list" select="$serverSync"/></xsl:call-template>

          <h2 id="clientMessages">Client asynchronous messages</h2>
          <p>The client sends these messages on the asynchronous connection; the sensor does not answer
            them.</p>
          <xsl:call-template name="summaries"><xsl:with-param name="list" select="$clientAsync"/></xsl:call-template>

          <h2 id="serverMessages">Server asynchronous messages</h2>
          <p>The sensor pushes these messages on the asynchronous connection when they occur, without
            being asked.</p>
          <xsl:call-template name="summaries"><xsl:with-param name="list" select="$serverAsync"/></xsl:call-template>

          <h2 id="reference">Message reference</h2>
          <p>Every message of the schema, sorted by name.</p>
          <xsl:for-each select="$messages">
            <xsl:sort select="@name"/>
            <xsl:call-template name="messageBody"/>
          </xsl:for-each>
        </div>
      </body>
    </html>
  </xsl:template>

  <!-- ===== Table of contents ===== -->

  <xsl:template name="tableOfContents">
    <div class="toc">
      <h2>Table of contents</h2>
      <ul>
        <li><a href="#clientRequests">Client synchronous requests</a>
          <ul>
            <li><a href="#requestsWithoutLock">Requests that can be sent without sensor lock</a>
              <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$requestsWithoutLock"/></xsl:call-template>
            </li>
            <li><a href="#requestsWithLock">Requests that need sensor lock</a>
              <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$requestsWithLock"/></xsl:call-template>
            </li>
          </ul>
        </li>
        <li><a href="#serverAnswers">Server synchronous answers</a>
          <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$serverSync"/></xsl:call-template>
        </li>
        <li><a href="#clientMessages">Client asynchronous messages</a>
          <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$clientAsync"/></xsl:call-template>
        </li>
        <li><a href="#serverMessages">Server asynchronous messages</a>
          <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$serverAsync"/></xsl:call-template>
        </li>
        <li><a href="#reference">Message reference</a>
          <xsl:call-template name="contentsLinks"><xsl:with-param name="list" select="$messages"/></xsl:call-template>
        </li>
      </ul>
    </div>
  </xsl:template>

  <xsl:template name="contentsLinks">
    <xsl:param name="list"/>
    <xsl:if test="$list">
      <ul class="names">
        <xsl:for-each select="$list">
          <xsl:sort select="@name"/>
          <li><a href="#msg_{@name}"><xsl:value-of select="@name"/></a></li>
        </xsl:for-each>
      </ul>
    </xsl:if>
  </xsl:template>

  <!-- ===== Message lists ===== -->

  <xsl:template name="summaries">
    <xsl:param name="list"/>
    <xsl:if test="not($list)"><p class="summary">None.</p></xsl:if>
    <xsl:for-each select="$list">
      <xsl:sort select="@name"/>
      <xsl:call-template name="messageSummary"/>
    </xsl:for-each>
  </xsl:template>

  <xsl:template name="messageSummary">
    <div class="summary">
      <a href="#msg_{@name}"><b><xsl:value-of select="@name"/></b></a>
      <div class="doc"><xsl:call-template name="documentation"/></div>
      <xsl:call-template name="messageLinks"/>
    </div>
  </xsl:template>

  <!-- The answers a request may get and the requests an answer replies to, as links. -->
  <xsl:template name="messageLinks">
    <xsl:variable name="sync" select="xs:annotation/xs:appinfo/*[local-name() = 'synchronous']"/>
    <xsl:if test="$sync/*[local-name() = 'answer']">
      <div class="links">Possible answers:
        <xsl:for-each select="$sync/*[local-name() = 'answer']">
          <xsl:if test="position() &gt; 1">, </xsl:if>
          <xsl:call-template name="messageLink"><xsl:with-param name="name" select="@value"/></xsl:call-template>
        </xsl:for-each>
      </div>
    </xsl:if>
    <xsl:if test="$sync/*[local-name() = 'request']">
      <div class="links">Answer to:
        <xsl:for-each select="$sync/*[local-name() = 'request']">
          <xsl:if test="position() &gt; 1">, </xsl:if>
          <xsl:call-template name="messageLink"><xsl:with-param name="name" select="@value"/></xsl:call-template>
        </xsl:for-each>
      </div>
    </xsl:if>
  </xsl:template>

  <!-- A link to the message's entry, or the bare name when the schema has no such message. -->
  <xsl:template name="messageLink">
    <xsl:param name="name"/>
    <xsl:choose>
      <xsl:when test="$messages[@name = $name]"><a href="#msg_{$name}"><xsl:value-of select="$name"/></a></xsl:when>
      <xsl:otherwise><xsl:value-of select="$name"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- ===== Message reference ===== -->

  <xsl:template name="messageBody">
    <xsl:variable name="id" select="generate-id()"/>
    <xsl:variable name="toSensor" select="key('property', concat($id, '/clientToServer'))"/>
    <xsl:variable name="fromSensor" select="key('property', concat($id, '/serverToClient'))"/>
    <xsl:variable name="sync" select="key('property', concat($id, '/synchronous'))"/>
    <xsl:variable name="async" select="key('property', concat($id, '/asynchronous'))"/>
    <div class="message" id="msg_{@name}">
      <h3><xsl:value-of select="@name"/></h3>
      <xsl:if test="key('property', concat($id, '/PXRInternal'))">
        <p class="internal">The communication library manages this message itself: an application
          neither sends nor handles it.</p>
      </xsl:if>
      <div class="description"><b>Description:</b><xsl:text> </xsl:text><xsl:call-template name="documentation"/></div>
      <p class="facts">
        <xsl:choose>
          <xsl:when test="$toSensor and $fromSensor">Both the client and the sensor send it. </xsl:when>
          <xsl:when test="$toSensor">The client sends it to the sensor. </xsl:when>
          <xsl:when test="$fromSensor">The sensor sends it to the client. </xsl:when>
        </xsl:choose>
        <xsl:if test="$sync and $toSensor">It is a synchronous request: it travels on the synchronous
          connection and the client waits for its answer. </xsl:if>
        <xsl:if test="$sync and $fromSensor">It is a synchronous answer: the sensor sends it on the
          synchronous connection in reply to a request. </xsl:if>
        <xsl:if test="$async">It is an asynchronous message: it travels on the asynchronous connection
          and is not answered. </xsl:if>
        <xsl:if test="$toSensor and $sync">
          <xsl:choose>
            <xsl:when test="key('property', concat($id, '/needsLock'))">The sensor must be locked before
              this request is sent.</xsl:when>
            <xsl:otherwise>The sensor need not be locked.</xsl:otherwise>
          </xsl:choose>
        </xsl:if>
      </p>
      <xsl:call-template name="answerList"/>
      <p><b>Example (FYB):</b></p>
      <pre class="example">
        <xsl:text>&lt;msg&gt;&#10;</xsl:text>
        <xsl:call-template name="exampleXml"><xsl:with-param name="indent" select="'  '"/></xsl:call-template>
        <xsl:text>&lt;/msg&gt;</xsl:text>
      </pre>
      <p><b>Example (JSON):</b></p>
      <pre class="example">
        <xsl:text>{&#10;</xsl:text>
        <xsl:call-template name="exampleJson"><xsl:with-param name="indent" select="'  '"/></xsl:call-template>
        <xsl:text>&#10;}</xsl:text>
      </pre>
      <xsl:call-template name="elementContent"><xsl:with-param name="depth" select="0"/></xsl:call-template>
    </div>
  </xsl:template>

  <xsl:template name="answerList">
    <xsl:variable name="sync" select="xs:annotation/xs:appinfo/*[local-name() = 'synchronous']"/>
    <xsl:if test="$sync/*[local-name() = 'answer']">
      <p><b>Possible answers:</b></p>
      <ul>
        <xsl:for-each select="$sync/*[local-name() = 'answer']">
          <li>
            <xsl:call-template name="messageLink"><xsl:with-param name="name" select="@value"/></xsl:call-template>
            <xsl:if test="normalize-space(@text)">: <xsl:value-of select="@text"/></xsl:if>
          </li>
        </xsl:for-each>
      </ul>
    </xsl:if>
    <xsl:if test="$sync/*[local-name() = 'request']">
      <p><b>Answer to the requests:</b></p>
      <ul>
        <xsl:for-each select="$sync/*[local-name() = 'request']">
          <li>
            <xsl:call-template name="messageLink"><xsl:with-param name="name" select="@value"/></xsl:call-template>
            <xsl:if test="normalize-space(@text)">: <xsl:value-of select="@text"/></xsl:if>
          </li>
        </xsl:for-each>
      </ul>
    </xsl:if>
  </xsl:template>

  <!-- ===== Element declarations: type, attributes, sub-elements ===== -->

  <!-- Shows the element in context: its attribute table and its sub-elements. The path holds
       the ids of the complex types already open above, so a type that holds itself ends. -->
  <xsl:template name="elementContent">
    <xsl:param name="depth"/>
    <xsl:param name="path" select="' '"/>
    <xsl:variable name="typeName" select="concat(substring-after(@type, ':'), substring(@type, 1 div not(contains(@type, ':'))))"/>
    <xsl:variable name="type" select="(xs:complexType | key('complexType', $typeName))[1]"/>
    <xsl:variable name="body" select="$type | $type/xs:simpleContent/xs:extension | $type/xs:complexContent/xs:extension
        | $type/xs:complexContent/xs:restriction"/>
    <xsl:call-template name="attributeTable"><xsl:with-param name="attributes" select="$body/xs:attribute"/></xsl:call-template>
    <xsl:choose>
      <xsl:when test="contains($typeName, 'Binary') or contains($type/xs:simpleContent/xs:extension/@base, 'Binary')">
        <p>Its content is binary data, sent as an attachment of the message.</p>
      </xsl:when>
      <xsl:when test="not($type) and @type">
        <p>Its text is a <xsl:call-template name="typeName"><xsl:with-param name="name" select="$typeName"/></xsl:call-template>.</p>
      </xsl:when>
    </xsl:choose>
    <xsl:choose>
      <xsl:when test="$type and contains($path, concat(' ', generate-id($type), ' '))">
        <p class="count">Its sub-elements are those of the enclosing element of the same type, shown above.</p>
      </xsl:when>
      <xsl:otherwise>
        <xsl:for-each select="$body/xs:sequence | $body/xs:choice | $body/xs:all">
          <xsl:call-template name="subElements">
            <xsl:with-param name="depth" select="$depth"/>
            <xsl:with-param name="path" select="concat($path, generate-id($type), ' ')"/>
          </xsl:call-template>
        </xsl:for-each>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- A group of sub-elements (the sequence, choice or all in context), with how many appear. -->
  <xsl:template name="subElements">
    <xsl:param name="depth"/>
    <xsl:param name="path"/>
    <xsl:variable name="count" select="count(xs:element | xs:sequence | xs:choice | xs:all | xs:any)"/>
    <div class="sub">
      <p class="count">
        <xsl:choose>
          <xsl:when test="$count = 1">One sub-element</xsl:when>
          <xsl:when test="self::xs:choice">One of these <xsl:value-of select="$count"/> sub-elements</xsl:when>
          <xsl:when test="self::xs:all">These <xsl:value-of select="$count"/> sub-elements, in any order</xsl:when>
          <xsl:otherwise>These <xsl:value-of select="$count"/> sub-elements, in this order</xsl:otherwise>
        </xsl:choose>
        <xsl:if test="@minOccurs or @maxOccurs">
          <xsl:text> (the group appears </xsl:text><xsl:call-template name="occurrences"/><xsl:text>)</xsl:text>
        </xsl:if>
        <xsl:text>:</xsl:text>
      </p>
      <xsl:for-each select="xs:element | xs:sequence | xs:choice | xs:all | xs:any">
        <xsl:choose>
          <xsl:when test="self::xs:element">
            <xsl:call-template name="subElement">
              <xsl:with-param name="depth" select="$depth + 1"/>
              <xsl:with-param name="path" select="$path"/>
            </xsl:call-template>
          </xsl:when>
          <xsl:when test="self::xs:any"><p>Any element.</p></xsl:when>
          <xsl:otherwise>
            <xsl:call-template name="subElements">
              <xsl:with-param name="depth" select="$depth"/>
              <xsl:with-param name="path" select="$path"/>
            </xsl:call-template>
          </xsl:otherwise>
        </xsl:choose>
      </xsl:for-each>
    </div>
  </xsl:template>

  <!-- How many times the particle in context may appear, from minOccurs and maxOccurs. -->
  <xsl:template name="occurrences">
    <xsl:variable name="min">
      <xsl:choose><xsl:when test="@minOccurs"><xsl:value-of select="@minOccurs"/></xsl:when><xsl:otherwise>1</xsl:otherwise></xsl:choose>
    </xsl:variable>
    <xsl:variable name="max">
      <xsl:choose><xsl:when test="@maxOccurs"><xsl:value-of select="@maxOccurs"/></xsl:when><xsl:otherwise>1</xsl:otherwise></xsl:choose>
    </xsl:variable>
    <xsl:choose>
      <xsl:when test="$min = 1 and $max = 1">exactly once</xsl:when>
      <xsl:when test="$min = 0 and $max = 1">optional, at most once</xsl:when>
      <xsl:when test="$max = 'unbounded' and $min = 0">any number of times</xsl:when>
      <xsl:when test="$max = 'unbounded'">at least <xsl:value-of select="$min"/> times</xsl:when>
      <xsl:when test="$min = $max"><xsl:value-of select="$min"/> times</xsl:when>
      <xsl:otherwise>from <xsl:value-of select="$min"/> to <xsl:value-of select="$max"/> times</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- One sub-element: a link when it refers to a message, else shown in full, nested. -->
  <xsl:template name="subElement">
    <xsl:param name="depth"/>
    <xsl:param name="path"/>
    <xsl:variable name="refName" select="concat(substring-after(@ref, ':'), substring(@ref, 1 div not(contains(@ref, ':'))))"/>
    <div class="sub">
      <p>
        <span class="name"><xsl:value-of select="@name"/><xsl:value-of select="$refName"/></span>
        <span class="count"> (<xsl:call-template name="occurrences"/>)</span>
        <xsl:if test="@ref and $messages[@name = $refName]">
          <xsl:text>: the message </xsl:text><a href="#msg_{$refName}"><xsl:value-of select="$refName"/></a>
        </xsl:if>
      </p>
      <xsl:if test="not(@ref and $messages[@name = $refName])">
        <xsl:for-each select="self::*[not(@ref)] | key('topElement', $refName)[1]">
          <xsl:if test="xs:annotation/xs:documentation">
            <div class="doc"><xsl:call-template name="documentation"/></div>
          </xsl:if>
          <xsl:choose>
            <xsl:when test="$depth &gt; $maxDepth"><p class="count">(nested further)</p></xsl:when>
            <xsl:otherwise>
              <xsl:call-template name="elementContent">
                <xsl:with-param name="depth" select="$depth"/>
                <xsl:with-param name="path" select="$path"/>
              </xsl:call-template>
            </xsl:otherwise>
          </xsl:choose>
        </xsl:for-each>
      </xsl:if>
    </div>
  </xsl:template>

  <!-- ===== Attributes ===== -->

  <xsl:template name="attributeTable">
    <xsl:param name="attributes"/>
    <xsl:if test="$attributes">
      <table class="attributes">
        <tr><th class="name">Attribute</th><th class="use">Mandatory</th><th>Description</th><th class="content">Content</th></tr>
        <xsl:for-each select="$attributes">
          <xsl:variable name="refName" select="concat(substring-after(@ref, ':'), substring(@ref, 1 div not(contains(@ref, ':'))))"/>
          <tr>
            <td class="name"><xsl:value-of select="@name"/><xsl:value-of select="$refName"/></td>
            <td>
              <xsl:choose><xsl:when test="@use = 'required'">yes</xsl:when><xsl:otherwise>no</xsl:otherwise></xsl:choose>
            </td>
            <td><xsl:call-template name="documentation"/></td>
            <td><xsl:call-template name="attributeContent"/></td>
          </tr>
        </xsl:for-each>
      </table>
    </xsl:if>
  </xsl:template>

  <!-- What the attribute in context may hold: its inline restriction, or its type's name. -->
  <xsl:template name="attributeContent">
    <xsl:choose>
      <xsl:when test="xs:simpleType/xs:restriction">
        <xsl:for-each select="xs:simpleType/xs:restriction">
          <xsl:call-template name="restriction"/>
        </xsl:for-each>
      </xsl:when>
      <xsl:when test="@type">
        <xsl:call-template name="typeName">
          <xsl:with-param name="name" select="concat(substring-after(@type, ':'), substring(@type, 1 div not(contains(@type, ':'))))"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>string</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- An inline restriction in context: integer bounds, length bounds, enumerations. -->
  <xsl:template name="restriction">
    <xsl:variable name="base" select="concat(substring-after(@base, ':'), substring(@base, 1 div not(contains(@base, ':'))))"/>
    <xsl:variable name="min" select="(xs:minInclusive | xs:minExclusive)[1]"/>
    <xsl:variable name="max" select="(xs:maxInclusive | xs:maxExclusive)[1]"/>
    <xsl:choose>
      <xsl:when test="xs:enumeration">
        <xsl:text>one of:</xsl:text>
        <ul>
          <xsl:for-each select="xs:enumeration">
            <li><b><xsl:value-of select="@value"/></b>
              <xsl:if test="xs:annotation/xs:documentation">: <xsl:call-template name="documentation"/></xsl:if>
            </li>
          </xsl:for-each>
        </ul>
      </xsl:when>
      <xsl:when test="$min or $max">
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template>
        <xsl:if test="$min"> from <xsl:value-of select="$min/@value"/>
          <xsl:if test="$min/self::xs:minExclusive"> (excluded)</xsl:if></xsl:if>
        <xsl:if test="$max"> to <xsl:value-of select="$max/@value"/>
          <xsl:if test="$max/self::xs:maxExclusive"> (excluded)</xsl:if></xsl:if>
      </xsl:when>
      <xsl:when test="xs:length">
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template><xsl:text> of exactly </xsl:text><xsl:value-of select="xs:length/@value"/> characters</xsl:when>
      <xsl:when test="xs:minLength and xs:maxLength">
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template><xsl:text> of </xsl:text><xsl:value-of select="xs:minLength/@value"/> to <xsl:value-of select="xs:maxLength/@value"/> characters</xsl:when>
      <xsl:when test="xs:maxLength">
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template><xsl:text> of at most </xsl:text><xsl:value-of select="xs:maxLength/@value"/> characters</xsl:when>
      <xsl:when test="xs:minLength">
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template><xsl:text> of at least </xsl:text><xsl:value-of select="xs:minLength/@value"/> characters</xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="typeName"><xsl:with-param name="name" select="$base"/></xsl:call-template>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The reader's name of a type, given without its prefix. -->
  <xsl:template name="typeName">
    <xsl:param name="name"/>
    <xsl:choose>
      <xsl:when test="contains(' int integer long short byte unsignedInt unsignedLong unsignedShort unsignedByte
          nonNegativeInteger positiveInteger negativeInteger nonPositiveInteger ', concat(' ', $name, ' '))">integer</xsl:when>
      <xsl:when test="contains(' string token normalizedString ', concat(' ', $name, ' '))">string</xsl:when>
      <xsl:when test="$name = 'boolean'">boolean</xsl:when>
      <xsl:when test="$name = 'ipv4' or $name = 'ipV4' or $name = 'IPv4'">IPv4 address</xsl:when>
      <xsl:when test="$name = 'ipPort' or $name = 'port'">port (1 to 65535)</xsl:when>
      <xsl:when test="$name = 'macAddress'">MAC address</xsl:when>
      <xsl:when test="$name = 'timestamp'">millisecond timestamp</xsl:when>
      <xsl:when test="$name = 'codec'">
        <xsl:text>video codec</xsl:text>
        <xsl:for-each select="key('simpleType', 'codec')/xs:restriction/xs:enumeration">
          <xsl:choose><xsl:when test="position() = 1">: </xsl:when><xsl:otherwise>, </xsl:otherwise></xsl:choose>
          <xsl:value-of select="@value"/>
        </xsl:for-each>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$name"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- ===== Documentation ===== -->

  <!-- The documentation of the declaration in context. The sensor writes it, so only plain
       formatting passes into the page: no script, style, event or other attribute, and links
       only to web pages, mail addresses or anchors. -->
  <xsl:template name="documentation">
    <xsl:apply-templates select="xs:annotation/xs:documentation/node()" mode="doc"/>
  </xsl:template>

  <xsl:template match="text()" mode="doc">
    <xsl:value-of select="."/>
  </xsl:template>

  <xsl:template match="*" mode="doc">
    <xsl:choose>
      <xsl:when test="contains(' b i u em strong br p ul ol li code pre tt sub sup small span div table tr td th h4 h5 h6 ',
          concat(' ', local-name(), ' '))">
        <xsl:element name="{local-name()}">
          <xsl:apply-templates select="node()" mode="doc"/>
        </xsl:element>
      </xsl:when>
      <xsl:when test="local-name() = 'a'">
        <xsl:variable name="href" select="translate(normalize-space(@href), 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')"/>
        <a>
          <xsl:if test="starts-with($href, 'http://') or starts-with($href, 'https://') or starts-with($href, 'mailto:')
              or starts-with($href, '#')">
            <xsl:attribute name="href"><xsl:value-of select="normalize-space(@href)"/></xsl:attribute>
          </xsl:if>
          <xsl:apply-templates select="node()" mode="doc"/>
        </a>
      </xsl:when>
      <xsl:when test="local-name() = 'script' or local-name() = 'style'"/>
      <xsl:otherwise>
        <xsl:apply-templates select="node()" mode="doc"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="comment() | processing-instruction()" mode="doc"/>

  <!-- ===== Examples ===== -->

  <!-- The element in context as FYB XML: attributes with empty values, the first choice of a
       choice, every child of a sequence or all, binary content as a placeholder. A type
       already open above is not opened again. -->
  <xsl:template name="exampleXml">
    <xsl:param name="indent"/>
    <xsl:param name="path" select="' '"/>
    <xsl:variable name="typeName" select="concat(substring-after(@type, ':'), substring(@type, 1 div not(contains(@type, ':'))))"/>
    <xsl:variable name="type" select="(xs:complexType | key('complexType', $typeName))[1]"/>
    <xsl:variable name="body" select="$type | $type/xs:simpleContent/xs:extension | $type/xs:complexContent/xs:extension"/>
    <xsl:variable name="particles" select="$body/xs:sequence | $body/xs:choice | $body/xs:all"/>
    <xsl:value-of select="concat($indent, '&lt;', @name)"/>
    <xsl:for-each select="$body/xs:attribute">
      <xsl:value-of select="concat(' ', @name, substring-after(@ref, ':'), substring(@ref, 1 div not(contains(@ref, ':'))), '=&quot;&quot;')"/>
    </xsl:for-each>
    <xsl:choose>
      <xsl:when test="contains($typeName, 'Binary') or contains($type/xs:simpleContent/xs:extension/@base, 'Binary')">
        <xsl:value-of select="concat('&gt;[binary content]&lt;/', @name, '&gt;&#10;')"/>
      </xsl:when>
      <xsl:when test="$particles and not(contains($path, concat(' ', generate-id($type), ' ')))">
        <xsl:text>&gt;&#10;</xsl:text>
        <xsl:for-each select="$particles">
          <xsl:call-template name="exampleXmlChildren">
            <xsl:with-param name="indent" select="concat($indent, '  ')"/>
            <xsl:with-param name="path" select="concat($path, generate-id($type), ' ')"/>
          </xsl:call-template>
        </xsl:for-each>
        <xsl:value-of select="concat($indent, '&lt;/', @name, '&gt;&#10;')"/>
      </xsl:when>
      <xsl:otherwise><xsl:text>/&gt;&#10;</xsl:text></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The children a group in context gives an XML example. -->
  <xsl:template name="exampleXmlChildren">
    <xsl:param name="indent"/>
    <xsl:param name="path"/>
    <xsl:for-each select="(xs:element | xs:sequence | xs:choice | xs:all)[not(current()/self::xs:choice) or position() = 1]">
      <xsl:variable name="refName" select="concat(substring-after(@ref, ':'), substring(@ref, 1 div not(contains(@ref, ':'))))"/>
      <xsl:choose>
        <xsl:when test="self::xs:element">
          <xsl:for-each select="self::*[not(@ref)] | key('topElement', $refName)[1]">
            <xsl:call-template name="exampleXml">
              <xsl:with-param name="indent" select="$indent"/>
              <xsl:with-param name="path" select="$path"/>
            </xsl:call-template>
          </xsl:for-each>
        </xsl:when>
        <xsl:otherwise>
          <xsl:call-template name="exampleXmlChildren">
            <xsl:with-param name="indent" select="$indent"/>
            <xsl:with-param name="path" select="$path"/>
          </xsl:call-template>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:for-each>
  </xsl:template>

  <!-- The element in context as one JSON member: attributes as empty texts, children as
       objects (in an array when they may repeat), binary content as a placeholder text. -->
  <xsl:template name="exampleJson">
    <xsl:param name="indent"/>
    <xsl:param name="path" select="' '"/>
    <xsl:param name="repeats" select="false()"/>
    <xsl:variable name="typeName" select="concat(substring-after(@type, ':'), substring(@type, 1 div not(contains(@type, ':'))))"/>
    <xsl:variable name="type" select="(xs:complexType | key('complexType', $typeName))[1]"/>
    <xsl:variable name="body" select="$type | $type/xs:simpleContent/xs:extension | $type/xs:complexContent/xs:extension"/>
    <xsl:variable name="binary" select="contains($typeName, 'Binary') or contains($type/xs:simpleContent/xs:extension/@base, 'Binary')"/>
    <xsl:variable name="attributes" select="$body/xs:attribute"/>
    <xsl:variable name="open" select="not(contains($path, concat(' ', generate-id($type), ' ')))"/>
    <xsl:variable name="particles" select="($body/xs:sequence | $body/xs:choice | $body/xs:all)[$open]"/>
    <xsl:variable name="inner" select="concat($indent, '  ')"/>
    <xsl:value-of select="concat($indent, '&quot;', @name, '&quot;: ')"/>
    <xsl:if test="$repeats">[ </xsl:if>
    <xsl:text>{</xsl:text>
    <xsl:for-each select="$attributes">
      <xsl:if test="position() &gt; 1">,</xsl:if>
      <xsl:value-of select="concat('&#10;', $inner, '&quot;', @name, substring-after(@ref, ':'),
          substring(@ref, 1 div not(contains(@ref, ':'))), '&quot;: &quot;&quot;')"/>
    </xsl:for-each>
    <xsl:if test="$binary">
      <xsl:if test="$attributes">,</xsl:if>
      <xsl:value-of select="concat('&#10;', $inner, '&quot;content&quot;: &quot;[binary content]&quot;')"/>
    </xsl:if>
    <xsl:for-each select="$particles">
      <xsl:call-template name="exampleJsonChildren">
        <xsl:with-param name="indent" select="$inner"/>
        <xsl:with-param name="path" select="concat($path, generate-id($type), ' ')"/>
        <xsl:with-param name="separated" select="position() &gt; 1 or $attributes or $binary"/>
      </xsl:call-template>
    </xsl:for-each>
    <xsl:if test="$attributes or $binary or $particles"><xsl:value-of select="concat('&#10;', $indent)"/></xsl:if>
    <xsl:text>}</xsl:text>
    <xsl:if test="$repeats"> ]</xsl:if>
  </xsl:template>

  <!-- The members a group in context gives a JSON example; all but the very first follow a comma. -->
  <xsl:template name="exampleJsonChildren">
    <xsl:param name="indent"/>
    <xsl:param name="path"/>
    <xsl:param name="separated"/>
    <xsl:for-each select="(xs:element | xs:sequence | xs:choice | xs:all)[not(current()/self::xs:choice) or position() = 1]">
      <xsl:variable name="comma" select="position() &gt; 1 or $separated"/>
      <xsl:variable name="refName" select="concat(substring-after(@ref, ':'), substring(@ref, 1 div not(contains(@ref, ':'))))"/>
      <xsl:choose>
        <xsl:when test="self::xs:element">
          <xsl:if test="$comma">,</xsl:if>
          <xsl:text>&#10;</xsl:text>
          <xsl:variable name="repeats" select="@maxOccurs = 'unbounded' or @maxOccurs &gt; 1"/>
          <xsl:for-each select="self::*[not(@ref)] | key('topElement', $refName)[1]">
            <xsl:call-template name="exampleJson">
              <xsl:with-param name="indent" select="$indent"/>
              <xsl:with-param name="path" select="$path"/>
              <xsl:with-param name="repeats" select="$repeats"/>
            </xsl:call-template>
          </xsl:for-each>
        </xsl:when>
        <xsl:otherwise>
          <xsl:call-template name="exampleJsonChildren">
            <xsl:with-param name="indent" select="$indent"/>
            <xsl:with-param name="path" select="$path"/>
            <xsl:with-param name="separated" select="$comma"/>
          </xsl:call-template>
        </xsl:otherwise>
      </xsl:choose>
    </xsl:for-each>
  </xsl:template>

</xsl:stylesheet>
