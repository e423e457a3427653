<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="cs_CZ">
<context>
    <name>AboutDialog</name>
    <message>
        <source>O Aplikaci Quarnex II</source>
        <translation>About Quarnex II</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quarnex II - (2.00)</source>
        <translation>Quarnex II - (2.00)</translation>
    </message>
    <message>
        <source>(C) 1999 tym Marbek: program a obrazky</source>
        <translation>(C) 1999 Marbek team: program and pictures</translation>
    </message>
    <message>
        <source>Marbek</source>
        <translation>Marbek</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Hru nelze spustit, prikazovy radek je chybny:
%1</source>
        <translation>The game cannot start, the command line is wrong:
%1</translation>
    </message>
    <message>
        <source>neznama volba &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>necekany argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Vice o volbach rekne &apos;quarnex --help&apos;.</source>
        <translation>Try &apos;quarnex --help&apos; for more information.</translation>
    </message>
</context>
<context>
    <name>ControlsDialog</name>
    <message>
        <source>Imperator (bila lod)</source>
        <translation>Emperor (white ship)</translation>
    </message>
    <message>
        <source>Povstalec (cervena lod)</source>
        <translation>Rebel (red ship)</translation>
    </message>
    <message>
        <source>Rizeni</source>
        <translation>Steering</translation>
    </message>
    <message>
        <source>mys: lod leti k ukazateli</source>
        <translation>mouse: the ship flies toward the pointer</translation>
    </message>
    <message>
        <source>Strela dopredu</source>
        <translation>Forward shot</translation>
    </message>
    <message>
        <source>leve tlacitko mysi</source>
        <translation>left mouse button</translation>
    </message>
    <message>
        <source>Strela dolu</source>
        <translation>Downward shot</translation>
    </message>
    <message>
        <source>prave nebo prostredni tlacitko</source>
        <translation>right or middle button</translation>
    </message>
    <message>
        <source>Strela nahoru</source>
        <translation>Upward shot</translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>Ovladani</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>S vychozimi klavesami ridi povstalce i numericka klavesnice 1-4, 6-9, 0 (stat). Gamepad povstalce ridi leva packa nebo krizovy ovladac; gamepad imperatora miri levou packou, RT nebo RB / A: dopredu, LT / B: dolu.
Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje za povstalce, druhy za imperatora (zmena v dialogu Nova hra).</source>
        <translation>With the default keys the numeric keypad steers the Rebel too: 1-4, 6-9, 0 (stop). The Rebel&apos;s gamepad steers with the left stick or the d-pad; the Emperor&apos;s gamepad aims with the left stick, RT or RB / A: forward, LT / B: down.
Pause: the Pause key or P, Start on a gamepad. The first gamepad plays the Rebel, the second the Emperor (change it in the New game dialog).</translation>
    </message>
    <message>
        <source>&amp;Vychozi</source>
        <translation>&amp;Defaults</translation>
    </message>
    <message>
        <source>Klavesu nebo tlacitko gamepadu zmenite kliknutim na ne a stiskem nove.</source>
        <translation>To change a key or gamepad button, click it and press the new one.</translation>
    </message>
    <message>
        <source>Klavesa</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Stisknete tlacitko gamepadu pro akci &quot;%1&quot; (Esc: zpet).</source>
        <translation>Press a gamepad button for &quot;%1&quot; (Esc: back).</translation>
    </message>
    <message>
        <source>Stisknete klavesu pro akci &quot;%1&quot; (Esc: zpet).</source>
        <translation>Press a key for &quot;%1&quot; (Esc: back).</translation>
    </message>
    <message>
        <source>Vychozi klavesy a tlacitka jsou zpet.</source>
        <translation>The default keys and buttons are back.</translation>
    </message>
</context>
<context>
    <name>GameTexts</name>
    <message>
        <source>End..</source>
        <translation>End..</translation>
    </message>
    <message>
        <source>Je konec imperatora! </source>
        <translation>The Emperor is finished! </translation>
    </message>
    <message>
        <source> Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni zbytky privrzencu imperatora... </source>
        <translation> Keldor, leader of the rebels, takes the head of a new government and destroys the last of the Emperor&apos;s followers... </translation>
    </message>
    <message>
        <source>Jednotky povstalcu jsou porazeny! </source>
        <translation>The rebel forces are defeated! </translation>
    </message>
    <message>
        <source> Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ...</source>
        <translation> The reign of Emperor Morvathe I goes on, and his revenge is harsh ...</translation>
    </message>
