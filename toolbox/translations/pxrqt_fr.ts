<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>PXRDiscoverTreeWidget</name>
    <message>
        <source>Lock</source>
        <translation>Verrou</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Alerte</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>Adresse IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Port secured</source>
        <translation>Port sécurisé</translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation>Adresse MAC</translation>
    </message>
    <message>
        <source>Firmware version</source>
        <translation>Version du firmware</translation>
    </message>
    <message>
        <source>Equipment type</source>
        <translation>Type d&apos;équipement</translation>
    </message>
    <message>
        <source>Algorithms</source>
        <translation>Algorithmes</translation>
    </message>
    <message>
        <source>Command port</source>
        <translation>Port de commande</translation>
    </message>
    <message>
        <source>Time port</source>
        <translation>Port horaire</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Card class</source>
        <translation>Classe de carte</translation>
    </message>
    <message>
        <source>Slave ANPR MAC address</source>
        <translation>Adresse MAC LAPI esclave</translation>
    </message>
    <message>
        <source>Slave Context MAC address</source>
        <translation>Adresse MAC contexte esclave</translation>
    </message>
    <message>
        <source>Locking client IP</source>
        <translation>IP du client verrouillant</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/D</translation>
    </message>
    <message>
        <source>Locked</source>
        <translation>Verrouillé</translation>
    </message>
    <message>
        <source>Unlocked</source>
        <translation>Déverrouillé</translation>
    </message>
    <message>
        <source>KGV firmwares &lt; 6.1.4 do not work perfectly with the PXR, it is recommended to update them</source>
        <translation>Les firmwares KGV &lt; 6.1.4 ne fonctionnent pas parfaitement avec le PXR, il est recommandé de les mettre à jour</translation>
    </message>
    <message>
        <source>Initializing phase, the sensor will not connect</source>
        <translation>Phase d&apos;initialisation, le capteur n&apos;acceptera pas de connexion</translation>
    </message>
    <message>
        <source>Initializing: </source>
        <translation>Initialisation : </translation>
    </message>
</context>
<context>
    <name>PXRMsgTreeWidget</name>
    <message>
        <source>Add new attribute...</source>
        <translation>Ajouter un attribut...</translation>
    </message>
    <message>
        <source>Add new element...</source>
        <translation>Ajouter un élément...</translation>
    </message>
    <message>
        <source>Data (%2 bytes) &lt;a href=&quot;view&quot;&gt;View&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;save&quot;&gt;Save&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;load&quot;&gt;Load&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;clear&quot;&gt;Clear&lt;/a&gt; </source>
        <translation>Données (%2 octets) &lt;a href=&quot;view&quot;&gt;Voir&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;save&quot;&gt;Enregistrer&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;load&quot;&gt;Charger&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;clear&quot;&gt;Effacer&lt;/a&gt; </translation>
    </message>
    <message>
        <source>No data &lt;a href=&quot;load&quot;&gt;Load&lt;/a&gt;</source>
        <translation>Pas de données &lt;a href=&quot;load&quot;&gt;Charger&lt;/a&gt;</translation>
    </message>
    <message>
        <source>Data (%1 bytes) &lt;a href=&quot;view&quot;&gt;View&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;save&quot;&gt;Save&lt;/a&gt;  </source>
        <translation>Données (%1 octets) &lt;a href=&quot;view&quot;&gt;Voir&lt;/a&gt; ,&amp;nbsp;&lt;a href=&quot;save&quot;&gt;Enregistrer&lt;/a&gt;  </translation>
    </message>
    <message>
        <source>No data</source>
        <translation>Pas de données</translation>
    </message>
    <message>
        <source>Element</source>
        <translation>Élément</translation>
    </message>
    <message>
        <source>Enter name :</source>
        <translation>Entrez le nom :</translation>
    </message>
    <message>
        <source>Element name</source>
        <translation>Nom de l&apos;élément</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Tous les fichiers (*.*)</translation>
    </message>
    <message>
        <source>Image (*.jpg);;</source>
        <translation>Image (*.jpg);;</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to open file</source>
        <translation>Impossible d&apos;ouvrir le fichier</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
</context>
<context>
    <name>DlgEditAttribute</name>
    <message>
        <source>Attribute</source>
        <translation>Attribut</translation>
    </message>
    <message>
        <source>Name :</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Value :</source>
        <translation>Valeur :</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Name can&apos;t be empty</source>
        <translation>Le nom ne peut pas être vide</translation>
    </message>
</context>
<context>
    <name>DlgPXRShowBinaryContent</name>
    <message>
        <source>Binary content</source>
        <translation>Contenu binaire</translation>
    </message>
    <message>
        <source>There is no binary data in this element</source>
        <translation>Cet élément ne contient pas de données binaires</translation>
    </message>
    <message>
        <source>Unknown content</source>
        <translation>Contenu inconnu</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
</context>
</TS>
