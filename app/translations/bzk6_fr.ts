<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>DialogCertificate</name>
    <message>
        <source>Certificate</source>
        <translation>Certificat</translation>
    </message>
    <message>
        <source>Use a client certificate to authenticate to the sensor</source>
        <translation>Utiliser un certificat client pour s&apos;authentifier auprès du capteur</translation>
    </message>
    <message>
        <source>SSL Certificate  file (PEM) :</source>
        <translation>Fichier du certificat SSL (PEM) :</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>SSL Private Key file (PEM) :</source>
        <translation>Fichier de la clé privée SSL (PEM) :</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Note : if you set here a pair Certificate/private key, it will be used for connection to the sensor.&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;If no client certificate is specified, none is sent to the sensor (no system certificate store is searched).&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Note : si vous indiquez ici un couple certificat/clé privée, il sera utilisé pour la connexion au capteur.&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Si aucun certificat client n&apos;est indiqué, aucun n&apos;est envoyé au capteur (aucun magasin de certificats du système n&apos;est consulté).&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Private key</source>
        <translation>Clé privée</translation>
    </message>
</context>
<context>
    <name>DialogChangePassword</name>
    <message>
        <source>Change Password</source>
        <translation>Changer le mot de passe</translation>
    </message>
    <message>
        <source>Current Password : </source>
        <translation>Mot de passe actuel : </translation>
    </message>
    <message>
        <source>New Password : </source>
        <translation>Nouveau mot de passe : </translation>
    </message>
    <message>
        <source>New Password (confirm) : </source>
        <translation>Nouveau mot de passe (confirmation) : </translation>
    </message>
    <message>
        <source>You must enter the same password twice.</source>
        <translation>Vous devez saisir deux fois le même mot de passe.</translation>
    </message>
    <message>
        <source>The new password could not be stored: the machine-wide settings cannot be written.</source>
        <translation>Le nouveau mot de passe n&apos;a pas pu être enregistré : les paramètres de la machine ne sont pas modifiables.</translation>
    </message>
    <message>
        <source>Wrong password.</source>
        <translation>Mot de passe incorrect.</translation>
    </message>
</context>
<context>
    <name>DialogCheckPassword</name>
    <message>
        <source>BZK - Enter Password</source>
        <translation>BZK - Saisir le mot de passe</translation>
    </message>
    <message>
        <source>Password : </source>
        <translation>Mot de passe : </translation>
    </message>
    <message>
        <source>Wrong password.</source>
        <translation>Mot de passe incorrect.</translation>
    </message>
</context>
<context>
    <name>DialogOptions</name>
    <message>
        <source>BZK - Options</source>
        <translation>BZK - Options</translation>
    </message>
    <message>
        <source>Language : </source>
        <translation>Langue : </translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Vidéo</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Garder</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>in video buffer</source>
        <translation>dans la mémoire vidéo</translation>
    </message>
    <message>
        <source>Disable hardware rendering</source>
        <translation>Désactiver le rendu matériel</translation>
    </message>
    <message>
        <source>You need to relaunch the application for the changes to take effect</source>
        <translation>Vous devez relancer l&apos;application pour que les modifications prennent effet</translation>
    </message>
</context>
<context>
    <name>SchemaDoc</name>
    <message>
        <source>Possible values:</source>
        <translation>Valeurs possibles :</translation>
    </message>
    <message>
        <source>&lt;b&gt;Possible values:&lt;/b&gt; &lt;li&gt;%1 to %2&lt;/li&gt;</source>
        <translation>&lt;b&gt;Valeurs possibles :&lt;/b&gt; &lt;li&gt;%1 à %2&lt;/li&gt;</translation>
    </message>
    <message>
        <source> in </source>
        <translation> dans </translation>
    </message>
</context>
</TS>
