<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="cs_CZ">
<context>
    <name>PageMenu</name>
    <message>
        <source>&amp;Hra</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Nova</source>
        <translation>&amp;New</translation>
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
        <source>&amp;Pauza</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>Zobrazit &amp;skore</source>
        <translation>Show &amp;score</translation>
    </message>
    <message>
        <source>&amp;Dotykove ovladani povstalce</source>
        <translation>&amp;Touch controls for the Rebel</translation>
    </message>
    <message>
        <source>&amp;Jazyk / Language</source>
        <translation>&amp;Jazyk / Language</translation>
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
        <source>Hra</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>Napoveda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Otocte telefon na sirku, scena bude vetsi.</source>
        <translation>Turn the phone sideways for a bigger scene.</translation>
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
    <name>PageDialogs</name>
    <message>
        <source>Nova hra</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>Imperator</source>
        <translation>Emperor</translation>
    </message>
    <message>
        <source>Povstalec</source>
        <translation>Rebel</translation>
    </message>
    <message>
        <source>Clovek</source>
        <translation>Human</translation>
    </message>
    <message>
        <source>Imperator: clovek</source>
        <translation>Emperor: human</translation>
    </message>
    <message>
        <source>Povstalec: clovek</source>
        <translation>Rebel: human</translation>
    </message>
    <message>
        <source>Za imperatora Morvathe I. hraje : </source>
        <translation>Emperor Morvath I is played by: </translation>
    </message>
    <message>
        <source>Za vudce povstalcu Keldorova  hraje : </source>
        <translation>Keldor, the rebels' leader, is played by: </translation>
    </message>
    <message>
        <source>O Aplikaci Quarnex II</source>
        <translation>About Quarnex II</translation>
    </message>
    <message>
        <source>Jazyk stranky:</source>
        <translation>Language of the page:</translation>
    </message>
    <message>
        <source>Hru se nepodarilo spustit</source>
        <translation>The game could not start</translation>
    </message>
    <message>
        <source>Nastaveni</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Nastaveni nelze v tomto prohlizeci ulozit: uloziste stranky je plne nebo zakazane. Hra bezi dal, ale pri pristi navsteve bude mit vychozi nastaveni (hrace, skore, klavesy, jazyk).</source>
        <translation>Settings cannot be kept in this browser: the page's storage is full or blocked. The game goes on, but your next visit starts with the default settings (players, score, keys, language).</translation>
    </message>
    <message>
        <source>Program hry (quarnex.wasm) chybi, nepodarilo se ho nacist nebo spustit. Sestavte stranku znovu (make web) a nactete ji znovu.</source>
        <translation>The game's program (quarnex.wasm) is missing, or it could not be loaded or started. Build the page again (make web) and reload it.</translation>
    </message>
</context>
<context>
    <name>PageControls</name>
    <message>
        <source>Ovladani</source>
        <translation>Controls</translation>
    </message>
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
        <source>sipky, Home, End, Insert (stat)</source>
        <translation>arrows, Home, End, Insert (stop)</translation>
    </message>
    <message>
        <source>numericka klavesnice 1-4, 6-9, 0 (stat)</source>
        <translation>numeric keypad 1-4, 6-9, 0 (stop)</translation>
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
        <source>mezernik</source>
        <translation>Space</translation>
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
        <source>Strela nahoru (imperator)</source>
        <translation>Upward shot (Emperor)</translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>leva packa miri</source>
        <translation>left stick aims</translation>
    </message>
    <message>
        <source>leva packa nebo krizovy ovladac</source>
        <translation>left stick or d-pad</translation>
    </message>
    <message>
        <source>RT nebo RB / A: dopredu</source>
        <translation>RT or RB / A: forward</translation>
    </message>
    <message>
        <source>A: dopredu, Y: stat</source>
        <translation>A: forward, Y: stop</translation>
    </message>
    <message>
        <source>LT / B: dolu, LB / X: nahoru</source>
        <translation>LT / B: down, LB / X: up</translation>
    </message>
    <message>
        <source>B: dolu, X: nahoru</source>
        <translation>B: down, X: up</translation>
    </message>
    <message>
        <source>Dotyk</source>
        <translation>Touch</translation>
    </message>
    <message>
        <source>prst: lod leti k prstu, klepnuti: dopredu</source>
        <translation>finger: the ship flies to it, tap: forward</translation>
    </message>
    <message>
        <source>tlacitka na obrazovce (Hra &gt; Dotykove ovladani povstalce)</source>
        <translation>buttons on the screen (Game &gt; Touch controls for the Rebel)</translation>
    </message>
    <message>
        <source>Pauza: klavesa Pause nebo P, na gamepadu Start. Prvni gamepad hraje za povstalce, druhy za imperatora.</source>
        <translation>Pause: the Pause or P key, Start on a gamepad. The first gamepad plays the Rebel, the second the Emperor.</translation>
    </message>
    <message>
        <source>Vlastni klavesy</source>
        <translation>Your own keys</translation>
    </message>
    <message>
        <source>Klepnete na akci a stisknete klavesu (Esc: zpet).</source>
        <translation>Click an action and press a key (Esc: back).</translation>
    </message>
    <message>
        <source>Vychozi</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>vlastni klavesy (nize)</source>
        <translation>your own keys (below)</translation>
    </message>
    <message>
        <source>stisknete klavesu...</source>
        <translation>press a key...</translation>
    </message>
    <message>
        <source>Klavesu {0} nelze priradit: patri strance.</source>
        <translation>The key {0} cannot be assigned: the page needs it.</translation>
    </message>
    <message>
        <source>Klavesa {0} uz slouzi pro: {1}.</source>
        <translation>The key {0} already serves: {1}.</translation>
    </message>
    <message>
        <source>Neznama akce.</source>
        <translation>Unknown action.</translation>
    </message>
    <message>
        <source>Vlevo nahoru</source>
        <translation>Up left</translation>
    </message>
    <message>
        <source>Nahoru</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Vpravo nahoru</source>
        <translation>Up right</translation>
    </message>
    <message>
        <source>Vlevo</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Stat</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Vpravo</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Vlevo dolu</source>
        <translation>Down left</translation>
    </message>
    <message>
        <source>Dolu</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Vpravo dolu</source>
        <translation>Down right</translation>
    </message>
    <message>
        <source>Smery povstalce</source>
        <translation>The Rebel's directions</translation>
    </message>
    <message>
        <source>Strely povstalce</source>
        <translation>The Rebel's shots</translation>
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
        <source>sipka nahoru, num 8</source>
        <translation>up arrow, num 8</translation>
    </message>
    <message>
        <source>sipka vlevo, num 4</source>
        <translation>left arrow, num 4</translation>
    </message>
    <message>
        <source>sipka vpravo, num 6</source>
        <translation>right arrow, num 6</translation>
    </message>
    <message>
        <source>sipka dolu, num 2</source>
        <translation>down arrow, num 2</translation>
    </message>
