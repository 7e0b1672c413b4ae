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
    <name>DialogWait</name>
    <message>
        <source>BZK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore SSL errors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to sensor %1:%2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending request, please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Unable to get Certificate revocation list (CRL)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certificate is not yet valid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certificate has expired</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   One certification in the certification chain is auto signed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certification chain is too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certificate has been revoked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Invalid Certificate Authority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certificate was not issued for this address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
   Certificate could not be verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to connect : SSL errors</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DlgGetImage</name>
    <message>
        <source>GetImage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ago</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DlgMsg</name>
    <message>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DlgMsgs</name>
    <message>
        <source>Messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must select a message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PXRMsg (*.pxrmsg)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error : no answer from equipment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : action failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning : some parts of the message have failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Root element &quot;%1&quot;, status &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Root element &quot;%1&quot;, no status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> in </source>
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