</context>
<context>
    <name>KeyBindings</name>
    <message>
        <source>Nahoru</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Dolu</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Vlevo</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Vpravo</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Vlevo nahoru</source>
        <translation>Up left</translation>
    </message>
    <message>
        <source>Vpravo nahoru</source>
        <translation>Up right</translation>
    </message>
    <message>
        <source>Vlevo dolu</source>
        <translation>Down left</translation>
    </message>
    <message>
        <source>Vpravo dolu</source>
        <translation>Down right</translation>
    </message>
    <message>
        <source>Stat</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Strela dopredu</source>
        <translation>Forward shot</translation>
    </message>
    <message>
        <source>Strela dolu</source>
        <translation>Downward shot</translation>
    </message>
    <message>
        <source>Strela nahoru</source>
        <translation>Upward shot</translation>
    </message>
    <message>
        <source>Klavesu %1 nelze pouzit.</source>
        <translation>The key %1 cannot be used.</translation>
    </message>
    <message>
        <source>Klavesa %1 uz patri akci &quot;%2&quot;.</source>
        <translation>The key %1 already belongs to &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Tuto akci ovlada packa a krizovy ovladac.</source>
        <translation>The stick and the d-pad steer this.</translation>
    </message>
    <message>
        <source>Tlacitko %1 uz ma jinou ulohu.</source>
        <translation>The button %1 already does something else.</translation>
    </message>
    <message>
        <source>Tlacitko %1 uz patri akci &quot;%2&quot;.</source>
        <translation>The button %1 already belongs to &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 (imperator)</source>
        <translation>%1 (Emperor)</translation>
    </message>
    <message>
        <source>mezernik</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>sipka nahoru</source>
        <translation>Up arrow</translation>
    </message>
    <message>
        <source>sipka dolu</source>
        <translation>Down arrow</translation>
    </message>
    <message>
        <source>sipka vlevo</source>
        <translation>Left arrow</translation>
    </message>
    <message>
        <source>sipka vpravo</source>
        <translation>Right arrow</translation>
    </message>
    <message>
        <source>num. %1</source>
        <translation>keypad %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Hra</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Nova</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Pauza</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>Zobrazit &amp;skore</source>
        <translation>Show &amp;score</translation>
    </message>
    <message>
        <source>&amp;Ulozit zaznam...</source>
        <translation>Save &amp;replay...</translation>
    </message>
    <message>
        <source>P&amp;rehrat zaznam...</source>
        <translation>P&amp;lay replay...</translation>
    </message>
    <message>
        <source>Si&amp;tova hra...</source>
        <translation>Net&amp;work game...</translation>
    </message>
    <message>
        <source>Ukon&amp;cit sitovou hru</source>
        <translation>&amp;End network game</translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Napoveda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>O&amp;vladani</source>
        <translation>&amp;Controls</translation>
    </message>
    <message>
        <source>&amp;O Aplikaci</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source> - pauza</source>
        <translation> - paused</translation>
    </message>
    <message>
        <source>Hledam pocitac %1...</source>
        <translation>Looking up the computer %1...</translation>
    </message>
    <message>
        <source>Pocitac &apos;%1&apos; se nepodarilo najit.</source>
        <translation>The computer &apos;%1&apos; could not be found.</translation>
    </message>
    <message>
        <source> - prehravani zaznamu</source>
        <translation> - playing a replay</translation>
    </message>
