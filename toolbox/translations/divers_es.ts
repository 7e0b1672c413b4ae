<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="46"/>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="56"/>
        <source>Remove</source>
        <translation>Eliminar</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <location filename="../ZyLanguage.cpp" line="41"/>
        <source>French</source>
        <translation>Francés</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="43"/>
        <source>English</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="45"/>
        <source>German</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="47"/>
        <source>Spanish</source>
        <translation>Español</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="39"/>
        <source>Export as CSV...</source>
        <translation>Exportar como CSV...</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="201"/>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Unable to export to </source>
        <translation>No se puede exportar a </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <location filename="../ZyZoomImage.cpp" line="120"/>
        <source>Save image...</source>
        <translation>Guardar imagen...</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="126"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="127"/>
        <source>JPEG Image (*.jpg)</source>
        <translation>Imagen JPEG (*.jpg)</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Unable to open file for writing</source>
        <translation>No se puede abrir el archivo para escribir</translation>
    </message>
</context>
</TS>
