<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CameraTreeFill</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Zoom Plate Width</source>
        <translation>Largeur de plaque pour le zoom</translation>
    </message>
    <message>
        <source>Min Reliability</source>
        <translation>Fiabilité min.</translation>
    </message>
    <message>
        <source>Min Reliability for characters</source>
        <translation>Fiabilité min. des caractères</translation>
    </message>
    <message>
        <source>Min char width for static decision</source>
        <translation>Largeur min. des caractères pour une décision statique</translation>
    </message>
    <message>
        <source>Min plate width for static decision</source>
        <translation>Largeur min. de plaque pour une décision statique</translation>
    </message>
    <message>
        <source>Min recognitions for static decision</source>
        <translation>Nombre min. de lectures pour une décision statique</translation>
    </message>
    <message>
        <source>Min recognitions</source>
        <translation>Nombre min. de lectures</translation>
    </message>
    <message>
        <source>Max no plate before decision</source>
        <translation>Nombre max. d&apos;images sans plaque avant décision</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Caméra</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Caméras</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Synchronize cameras</source>
        <translation>Synchroniser les caméras</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Video stream</source>
        <translation>Flux vidéo</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>Codec</translation>
    </message>
    <message>
        <source>Image size</source>
        <translation>Taille d&apos;image</translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation>Fréquence d&apos;images</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualité</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Débit</translation>
    </message>
    <message>
        <source>GOP</source>
        <translation>GOP</translation>
    </message>
    <message>
        <source>%1 frames/s</source>
        <translation>%1 images/s</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 kb/s</source>
        <translation>%1 kb/s</translation>
    </message>
    <message>
        <source>Still picture</source>
        <translation>Image fixe</translation>
    </message>
    <message>
        <source>Plate cropped</source>
        <translation>Plaque recadrée</translation>
    </message>
    <message>
        <source>Area of interest</source>
        <translation>Zone d&apos;intérêt</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Exclusive</source>
        <translation>Exclusive</translation>
    </message>
    <message>
        <source>Inclusive</source>
        <translation>Inclusive</translation>
    </message>
    <message>
        <source>ANPR</source>
        <translation>ANPR</translation>
    </message>
    <message>
        <source>Context</source>
        <translation>Contexte</translation>
    </message>
    <message>
        <source>2 lines plates</source>
        <translation>Plaques sur 2 lignes</translation>
    </message>
    <message>
        <source>Trailer plates</source>
        <translation>Plaques de remorque</translation>
    </message>
    <message>
        <source>Multiple plates reading</source>
        <translation>Lecture de plusieurs plaques</translation>
    </message>
    <message>
        <source>Counting</source>
        <translation>Comptage</translation>
    </message>
    <message>
        <source>Vehicle detection</source>
        <translation>Détection de véhicule</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Sens de circulation</translation>
    </message>
    <message>
        <source>Duplicate filter</source>
        <translation>Filtre des doublons</translation>
    </message>
    <message>
        <source>Detects focus automatically</source>
        <translation>Détection automatique de la mise au point</translation>
    </message>
    <message>
        <source>Plate position</source>
        <translation>Position de la plaque</translation>
    </message>
    <message>
        <source>Recognition storage</source>
        <translation>Stockage des lectures</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Reemit decisions</source>
        <translation>Réémettre les décisions</translation>
    </message>
    <message>
        <source>Serial output</source>
        <translation>Sortie série</translation>
    </message>
    <message>
        <source>Export mode</source>
        <translation>Mode d&apos;export</translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation>Déclenchement</translation>
    </message>
    <message>
        <source>Reliability threshold</source>
        <translation>Seuil de fiabilité</translation>
    </message>
    <message>
        <source>Timeout after EndPlate</source>
        <translation>Délai après EndPlate</translation>
    </message>
    <message>
        <source>Activate on IO In</source>
        <translation>Activer sur entrée E/S</translation>
    </message>
    <message>
        <source>IO in pulse mode</source>
        <translation>Entrée E/S en mode impulsionnel</translation>
    </message>
    <message>
        <source>Timeout for IO triggers</source>
        <translation>Délai des déclenchements par E/S</translation>
    </message>
    <message>
        <source>OCR</source>
        <translation>OCR</translation>
    </message>
    <message>
        <source>Max Plate Size</source>
        <translation>Taille de plaque max.</translation>
    </message>
    <message>
        <source>Min Plate Size</source>
        <translation>Taille de plaque min.</translation>
    </message>
    <message>
        <source>AVAR</source>
        <translation>AVAR</translation>
    </message>
    <message>
        <source>Secondary sensor</source>
        <translation>Capteur secondaire</translation>
    </message>
    <message>
        <source>secured</source>
        <translation>sécurisé</translation>
    </message>
    <message>
        <source>not secured</source>
        <translation>non sécurisé</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Field of view</source>
        <translation>Champ de vision</translation>
    </message>
    <message>
        <source>Installation height</source>
        <translation>Hauteur d&apos;installation</translation>
    </message>
    <message>
        <source>Installation angle</source>
        <translation>Angle d&apos;installation</translation>
    </message>
    <message>
        <source>Installation context</source>
        <translation>Contexte d&apos;installation</translation>
    </message>
    <message>
        <source>Field of view width</source>
        <translation>Largeur du champ de vision</translation>
    </message>
    <message>
        <source>Field of view height</source>
        <translation>Hauteur du champ de vision</translation>
    </message>
    <message>
        <source>DGPR</source>
        <translation>DGPR</translation>
    </message>
    <message>
        <source>Empty plates detection</source>
        <translation>Détection des plaques vides</translation>
    </message>
    <message>
        <source>Installation</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>Empty plates detection ratio</source>
        <translation>Taux de détection des plaques vides</translation>
    </message>
    <message>
        <source>Export on RS232</source>
        <translation>Export sur RS232</translation>
    </message>
    <message>
        <source>Max Plate height</source>
        <translation>Hauteur de plaque max.</translation>
    </message>
    <message>
        <source>Max Plate width</source>
        <translation>Largeur de plaque max.</translation>
    </message>
    <message>
        <source>Min Plate height</source>
        <translation>Hauteur de plaque min.</translation>
    </message>
    <message>
        <source>Min Plate width</source>
        <translation>Largeur de plaque min.</translation>
    </message>
    <message>
        <source>Classification</source>
        <translation>Classification</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Loaded - &lt;a href=&apos;%1&apos;&gt;Save&lt;/a&gt;</source>
        <translation>Chargée - &lt;a href=&apos;%1&apos;&gt;Enregistrer&lt;/a&gt;</translation>
    </message>
    <message>
        <source>NOT loaded</source>
        <translation>NON chargée</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Initialized</source>
        <translation>Initialisé</translation>
    </message>
    <message>
        <source>NOT initialized</source>
        <translation>NON initialisé</translation>
    </message>
    <message>
        <source>Enslavement</source>
        <translation>Asservissement</translation>
    </message>
    <message>
        <source>Max time without decision before reinit</source>
        <translation>Durée max. sans décision avant réinitialisation</translation>
    </message>
    <message>
        <source>Time to wait before election</source>
        <translation>Délai avant élection</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Switch type</source>
        <translation>Type de commutation</translation>
    </message>
    <message>
        <source>Plate hysteresis</source>
        <translation>Hystérésis de plaque</translation>
    </message>
    <message>
        <source>Max gain</source>
        <translation>Gain max.</translation>
    </message>
    <message>
        <source>Auto exposure</source>
        <translation>Exposition automatique</translation>
    </message>
    <message>
        <source>Reaction speed</source>
        <translation>Vitesse de réaction</translation>
    </message>
    <message>
        <source>Unable to find &apos;cameras&apos; element</source>
        <translation>Élément &apos;cameras&apos; introuvable</translation>
    </message>
    <message>
        <source>Unable to find &apos;camera&apos; element with ID=%1</source>
        <translation>Élément &apos;camera&apos; avec ID=%1 introuvable</translation>
    </message>
    <message>
        <source>Unable to find &apos;classification/data&apos; element</source>
        <translation>Élément &apos;classification/data&apos; introuvable</translation>
    </message>
    <message>
        <source>Save Classification configuration</source>
        <translation>Enregistrer la configuration de classification</translation>
    </message>
    <message>
        <source>Classification configuration (*.classConfig)</source>
        <translation>Configuration de classification (*.classConfig)</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation>Impossible d&apos;ouvrir le fichier en écriture</translation>
    </message>