</context>
<context>
    <name>PagePause</name>
    <message>
        <source>pauza</source>
        <translation>paused</translation>
    </message>
    <message>
        <source>Pauza - pokracujte klavesou P nebo klepnutim sem</source>
        <translation>Paused - press P or tap here to go on</translation>
    </message>
    <message>
        <source>Hra stala, dokud karta nebyla videt. Pokracujte klavesou P nebo klepnutim sem.</source>
        <translation>The game stood still while its tab was hidden. Press P or tap here to go on.</translation>
    </message>
</context>
<context>
    <name>PageReplays</name>
    <message>
        <source>Prehrat zaznam</source>
        <translation>Play replay</translation>
    </message>
    <message>
        <source>Zaznam nelze prehrat.</source>
        <translation>The replay cannot be played.</translation>
    </message>
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
        <source>prehravani zaznamu</source>
        <translation>playing a replay</translation>
    </message>
    <message>
        <source>Behem sitove hry nelze prehrat zaznam.</source>
        <translation>A replay cannot be played during a network game.</translation>
    </message>
</context>
<context>
    <name>PageNet</name>
    <message>
        <source>Si&amp;tova hra...</source>
        <translation>Net&amp;work game...</translation>
    </message>
    <message>
        <source>Ukon&amp;cit sitovou hru</source>
        <translation>&amp;End network game</translation>
    </message>
    <message>
        <source>Sitova hra</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>Hra s kymkoli pres server: zalozte hru a poslete souperi kod nebo odkaz.</source>
        <translation>Play anyone through a server: create a game and send your opponent its code or link.</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Jmeno:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Zalozit hru</source>
        <translation>Create a game</translation>
    </message>
    <message>
        <source>Hraji za:</source>
        <translation>I play:</translation>
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
        <source>Pripojit se ke hre s kodem</source>
        <translation>Join the game with the code</translation>
    </message>
    <message>
        <source>Rychla hra s kymkoli</source>
        <translation>Quick match with anyone</translation>
    </message>
    <message>
        <source>Sledovat hru s kodem</source>
        <translation>Watch the game with the code</translation>
    </message>
    <message>
        <source>Kod:</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>Kod</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Zrusit</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Hra je zalozena. Poslete souperi kod nebo odkaz; hra zacne, jakmile se pripoji.</source>
        <translation>The game is created. Send your opponent the code or the link; the game starts as soon as they join.</translation>
    </message>
    <message>
        <source>Sitova hra jeste nezacala, neni co ulozit.</source>
        <translation>The network game has not started yet; there is nothing to save.</translation>
    </message>
    <message>
        <source>Zkopirovat odkaz</source>
        <translation>Copy the link</translation>
    </message>
    <message>
        <source>Zrusit hru</source>
        <translation>Cancel the game</translation>
    </message>
    <message>
        <source>Odkaz je zkopirovany.</source>
        <translation>The link is copied.</translation>
    </message>
    <message>
        <source>Odkaz se nepodarilo zkopirovat.</source>
        <translation>The link could not be copied.</translation>
    </message>
    <message>
        <source>"%1" neni adresa serveru (pocitac:port).</source>
        <translation>"%1" is no server address (host:port).</translation>
    </message>
    <message>
        <source>pripojuji se k serveru %1</source>
        <translation>connecting to the server %1</translation>
    </message>
    <message>
        <source>cekam na soupere, kod %1</source>
        <translation>waiting for the opponent, code %1</translation>
    </message>
    <message>
        <source>divam se na hru %1</source>
        <translation>watching the game %1</translation>
    </message>
    <message>
        <source>sitova hra za povstalce</source>
        <translation>network game as the Rebel</translation>
    </message>
    <message>
        <source>sitova hra za imperatora</source>
        <translation>network game as the Emperor</translation>
    </message>
    <message>
        <source>ping %1 ms, zpozdeni %2, navraty %3/s, ztraceno %4</source>
        <translation>ping %1 ms, delay %2, rollbacks %3/s, lost %4</translation>
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
        <source>Na pocitaci %1 uz se hraje s jinym souperem.</source>
        <translation>The computer %1 is already playing with another opponent.</translation>
    </message>
    <message>
        <source>Souper ma jinou verzi hry.</source>
        <translation>The opponent has another version of the game.</translation>
    </message>
    <message>
        <source>Souper neodpovida. Sitova hra skoncila.</source>
        <translation>The opponent does not answer. The network game is over.</translation>
    </message>
    <message>
        <source>Od soupere prichazeji jen nesmyslne zpravy. Sitova hra skoncila.</source>
        <translation>Only meaningless messages come from the opponent. The network game is over.</translation>
    </message>
    <message>
        <source>Souperuv pocitac odmitl zpravy tohoto pocitace. Sitova hra skoncila.</source>
        <translation>The opponent's computer refused this computer's messages. The network game is over.</translation>
    </message>
    <message>
        <source>Souper ukoncil sitovou hru.</source>
        <translation>The opponent has left the network game.</translation>
    </message>
    <message>
        <source>K teto hre se nikdo nepripojil.</source>
        <translation>Nobody joined this game.</translation>
    </message>
    <message>
        <source>Soupere se nepodarilo zastihnout.</source>
        <translation>The opponent could not be reached.</translation>
    </message>
    <message>
        <source>
