<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="cs_CZ">
<context>
    <name>AboutDialog</name>
    <message>
        <source>O Aplikaci Quarnex II</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quarnex II - (2.00)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(C) 1999 Marbek team: program and pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marbek</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Hru nelze spustit, prikazovy radek je chybny:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ControlsDialog</name>
    <message>
        <source>Imperator (bila lod)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Povstalec (cervena lod)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rizeni</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mys: lod leti k ukazateli</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sipky, Home, End, Insert (stat)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>numericka klavesnice 1-4, 6-9, 0 (stat)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strela dopredu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>leve tlacitko mysi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mezernik</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strela dolu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>prave nebo prostredni tlacitko</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strela nahoru</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>leva packa miri</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>leva packa nebo krizovy ovladac</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RT nebo RB / A: dopredu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A: dopredu, Y: stat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LT / B: dolu, LB / X: nahoru</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B: dolu, X: nahoru</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ovladani</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje za povstalce, druhy za imperatora (zmena v dialogu Nova hra).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GameFrame</name>
    <message>
        <source>&amp;Hra</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Nova</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pauza</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zobrazit &amp;skore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ulozit zaznam...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rehrat zaznam...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Si&amp;tova hra...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ukon&amp;cit sitovou hru</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Napoveda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O&amp;vladani</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;O Aplikaci</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - pauza</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sitova hra</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GameTexts</name>
    <message>
        <source>End..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Je konec imperatora! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni zbytky privrzencu imperatora... </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jednotky povstalcu jsou porazeny! </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewGameDialog</name>
    <message>
        <source>Nova hra</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clovek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Za imperatora Morvathe I. hraje : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imperator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Za vudce povstalcu Keldorova  hraje : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Povstalec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prvni gamepad hraje za :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Povstalce</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imperatora</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplayController</name>
    <message>
        <source>Zaznamy hry (*.qxr);;Vsechny soubory (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ulozit zaznam</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prehrat zaznam</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - prehravani zaznamu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplayMessages</name>
    <message>
        <source>Soubor nelze otevrit ani precist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soubor je prilis velky na zaznam hry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soubor neni zaznam hry Quarnex.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam je v jine verzi, kterou tato hra neumi prehrat.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam je neuplny, soubor je zkraceny.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam je poskozeny (radek %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam obsahuje cislo mimo povoleny rozsah (radek %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam je delsi, nez hra dovoluje (radek %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam neodpovida prubehu hry (krok %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kontrolni soucet nesouhlasi: hra by skoncila jinak, nez byla zaznamenana.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam nelze prehrat.

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaznam nelze ulozit do souboru
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