</context>
<context>
    <name>NetGameDialog</name>
    <message>
        <source>Sitova hra</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>&amp;Zalozit hru na tomto pocitaci</source>
        <translation>&amp;Host a game on this computer</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Imperator (mys)</source>
        <translation>Emperor (mouse)</translation>
    </message>
    <message>
        <source>Povstalec (klavesnice)</source>
        <translation>Rebel (keyboard)</translation>
    </message>
    <message>
        <source>Tento pocitac &amp;hraje za:</source>
        <translation>&amp;Side of this computer:</translation>
    </message>
    <message>
        <source>P&amp;ripojit se ke hre</source>
        <translation>&amp;Join a game</translation>
    </message>
    <message>
        <source>jmeno nebo adresa pocitace</source>
        <translation>name or address of the computer</translation>
    </message>
    <message>
        <source>&amp;Adresa:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>Strany vybira ten, kdo hru zalozil.</source>
        <translation>The one who hosts the game chooses the sides.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Zrusit</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Podle adresy (mistni sit)</source>
        <translation>By address (local network)</translation>
    </message>
    <message>
        <source>Pres server (internet)</source>
        <translation>Through a server (internet)</translation>
    </message>
    <message>
        <source>&amp;Server:</source>
        <translation>Se&amp;rver:</translation>
    </message>
    <message>
        <source>Zalozit hru a pos&amp;lat souperi kod</source>
        <translation>&amp;Create a game and send the opponent its code</translation>
    </message>
    <message>
        <source>Hra&amp;ji za:</source>
        <translation>I pla&amp;y:</translation>
    </message>
    <message>
        <source>Pripojit se ke hre s &amp;kodem</source>
        <translation>Join a game by its co&amp;de</translation>
    </message>
    <message>
        <source>&amp;Divat se na hru s kodem</source>
        <translation>&amp;Watch a game by its code</translation>
    </message>
    <message>
        <source>Kod hr&amp;y:</source>
        <translation>Game cod&amp;e:</translation>
    </message>
    <message>
        <source>Rychla hra s kymkol&amp;i</source>
        <translation>&amp;Quick match with anyone</translation>
    </message>
    <message>
        <source>POCITAC[:PORT]</source>
        <translation>HOST[:PORT]</translation>
    </message>
    <message>
        <source>Port 29030, neni-li uveden.</source>
        <translation>Port 29030 when left out.</translation>
    </message>
    <message>
        <source>KOD nebo KOD@SERVER</source>
        <translation>CODE or CODE@SERVER</translation>
    </message>
    <message>
        <source>Kod hry ma 8 pismen a cislic.</source>
        <translation>A game code has 8 letters and digits.</translation>
    </message>
    <message>
        <source>Jmeno, ktere uvidi souper a divaci (1 az 20 znaku).</source>
        <translation>The name the opponent and spectators see (1 to 20 characters).</translation>
    </message>
    <message>
        <source>J&amp;meno:</source>
        <translation>&amp;Name:</translation>
    </message>
</context>
<context>
    <name>NetPlayController</name>
    <message>
        <source>imperatora</source>
        <translation>the Emperor</translation>
    </message>
    <message>
        <source>povstalce</source>
        <translation>the Rebel</translation>
    </message>
    <message>
        <source>Port %1 nelze otevrit (pouziva ho uz jiny program?).</source>
        <translation>Port %1 cannot be opened (is another program using it?).</translation>
    </message>
    <message>
        <source>Pocitac &apos;%1&apos; se nepodarilo najit.</source>
        <translation>The computer &apos;%1&apos; could not be found.</translation>
    </message>
    <message>
        <source>cekam na soupere (port %1)</source>
        <translation>waiting for the opponent (port %1)</translation>
    </message>
    <message>
        <source>pripojuji se k %1:%2</source>
        <translation>connecting to %1:%2</translation>
    </message>
    <message>
        <source> - cekam na soupere</source>
        <translation> - waiting for the opponent</translation>
    </message>
    <message>
        <source>Hry na obou pocitacich se rozesly v tiku %1.</source>
        <translation>The games on the two computers parted at tick %1.</translation>
    </message>
    <message>
        <source>
Zaznam hry je ulozen v souboru %1.</source>
        <translation>
