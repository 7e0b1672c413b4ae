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
    <name>DialogWait</name>
    <message>
        <source>BZK</source>
        <translation>BZK</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>Ignore SSL errors</source>
        <translation>Ignorer les erreurs SSL</translation>
    </message>
    <message>
        <source>Connecting to sensor %1:%2.</source>
        <translation>Connexion au capteur %1:%2.</translation>
    </message>
    <message>
        <source>Sending request, please wait...</source>
        <translation>Envoi de la requête, veuillez patienter...</translation>
    </message>
    <message>
        <source>
   Unable to get Certificate revocation list (CRL)</source>
        <translation>
   Impossible d&apos;obtenir la liste de révocation des certificats (CRL)</translation>
    </message>
    <message>
        <source>
   Certificate is not yet valid</source>
        <translation>
   Le certificat n&apos;est pas encore valide</translation>
    </message>
    <message>
        <source>
   Certificate has expired</source>
        <translation>
   Le certificat a expiré</translation>
    </message>
    <message>
        <source>
   One certification in the certification chain is auto signed</source>
        <translation>
   Un certificat de la chaîne de certification est auto-signé</translation>
    </message>
    <message>
        <source>
   Certification chain is too long</source>
        <translation>
   La chaîne de certification est trop longue</translation>
    </message>
    <message>
        <source>
   Certificate has been revoked</source>
        <translation>
   Le certificat a été révoqué</translation>
    </message>
    <message>
        <source>
   Invalid Certificate Authority</source>
        <translation>
   Autorité de certification non valide</translation>
    </message>
    <message>
        <source>
   Certificate was not issued for this address</source>
        <translation>
   Le certificat n&apos;a pas été émis pour cette adresse</translation>
    </message>
    <message>
        <source>
   Certificate could not be verified</source>
        <translation>
   Le certificat n&apos;a pas pu être vérifié</translation>
    </message>
    <message>
        <source>Unable to connect : SSL errors</source>
        <translation>Connexion impossible : erreurs SSL</translation>
    </message>
</context>
<context>
    <name>DlgGetImage</name>
    <message>
        <source>GetImage</source>
        <translation>Demande d&apos;image</translation>
    </message>
    <message>
        <source>Last image</source>
        <translation>Dernière image</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>ago</source>
        <translation>avant</translation>
    </message>
</context>
<context>
    <name>DlgMsg</name>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>Select file</source>
        <translation>Choisir un fichier</translation>
    </message>
    <message>
        <source>Unable to open file</source>
        <translation>Impossible d&apos;ouvrir le fichier</translation>
    </message>
    <message>
        <source>Unable to write file</source>
        <translation>Impossible d&apos;écrire le fichier</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>DlgMsgs</name>
    <message>
        <source>Messages</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Plate</source>
        <translation>Plaque</translation>
    </message>
    <message>
        <source>You must select a message</source>
        <translation>Vous devez choisir un message</translation>
    </message>
    <message>
        <source>PXRMsg (*.pxrmsg)</source>
        <translation>PXRMsg (*.pxrmsg)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error : no answer from equipment</source>
        <translation>Erreur : pas de réponse de l&apos;équipement</translation>
    </message>
    <message>
        <source>Error : action failed</source>
        <translation>Erreur : l&apos;action a échoué</translation>
    </message>
    <message>
        <source>Warning : some parts of the message have failed</source>
        <translation>Attention : certaines parties du message ont échoué</translation>
    </message>
    <message>
        <source>Root element &quot;%1&quot;, status &quot;%2&quot;</source>
        <translation>Élément racine &quot;%1&quot;, statut &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Root element &quot;%1&quot;, no status</source>
        <translation>Élément racine &quot;%1&quot;, sans statut</translation>
    </message>
    <message>
        <source>Unexpected answer</source>
        <translation>Réponse inattendue</translation>
    </message>
    <message>
        <source> in </source>
        <translation> dans </translation>
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