Zaznam hry byl stazen jako soubor %1.</source>
        <translation>
The game's replay was downloaded as the file %1.</translation>
    </message>
    <message>
        <source>Spojeni se serverem se preruslo. Sitova hra skoncila.</source>
        <translation>The connection to the server was lost. The network game is over.</translation>
    </message>
    <message>
        <source>Hra skoncila, prenos ze serveru je u konce.</source>
        <translation>The game is over; the server&apos;s broadcast has ended.</translation>
    </message>
    <message>
        <source>Ze serveru prichazeji nesmyslne zpravy. Sledovani hry skoncilo.</source>
        <translation>The server sends messages that make no sense. Watching the game has ended.</translation>
    </message>
    <message>
        <source>Spojeni se serverem se preruslo. Sledovani hry skoncilo.</source>
        <translation>The connection to the server was lost. Watching the game has ended.</translation>
    </message>
    <message>
        <source>Sitova hra skoncila, zatimco stranka spala na pozadi.</source>
        <translation>The network game ended while the page slept in the background.</translation>
    </message>
    <message>
        <source>Odkaz na sitovou hru je prilis dlouhy.</source>
        <translation>The network game link is too long.</translation>
    </message>
    <message>
        <source>Odkaz na sitovou hru je poskozeny (chybne zakodovane znaky).</source>
        <translation>The network game link is damaged (badly encoded characters).</translation>
    </message>
    <message>
        <source>V odkazu na sitovou hru chybi kod hry.</source>
        <translation>The network game link has no game code.</translation>
    </message>
    <message>
        <source>Kod hry v odkazu na sitovou hru neplati (8 az 12 pismen a cislic).</source>
        <translation>The game code in the network game link is not valid (8 to 12 letters and digits).</translation>
    </message>
    <message>
        <source>Adresa serveru v odkazu na sitovou hru neplati (pocitac:port).</source>
        <translation>The server address in the network game link is not valid (host:port).</translation>
    </message>
    <message>
        <source>Sitova hra skoncila: souper ji chtel hrat jen %1 tiku (%2 s) a ty jsou odehrany.</source>
        <translation>The network game has ended: the other player wanted to play only %1 ticks (%2 s), and they have been played.</translation>
    </message>
    <message>
        <source>Co udelat na serveru</source>
        <translation>What to do on the server</translation>
    </message>
</context>
<context>
    <name>GameText</name>
    <message>
        <source>End..</source>
        <translation>End..</translation>
    </message>
    <message>
        <source>Je konec imperatora!</source>
        <translation>The Emperor is finished!</translation>
    </message>
    <message>
        <source>Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni zbytky privrzencu imperatora...</source>
        <translation>Keldor, the rebels' leader, comes to head the new government and destroys the last of the Emperor's followers...</translation>
    </message>
    <message>
        <source>Jednotky povstalcu jsou porazeny!</source>
        <translation>The rebel forces are defeated!</translation>
    </message>
    <message>
        <source>Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ...</source>
        <translation>The rule of Emperor Morvateh I. goes on, and he takes harsh revenge ...</translation>
    </message>
</context>
</TS>
