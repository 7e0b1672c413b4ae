<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CameraTreeFill</name>
    <message>
        <source>Error</source>
        <translation type="unfinished">Erreur</translation>
    </message>
    <message>
        <source>Zoom Plate Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min Reliability</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min Reliability for characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min char width for static decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min plate width for static decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min recognitions for static decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min recognitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max no plate before decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronize cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Codec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 frames/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 kb/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Still picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate cropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area of interest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished">Type</translation>
    </message>
    <message>
        <source>Exclusive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inclusive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Context</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 lines plates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trailer plates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multiple plates reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Counting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vehicle detection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detects focus automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recognition storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reemit decisions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reliability threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout after EndPlate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activate on IO In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IO in pulse mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout for IO triggers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OCR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Plate Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min Plate Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AVAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Secondary sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>secured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not secured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field of view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installation height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installation angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installation context</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field of view width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field of view height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DGPR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty plates detection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty plates detection ratio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export on RS232</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Plate height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max Plate width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min Plate height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min Plate width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Classification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loaded - &lt;a href=&apos;%1&apos;&gt;Save&lt;/a&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NOT loaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NOT initialized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enslavement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max time without decision before reinit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time to wait before election</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate hysteresis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max gain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto exposure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reaction speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find &apos;cameras&apos; element</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find &apos;camera&apos; element with ID=%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find &apos;classification/data&apos; element</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Classification configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Classification configuration (*.classConfig)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLineSensor</name>
    <message>
        <source>The address %1 is not supported: give an IPv4 address or a host name, optionally followed by a colon and a port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port of %1 is not valid: give a number from 1 to 65535.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConfigTreeFill</name>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished">Date</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time gap with this machine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installation height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance to detection loop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance to barrier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate encryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>802.1X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ping test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval (minutes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DNS servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No DNS server defined, the sensor won&apos;t be able to access to named servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NTP servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No NTP server defined, the sensor&apos;s clock won&apos;t be on time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multicast DNS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wifi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RTSP streaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listening port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FYB port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FYB secured port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KGV Command port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KGV Streaming port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KGV Time port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTTPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First 802.1Q VLAN interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second 802.1Q VLAN interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VLAN Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Routes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set by the DHCP configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server #%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unicast discover clients</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HttpPush</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate</source>
        <translation type="unfinished">Certificat</translation>
    </message>
    <message>
        <source>Not provided</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specific protocols</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Username</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nedap GenericBadge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum retry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moobyl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;B Free flow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AmanoOne</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send only triggerResult</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lane ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only triggerResults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opens for all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match tolerance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default impulse mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default impulse duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum input impulse duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slaves</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR slave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR slave position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR slave covering zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Context slave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Services</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RVD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Brondmere RVD server</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Covering Zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Slave Video</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display plate rectangle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recogniton image (click to view full size image)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Context image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare signature with...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%iDate|%nTime|%nType|Decision|Context|Reliability|Direction|Plate Size|Plate Angle|Plate Occurrence|Background colour|%nPXRMsg|%nSave image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR Decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DGPR Decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Classification Decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signature Decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Context</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>class %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save signature...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interdistance : %1 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interdistance : %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished">Enregistrer...</translation>
    </message>
    <message>
        <source>Save a PXRMsg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PXRMsg (*.pxrmsg)</source>
        <translation type="unfinished">PXRMsg (*.pxrmsg)</translation>
    </message>
    <message>
        <source>There is no image in this decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save an image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpeg image (*.jpg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no context image in this decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no signature data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save a signature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signature (*.sign)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished">Erreur</translation>
    </message>
    <message>
        <source>Unable to open file for writing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogSaveVideoBuffer</name>
    <message>
        <source>Save video buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to file :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished">...</translation>
    </message>
    <message>
        <source>Save video around current position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"> s</translation>
    </message>
    <message>
        <source>before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save all video buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished">Erreur</translation>
    </message>
    <message>
        <source>Unable to save video buffer while in real time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record a video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brondmere Rec Files (*.rec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to save file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogStats</name>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config modifications forbidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished">Type</translation>
    </message>
    <message>
        <source>Product version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supports POE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IMEI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (CPU: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total reboots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected reboots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Versions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carrier board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LEDs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ANPR Engine version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wifi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Working</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RVD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performance validation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supports IR Cut filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supports Flip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Algorithms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not initialized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lightings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crypted plates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plates encryption key hint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>802.1X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication method</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None (disabled)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate common name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate organization name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate validity : from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate validity : to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dd/MM/yyyy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Technical counters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Msg drops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average video packet size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min video packet size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max video packet size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max video frame duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min video frame duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average video frame duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay for New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay for Decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay for End</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LightingTreeFill</name>
    <message>
        <source>Lighting sources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shutter synchronization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronize with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bracketing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eco mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power high value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power low value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse delay high value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse delay low value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Model</name>
    <message>
        <source>Internal LED board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>External projector</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown light source</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModelStatistics</name>
    <message>
        <source>%1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OBK</name>
    <message>
        <source>Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sensor must be locked to change its configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - Secured connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - Unsecured connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor LOCKED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot connect to sensor %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow configuration changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forbid configuration changes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OBKClass</name>
    <message>
        <source>BZK</source>
        <translation type="unfinished">BZK</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video</source>
        <translation type="unfinished">Vidéo</translation>
    </message>
    <message>
        <source>?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Traces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Password...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Configuration to File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore Configuration from File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Traces Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Recording...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save video buffer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save read-only informations to file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save XSD to file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save XSD documentation to file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save sensor traces history...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send synchronous message...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send asynchronous message...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset counters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test NTP...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get history...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get current log...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger on...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger off...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open barrier...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change plate encryption private key...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger on (advanced)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger timeout...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install application...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recalibrate optics...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update firmware from URL...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forbid configuration changes</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetCameraSettings</name>
    <message>
        <source>Vertically flip image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Mode : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black and white</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus cannot be modified when IRCut is automatic.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus cannot be modified when the ANPR algorithm automatically detects it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detect focus...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning : autofocus is activated. Click &lt;a href=&quot;bla&quot;&gt;here&lt;/a&gt; to desactivate autofocus.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>color: rgb(255, 0, 0);</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Luminosity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enhance contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exp Comp : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shutter : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris+Gain : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharpness :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ISO :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exposure :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White balance :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Metering :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(IRCut is on)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(IRCut is off)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(IRCut is automatic)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(IRCut is unknown)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&quot;enslavement&quot;&gt;Enslavement&lt;/a&gt; is controlling the color mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&quot;autoExposure&quot;&gt;Auto exposure&lt;/a&gt; is controlling the color mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&apos;enslavement&apos;&gt;Enslavement&lt;/a&gt; is enabled. Shutter, iris and gain are automatic.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&apos;enslavement&apos;&gt;Enslavement&lt;/a&gt; is disabled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&apos;autoExposure&apos;&gt;Auto exposure&lt;/a&gt; is enabled. Shutter, iris and gain are automatic.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&apos;autoExposure&apos;&gt;Auto exposure&lt;/a&gt; is disabled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(digital)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(optical)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for focus detection...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetConnect</name>
    <message>
        <source>WidgetConnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Address : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Secured connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished">...</translation>
    </message>
    <message>
        <source>Ignore SSL errors</source>
        <translation type="unfinished">Ignorer les erreurs SSL</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect read only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an IP address to connect to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter here the connect options you need. You can for example set specific ports for KGV sensors.
Example:
commandPort=11011;timePort=10000</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetGeneralSettings</name>
    <message>
        <source>%nProperty|%nValue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not set</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetImageBase</name>
    <message>
        <source>class %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decision</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetRecognitionPreview</name>
    <message>
        <source>WidgetRecognitionPreview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>14:32:55 : 123ABC (F) - 75% - 84x25</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>50 km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master/Slave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(slave)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(master)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger off (ID=%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger on, timeout=%2ms (ID=%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trigger on (ID=%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IO state changed (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detection without decision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetRecognitions</name>
    <message>
        <source>WidgetRecognitions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%nProperty|%nAverage Value|Acceptable Range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate angle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate occurence</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetSettings</name>
    <message>
        <source>WidgetSettings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetTraces</name>
    <message>
        <source>WidgetTraces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BZK</source>
        <translation type="unfinished">BZK</translation>
    </message>
    <message>
        <source>PXR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WidgetVideoPlayer</name>
    <message>
        <source>Video options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Context image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record real time...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show real time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record real time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save video buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished">Erreur</translation>
    </message>
    <message>
        <source>Unable to get image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No answer received</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
