<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>ZyLumatrekTr</name>
    <message>
        <source>Front</source>
        <translation>Avant</translation>
    </message>
    <message>
        <source>Rear</source>
        <translation>Arrière</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Les deux</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>Simple</source>
        <translation>Simple</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Free flow</source>
        <translation>Flux libre</translation>
    </message>
    <message>
        <source>Embedded</source>
        <translation>Embarqué</translation>
    </message>
    <message>
        <source>Access control</source>
        <translation>Contrôle d&apos;accès</translation>
    </message>
    <message>
        <source>Urban free flow</source>
        <translation>Flux libre urbain</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manuel</translation>
    </message>
    <message>
        <source>Auto (infrared light)</source>
        <translation>Auto (lumière infrarouge)</translation>
    </message>
    <message>
        <source>Auto (white light)</source>
        <translation>Auto (lumière blanche)</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Gantry</source>
        <translation>Portique</translation>
    </message>
    <message>
        <source>Lateral</source>
        <translation>Latéral</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Lent</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rapide</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>In phase</source>
        <translation>En phase</translation>
    </message>
    <message>
        <source>Out of phase</source>
        <translation>Déphasé</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Pleine</translation>
    </message>
    <message>
        <source>No image</source>
        <translation>Pas d&apos;image</translation>
    </message>
    <message>
        <source>CIF (352x288)</source>
        <translation>CIF (352x288)</translation>
    </message>
    <message>
        <source>Smallest</source>
        <translation>La plus petite</translation>
    </message>
    <message>
        <source>ANPR sensor</source>
        <translation>Capteur LAPI</translation>
    </message>
    <message>
        <source>Context sensor</source>
        <translation>Capteur de contexte</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personnalisé</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Marche</translation>
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
        <source>Canada</source>
        <translation>Canada</translation>
    </message>
    <message>
        <source>USA</source>
        <translation>États-Unis</translation>
    </message>
    <message>
        <source>French Army</source>
        <translation>Armée française</translation>
    </message>
    <message>
        <source>France garage</source>
        <translation>France garage</translation>
    </message>
    <message>
        <source>France temporary plate</source>
        <translation>France plaque temporaire</translation>
    </message>
    <message>
        <source>Germany temporary plate</source>
        <translation>Allemagne plaque temporaire</translation>
    </message>
    <message>
        <source>French agricole</source>
        <translation>France agricole</translation>
    </message>
    <message>
        <source>Monaco rear plates</source>
        <translation>Monaco plaques arrière</translation>
    </message>
    <message>
        <source>Europe</source>
        <translation>Europe</translation>
    </message>
    <message>
        <source>Asia</source>
        <translation>Asie</translation>
    </message>
    <message>
        <source>Africa</source>
        <translation>Afrique</translation>
    </message>
    <message>
        <source>North America</source>
        <translation>Amérique du Nord</translation>
    </message>
    <message>
        <source>Central America</source>
        <translation>Amérique centrale</translation>
    </message>
    <message>
        <source>South America</source>
        <translation>Amérique du Sud</translation>
    </message>
    <message>
        <source>Middle East</source>
        <translation>Moyen-Orient</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Autriche</translation>
    </message>
    <message>
        <source>Latvia</source>
        <translation>Lettonie</translation>
    </message>
    <message>
        <source>France</source>
        <translation>France</translation>
    </message>
    <message>
        <source>Corsica</source>
        <translation>Corse</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Allemagne</translation>
    </message>
    <message>
        <source>Algeria</source>
        <translation>Algérie</translation>
    </message>
    <message>
        <source>South Africa</source>
        <translation>Afrique du Sud</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlande</translation>
    </message>
    <message>
        <source>Hungary</source>
        <translation>Hongrie</translation>
    </message>
    <message>
        <source>Croatia</source>
        <translation>Croatie</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italie</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Espagne</translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translation>Suisse</translation>
    </message>
    <message>
        <source>Poland</source>
        <translation>Pologne</translation>
    </message>
    <message>
        <source>United Kingdom</source>
        <translation>Royaume-Uni</translation>
    </message>
    <message>
        <source>Denmark</source>
        <translation>Danemark</translation>
    </message>
    <message>
        <source>Slovakia</source>
        <translation>Slovaquie</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Mexico</source>
        <translation>Mexique</translation>
    </message>
    <message>
        <source>Belgium</source>
        <translation>Belgique</translation>
    </message>
    <message>
        <source>Norway</source>
        <translation>Norvège</translation>
    </message>
    <message>
        <source>Netherlands</source>
        <translation>Pays-Bas</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxembourg</translation>
    </message>
    <message>
        <source>Monaco</source>
        <translation>Monaco</translation>
    </message>
    <message>
        <source>Brazil</source>
        <translation>Brésil</translation>
    </message>
    <message>
        <source>Czech Republic</source>
        <translation>République tchèque</translation>
    </message>
    <message>
        <source>Malaysia</source>
        <translation>Malaisie</translation>
    </message>
    <message>
        <source>Romania</source>
        <translation>Roumanie</translation>
    </message>
    <message>
        <source>Sweden</source>
        <translation>Suède</translation>
    </message>
    <message>
        <source>Bulgaria</source>
        <translation>Bulgarie</translation>
    </message>
    <message>
        <source>Slovenia</source>
        <translation>Slovénie</translation>
    </message>
    <message>
        <source>Russia</source>
        <translation>Russie</translation>
    </message>
    <message>
        <source>Belorussia</source>
        <translation>Biélorussie</translation>
    </message>
    <message>
        <source>Chile</source>
        <translation>Chili</translation>
    </message>
    <message>
        <source>Israel</source>
        <translation>Israël</translation>
    </message>
    <message>
        <source>Albania</source>
        <translation>Albanie</translation>
    </message>
    <message>
        <source>Turkey</source>
        <translation>Turquie</translation>
    </message>
    <message>
        <source>Lithuania</source>
        <translation>Lituanie</translation>
    </message>
    <message>
        <source>Bosnia Herzegovina</source>
        <translation>Bosnie-Herzégovine</translation>
    </message>
    <message>
        <source>Ukraine</source>
        <translation>Ukraine</translation>
    </message>
    <message>
        <source>Colombia</source>
        <translation>Colombie</translation>
    </message>
    <message>
        <source>Kazakhstan</source>
        <translation>Kazakhstan</translation>
    </message>
    <message>
        <source>Puerto Rico</source>
        <translation>Porto Rico</translation>
    </message>
    <message>
        <source>Qatar</source>
        <translation>Qatar</translation>
    </message>
    <message>
        <source>Argentina</source>
        <translation>Argentine</translation>
    </message>
    <message>
        <source>Uruguay</source>
        <translation>Uruguay</translation>
    </message>
    <message>
        <source>United Arab Emirates</source>
        <translation>Émirats arabes unis</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finlande</translation>
    </message>
    <message>
        <source>Morocco</source>
        <translation>Maroc</translation>
    </message>
    <message>
        <source>Saudi Arabia</source>
        <translation>Arabie saoudite</translation>
    </message>
    <message>
        <source>New Caledonia</source>
        <translation>Nouvelle-Calédonie</translation>
    </message>
    <message>
        <source>Australia</source>
        <translation>Australie</translation>
    </message>
    <message>
        <source>Andorra</source>
        <translation>Andorre</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Grèce</translation>
    </message>
    <message>
        <source>Holy See</source>
        <translation>Saint-Siège</translation>
    </message>
    <message>
        <source>Iceland</source>
        <translation>Islande</translation>
    </message>
    <message>
        <source>India</source>
        <translation>Inde</translation>
    </message>
    <message>
        <source>Japan</source>
        <translation>Japon</translation>
    </message>
    <message>
        <source>China</source>
        <translation>Chine</translation>
    </message>
    <message>
        <source>Cyprus</source>
        <translation>Chypre</translation>
    </message>
    <message>
        <source>Malta</source>
        <translation>Malte</translation>
    </message>
    <message>
        <source>Estonia</source>
        <translation>Estonie</translation>
    </message>
    <message>
        <source>Montenegro</source>
        <translation>Monténégro</translation>
    </message>
    <message>
        <source>Tunisia</source>
        <translation>Tunisie</translation>
    </message>
    <message>
        <source>San Marino</source>
        <translation>Saint-Marin</translation>
    </message>
    <message>
        <source>Serbia</source>
        <translation>Serbie</translation>
    </message>
    <message>
        <source>Liechtenstein</source>
        <translation>Liechtenstein</translation>
    </message>
    <message>
        <source>Canada - British Columbia</source>
        <translation>Canada - Colombie-Britannique</translation>
    </message>
    <message>
        <source>Canada - New Brunswick</source>
        <translation>Canada - Nouveau-Brunswick</translation>
    </message>
    <message>
        <source>Canada - Newfoundland and Labrador</source>
        <translation>Canada - Terre-Neuve-et-Labrador</translation>
    </message>
    <message>
        <source>Canada - Nova Scotia</source>
        <translation>Canada - Nouvelle-Écosse</translation>
    </message>
    <message>
        <source>Canada - Ontario</source>
        <translation>Canada - Ontario</translation>
    </message>
    <message>
        <source>Canada - Prince Edward Island</source>
        <translation>Canada - Île-du-Prince-Édouard</translation>
    </message>
    <message>
        <source>Canada - Québec</source>
        <translation>Canada - Québec</translation>
    </message>
    <message>
        <source>Canada - Northwest Territories</source>
        <translation>Canada - Territoires du Nord-Ouest</translation>
    </message>
</context>
</TS>