The replay of the game is saved in the file %1.</translation>
    </message>
    <message>
        <source>Soupere se nepodarilo zastihnout.</source>
        <translation>The opponent could not be reached.</translation>
    </message>
    <message>
        <source>Souper neodpovida. Sitova hra skoncila.</source>
        <translation>The opponent does not answer. The network game is over.</translation>
    </message>
    <message>
        <source>Souper ukoncil sitovou hru.</source>
        <translation>The opponent has left the network game.</translation>
    </message>
    <message>
        <source>Sitova hra</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>Sitova hra jeste nezacala, neni co ulozit.</source>
        <translation>The network game has not started yet; there is nothing to save.</translation>
    </message>
    <message>
        <source>Ulozit zaznam</source>
        <translation>Save replay</translation>
    </message>
    <message>
        <source>Zaznamy hry (*.qxr)</source>
        <translation>Game replays (*.qxr)</translation>
    </message>
    <message>
        <source>Zaznam nelze ulozit do souboru %1.</source>
        <translation>The replay cannot be saved to the file %1.</translation>
    </message>
    <message>
        <source>sitova hra za %1</source>
        <translation>network game as %1</translation>
    </message>
    <message>
        <source>ping %1 ms, zpozdeni %2, navraty %3/s, ztraceno %4</source>
        <translation>ping %1 ms, delay %2, rollbacks %3/s, lost %4</translation>
    </message>
    <message>
        <source>K teto hre se nikdo nepripojil.</source>
        <translation>Nobody joined this game.</translation>
    </message>
    <message>
        <source>Na pocitaci %1 uz se hraje s jinym souperem.</source>
        <translation>The computer %1 is already playing with another opponent.</translation>
    </message>
    <message>
        <source>Souper ma jinou verzi hry.</source>
        <translation>The opponent has another version of the game.</translation>
    </message>
    <message>
        <source>Od soupere prichazeji jen nesmyslne zpravy. Sitova hra skoncila.</source>
        <translation>Only meaningless messages come from the opponent. The network game is over.</translation>
    </message>
    <message>
        <source>Souperuv pocitac odmitl zpravy tohoto pocitace. Sitova hra skoncila.</source>
        <translation>The opponent&apos;s computer refused this computer&apos;s messages. The network game is over.</translation>
    </message>
    <message>
        <source>Spojeni se serverem se preruslo. Sitova hra skoncila.</source>
        <translation>The connection to the server was lost. The network game is over.</translation>
    </message>
</context>
<context>
    <name>NetSetup</name>
    <message>
        <source>Chybny port pro --net-host: &apos;%1&apos; (port je cislo od 1 do 65535).</source>
        <translation>Wrong port for --net-host: &apos;%1&apos; (a port is a number from 1 to 65535).</translation>
    </message>
    <message>
        <source>Chybna adresa pro --net-join: &apos;%1&apos; (ocekava se POCITAC:PORT, port je cislo od 1 do 65535).</source>
        <translation>Wrong address for --net-join: &apos;%1&apos; (HOST:PORT expected, a port is a number from 1 to 65535).</translation>
    </message>
    <message>
        <source>Chybna adresa serveru pro --server: &apos;%1&apos; (ocekava se POCITAC:PORT, port je cislo od 1 do 65535).</source>
        <translation>Wrong server address for --server: &apos;%1&apos; (HOST:PORT expected, a port is a number from 1 to 65535).</translation>
    </message>
    <message>
        <source>Chybny kod hry pro %1: &apos;%2&apos; (kod ma 8 pismen a cislic).</source>
        <translation>Wrong game code for %1: &apos;%2&apos; (a code has 8 letters and digits).</translation>
    </message>
    <message>
        <source>Chybna strana pro --side: &apos;%1&apos; (emperor nebo rebel).</source>
        <translation>Wrong side for --side: &apos;%1&apos; (emperor or rebel).</translation>
    </message>
    <message>
        <source>Volba --server plati jen spolu s --create, --join, --quick nebo --watch.</source>
        <translation>Option --server only goes with --create, --join, --quick or --watch.</translation>
    </message>
    <message>
        <source>Hra pres server potrebuje adresu serveru: --server POCITAC:PORT.</source>
        <translation>A game through a server needs the server&apos;s address: --server HOST:PORT.</translation>
    </message>
    <message>
        <source>Volba --side plati jen spolu s --net-host, --net-join nebo --create.</source>
        <translation>Option --side only goes with --net-host, --net-join or --create.</translation>
    </message>
    <message>
        <source>Volba --side plati jen spolu s --create: strany vybira ten, kdo hru zalozil.</source>
        <translation>Option --side only goes with --create: whoever created the game chooses the sides.</translation>
    </message>
    <message>
        <source>Zadejte jen jedno z --net-host, --net-join, --create, --join, --quick a --watch.</source>
        <translation>Give only one of --net-host, --net-join, --create, --join, --quick and --watch.</translation>
    </message>
    <message>
        <source>Volba %1 potrebuje hodnotu.</source>
        <translation>Option %1 needs a value.</translation>
    </message>