</context>
<context>
    <name>CommandLineSensor</name>
    <message>
        <source>The address %1 is not supported: give an IPv4 address or a host name, optionally followed by a colon and a port.</source>
        <translation>L&apos;adresse %1 n&apos;est pas prise en charge : indiquez une adresse IPv4 ou un nom d&apos;hôte, éventuellement suivi de deux-points et d&apos;un port.</translation>
    </message>
    <message>
        <source>The port of %1 is not valid: give a number from 1 to 65535.</source>
        <translation>Le port de %1 n&apos;est pas valide : indiquez un nombre de 1 à 65535.</translation>
    </message>
</context>
<context>
    <name>ConfigTreeFill</name>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Time gap with this machine</source>
        <translation>Écart avec l&apos;heure de ce poste</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Appareil</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>Nom de l&apos;appareil</translation>
    </message>
    <message>
        <source>Installation height</source>
        <translation>Hauteur d&apos;installation</translation>
    </message>
    <message>
        <source>Distance to detection loop</source>
        <translation>Distance à la boucle de détection</translation>
    </message>
    <message>
        <source>Distance to barrier</source>
        <translation>Distance à la barrière</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>Certificates</source>
        <translation>Certificats</translation>
    </message>
    <message>
        <source>Plate encryption</source>
        <translation>Chiffrement des plaques</translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation>Mot de passe de verrouillage</translation>
    </message>
    <message>
        <source>802.1X</source>
        <translation>802.1X</translation>
    </message>
    <message>
        <source>Modem</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>Change PIN</source>
        <translation>Changer le code PIN</translation>
    </message>
    <message>
        <source>Ping test</source>
        <translation>Test ping</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Interval (minutes)</source>
        <translation>Intervalle (minutes)</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Réseau</translation>
    </message>
    <message>
        <source>DNS servers</source>
        <translation>Serveurs DNS</translation>
    </message>
    <message>
        <source>No DNS server defined, the sensor won&apos;t be able to access to named servers</source>
        <translation>Aucun serveur DNS défini, le capteur ne pourra pas joindre les serveurs désignés par leur nom</translation>
    </message>
    <message>
        <source>NTP servers</source>
        <translation>Serveurs NTP</translation>
    </message>
    <message>
        <source>No NTP server defined, the sensor&apos;s clock won&apos;t be on time</source>
        <translation>Aucun serveur NTP défini, l&apos;horloge du capteur ne sera pas à l&apos;heure</translation>
    </message>
    <message>
        <source>Multicast DNS</source>
        <translation>Multicast DNS</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Nom d&apos;hôte</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>IP statique</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Adresse IP</translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation>Masque de sous-réseau</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>Adresse de diffusion</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Passerelle</translation>
    </message>
    <message>
        <source>Wifi</source>
        <translation>Wifi</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>SSID</source>
        <translation>SSID</translation>
    </message>
    <message>
        <source>RTSP streaming</source>
        <translation>Diffusion RTSP</translation>
    </message>
    <message>
        <source>Listening port</source>
        <translation>Port d&apos;écoute</translation>
    </message>
    <message>
        <source>FYB port</source>
        <translation>Port FYB</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>FYB secured port</source>
        <translation>Port sécurisé FYB</translation>
    </message>
    <message>
        <source>Security profile</source>
        <translation>Profil de sécurité</translation>
    </message>
    <message>
        <source>KGV Command port</source>
        <translation>Port de commande KGV</translation>
    </message>
    <message>
        <source>KGV Streaming port</source>
        <translation>Port de flux KGV</translation>
    </message>
    <message>
        <source>KGV Time port</source>
        <translation>Port horaire KGV</translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message>
        <source>HTTPS</source>
        <translation>HTTPS</translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation>Délai d&apos;attente</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>First 802.1Q VLAN interface</source>
        <translation>Première interface VLAN 802.1Q</translation>
    </message>
    <message>
        <source>Second 802.1Q VLAN interface</source>
        <translation>Seconde interface VLAN 802.1Q</translation>
    </message>
    <message>
        <source>VLAN Id</source>
        <translation>ID VLAN</translation>
    </message>
    <message>
        <source>Routes</source>
        <translation>Routes</translation>
    </message>
    <message>
        <source>Route (%1)</source>
        <translation>Route (%1)</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>Set by the DHCP configuration</source>
        <translation>Défini par la configuration DHCP</translation>
    </message>
    <message>
        <source>Server %1</source>
        <translation>Serveur %1</translation>
    </message>
    <message>
        <source>FTP output</source>
        <translation>Sortie FTP</translation>
    </message>
    <message>
        <source>Server #%1</source>
        <translation>Serveur n° %1</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protocole</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Identifiant</translation>
    </message>
    <message>
        <source>Unicast discover clients</source>
        <translation>Clients de découverte unicast</translation>
    </message>
    <message>
        <source>Client %1</source>
        <translation>Client %1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>HttpPush</source>
        <translation>HttpPush</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Serveurs</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation>Certificat</translation>
    </message>
    <message>
        <source>Not provided</source>
        <translation>Non fourni</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Specific protocols</source>
        <translation>Protocoles spécifiques</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>Nedap GenericBadge</source>
        <translation>Nedap GenericBadge</translation>
    </message>
    <message>
        <source>Maximum retry</source>
        <translation>Nombre max. de tentatives</translation>
    </message>
    <message>
        <source>Moobyl</source>
        <translation>Moobyl</translation>
    </message>
    <message>
        <source>Zone</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>S&amp;B Free flow</source>
        <translation>S&amp;B Free flow</translation>
    </message>
    <message>
        <source>AmanoOne</source>
        <translation>AmanoOne</translation>
    </message>
    <message>
        <source>Send only triggerResult</source>
        <translation>Envoyer uniquement triggerResult</translation>
    </message>
    <message>
        <source>Tiba</source>
        <translation>Tiba</translation>
    </message>
    <message>
        <source>Lane ID</source>
        <translation>ID de voie</translation>
    </message>
    <message>
        <source>Only triggerResults</source>
        <translation>Uniquement les triggerResults</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>Base de données</translation>
    </message>
    <message>
        <source>Opens for all</source>
        <translation>Ouverture pour tous</translation>
    </message>
    <message>
        <source>Match tolerance</source>
        <translation>Tolérance de correspondance</translation>
    </message>
    <message>
        <source>IO</source>
        <translation>E/S</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>Default impulse mode</source>
        <translation>Mode d&apos;impulsion par défaut</translation>
    </message>
    <message>
        <source>Default impulse duration</source>
        <translation>Durée d&apos;impulsion par défaut</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Entrée</translation>
    </message>
    <message>
        <source>Minimum input impulse duration</source>
        <translation>Durée minimale d&apos;impulsion en entrée</translation>
    </message>
    <message>
        <source>Slaves</source>
        <translation>Esclaves</translation>
    </message>
    <message>
        <source>ANPR slave</source>
        <translation>Esclave ANPR</translation>
    </message>
    <message>
        <source>ANPR slave position</source>
        <translation>Position de l&apos;esclave ANPR</translation>
    </message>
    <message>
        <source>ANPR slave covering zone</source>
        <translation>Zone de recouvrement de l&apos;esclave ANPR</translation>
    </message>
    <message>
        <source>%1 pixels</source>
        <translation>%1 pixels</translation>
    </message>
    <message>
        <source>Context slave</source>
        <translation>Esclave de contexte</translation>
    </message>
    <message>
        <source>Services</source>
        <translation>Services</translation>
    </message>
    <message>
        <source>RVD</source>
        <translation>RVD</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation>Non activé</translation>
    </message>
    <message>
        <source>Default Brondmere RVD server</source>
        <translation>Serveur RVD Brondmere par défaut</translation>
    </message>
