<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>ZyADTreeWidgetItem</name>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>ZyLanguage</name>
    <message>
        <source>French</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Espagnol</translation>
    </message>
</context>
<context>
    <name>ZyTreeWidget</name>
    <message>
        <source>Export as CSV...</source>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to export to </source>
        <translation>Impossible d'exporter vers </translation>
    </message>
</context>
<context>
    <name>ZyZoomImage</name>
    <message>
        <source>Save image...</source>
        <translation>Enregistrer l'image...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation>Impossible d'ouvrir le fichier en écriture</translation>
    </message>
</context>
</TS>
