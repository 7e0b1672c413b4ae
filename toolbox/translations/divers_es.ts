<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Eliminar</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <source>French</source>
        <translation>Francés</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Español</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <source>Export as CSV...</source>
        <translation>Exportar como CSV...</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to export to </source>
        <translation>No se puede exportar a </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <source>Save image...</source>
        <translation>Guardar imagen...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Imagen JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation>No se puede abrir el archivo para escribir</translation>
    </message>
</context>
</TS>