</context>
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
    <name>DialogDisplayConfig</name>
    <message>
        <source>Display configuration</source>
        <translation>Configuration de l&apos;affichage</translation>
    </message>
    <message>
        <source>Display video</source>
        <translation>Afficher la vidéo</translation>
    </message>
    <message>
        <source>Display Grid</source>
        <translation>Afficher la grille</translation>
    </message>
    <message>
        <source>Display Covering Zone</source>
        <translation>Afficher la zone de recouvrement</translation>
    </message>
    <message>
        <source>Display Slave Video</source>
        <translation>Afficher la vidéo de l&apos;esclave</translation>
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
    <name>DialogRecognitionGroup</name>
    <message>
        <source>Detections</source>
        <translation>Détections</translation>
    </message>
    <message>
        <source>Display plate rectangle</source>
        <translation>Afficher le rectangle de la plaque</translation>
    </message>
    <message>
        <source>Recogniton image (click to view full size image)</source>
        <translation>Image de lecture (cliquer pour voir l&apos;image en taille réelle)</translation>
    </message>
    <message>
        <source>Context image</source>
        <translation>Image de contexte</translation>
    </message>
    <message>
        <source>Compare signature with...</source>
        <translation>Comparer la signature avec...</translation>
    </message>
    <message>
        <source>%iDate|%nTime|%nType|Decision|Context|Reliability|Direction|Plate Size|Plate Angle|Plate Occurrence|Background colour|%nPXRMsg|%nSave image</source>
        <translation>%iDate|%nHeure|%nType|Décision|Contexte|Fiabilité|Sens|Taille de plaque|Angle de plaque|Occurrence de plaque|Couleur de fond|%nPXRMsg|%nEnregistrer l&apos;image</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Trigger result</source>
        <translation>Résultat du déclenchement</translation>
    </message>
    <message>
        <source>ANPR Decision</source>
        <translation>Décision ANPR</translation>
    </message>
    <message>
        <source>DGPR Decision</source>
        <translation>Décision DGPR</translation>
    </message>
    <message>
        <source>Classification Decision</source>
        <translation>Décision de classification</translation>
    </message>
    <message>
        <source>Signature Decision</source>
        <translation>Décision de signature</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>View...</source>
        <translation>Afficher...</translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Context</source>
        <translation>Contexte</translation>
    </message>
    <message>
        <source>class %1 (%2)</source>
        <translation>classe %1 (%2)</translation>
    </message>
    <message>
        <source>Save signature...</source>
        <translation>Enregistrer la signature...</translation>
    </message>
    <message>
        <source>%1 km/h</source>
        <translation>%1 km/h</translation>
    </message>
    <message>
        <source>interdistance : %1 m</source>
        <translation>interdistance : %1 m</translation>
    </message>
    <message>
        <source>interdistance : %1 ms</source>
        <translation>interdistance : %1 ms</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>Save a PXRMsg</source>
        <translation>Enregistrer un PXRMsg</translation>
    </message>
    <message>
        <source>PXRMsg (*.pxrmsg)</source>
        <translation>PXRMsg (*.pxrmsg)</translation>
    </message>
    <message>
        <source>There is no image in this decision</source>
        <translation>Cette décision ne contient pas d&apos;image</translation>
    </message>
    <message>
        <source>Save an image</source>
        <translation>Enregistrer une image</translation>
    </message>
    <message>
        <source>Jpeg image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>There is no context image in this decision</source>
        <translation>Cette décision ne contient pas d&apos;image de contexte</translation>
    </message>
    <message>
        <source>There is no signature data</source>
        <translation>Aucune donnée de signature</translation>
    </message>
    <message>
        <source>Save a signature</source>
        <translation>Enregistrer une signature</translation>
    </message>
    <message>
        <source>Signature (*.sign)</source>
        <translation>Signature (*.sign)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation>Impossible d&apos;ouvrir le fichier en écriture</translation>
    </message>
