<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>DialogContext6</name>
    <message>
        <source>Choose contexts</source>
        <translation>Choisir les contextes</translation>
    </message>
    <message>
        <source>Select the installation country :</source>
        <translation>Sélectionnez le pays d&apos;installation :</translation>
    </message>
    <message>
        <source>Do you want to read foreign plates ?</source>
        <translation>Voulez-vous lire les plaques étrangères ?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;There can be ambiguities between some foreign plates. Please select the foreign country most represented :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Certaines plaques étrangères peuvent être ambiguës. Sélectionnez le pays étranger le plus représenté :&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>advanced editing</source>
        <translation>édition avancée</translation>
    </message>
    <message>
        <source> None</source>
        <translation> Aucun</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>You can&apos;t set an empty sentence</source>
        <translation>Vous ne pouvez pas définir une phrase vide</translation>
    </message>
    <message>
        <source>Note : with the &apos;plenda&apos; version of BRONDMERE sensors, it is not possible to read foreign plates.</source>
        <translation>Note : avec la version &apos;plenda&apos; des capteurs BRONDMERE, il n&apos;est pas possible de lire les plaques étrangères.</translation>
    </message>
</context>
</TS>
