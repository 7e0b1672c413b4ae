<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <source>French</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Spanisch</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <source>Export as CSV...</source>
        <translation>Als CSV exportieren...</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable to export to </source>
        <translation>Export nicht möglich nach </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <source>Save image...</source>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG-Bild (*.jpg)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation>Datei kann nicht zum Schreiben geöffnet werden</translation>
    </message>
</context>
</TS>