</context>
<context>
    <name>DialogSaveVideoBuffer</name>
    <message>
        <source>Save video buffer</source>
        <translation>Enregistrer la mémoire vidéo</translation>
    </message>
    <message>
        <source>Save to file :</source>
        <translation>Enregistrer dans le fichier :</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Save video around current position</source>
        <translation>Enregistrer la vidéo autour de la position actuelle</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>before</source>
        <translation>avant</translation>
    </message>
    <message>
        <source>after</source>
        <translation>après</translation>
    </message>
    <message>
        <source>Save all video buffer</source>
        <translation>Enregistrer toute la mémoire vidéo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to save video buffer while in real time</source>
        <translation>Impossible d&apos;enregistrer la mémoire vidéo en temps réel</translation>
    </message>
    <message>
        <source>%1 (%2 s)</source>
        <translation>%1 (%2 s)</translation>
    </message>
    <message>
        <source>Record a video</source>
        <translation>Enregistrer une vidéo</translation>
    </message>
    <message>
        <source>Brondmere Rec Files (*.rec)</source>
        <translation>Fichiers Rec Brondmere (*.rec)</translation>
    </message>
    <message>
        <source>Unable to save file</source>
        <translation>Impossible d&apos;enregistrer le fichier</translation>
    </message>
</context>
<context>
    <name>DialogStats</name>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
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
    <name>InfoTreeFill</name>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Appareil</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>Adresse MAC</translation>
    </message>
    <message>
        <source>Locked</source>
        <translation>Verrouillé</translation>
    </message>
    <message>
        <source>Config modifications forbidden</source>
        <translation>Modifications de configuration interdites</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Product version</source>
        <translation>Version du produit</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numéro de série</translation>
    </message>
    <message>
        <source>Supports POE</source>
        <translation>Prend en charge le POE</translation>
    </message>
    <message>
        <source>Modem</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>IMEI</source>
        <translation>IMEI</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Réseau</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source> (CPU: %1)</source>
        <translation> (CPU : %1)</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Température</translation>
    </message>
    <message>
        <source>Total reboots</source>
        <translation>Nombre total de redémarrages</translation>
    </message>
    <message>
        <source>Unexpected reboots</source>
        <translation>Redémarrages inattendus</translation>
    </message>
    <message>
        <source>Versions</source>
        <translation>Versions</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Carrier board</source>
        <translation>Carte porteuse</translation>
    </message>
    <message>
        <source>LEDs</source>
        <translation>LED</translation>
    </message>
    <message>
        <source>OS</source>
        <translation>OS</translation>
    </message>
    <message>
        <source>ANPR Engine version</source>
        <translation>Version du moteur ANPR</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Non installé</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Wifi</source>
        <translation>Wifi</translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation>Adresse MAC</translation>
    </message>
    <message>
        <source>Working</source>
        <translation>En fonctionnement</translation>
    </message>
    <message>
        <source>RVD</source>
        <translation>RVD</translation>
    </message>
    <message>
        <source>Performance validation</source>
        <translation>Validation des performances</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Caméra</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Caméras</translation>
    </message>
    <message>
        <source>Camera %1</source>
        <translation>Caméra %1</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Résolution</translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation>Fréquence d&apos;images</translation>
    </message>
    <message>
        <source>Supports IR Cut filter</source>
        <translation>Prend en charge le filtre IR Cut</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>Supports Flip</source>
        <translation>Prend en charge le retournement</translation>
    </message>
    <message>
        <source>Algorithms</source>
        <translation>Algorithmes</translation>
    </message>
    <message>
        <source>Initialized</source>
        <translation>Initialisé</translation>
    </message>
    <message>
        <source>Not initialized</source>
        <translation>Non initialisé</translation>
    </message>
    <message>
        <source>Lightings</source>
        <translation>Éclairages</translation>
    </message>
    <message>
        <source>Color mode</source>
        <translation>Mode couleur</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation>Mot de passe de verrouillage</translation>
    </message>
    <message>
        <source>Crypted plates</source>
        <translation>Plaques chiffrées</translation>
    </message>
    <message>
        <source>Plates encryption key hint</source>
        <translation>Indice de la clé de chiffrement des plaques</translation>
    </message>
    <message>
        <source>802.1X</source>
        <translation>802.1X</translation>
    </message>
    <message>
        <source>Authentication method</source>
        <translation>Méthode d&apos;authentification</translation>
    </message>
    <message>
        <source>None (disabled)</source>
        <translation>Aucune (désactivée)</translation>
    </message>
    <message>
        <source>Certificate common name</source>
        <translation>Nom commun du certificat</translation>
    </message>
    <message>
        <source>Certificate organization name</source>
        <translation>Nom de l&apos;organisation du certificat</translation>
    </message>
    <message>
        <source>Certificate validity : from</source>
        <translation>Validité du certificat : du</translation>
    </message>
    <message>
        <source>Certificate validity : to</source>
        <translation>Validité du certificat : au</translation>
    </message>
    <message>
        <source>dd/MM/yyyy</source>
        <translation>dd/MM/yyyy</translation>
    </message>
    <message>
        <source>Technical counters</source>
        <translation>Compteurs techniques</translation>
    </message>
    <message>
        <source>Msg drops</source>
        <translation>Messages perdus</translation>
    </message>
    <message>
        <source>Average video packet size</source>
        <translation>Taille moyenne des paquets vidéo</translation>
    </message>
    <message>
        <source>Min video packet size</source>
        <translation>Taille min. des paquets vidéo</translation>
    </message>
    <message>
        <source>Max video packet size</source>
        <translation>Taille max. des paquets vidéo</translation>
    </message>
    <message>
        <source>Max video frame duration</source>
        <translation>Durée max. d&apos;une image vidéo</translation>
    </message>
    <message>
        <source>Min video frame duration</source>
        <translation>Durée min. d&apos;une image vidéo</translation>
    </message>
    <message>
        <source>Average video frame duration</source>
        <translation>Durée moyenne d&apos;une image vidéo</translation>
    </message>
    <message>
        <source>Delay for New</source>
        <translation>Délai pour Nouveau</translation>
    </message>
    <message>
        <source>Delay for Decision</source>
        <translation>Délai pour Décision</translation>
    </message>
    <message>
        <source>Delay for End</source>
        <translation>Délai pour Fin</translation>
    </message>
