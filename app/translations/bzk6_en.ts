<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>DialogCertificate</name>
    <message>
        <source>Certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a client certificate to authenticate to the sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL Certificate  file (PEM) :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL Private Key file (PEM) :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Note : if you set here a pair Certificate/private key, it will be used for connection to the sensor.&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;If no client certificate is specified, none is sent to the sensor (no system certificate store is searched).&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Private key</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogChangePassword</name>
    <message>
        <source>Change Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Password : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Password : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Password (confirm) : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must enter the same password twice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new password could not be stored: the machine-wide settings cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogCheckPassword</name>
    <message>
        <source>BZK - Enter Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogOptions</name>
    <message>
        <source>BZK - Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in video buffer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable hardware rendering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You need to relaunch the application for the changes to take effect</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SchemaDoc</name>
    <message>
        <source>Possible values:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Possible values:&lt;/b&gt; &lt;li&gt;%1 to %2&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> in </source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