</context>
<context>
    <name>NewGameDialog</name>
    <message>
        <source>Nova hra</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Clovek</source>
        <translation>Human</translation>
    </message>
    <message>
        <source>Za imperatora Morvathe I. hraje : </source>
        <translation>Emperor Morvath I is played by: </translation>
    </message>
    <message>
        <source>Imperator</source>
        <translation>Emperor</translation>
    </message>
    <message>
        <source>Za vudce povstalcu Keldorova  hraje : </source>
        <translation>Keldor, the rebels&apos; leader, is played by: </translation>
    </message>
    <message>
        <source>Povstalec</source>
        <translation>Rebel</translation>
    </message>
    <message>
        <source>vs.</source>
        <translation>vs.</translation>
    </message>
    <message>
        <source>Prvni gamepad hraje za :</source>
        <translation>The first gamepad plays:</translation>
    </message>
    <message>
        <source>Povstalce</source>
        <translation>The Rebel</translation>
    </message>
    <message>
        <source>Imperatora</source>
        <translation>The Emperor</translation>
    </message>
</context>
<context>
    <name>ReplayController</name>
    <message>
        <source>Zaznamy hry (*.qxr);;Vsechny soubory (*)</source>
        <translation>Game replays (*.qxr);;All files (*)</translation>
    </message>
    <message>
        <source>Ulozit zaznam</source>
        <translation>Save replay</translation>
    </message>
    <message>
        <source>Prehrat zaznam</source>
        <translation>Play replay</translation>
    </message>
</context>
<context>
    <name>ReplayMessages</name>
    <message>
        <source>Soubor nelze otevrit ani precist.</source>
        <translation>The file cannot be opened or read.</translation>
    </message>
    <message>
        <source>Soubor je prilis velky na zaznam hry.</source>
        <translation>The file is too large for a game replay.</translation>
    </message>
    <message>
        <source>Soubor neni zaznam hry Quarnex.</source>
        <translation>The file is not a Quarnex replay.</translation>
    </message>
    <message>
        <source>Zaznam je v jine verzi, kterou tato hra neumi prehrat.</source>
        <translation>The replay is of another version, which this game cannot play.</translation>
    </message>
    <message>
        <source>Zaznam je neuplny, soubor je zkraceny.</source>
        <translation>The replay is incomplete: the file is cut short.</translation>
    </message>
    <message>
        <source>Zaznam je poskozeny (radek %1).</source>
        <translation>The replay is damaged (line %1).</translation>
    </message>
    <message>
        <source>Zaznam obsahuje cislo mimo povoleny rozsah (radek %1).</source>
        <translation>The replay holds a number out of the allowed range (line %1).</translation>
    </message>
    <message>
        <source>Zaznam je delsi, nez hra dovoluje (radek %1).</source>
        <translation>The replay is longer than the game allows (line %1).</translation>
    </message>
    <message>
        <source>Zaznam neodpovida prubehu hry (krok %1).</source>
        <translation>The replay does not match the course of the game (tick %1).</translation>
    </message>
    <message>
        <source>Kontrolni soucet nesouhlasi: hra by skoncila jinak, nez byla zaznamenana.</source>
        <translation>The checksum does not match: the game would end otherwise than it was recorded.</translation>
    </message>
    <message>
        <source>Zaznam je poskozeny: hra se od nej odchyluje v kroku %1.</source>
        <translation>The replay is damaged: the game parts from it at tick %1.</translation>
    </message>
    <message>
        <source>Zaznam nelze prehrat.

</source>
        <translation>The replay cannot be played.

</translation>
    </message>
    <message>
        <source>Zaznam nelze ulozit do souboru
%1</source>
        <translation>The replay cannot be saved to the file
%1</translation>
    </message>