</context>
<context>
    <name>LightingTreeFill</name>
    <message>
        <source>Lighting sources</source>
        <translation>Sources d&apos;éclairage</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Shutter synchronization</source>
        <translation>Synchronisation avec l&apos;obturateur</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Synchronize with</source>
        <translation>Synchroniser avec</translation>
    </message>
    <message>
        <source>Bracketing</source>
        <translation>Bracketing</translation>
    </message>
    <message>
        <source>Eco mode</source>
        <translation>Mode éco</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Puissance</translation>
    </message>
    <message>
        <source>Power high value</source>
        <translation>Valeur haute de la puissance</translation>
    </message>
    <message>
        <source>Power low value</source>
        <translation>Valeur basse de la puissance</translation>
    </message>
    <message>
        <source>Pulse delay high value</source>
        <translation>Valeur haute du retard d&apos;impulsion</translation>
    </message>
    <message>
        <source>Pulse delay low value</source>
        <translation>Valeur basse du retard d&apos;impulsion</translation>
    </message>
    <message>
        <source>Pulse delay</source>
        <translation>Retard d&apos;impulsion</translation>
    </message>
    <message>
        <source>Pulse width</source>
        <translation>Largeur d&apos;impulsion</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
</context>
<context>
    <name>Model</name>
    <message>
        <source>Internal LED board</source>
        <translation>Carte LED interne</translation>
    </message>
    <message>
        <source>External projector</source>
        <translation>Projecteur externe</translation>
    </message>
    <message>
        <source>Unknown light source</source>
        <translation>Source d&apos;éclairage inconnue</translation>
    </message>
