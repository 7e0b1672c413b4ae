<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="46"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="56"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <location filename="../ZyLanguage.cpp" line="41"/>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="43"/>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="45"/>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="47"/>
        <source>Spanish</source>
        <translation>Spanisch</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="39"/>
        <source>Export as CSV...</source>
        <translation>Als CSV exportieren...</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="201"/>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Unable to export to </source>
        <translation>Export nicht möglich nach </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <location filename="../ZyZoomImage.cpp" line="120"/>
        <source>Save image...</source>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="126"/>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="127"/>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG-Bild (*.jpg)</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Unable to open file for writing</source>
        <translation>Datei kann nicht zum Schreiben geöffnet werden</translation>
    </message>
</context>
</TS>