</context>
<context>
    <name>ServerPlay</name>
    <message>
        <source>Adresa serveru &apos;%1&apos; neni platna (ocekava se POCITAC:PORT).</source>
        <translation>The server address &apos;%1&apos; is not valid (HOST:PORT expected).</translation>
    </message>
    <message>
        <source>&apos;%1&apos; neni kod hry (kod ma 8 pismen a cislic).</source>
        <translation>&apos;%1&apos; is no game code (a code has 8 letters and digits).</translation>
    </message>
    <message>
        <source>Server &apos;%1&apos; se nepodarilo najit.</source>
        <translation>The server &apos;%1&apos; could not be found.</translation>
    </message>
    <message>
        <source>pripojuji se k serveru %1</source>
        <translation>connecting to the server %1</translation>
    </message>
    <message>
        <source>Pripojuji se k serveru %1...</source>
        <translation>Connecting to the server %1...</translation>
    </message>
    <message>
        <source>Server %1 se nepodarilo zastihnout.</source>
        <translation>The server %1 could not be reached.</translation>
    </message>
    <message>
        <source>Server %1 neodpovida.</source>
        <translation>The server %1 does not answer.</translation>
    </message>
    <message>
        <source>Server %1 ukoncil spojeni.</source>
        <translation>The server %1 closed the connection.</translation>
    </message>
    <message>
        <source>Hra s kodem %1 neexistuje. Zkontrolujte kod.</source>
        <translation>There is no game with the code %1. Please check the code.</translation>
    </message>
    <message>
        <source>Ve hre s kodem %1 uz hraji dva hraci.</source>
        <translation>Two players already play the game with the code %1.</translation>
    </message>
    <message>
        <source>Z tohoto pocitace prislo prilis mnoho pokusu. Zkuste to prosim pozdeji.</source>
        <translation>Too many attempts came from this computer. Please try again later.</translation>
    </message>
    <message>
        <source>Server je plny. Zkuste to prosim pozdeji.</source>
        <translation>The server is full. Please try again later.</translation>
    </message>
    <message>
        <source>Hra s kodem %1 je prilis dlouha, server ji nema celou.</source>
        <translation>The game with the code %1 is too long; the server does not keep all of it.</translation>
    </message>
    <message>
        <source>Server zadosti nerozumel (ma jinou verzi?).</source>
        <translation>The server did not understand the request (another version?).</translation>
    </message>
    <message>
        <source>Server jmeno odmitl: 1 az 20 znaku, bez neviditelnych.</source>
        <translation>The server refused the name: 1 to 20 characters, none invisible.</translation>
    </message>
    <message>
        <source>%1 (imperator) proti %2 (povstalec)</source>
        <translation>%1 (Emperor) vs %2 (Rebel)</translation>
    </message>
    <message>
        <source>bez jmena</source>
        <translation>no name</translation>
    </message>
    <message>
        <source>server se vypina, hra muze bezet jeste nejvyse %1 s</source>
        <translation>the server is shutting down, the game may go on for at most %1 s</translation>
    </message>
    <message>
        <source>pripojuji se ke hre %1</source>
        <translation>joining the game %1</translation>
    </message>
    <message>
        <source>cekam na soupere (kod %1)</source>
        <translation>waiting for the opponent (code %1)</translation>
    </message>
    <message>
        <source>Hra je zalozena. Cekam na soupere...</source>
        <translation>The game is created. Waiting for the opponent...</translation>
    </message>
    <message>
        <source>hledam soupere</source>
        <translation>looking for an opponent</translation>
    </message>
    <message>
        <source>Hledam soupere...</source>
        <translation>Looking for an opponent...</translation>
    </message>
    <message>
        <source>Pripojuji se ke hre %1...</source>
        <translation>Joining the game %1...</translation>
    </message>
    <message>
        <source>divam se na hru %1</source>
        <translation>watching the game %1</translation>
    </message>
    <message>
        <source>Sitova hra</source>
        <translation>Network game</translation>
    </message>
</context>
<context>
    <name>ServerWaitDialog</name>
    <message>
        <source>Sitova hra</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>Kod hry:</source>
        <translation>Game code:</translation>
    </message>
    <message>
        <source>&amp;Kopirovat kod</source>
        <translation>&amp;Copy code</translation>
    </message>
    <message>
        <source>Zrusit</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Poslete kod souperi; zada ho v nabidce Hra &gt; Sitova hra.</source>
        <translation>Send the code to your opponent, who enters it under Game &gt; Network game.</translation>
    </message>
    <message>
        <source>Kod je ve schrance.</source>
        <translation>The code is on the clipboard.</translation>
    </message>
</context>
<context>
    <name>ServerWatch</name>
    <message>
        <source>Ze serveru prichazeji nesmyslne zpravy. Sledovani hry skoncilo.</source>
        <translation>The server sends messages that make no sense. Watching the game has ended.</translation>
    </message>
    <message>
        <source>Hra skoncila, prenos ze serveru je u konce.</source>
        <translation>The game is over; the server&apos;s broadcast has ended.</translation>
    </message>
    <message>
        <source>Spojeni se serverem se preruslo. Sledovani hry skoncilo.</source>
        <translation>The connection to the server was lost. Watching the game has ended.</translation>
    </message>
</context>
</TS>