</context>
<context>
    <name>ModelStatistics</name>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
</context>
<context>
    <name>OBK</name>
    <message>
        <source>Lock</source>
        <translation>Verrouiller</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Déverrouiller</translation>
    </message>
    <message>
        <source>The sensor must be locked to change its configuration</source>
        <translation>Le capteur doit être verrouillé pour modifier sa configuration</translation>
    </message>
    <message>
        <source> - Secured connection</source>
        <translation> - Connexion sécurisée</translation>
    </message>
    <message>
        <source> - Unsecured connection</source>
        <translation> - Connexion non sécurisée</translation>
    </message>
    <message>
        <source>Sensor LOCKED</source>
        <translation>Capteur VERROUILLÉ</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Capteur</translation>
    </message>
    <message>
        <source>Cannot connect to sensor %1</source>
        <translation>Impossible de se connecter au capteur %1</translation>
    </message>
    <message>
        <source>Allow configuration changes</source>
        <translation>Autoriser les modifications de configuration</translation>
    </message>
    <message>
        <source>Forbid configuration changes</source>
        <translation>Interdire les modifications de configuration</translation>
    </message>
</context>
<context>
    <name>OBKClass</name>
    <message>
        <source>BZK</source>
        <translation>BZK</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Arrêter l&apos;enregistrement</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Capteur</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Vidéo</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Infos</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>Caméras</translation>
    </message>
    <message>
        <source>Detections</source>
        <translation>Détections</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Tool Bar</source>
        <translation>Barre d&apos;outils</translation>
    </message>
    <message>
        <source>Traces</source>
        <translation>Traces</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Déconnecter</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>Redémarrer</translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Settings Window</source>
        <translation>Fenêtre des paramètres</translation>
    </message>
    <message>
        <source>Change Password...</source>
        <translation>Changer le mot de passe...</translation>
    </message>
    <message>
        <source>Save Configuration to File...</source>
        <translation>Enregistrer la configuration dans un fichier...</translation>
    </message>
    <message>
        <source>Restore Configuration from File...</source>
        <translation>Restaurer la configuration depuis un fichier...</translation>
    </message>
    <message>
        <source>Traces Window</source>
        <translation>Fenêtre des traces</translation>
    </message>
    <message>
        <source>Start Recording...</source>
        <translation>Démarrer l&apos;enregistrement...</translation>
    </message>
    <message>
        <source>Save video buffer...</source>
        <translation>Enregistrer la mémoire vidéo...</translation>
    </message>
    <message>
        <source>Save read-only informations to file...</source>
        <translation>Enregistrer les informations en lecture seule dans un fichier...</translation>
    </message>
    <message>
        <source>Save XSD to file...</source>
        <translation>Enregistrer le XSD dans un fichier...</translation>
    </message>
    <message>
        <source>Save XSD documentation to file...</source>
        <translation>Enregistrer la documentation du XSD dans un fichier...</translation>
    </message>
    <message>
        <source>Save sensor traces history...</source>
        <translation>Enregistrer l&apos;historique des traces du capteur...</translation>
    </message>
    <message>
        <source>Send synchronous message...</source>
        <translation>Envoyer un message synchrone...</translation>
    </message>
    <message>
        <source>Send asynchronous message...</source>
        <translation>Envoyer un message asynchrone...</translation>
    </message>
    <message>
        <source>Reset counters</source>
        <translation>Réinitialiser les compteurs</translation>
    </message>
    <message>
        <source>Get image...</source>
        <translation>Obtenir une image...</translation>
    </message>
    <message>
        <source>Statistics Window</source>
        <translation>Fenêtre des statistiques</translation>
    </message>
    <message>
        <source>Test NTP...</source>
        <translation>Tester NTP...</translation>
    </message>
    <message>
        <source>Get history...</source>
        <translation>Obtenir l&apos;historique...</translation>
    </message>
    <message>
        <source>Get current log...</source>
        <translation>Obtenir le journal en cours...</translation>
    </message>
    <message>
        <source>Trigger on...</source>
        <translation>Activer le déclenchement...</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>Trigger off...</source>
        <translation>Désactiver le déclenchement...</translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation>Ctrl+Y</translation>
    </message>
    <message>
        <source>Open barrier...</source>
        <translation>Ouvrir la barrière...</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>Change plate encryption private key...</source>
        <translation>Changer la clé privée de chiffrement des plaques...</translation>
    </message>
    <message>
        <source>Trigger on (advanced)...</source>
        <translation>Activer le déclenchement (avancé)...</translation>
    </message>
    <message>
        <source>Trigger timeout...</source>
        <translation>Délai du déclenchement...</translation>
    </message>
    <message>
        <source>Install application...</source>
        <translation>Installer une application...</translation>
    </message>
    <message>
        <source>Recalibrate optics...</source>
        <translation>Recalibrer l&apos;optique...</translation>
    </message>
    <message>
        <source>Update firmware from URL...</source>
        <translation>Mettre à jour le firmware depuis une URL...</translation>
    </message>
    <message>
        <source>Forbid configuration changes</source>
        <translation>Interdire les modifications de configuration</translation>
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
    <name>RecognitionManager</name>
    <message>
        <source>[Crypted]</source>
        <translation>[Chiffrée]</translation>
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
<context>
    <name>TreeFill</name>
    <message>
        <source>Activated</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation>Non activé</translation>
    </message>
