<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="46"/>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <location filename="../ZyADTreeWidgetItem.cpp" line="56"/>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <location filename="../ZyLanguage.cpp" line="41"/>
        <source>French</source>
        <translation>Français</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="43"/>
        <source>English</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="45"/>
        <source>German</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <location filename="../ZyLanguage.cpp" line="47"/>
        <source>Spanish</source>
        <translation>Espagnol</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="39"/>
        <source>Export as CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="201"/>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <location filename="../ZyTreeWidget.cpp" line="208"/>
        <source>Unable to export to </source>
        <translation>Impossible d&apos;exporter vers </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <location filename="../ZyZoomImage.cpp" line="120"/>
        <source>Save image...</source>
        <translation>Enregistrer l&apos;image...</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="126"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="127"/>
        <source>JPEG Image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <location filename="../ZyZoomImage.cpp" line="132"/>
        <source>Unable to open file for writing</source>
        <translation>Impossible d&apos;ouvrir le fichier en écriture</translation>
    </message>
</context>
</TS>