</context>
<context>
    <name>WidgetCameraSettings</name>
    <message>
        <source>Vertically flip image</source>
        <translation>Retourner l&apos;image verticalement</translation>
    </message>
    <message>
        <source>Zoom : </source>
        <translation>Zoom : </translation>
    </message>
    <message>
        <source>Color Mode : </source>
        <translation>Mode couleur : </translation>
    </message>
    <message>
        <source>Black and white</source>
        <translation>Noir et blanc</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Mise au point</translation>
    </message>
    <message>
        <source>Focus cannot be modified when IRCut is automatic.</source>
        <translation>La mise au point ne peut pas être modifiée lorsque l&apos;IRCut est automatique.</translation>
    </message>
    <message>
        <source>Focus cannot be modified when the ANPR algorithm automatically detects it.</source>
        <translation>La mise au point ne peut pas être modifiée lorsque l&apos;algorithme ANPR la détecte automatiquement.</translation>
    </message>
    <message>
        <source>Macro Mode</source>
        <translation>Mode macro</translation>
    </message>
    <message>
        <source>Detect focus...</source>
        <translation>Détecter la mise au point...</translation>
    </message>
    <message>
        <source>Warning : autofocus is activated. Click &lt;a href=&quot;bla&quot;&gt;here&lt;/a&gt; to desactivate autofocus.</source>
        <translation>Attention : la mise au point automatique est activée. Cliquez &lt;a href=&quot;bla&quot;&gt;ici&lt;/a&gt; pour la désactiver.</translation>
    </message>
    <message>
        <source>color: rgb(255, 0, 0);</source>
        <translation>color: rgb(255, 0, 0);</translation>
    </message>
    <message>
        <source>Luminosity</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Enhance contrast</source>
        <translation>Améliorer le contraste</translation>
    </message>
    <message>
        <source>Exp Comp : </source>
        <translation>Comp. expo : </translation>
    </message>
    <message>
        <source>Shutter : </source>
        <translation>Obturateur : </translation>
    </message>
    <message>
        <source>Iris+Gain : </source>
        <translation>Iris+Gain : </translation>
    </message>
    <message>
        <source>Brightness :</source>
        <translation>Luminosité :</translation>
    </message>
    <message>
        <source>Sharpness :</source>
        <translation>Netteté :</translation>
    </message>
    <message>
        <source>Contrast :</source>
        <translation>Contraste :</translation>
    </message>
    <message>
        <source>ISO :</source>
        <translation>ISO :</translation>
    </message>
    <message>
        <source>Saturation :</source>
        <translation>Saturation :</translation>
    </message>
    <message>
        <source>Exposure :</source>
        <translation>Exposition :</translation>
    </message>
    <message>
        <source>White balance :</source>
        <translation>Balance des blancs :</translation>
    </message>
    <message>
        <source>Metering :</source>
        <translation>Mode de mesure :</translation>
    </message>
    <message>
        <source>(IRCut is on)</source>
        <translation>(IRCut activé)</translation>
    </message>
    <message>
        <source>(IRCut is off)</source>
        <translation>(IRCut désactivé)</translation>
    </message>
    <message>
        <source>(IRCut is automatic)</source>
        <translation>(IRCut automatique)</translation>
    </message>
    <message>
        <source>(IRCut is unknown)</source>
        <translation>(IRCut inconnu)</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;enslavement&quot;&gt;Enslavement&lt;/a&gt; is controlling the color mode.</source>
        <translation>L&apos;&lt;a href=&quot;enslavement&quot;&gt;asservissement&lt;/a&gt; contrôle le mode couleur.</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;autoExposure&quot;&gt;Auto exposure&lt;/a&gt; is controlling the color mode.</source>
        <translation>L&apos;&lt;a href=&quot;autoExposure&quot;&gt;exposition automatique&lt;/a&gt; contrôle le mode couleur.</translation>
    </message>
    <message>
        <source>&lt;a href=&apos;enslavement&apos;&gt;Enslavement&lt;/a&gt; is enabled. Shutter, iris and gain are automatic.</source>
        <translation>L&apos;&lt;a href=&apos;enslavement&apos;&gt;asservissement&lt;/a&gt; est activé. L&apos;obturateur, l&apos;iris et le gain sont automatiques.</translation>
    </message>
    <message>
        <source>&lt;a href=&apos;enslavement&apos;&gt;Enslavement&lt;/a&gt; is disabled.</source>
        <translation>L&apos;&lt;a href=&apos;enslavement&apos;&gt;asservissement&lt;/a&gt; est désactivé.</translation>
    </message>
    <message>
        <source>&lt;a href=&apos;autoExposure&apos;&gt;Auto exposure&lt;/a&gt; is enabled. Shutter, iris and gain are automatic.</source>
        <translation>L&apos;&lt;a href=&apos;autoExposure&apos;&gt;exposition automatique&lt;/a&gt; est activée. L&apos;obturateur, l&apos;iris et le gain sont automatiques.</translation>
    </message>
    <message>
        <source>&lt;a href=&apos;autoExposure&apos;&gt;Auto exposure&lt;/a&gt; is disabled.</source>
        <translation>L&apos;&lt;a href=&apos;autoExposure&apos;&gt;exposition automatique&lt;/a&gt; est désactivée.</translation>
    </message>
    <message>
        <source>(digital)</source>
        <translation>(numérique)</translation>
    </message>
    <message>
        <source>(optical)</source>
        <translation>(optique)</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Waiting for focus detection...</source>
        <translation>Détection de la mise au point en cours...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>WidgetConnect</name>
    <message>
        <source>WidgetConnect</source>
        <translation>WidgetConnect</translation>
    </message>
    <message>
        <source>Sensor Address : </source>
        <translation>Adresse du capteur : </translation>
    </message>
    <message>
        <source>Port :</source>
        <translation>Port :</translation>
    </message>
    <message>
        <source>Options :</source>
        <translation>Options :</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Secured connection</source>
        <translation>Connexion sécurisée</translation>
    </message>
    <message>
        <source>Certificate :</source>
        <translation>Certificat :</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Ignore SSL errors</source>
        <translation>Ignorer les erreurs SSL</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <source>Connect read only</source>
        <translation>Se connecter en lecture seule</translation>
    </message>
    <message>
        <source>Please enter an IP address to connect to</source>
        <translation>Veuillez saisir l&apos;adresse IP à laquelle se connecter</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Enter here the connect options you need. You can for example set specific ports for KGV sensors.
Example:
commandPort=11011;timePort=10000</source>
        <translation>Saisissez ici les options de connexion nécessaires. Vous pouvez par exemple indiquer des ports spécifiques pour les capteurs KGV.
Exemple :
commandPort=11011;timePort=10000</translation>
    </message>
</context>
<context>
    <name>WidgetGeneralSettings</name>
    <message>
        <source>%nProperty|%nValue</source>
        <translation>%nPropriété|%nValeur</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non défini</translation>
    </message>
</context>
<context>
    <name>WidgetImageBase</name>
    <message>
        <source>class %1 (%2)</source>
        <translation>classe %1 (%2)</translation>
    </message>
    <message>
        <source>Decision</source>
        <translation>Décision</translation>
    </message>
</context>
<context>
    <name>WidgetRecognitionPreview</name>
    <message>
        <source>WidgetRecognitionPreview</source>
        <translation>WidgetRecognitionPreview</translation>
    </message>
    <message>
        <source>14:32:55 : 123ABC (F) - 75% - 84x25</source>
        <translation>14:32:55 : 123ABC (F) - 75% - 84x25</translation>
    </message>
    <message>
        <source>50 km/h</source>
        <translation>50 km/h</translation>
    </message>
    <message>
        <source>Master/Slave</source>
        <translation>Maître/Esclave</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>(slave)</source>
        <translation>(esclave)</translation>
    </message>
    <message>
        <source>(master)</source>
        <translation>(maître)</translation>
    </message>
    <message>
        <source>Trigger off (ID=%1)</source>
        <translation>Déclenchement désactivé (ID=%1)</translation>
    </message>
    <message>
        <source>Trigger on, timeout=%2ms (ID=%1)</source>
        <translation>Déclenchement activé, délai=%2ms (ID=%1)</translation>
    </message>
    <message>
        <source>Trigger on (ID=%1)</source>
        <translation>Déclenchement activé (ID=%1)</translation>
    </message>
    <message>
        <source>IO state changed (%1)</source>
        <translation>Changement d&apos;état E/S (%1)</translation>
    </message>
    <message>
        <source>on</source>
        <translation>actif</translation>
    </message>
    <message>
        <source>off</source>
        <translation>inactif</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Detection without decision</source>
        <translation>Détection sans décision</translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation>Véhicule</translation>
    </message>
</context>
<context>
    <name>WidgetRecognitions</name>
    <message>
        <source>WidgetRecognitions</source>
        <translation>WidgetRecognitions</translation>
    </message>
    <message>
        <source>Show details</source>
        <translation>Afficher les détails</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Vider la liste</translation>
    </message>
    <message>
        <source>%nProperty|%nAverage Value|Acceptable Range</source>
        <translation>%nPropriété|%nValeur moyenne|Plage acceptable</translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation>Fiabilité</translation>
    </message>
    <message>
        <source>Plate width</source>
        <translation>Largeur de plaque</translation>
    </message>
    <message>
        <source>Plate angle</source>
        <translation>Angle de plaque</translation>
    </message>
    <message>
        <source>Plate occurence</source>
        <translation>Occurrence de plaque</translation>
    </message>
</context>
<context>
    <name>WidgetSettings</name>
    <message>
        <source>WidgetSettings</source>
        <translation>WidgetSettings</translation>
    </message>
</context>
<context>
    <name>WidgetTraces</name>
    <message>
        <source>WidgetTraces</source>
        <translation>WidgetTraces</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Toutes</translation>
    </message>
    <message>
        <source>BZK</source>
        <translation>BZK</translation>
    </message>
    <message>
        <source>PXR</source>
        <translation>PXR</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Capteur</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
</context>
<context>
    <name>WidgetVideoPlayer</name>
    <message>
        <source>Video options...</source>
        <translation>Options vidéo...</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Context image</source>
        <translation>Image de contexte</translation>
    </message>
    <message>
        <source>Record real time...</source>
        <translation>Enregistrer le temps réel...</translation>
    </message>
    <message>
        <source>Show real time</source>
        <translation>Afficher le temps réel</translation>
    </message>
    <message>
        <source>Record real time</source>
        <translation>Enregistrer le temps réel</translation>
    </message>
    <message>
        <source>Save video buffer</source>
        <translation>Enregistrer la mémoire vidéo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to get image</source>
        <translation>Impossible d&apos;obtenir l&apos;image</translation>
    </message>
    <message>
        <source>No answer received</source>
        <translation>Aucune réponse reçue</translation>
    </message>
</context>
</TS>
