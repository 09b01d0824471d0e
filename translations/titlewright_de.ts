<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Args</name>
    <message>
        <source>Usage: twr %1 [options]</source>
        <translation>Aufruf: twr %1 [Optionen]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>%1 (may be repeated)</source>
        <translation>%1 (mehrfach möglich)</translation>
    </message>
    <message>
        <source>Settings file (default: ./twr.ini when it exists, else ~/.config/titlewright/twr.ini).</source>
        <translation>Einstellungsdatei (Vorgabe: ./twr.ini, wenn es sie gibt, sonst ~/.config/titlewright/twr.ini).</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>twr %1: %2 (see &apos;twr %1 --help&apos;)</source>
        <translation>twr %1: %2 (siehe »twr %1 --help«)</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>%1 is not a number (write a decimal point, e.g. 25.5)</source>
        <translation>%1 ist keine Zahl (mit Dezimalpunkt schreiben, z. B. 25.5)</translation>
    </message>
    <message>
        <source>%1 is not %2</source>
        <translation>%1 ist nicht %2</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument »%1«</translation>
    </message>
    <message>
        <source>unknown option &apos;--%1&apos;</source>
        <translation>unbekannte Option »--%1«</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; takes no value</source>
        <translation>Option »--%1« nimmt keinen Wert</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; needs a value %2</source>
        <translation>Option »--%1« braucht einen Wert %2</translation>
    </message>
    <message>
        <source>&apos;--config&apos; needs a file name</source>
        <translation>»--config« braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>twr %1: &apos;--drive %2&apos; is not a drive letter (see &apos;twr drives&apos;)</source>
        <translation>twr %1: »--drive %2« ist kein Laufwerksbuchstabe (siehe »twr drives«)</translation>
    </message>
    <message>
        <source>unknown option &apos;--%1&apos;; did you mean &apos;--%2&apos;?</source>
        <translation>unbekannte Option »--%1«; meinten Sie »--%2«?</translation>
    </message>
</context>
<context>
    <name>BurnCommand</name>
    <message>
        <source>Waiting for the drive to be ready: %1 s left (Ctrl-C stops)</source>
        <translation>Warten, bis das Laufwerk bereit ist: noch %1 s (Strg-C bricht ab)</translation>
    </message>
    <message>
        <source>Turn the disc over, put it back and press Enter... </source>
        <translation>Die Disc umdrehen, wieder einlegen und die Eingabetaste drücken … </translation>
    </message>
    <message>
        <source>The drive was not ready a minute after the disc went out: put the disc back label side down and run twr burn again.</source>
        <translation>Das Laufwerk war eine Minute nach dem Auswerfen der Disc nicht bereit: Legen Sie die Disc mit der Labelseite nach unten wieder ein und starten Sie twr burn erneut.</translation>
    </message>
    <message>
        <source>twr burn: stopped before the burn began; nothing was written.</source>
        <translation>twr burn: vor Beginn des Brennens abgebrochen; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Scanned: title &apos;%1&apos;, date &apos;%2&apos;, %3 note lines%4</source>
        <translation>Eingelesen: Titel »%1«, Datum »%2«, %3 Notizzeilen%4</translation>
    </message>
    <message>
        <source>Burns a label onto the disc in a drive: renders the layout as the main
window does, checks the disc, prepares the drive and burns, showing the
progress. Ctrl-C stops the burn after the write in progress.</source>
        <translation>Brennt ein Label auf die Disc in einem Laufwerk: zeichnet das Layout wie das
Hauptfenster, prüft die Disc, bereitet das Laufwerk vor und brennt mit
Fortschrittsanzeige. Strg-C hält das Brennen nach dem laufenden Schreibvorgang an.</translation>
    </message>
    <message>
        <source>Drive letter as &apos;twr drives&apos; shows it, or its device (/dev/sr0); default: the first.</source>
        <translation>Laufwerksbuchstabe, wie »twr drives« ihn zeigt, oder das Gerät (/dev/sr0); Vorgabe: das erste.</translation>
    </message>
    <message>
        <source>draft, normal or high (default: draft).</source>
        <translation>draft, normal oder high (Vorgabe: draft).</translation>
    </message>
    <message>
        <source>Burn the unrecorded outer band of a DVD-R/DVD+R data side.</source>
        <translation>Das unbeschriebene äußere Band der Datenseite einer DVD-R/DVD+R brennen.</translation>
    </message>
    <message>
        <source>Say Yes to marking a blank disc; do not wait for Enter.</source>
        <translation>Das Beschriften einer leeren Disc mit Ja bestätigen; nicht auf die Eingabetaste warten.</translation>
    </message>
    <message>
        <source>Take the title, date and note from the disc first, as Scan does: its volume name, date and top-level folders and files (--title, --date and --note win).</source>
        <translation>Titel, Datum und Notiz zuerst von der Disc lesen, wie »Einlesen« es tut: Datenträgername, Datum und die Ordner und Dateien der obersten Ebene (--title, --date und --note haben Vorrang).</translation>
    </message>
    <message>
        <source>When the desktop has mounted the disc in the drive, have it unmounted (through udisks2) before the burn takes the drive.</source>
        <translation>Hat die Arbeitsumgebung die Disc im Laufwerk eingehängt, sie (über udisks2) aushängen lassen, bevor das Brennen das Laufwerk übernimmt.</translation>
    </message>
    <message>
        <source>twr burn: &apos;--drive %1&apos; is neither a drive letter nor a device path (see &apos;twr drives&apos;)</source>
        <translation>twr burn: »--drive %1« ist weder ein Laufwerksbuchstabe noch ein Gerätepfad (siehe »twr drives«)</translation>
    </message>
    <message>
        <source>twr burn: %1</source>
        <translation>twr burn: %1</translation>
    </message>
    <message>
        <source>twr burn: --rimtone needs the data side of a DVD-R or DVD+R in the drive (see &apos;twr disc&apos;).</source>
        <translation>twr burn: --rimtone braucht die Datenseite einer DVD-R oder DVD+R im Laufwerk (siehe »twr disc«).</translation>
    </message>
    <message>
        <source>twr burn: the drive offers no usable burn speed; check that it is a drive that can etch labels (see &apos;twr drives&apos;)</source>
        <translation>twr burn: das Laufwerk bietet keine brauchbare Brenngeschwindigkeit; prüfen Sie, ob es Labels brennen kann (siehe »twr drives«)</translation>
    </message>
    <message>
        <source>Band %1 - %2 mm, %3 revolutions per step, required time %4</source>
        <translation>Band %1 - %2 mm, %3 Umdrehungen je Schritt, benötigte Zeit %4</translation>
    </message>
    <message>
        <source>Disc: %1</source>
        <translation>Disc: %1</translation>
    </message>
    <message>
        <source>twr burn: no label can be burned on this disc; put in a disc that takes a label (see &apos;twr disc&apos;)</source>
        <translation>twr burn: auf diese Disc lässt sich kein Label brennen; legen Sie eine Disc ein, die ein Label aufnimmt (siehe »twr disc«)</translation>
    </message>
    <message>
        <source>twr burn: the drive did not get ready for the burn; check the disc and try again</source>
        <translation>twr burn: das Laufwerk wurde für das Brennen nicht bereit; prüfen Sie die Disc und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>Stopping after the write in progress; the drive is then put back...</source>
        <translation>Anhalten nach dem laufenden Schreibvorgang; danach wird das Laufwerk zurückgesetzt …</translation>
    </message>
    <message>
        <source>twr burn: stopped after %1; the label is not complete.</source>
        <translation>twr burn: angehalten nach %1; das Label ist nicht vollständig.</translation>
    </message>
    <message>
        <source>twr burn: the label has gaps: %1 of %2 writes were skipped after loss of streaming.</source>
        <translation>twr burn: das Label hat Lücken: %1 von %2 Schreibvorgängen wurden nach einem Abriss des Datenstroms übersprungen.</translation>
    </message>
    <message>
        <source>Insert disc %1 of %2 and press Enter</source>
        <translation>Disc %1 von %2 einlegen und die Eingabetaste drücken</translation>
    </message>
    <message>
        <source>Waiting for disc %1 of %2: %3 s left (Ctrl-C stops)</source>
        <translation>Warten auf Disc %1 von %2: noch %3 s (Strg-C bricht ab)</translation>
    </message>
    <message>
        <source>No disc %1 of %2 was in the drive within %3 s.</source>
        <translation>Disc %1 von %2 lag nicht innerhalb von %3 s im Laufwerk.</translation>
    </message>
    <message>
        <source>Put the next disc in and burn the rest of the series with another twr burn.</source>
        <translation>Legen Sie die nächste Disc ein und brennen Sie den Rest der Serie mit einem weiteren Aufruf von twr burn.</translation>
    </message>
    <message>
        <source>Burn N discs one after another: after each the disc is ejected and the next one waited for; {n} and {N} in the texts are the disc&apos;s number and N.</source>
        <translation>N Discs nacheinander brennen: Nach jeder wird die Disc ausgeworfen und auf die nächste gewartet; {n} und {N} in den Texten stehen für die Nummer der Disc und für N.</translation>
    </message>
    <message>
        <source>Burn one disc for each row of a CSV file with a header row naming the columns title, date and note1 to note10; an empty field keeps the text given with --title, --date, --note or the design.</source>
        <translation>Für jede Zeile einer CSV-Datei eine Disc brennen; ihre Kopfzeile benennt die Spalten title, date und note1 bis note10; ein leeres Feld behält den Text aus --title, --date, --note oder dem Design.</translation>
    </message>
    <message>
        <source>How long a series waits for the next disc (default: 300; Ctrl-C stops).</source>
        <translation>Wie lange eine Serie auf die nächste Disc wartet (Vorgabe: 300; Strg-C bricht ab).</translation>
    </message>
    <message>
        <source>twr burn: --copies and --merge do not go together: a merge file burns one disc for each of its rows (see &apos;twr burn --help&apos;)</source>
        <translation>twr burn: --copies und --merge passen nicht zusammen: Eine Datei für --merge brennt für jede ihrer Zeilen eine Disc (siehe »twr burn --help«)</translation>
    </message>
    <message>
        <source>twr burn: &apos;--copies %1&apos; is not a count of discs from 1 to %2</source>
        <translation>twr burn: »--copies %1« ist keine Anzahl Discs von 1 bis %2</translation>
    </message>
    <message>
        <source>twr burn: &apos;--disc-wait %1&apos; is not a number of seconds from 1 to %2</source>
        <translation>twr burn: »--disc-wait %1« ist keine Anzahl Sekunden von 1 bis %2</translation>
    </message>
    <message>
        <source>twr burn: %1: %2; no disc was burnt.</source>
        <translation>twr burn: %1: %2; es wurde keine Disc gebrannt.</translation>
    </message>
    <message>
        <source>twr burn: stopped before disc %1 of %2.</source>
        <translation>twr burn: vor Disc %1 von %2 abgebrochen.</translation>
    </message>
    <message>
        <source>Disc %1 of %2</source>
        <translation>Disc %1 von %2</translation>
    </message>
    <message>
        <source>What a series does after a disc whose label has gaps (writes skipped after loss of streaming): stop (the default) or continue with the next disc.</source>
        <translation>Was eine Serie nach einer Disc tut, deren Label Lücken hat (Schreibvorgänge nach Verlust des Datenstroms übersprungen): anhalten (Vorgabe) oder mit der nächsten Disc weitermachen.</translation>
    </message>
    <message>
        <source>Look at the disc; to go on after a disc with gaps, add --on-gaps continue, and burn the rest of the series with another twr burn.</source>
        <translation>Sehen Sie sich die Disc an; um nach einer Disc mit Lücken weiterzumachen, geben Sie --on-gaps continue an, und brennen Sie den Rest der Serie mit einem weiteren twr burn.</translation>
    </message>
    <message>
        <source>Burn a calibration wedge instead of a label: 12 numbered grey steps in a band at the rim at Draft (under a minute). Then say which step is the first that visibly marks and which the first that looks fully dark; the answer is kept for this drive model and kind of disc and used by --tone auto.</source>
        <translation>Einen Kalibrierkeil statt eines Etiketts brennen: 12 nummerierte Graustufen in einem Band am Rand bei Entwurf (unter einer Minute). Danach angeben, welche Stufe als erste sichtbar markiert und welche als erste ganz dunkel aussieht; die Antwort wird für dieses Laufwerksmodell und diese Medienart aufbewahrt und von --tone auto verwendet.</translation>
    </message>
    <message>
        <source>With --test-wedge: the first step that visibly marks.</source>
        <translation>Mit --test-wedge: die erste Stufe, die sichtbar markiert.</translation>
    </message>
    <message>
        <source>With --test-wedge: the first step that looks fully dark.</source>
        <translation>Mit --test-wedge: die erste Stufe, die ganz dunkel aussieht.</translation>
    </message>
    <message>
        <source>twr burn: --first-mark and --first-dark go with --test-wedge</source>
        <translation>twr burn: --first-mark und --first-dark gehören zu --test-wedge</translation>
    </message>
    <message>
        <source>twr burn: --test-wedge burns one wedge on a label side: it does not go with --copies, --merge, --rimtone or --design</source>
        <translation>twr burn: --test-wedge brennt einen Keil auf eine Etikettenseite: es passt nicht zu --copies, --merge, --rimtone oder --design</translation>
    </message>
    <message>
        <source>twr burn: give both --first-mark and --first-dark, or neither (the question is then asked after the burn)</source>
        <translation>twr burn: --first-mark und --first-dark beide angeben oder keines (die Frage wird dann nach dem Brennen gestellt)</translation>
    </message>
    <message>
        <source>twr burn: the wedge is burnt; no answer was kept (give --first-mark and --first-dark, or run on a terminal to be asked).</source>
        <translation>twr burn: Der Keil ist gebrannt; keine Antwort wurde aufbewahrt (--first-mark und --first-dark angeben oder in einem Terminal ausführen, um gefragt zu werden).</translation>
    </message>
    <message>
        <source>Which step is the first that visibly marks (1-12)? </source>
        <translation>Welche Stufe markiert als erste sichtbar (1-12)? </translation>
    </message>
    <message>
        <source>Which step is the first that looks fully dark (1-12)? </source>
        <translation>Welche Stufe sieht als erste ganz dunkel aus (1-12)? </translation>
    </message>
    <message>
        <source>twr burn: no answer; nothing was kept.</source>
        <translation>twr burn: keine Antwort; nichts wurde aufbewahrt.</translation>
    </message>
    <message>
        <source>twr burn: %1; nothing was kept.</source>
        <translation>twr burn: %1; nichts wurde aufbewahrt.</translation>
    </message>
    <message>
        <source>twr burn: the answer does not fit the wedge; nothing was kept.</source>
        <translation>twr burn: Die Antwort passt nicht zum Keil; nichts wurde aufbewahrt.</translation>
    </message>
    <message>
        <source>The calibration cannot be kept in %1: %2.</source>
        <translation>Die Kalibrierung kann nicht in %1 aufbewahrt werden: %2.</translation>
    </message>
    <message>
        <source>Calibration kept for %1: %2</source>
        <translation>Kalibrierung aufbewahrt für %1: %2</translation>
    </message>
</context>
<context>
    <name>BurnJob</name>
    <message>
        <source>The drive stopped answering: no status and no sense came back. It may have been disconnected, switched off or reset; check its cable and power before the next burn.</source>
        <translation>Das Laufwerk antwortet nicht mehr: Es kamen weder Status noch Sense-Daten zurück. Es wurde vielleicht getrennt, ausgeschaltet oder zurückgesetzt; prüfen Sie Kabel und Stromversorgung vor dem nächsten Brennen.</translation>
    </message>
    <message>
        <source>The drive was still busy: it did not become ready after the burn. Leave the disc in until the drive has settled before you use it.</source>
        <translation>Das Laufwerk war noch beschäftigt: Es wurde nach dem Brennen nicht bereit. Lassen Sie die Disc im Laufwerk, bis es zur Ruhe gekommen ist, bevor Sie sie verwenden.</translation>
    </message>
    <message>
        <source>The disc is gone: leave the tray closed during a burn, check the disc and burn again.</source>
        <translation>Die Disc ist nicht mehr da: Lassen Sie die Lade während des Brennens geschlossen, prüfen Sie die Disc und brennen Sie erneut.</translation>
    </message>
    <message>
        <source>Wait until the drive is quiet, then burn again.</source>
        <translation>Warten Sie, bis das Laufwerk ruhig ist, und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Clean the disc or try another one, then burn again.</source>
        <translation>Reinigen Sie die Disc oder nehmen Sie eine andere, und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Switch the drive off and on (or unplug it and plug it in) and burn again; if it comes back, the drive needs service.</source>
        <translation>Schalten Sie das Laufwerk aus und wieder ein (oder stecken Sie es ab und wieder an) und brennen Sie erneut; tritt der Fehler wieder auf, muss das Laufwerk gewartet werden.</translation>
    </message>
    <message>
        <source>Check the burning area in Config, and that the disc is the one the burn dialog named.</source>
        <translation>Prüfen Sie den Brennbereich unter »Einstellungen« und ob die Disc die ist, die der Brenndialog genannt hat.</translation>
    </message>
    <message>
        <source>Check that the drive is one that can etch labels, then burn again.</source>
        <translation>Prüfen Sie, ob das Laufwerk Labels brennen kann, und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Leave the tray closed while a burn runs, and start again.</source>
        <translation>Lassen Sie die Lade geschlossen, solange gebrannt wird, und beginnen Sie erneut.</translation>
    </message>
    <message>
        <source>The drive was reset: check its cable and power, then burn again.</source>
        <translation>Das Laufwerk wurde zurückgesetzt: Prüfen Sie Kabel und Stromversorgung und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Burn again.</source>
        <translation>Brennen Sie erneut.</translation>
    </message>
    <message>
        <source>The help&apos;s troubleshooting page explains these values.</source>
        <translation>Die Hilfeseite »Fehlerbehebung« erklärt diese Werte.</translation>
    </message>
    <message>
        <source>The drive refused the write: %1.</source>
        <translation>Das Laufwerk hat den Schreibvorgang abgelehnt: %1.</translation>
    </message>
    <message>
        <source>Close the program that holds the drive, then burn again.</source>
        <translation>Schließen Sie das Programm, das das Laufwerk belegt, und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>The drive answered &quot;long write in progress&quot; to the same write for more than %1 s and never took it.</source>
        <translation>Das Laufwerk hat auf denselben Schreibvorgang länger als %1 s »long write in progress« geantwortet und ihn nie angenommen.</translation>
    </message>
    <message>
        <source>Switch the drive off and on, then burn again.</source>
        <translation>Schalten Sie das Laufwerk aus und wieder ein, und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>The burn finished with %1 of %2 writes skipped after loss of streaming (%3 %); the label has gaps. Losses of streaming: %4, each costing the rest of a revolution; keep the computer lightly loaded during a burn.</source>
        <translation>Das Brennen endete mit %1 von %2 Schreibvorgängen, die nach einem Abriss des Datenstroms übersprungen wurden (%3 %); das Label hat Lücken. Abrisse des Datenstroms: %4, jeder kostet den Rest einer Umdrehung; halten Sie den Rechner während des Brennens wenig ausgelastet.</translation>
    </message>
    <message>
        <source>Stopped by you after write %1 of %2 (%3 %); the disc is part-etched.</source>
        <translation>Von Ihnen angehalten nach Schreibvorgang %1 von %2 (%3 %); die Disc ist teilweise gebrannt.</translation>
    </message>
    <message>
        <source>Before the stop, %1 of %2 writes were skipped after loss of streaming (%3 %); the label has gaps.</source>
        <translation>Vor dem Anhalten wurden %1 von %2 Schreibvorgängen nach einem Abriss des Datenstroms übersprungen (%3 %); das Label hat Lücken.</translation>
    </message>
</context>
<context>
    <name>BurnPlan</name>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>High Quality</source>
        <translation>Hohe Qualität</translation>
    </message>
    <message>
        <source>The feed divisor that the page selects (offset %1 or %2) is 0. The drive&apos;s ELS page cannot be used for a burn.</source>
        <translation>Der Vorschubteiler, den die Seite wählt (Offset %1 oder %2), ist 0. Die ELS-Seite des Laufwerks taugt nicht zum Brennen.</translation>
    </message>
    <message>
        <source>The burn band is too narrow to burn.</source>
        <translation>Das Brennband ist zu schmal zum Brennen.</translation>
    </message>
</context>
<context>
    <name>BurnProgress</name>
    <message>
        <source>Preparing the drive</source>
        <translation>Laufwerk wird vorbereitet</translation>
    </message>
    <message>
        <source>Burning; loss of streaming (%1 so far)</source>
        <translation>Brennen; Abriss des Datenstroms (bisher %1)</translation>
    </message>
    <message>
        <source>Burning</source>
        <translation>Brennen</translation>
    </message>
    <message>
        <source>Drive busy (retrying for %1 s)</source>
        <translation>Laufwerk beschäftigt (neuer Versuch seit %1 s)</translation>
    </message>
    <message>
        <source>Loss of streaming (%1 so far)</source>
        <translation>Abriss des Datenstroms (bisher %1)</translation>
    </message>
    <message>
        <source>Synchronising the drive&apos;s cache</source>
        <translation>Zwischenspeicher des Laufwerks wird geleert</translation>
    </message>
    <message>
        <source>Waiting for the drive (%1/%2)</source>
        <translation>Warten auf das Laufwerk (%1/%2)</translation>
    </message>
    <message>
        <source>Restoring the drive</source>
        <translation>Laufwerk wird zurückgesetzt</translation>
    </message>
</context>
<context>
    <name>BurnProgressView</name>
    <message>
        <source>write %1 of %2 (%3%)</source>
        <translation>Schreibvorgang %1 von %2 (%3 %)</translation>
    </message>
    <message>
        <source>(write %1 of %2)</source>
        <translation>(Schreibvorgang %1 von %2)</translation>
    </message>
    <message>
        <source>%1 %2  %3 left  %4</source>
        <translation>%1 %2  noch %3  %4</translation>
    </message>
</context>
<context>
    <name>BurnSeries</name>
    <message>
        <source>its label has gaps: %1 of %2 writes were skipped after loss of streaming.</source>
        <translation>ihr Label hat Lücken: %1 von %2 Schreibvorgängen wurden nach Verlust des Datenstroms übersprungen.</translation>
    </message>
    <message>
        <source>you stopped its burn.</source>
        <translation>Sie haben ihr Brennen angehalten.</translation>
    </message>
    <message>
        <source>the drive stopped answering.</source>
        <translation>das Laufwerk antwortet nicht mehr.</translation>
    </message>
    <message>
        <source>its burn failed (%1).</source>
        <translation>ihr Brennen ist fehlgeschlagen (%1).</translation>
    </message>
    <message>
        <source>Series stopped after disc %1 of %2: %3</source>
        <translation>Serie nach Disc %1 von %2 angehalten: %3</translation>
    </message>
    <message>
        <source>Series stopped before disc %1 of %2.</source>
        <translation>Serie vor Disc %1 von %2 angehalten.</translation>
    </message>
    <message>
        <source>Series stopped before disc %1 of %2: %3</source>
        <translation>Serie vor Disc %1 von %2 angehalten: %3</translation>
    </message>
    <message>
        <source>%1 of %2 discs burnt.</source>
        <translation>%1 von %2 Discs gebrannt.</translation>
    </message>
    <message>
        <source>%1 of %2 discs burnt, %3 of them with gaps.</source>
        <translation>%1 von %2 Discs gebrannt, %3 davon mit Lücken.</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>the steps of the wedge are numbered 1 to %1</source>
        <translation>die Stufen des Keils sind von 1 bis %1 nummeriert</translation>
    </message>
    <message>
        <source>the first fully dark step cannot come before the first step that marks</source>
        <translation>die erste ganz dunkle Stufe kann nicht vor der ersten markierenden Stufe liegen</translation>
    </message>
</context>
<context>
    <name>Design</name>
    <message>
        <source>its %1 is %2, not a whole number that fits 32 bits</source>
        <translation>sein Eintrag %1 ist %2, keine ganze Zahl, die in 32 Bit passt</translation>
    </message>
    <message>
        <source>its %1 is %2, not a whole number from %3 to %4</source>
        <translation>sein Eintrag %1 ist %2, keine ganze Zahl von %3 bis %4</translation>
    </message>
    <message>
        <source>its %1 is not UTF-8 text</source>
        <translation>sein Eintrag %1 ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text</source>
        <translation>%1 ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>its %1 is %2 bytes long; at most %3 are taken</source>
        <translation>sein Eintrag %1 ist %2 Byte lang; höchstens %3 werden übernommen</translation>
    </message>
    <message>
        <source>%1 is %2 bytes long; at most %3 are taken</source>
        <translation>%1 ist %2 Byte lang; höchstens %3 werden übernommen</translation>
    </message>
    <message>
        <source>its %1 holds a line break or another control character</source>
        <translation>sein Eintrag %1 enthält einen Zeilenumbruch oder ein anderes Steuerzeichen</translation>
    </message>
    <message>
        <source>%1 holds a line break or another control character</source>
        <translation>%1 enthält einen Zeilenumbruch oder ein anderes Steuerzeichen</translation>
    </message>
    <message>
        <source>its %1 is missing</source>
        <translation>sein Eintrag %1 fehlt</translation>
    </message>
    <message>
        <source>its %1 is not a number</source>
        <translation>sein Eintrag %1 ist keine Zahl</translation>
    </message>
    <message>
        <source>its %1 is not a finite number</source>
        <translation>sein Eintrag %1 ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>its %1 is not true or false</source>
        <translation>sein Eintrag %1 ist weder true noch false</translation>
    </message>
    <message>
        <source>its %1 is not an object ({...})</source>
        <translation>sein Eintrag %1 ist kein Objekt ({...})</translation>
    </message>
    <message>
        <source>its %1 is not a text</source>
        <translation>sein Eintrag %1 ist kein Text</translation>
    </message>
    <message>
        <source>its %1 is not a list of note lines ([...])</source>
        <translation>sein Eintrag %1 ist keine Liste von Notizzeilen ([...])</translation>
    </message>
    <message>
        <source>its &quot;texts.notes&quot; holds %1 lines; a label takes %2</source>
        <translation>sein Eintrag &quot;texts.notes&quot; hat %1 Zeilen; ein Label übernimmt %2</translation>
    </message>
    <message>
        <source>&quot;texts.notes&quot; line %1</source>
        <translation>&quot;texts.notes&quot; Zeile %1</translation>
    </message>
    <message>
        <source>its background picture is not base64 text (a line of it is not a text)</source>
        <translation>sein Hintergrundbild ist kein Base64-Text (eine seiner Zeilen ist kein Text)</translation>
    </message>
    <message>
        <source>its background picture is not base64 text</source>
        <translation>sein Hintergrundbild ist kein Base64-Text</translation>
    </message>
    <message>
        <source>its background picture is larger than the %1 MiB a design&apos;s picture may be</source>
        <translation>sein Hintergrundbild ist größer als die %1 MiB, die das Bild eines Designs haben darf</translation>
    </message>
    <message>
        <source>its background picture is not valid base64 text</source>
        <translation>sein Hintergrundbild ist kein gültiger Base64-Text</translation>
    </message>
    <message>
        <source>its &quot;background&quot; is neither null nor an object ({...})</source>
        <translation>sein Eintrag &quot;background&quot; ist weder null noch ein Objekt ({...})</translation>
    </message>
    <message>
        <source>its &quot;background.name&quot; is empty</source>
        <translation>sein Eintrag &quot;background.name&quot; ist leer</translation>
    </message>
    <message>
        <source>its background picture holds %1 bytes where the design says %2: the file is cut off or damaged</source>
        <translation>sein Hintergrundbild hat %1 Byte, wo das Design %2 angibt: Die Datei ist abgeschnitten oder beschädigt</translation>
    </message>
    <message>
        <source>its background picture %1 %2</source>
        <translation>sein Hintergrundbild %1: %2</translation>
    </message>
    <message>
        <source>it is larger than the %1 MiB a design may be</source>
        <translation>es ist größer als die %1 MiB, die ein Design haben darf</translation>
    </message>
    <message>
        <source>the title</source>
        <translation>der Titel</translation>
    </message>
    <message>
        <source>the date</source>
        <translation>das Datum</translation>
    </message>
    <message>
        <source>note line %1</source>
        <translation>Notizzeile %1</translation>
    </message>
    <message>
        <source>the note</source>
        <translation>die Notiz</translation>
    </message>
    <message>
        <source>the font face</source>
        <translation>die Schriftart</translation>
    </message>
    <message>
        <source>the layout&apos;s name</source>
        <translation>der Name des Layouts</translation>
    </message>
    <message>
        <source>the burning area is not within 25 to 58 mm, inner radius first</source>
        <translation>der Brennbereich liegt nicht innerhalb von 25 bis 58 mm, der innere Radius zuerst</translation>
    </message>
    <message>
        <source>the background picture has no name</source>
        <translation>das Hintergrundbild hat keinen Namen</translation>
    </message>
    <message>
        <source>the background picture&apos;s name</source>
        <translation>der Name des Hintergrundbilds</translation>
    </message>
    <message>
        <source>the background&apos;s problem</source>
        <translation>das Problem des Hintergrunds</translation>
    </message>
    <message>
        <source>the background picture is empty</source>
        <translation>das Hintergrundbild ist leer</translation>
    </message>
    <message>
        <source>the background picture is larger than %1 MiB, the most a design embeds</source>
        <translation>das Hintergrundbild ist größer als %1 MiB, mehr als ein Design aufnimmt</translation>
    </message>
    <message>
        <source>the background picture&apos;s type</source>
        <translation>der Typ des Hintergrundbilds</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>es ist leer</translation>
    </message>
    <message>
        <source>it is not a label design (it is not JSON text)</source>
        <translation>es ist kein Label-Design (es ist kein JSON-Text)</translation>
    </message>
    <message>
        <source>it is cut off: its text ends in the middle (after %1 bytes)</source>
        <translation>es ist abgeschnitten: Sein Text endet mittendrin (nach %1 Byte)</translation>
    </message>
    <message>
        <source>it is damaged: %1 at byte %2</source>
        <translation>es ist beschädigt: %1 bei Byte %2</translation>
    </message>
    <message>
        <source>it is not a label design</source>
        <translation>es ist kein Label-Design</translation>
    </message>
    <message>
        <source>it is not a label design (its &quot;format&quot; is not &quot;%1&quot;)</source>
        <translation>es ist kein Label-Design (sein &quot;format&quot; ist nicht &quot;%1&quot;)</translation>
    </message>
    <message>
        <source>its format version is not a whole number from 1</source>
        <translation>seine Formatversion ist keine ganze Zahl ab 1</translation>
    </message>
    <message>
        <source>it was written by a newer %1 (format version %2); this one reads version %3</source>
        <translation>es wurde von einem neueren %1 geschrieben (Formatversion %2); dieses liest Version %3</translation>
    </message>
    <message>
        <source>its burning area %1 - %2 mm is not within 25 to 58 mm</source>
        <translation>sein Brennbereich %1 - %2 mm liegt nicht innerhalb von 25 bis 58 mm</translation>
    </message>
    <message>
        <source>its &quot;quality&quot; is %1, not draft, normal or high</source>
        <translation>sein Eintrag &quot;quality&quot; ist %1, nicht draft, normal oder high</translation>
    </message>
    <message>
        <source>its %1 is %2 characters long (a wide East Asian character counts two); at most %3 are taken</source>
        <translation>sein Eintrag %1 ist %2 Zeichen lang (ein breites ostasiatisches Zeichen zählt doppelt); höchstens %3 werden übernommen</translation>
    </message>
    <message>
        <source>%1 is %2 characters long (a wide East Asian character counts two); at most %3 are taken</source>
        <translation>%1 ist %2 Zeichen lang (ein breites ostasiatisches Zeichen zählt doppelt); höchstens %3 werden übernommen</translation>
    </message>
    <message>
        <source>the layout&apos;s RingLength and radii are not whole millimetres</source>
        <translation>RingLength und die Radien des Layouts sind keine ganzen Millimeter</translation>
    </message>
    <message>
        <source>the layout cannot be drawn: %1</source>
        <translation>das Layout lässt sich nicht zeichnen: %1</translation>
    </message>
    <message>
        <source>the layout cannot be drawn in the burning area %1 - %2 mm: %3</source>
        <translation>das Layout lässt sich im Brennbereich %1 - %2 mm nicht zeichnen: %3</translation>
    </message>
    <message>
        <source>its %1 is %2, not a whole number of %3 or more</source>
        <translation>sein Eintrag %1 ist %2, keine ganze Zahl ab %3</translation>
    </message>
    <message>
        <source>the QR code&apos;s text</source>
        <translation>der Text des QR-Codes</translation>
    </message>
    <message>
        <source>its &quot;picture.fit&quot; is %1, not stretch, fit or fill</source>
        <translation>sein „picture.fit“ ist %1, nicht stretch, fit oder fill</translation>
    </message>
    <message>
        <source>its &quot;picture.tone&quot; is %1, not none or auto</source>
        <translation>sein „picture.tone“ ist %1, nicht none oder auto</translation>
    </message>
    <message>
        <source>its &quot;picture&quot; cannot be used: %1</source>
        <translation>sein „picture“ ist nicht verwendbar: %1</translation>
    </message>
</context>
<context>
    <name>DesignCommands</name>
    <message>
        <source>title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>ring text</source>
        <translation>Ringtext</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>See-through:   %1</source>
        <translation>Durchsichtig:  %1</translation>
    </message>
    <message>
        <source>Halo:          %1</source>
        <translation>Lichthof:      %1</translation>
    </message>
    <message>
        <source>High Quality</source>
        <translation>Hohe Qualität</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>none (the label starts black)</source>
        <translation>keins (das Label beginnt schwarz)</translation>
    </message>
    <message>
        <source>%1 could not be used (%2); BgColor fills the label</source>
        <translation>%1 ließ sich nicht verwenden (%2); BgColor füllt das Label</translation>
    </message>
    <message>
        <source>%1 (%2, %3 x %4 pixels, %5 bytes)</source>
        <translation>%1 (%2, %3 x %4 Pixel, %5 Byte)</translation>
    </message>
    <message>
        <source>%1 (%2, %3 x %4 pixels, %5 KiB)</source>
        <translation>%1 (%2, %3 x %4 Pixel, %5 KiB)</translation>
    </message>
    <message>
        <source>Design %1 (format version %2)</source>
        <translation>Design %1 (Formatversion %2)</translation>
    </message>
    <message>
        <source>Title:         %1</source>
        <translation>Titel:         %1</translation>
    </message>
    <message>
        <source>Date:          %1</source>
        <translation>Datum:         %1</translation>
    </message>
    <message>
        <source>Note:          %1</source>
        <translation>Notiz:         %1</translation>
    </message>
    <message>
        <source>               %1</source>
        <translation>               %1</translation>
    </message>
    <message>
        <source>Layout:        &quot;%1&quot; (BaseLength %2, RingType %3, RingLength %4 mm)</source>
        <translation>Layout:        „%1“ (BaseLength %2, RingType %3, RingLength %4 mm)</translation>
    </message>
    <message>
        <source>Font:          (the system&apos;s sans-serif face)</source>
        <translation>Schrift:       (die serifenlose Schrift des Systems)</translation>
    </message>
    <message>
        <source>Font:          %1</source>
        <translation>Schrift:       %1</translation>
    </message>
    <message>
        <source>Burning area:  %1 - %2 [mm]</source>
        <translation>Brennbereich:  %1 - %2 [mm]</translation>
    </message>
    <message>
        <source>Rimtone mode:  on</source>
        <translation>Rimtone-Modus: ein</translation>
    </message>
    <message>
        <source>Rimtone mode:  off</source>
        <translation>Rimtone-Modus: aus</translation>
    </message>
    <message>
        <source>Quality:       %1</source>
        <translation>Qualität:      %1</translation>
    </message>
    <message>
        <source>Background:    %1</source>
        <translation>Hintergrund:   %1</translation>
    </message>
    <message>
        <source>Shows what a label design holds.</source>
        <translation>Zeigt, was ein Label-Design enthält.</translation>
    </message>
    <message>
        <source>The design (.twrlabel).</source>
        <translation>Das Design (.twrlabel).</translation>
    </message>
    <message>
        <source>Print it as one JSON object (see JSON OUTPUT in twr(1)).</source>
        <translation>Als ein JSON-Objekt ausgeben (siehe JSON OUTPUT in twr(1)).</translation>
    </message>
    <message>
        <source>Saves a label design: the texts as given, a copy of the layout (from the
settings file, or the design named with --design), its background picture,
the font face, the burning area, Rimtone mode and the quality, in one file
that renders and burns the same label on another machine.</source>
        <translation>Speichert ein Label-Design: die angegebenen Texte, eine Kopie des Layouts (aus
der Einstellungsdatei oder dem mit --design genannten Design), sein
Hintergrundbild, die Schrift, den Brennbereich, den Rimtone-Modus und die
Qualität in einer Datei, die auf einem anderen Rechner dasselbe Label zeichnet
und brennt.</translation>
    </message>
    <message>
        <source>The design to write (.twrlabel); an existing file is replaced.</source>
        <translation>Das zu schreibende Design (.twrlabel); eine vorhandene Datei wird ersetzt.</translation>
    </message>
    <message>
        <source>The burn quality: draft, normal or high (default: draft).</source>
        <translation>Die Brennqualität: draft, normal oder high (Vorgabe: draft).</translation>
    </message>
    <message>
        <source>For the unrecorded outer band of a DVD-R/DVD+R data side.</source>
        <translation>Für das unbeschriebene äußere Band der Datenseite einer DVD-R/DVD+R.</translation>
    </message>
    <message>
        <source>Layout %1 does not exist: the settings file has %2 layouts, numbered from 0.</source>
        <translation>Layout %1 gibt es nicht: Die Einstellungsdatei hat %2 Layouts, von 0 an nummeriert.</translation>
    </message>
    <message>
        <source>twr design save: warning: the background picture %1 %2; the design fills the label with BgColor instead, as the layout does</source>
        <translation>twr design save: Warnung: Hintergrundbild %1: %2; das Design füllt das Label stattdessen mit BgColor, wie das Layout</translation>
    </message>
    <message>
        <source>twr design save: warning: %1 note lines given; a label takes the first %2</source>
        <translation>twr design save: Warnung: %1 Notizzeilen angegeben; ein Label nimmt die ersten %2</translation>
    </message>
    <message>
        <source>Cannot save the design to &apos;%1&apos;: %2.</source>
        <translation>Das Design kann nicht in »%1« gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Saved the design of &quot;%1&quot; to %2; background: %3</source>
        <translation>Design von „%1“ in %2 gespeichert; Hintergrund: %3</translation>
    </message>
    <message>
        <source>Label designs (.twrlabel): the texts, a copy of the layout, its background
picture, the font face, the burning area, Rimtone mode and the quality, in
one file. &apos;twr render --design FILE&apos; draws one.</source>
        <translation>Label-Designs (.twrlabel): die Texte, eine Kopie des Layouts, sein Hintergrundbild,
die Schrift, der Brennbereich, der Rimtone-Modus und die Qualität in einer
Datei. »twr render --design FILE« zeichnet eines.</translation>
    </message>
    <message>
        <source>Run &apos;twr design save --help&apos; or &apos;twr design show --help&apos; for the options.</source>
        <translation>»twr design save --help« und »twr design show --help« nennen die Optionen.</translation>
    </message>
    <message>
        <source>twr design: say save or show</source>
        <translation>twr design: save oder show angeben</translation>
    </message>
    <message>
        <source>twr design: unknown action &apos;%1&apos;; say save or show</source>
        <translation>twr design: unbekannte Aktion »%1«; save oder show angeben</translation>
    </message>
    <message>
        <source>twr design save: warning: the title is cut to its first %1 characters (a wide East Asian character counts two), as the main window takes it</source>
        <translation>twr design save: Warnung: Der Titel wird auf seine ersten %1 Zeichen gekürzt (ein breites ostasiatisches Zeichen zählt doppelt), wie das Hauptfenster ihn übernimmt</translation>
    </message>
    <message>
        <source>twr design save: warning: the date is cut to its first %1 characters (a wide East Asian character counts two), as the main window takes it</source>
        <translation>twr design save: Warnung: Das Datum wird auf seine ersten %1 Zeichen gekürzt (ein breites ostasiatisches Zeichen zählt doppelt), wie das Hauptfenster es übernimmt</translation>
    </message>
    <message>
        <source>twr design: unknown action &apos;%1&apos;; did you mean &apos;%2&apos;?</source>
        <translation>twr design: unbekannte Aktion »%1«; meinten Sie »%2«?</translation>
    </message>
    <message>
        <source>Burning area:  automatic (what marks at the quality; manual: %1 - %2 [mm])</source>
        <translation>Brennbereich:  automatisch (was bei der Qualität markiert; manuell: %1 - %2 [mm])</translation>
    </message>
    <message>
        <source>QR code:       %1</source>
        <translation>QR-Code:       %1</translation>
    </message>
    <message>
        <source>twr design save: warning: the QR code&apos;s text is cut to its first %1 bytes, the most one code holds</source>
        <translation>twr design save: Warnung: Der Text des QR-Codes wird auf seine ersten %1 Bytes gekürzt, mehr fasst ein Code nicht</translation>
    </message>
    <message>
        <source>Usage: twr design save FILE [options]
       twr design show FILE [--json]

</source>
        <translation>Aufruf: twr design save FILE [Optionen]
        twr design show FILE [--json]

</translation>
    </message>
    <message>
        <source>Placement:     %1, %2 quarter turns, pan %3 x %4, zoom %5</source>
        <translation>Platzierung:   %1, %2 Vierteldrehungen, Verschiebung %3 x %4, Zoom %5</translation>
    </message>
    <message>
        <source>Tone:          %1, brightness %2, contrast %3, gamma %4, black %5, white %6%7</source>
        <translation>Tonwerte:      %1, Helligkeit %2, Kontrast %3, Gamma %4, Schwarz %5, Weiß %6%7</translation>
    </message>
    <message>
        <source>, inverted</source>
        <translation>, invertiert</translation>
    </message>
</context>
<context>
    <name>DiscName</name>
    <message>
        <source>CD-ROM disc</source>
        <translation>CD-ROM-Disc</translation>
    </message>
    <message>
        <source>CD-R disc</source>
        <translation>CD-R-Disc</translation>
    </message>
    <message>
        <source>CD-RW disc</source>
        <translation>CD-RW-Disc</translation>
    </message>
    <message>
        <source>DVD-ROM disc</source>
        <translation>DVD-ROM-Disc</translation>
    </message>
    <message>
        <source>DVD-R blank</source>
        <translation>DVD-R leer</translation>
    </message>
    <message>
        <source>DVD-R incomplete</source>
        <translation>DVD-R unvollständig</translation>
    </message>
    <message>
        <source>DVD-R complete</source>
        <translation>DVD-R abgeschlossen</translation>
    </message>
    <message>
        <source>DVD-RAM disc</source>
        <translation>DVD-RAM-Disc</translation>
    </message>
    <message>
        <source>DVD-RW disc</source>
        <translation>DVD-RW-Disc</translation>
    </message>
    <message>
        <source>DVD+RW disc</source>
        <translation>DVD+RW-Disc</translation>
    </message>
    <message>
        <source>DVD+R blank</source>
        <translation>DVD+R leer</translation>
    </message>
    <message>
        <source>DVD+R incomplete</source>
        <translation>DVD+R unvollständig</translation>
    </message>
    <message>
        <source>DVD+R complete</source>
        <translation>DVD+R abgeschlossen</translation>
    </message>
    <message>
        <source>Etchlume disc  label-side</source>
        <translation>Etchlume-Disc  Labelseite</translation>
    </message>
    <message>
        <source>Unknown disc</source>
        <translation>Unbekannte Disc</translation>
    </message>
    <message>
        <source>No disc or Non-support disc</source>
        <translation>Keine Disc oder nicht unterstützte Disc</translation>
    </message>
</context>
<context>
    <name>DiscQrText</name>
    <message>
        <source>%1+ files</source>
        <translation>%1+ Dateien</translation>
    </message>
    <message>
        <source>%1+ MB</source>
        <translation>%1+ MB</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>DriveCommands</name>
    <message>
        <source>No optical drive (/dev/sr*) was found, and ./twr.ini declares no virtual drive ([VirtualDrive]).</source>
        <translation>Es wurde kein optisches Laufwerk (/dev/sr*) gefunden, und ./twr.ini nennt kein virtuelles Laufwerk ([VirtualDrive]).</translation>
    </message>
    <message>
        <source>Watching the drives; Ctrl-C ends.</source>
        <translation>Die Laufwerke werden beobachtet; Strg-C beendet.</translation>
    </message>
    <message>
        <source>removed: %1</source>
        <translation>entfernt:    %1</translation>
    </message>
    <message>
        <source>added:   %1</source>
        <translation>hinzugefügt: %1</translation>
    </message>
    <message>
        <source>Identifies the disc in a drive: its name and whether a label can be
burned on it, kind and status codes, label side, outer radius of the
recorded data, the volume descriptor and the top-level listing.
Exits with 1 when there is no disc.</source>
        <translation>Erkennt die Disc in einem Laufwerk: ihren Namen und ob sich ein Label darauf
brennen lässt, Art- und Statuscode, Labelseite, Außenradius der beschriebenen
Daten, den Datenträgerdeskriptor und die oberste Verzeichnisebene.
Endet mit 1, wenn keine Disc eingelegt ist.</translation>
    </message>
    <message>
        <source>Drive letter as &apos;twr drives&apos; shows it, or its device (/dev/sr0); default: the first.</source>
        <translation>Laufwerksbuchstabe, wie »twr drives« ihn zeigt, oder das Gerät (/dev/sr0); Vorgabe: das erste.</translation>
    </message>
    <message>
        <source>Any optical drive (/dev/srN), whether or not it can etch labels.</source>
        <translation>Ein beliebiges optisches Laufwerk (/dev/srN), ob es Labels brennen kann oder nicht.</translation>
    </message>
    <message>
        <source>Write the result as JSON (fields in the README).</source>
        <translation>Das Ergebnis als JSON ausgeben (Felder im README).</translation>
    </message>
    <message>
        <source>twr disc: &apos;--drive %1&apos; is neither a drive letter nor a device path (see &apos;twr drives&apos;)</source>
        <translation>twr disc: »--drive %1« ist weder ein Laufwerksbuchstabe noch ein Gerätepfad (siehe »twr drives«)</translation>
    </message>
    <message>
        <source>twr disc: give either --drive or --device, not both</source>
        <translation>twr disc: entweder --drive oder --device angeben, nicht beides</translation>
    </message>
    <message>
        <source>twr disc: %1</source>
        <translation>twr disc: %1</translation>
    </message>
    <message>
        <source>twr disc: %1 does not answer INQUIRY; name an optical drive such as /dev/sr0</source>
        <translation>twr disc: %1 antwortet nicht auf INQUIRY; nennen Sie ein optisches Laufwerk wie /dev/sr0</translation>
    </message>
    <message>
        <source>Drive:          %1</source>
        <translation>Laufwerk:       %1</translation>
    </message>
    <message>
        <source>Disc:           %1</source>
        <translation>Disc:           %1</translation>
    </message>
    <message>
        <source>Verdict:        %1 (a label can be burned)</source>
        <translation>Urteil:         %1 (ein Label lässt sich brennen)</translation>
    </message>
    <message>
        <source>Verdict:        %1 (no label can be burned)</source>
        <translation>Urteil:         %1 (kein Label lässt sich brennen)</translation>
    </message>
    <message>
        <source>Kind:           %1</source>
        <translation>Art:            %1</translation>
    </message>
    <message>
        <source>Status:         %1</source>
        <translation>Status:         %1</translation>
    </message>
    <message>
        <source>Label side:     yes</source>
        <translation>Labelseite:     ja</translation>
    </message>
    <message>
        <source>Label side:     no</source>
        <translation>Labelseite:     nein</translation>
    </message>
    <message>
        <source>Recorded outer: %1 mm</source>
        <translation>Daten bis:      %1 mm</translation>
    </message>
    <message>
        <source>Volume:         %1</source>
        <translation>Datenträger:    %1</translation>
    </message>
    <message>
        <source>Publisher:      %1</source>
        <translation>Herausgeber:    %1</translation>
    </message>
    <message>
        <source>Date:           %1</source>
        <translation>Datum:          %1</translation>
    </message>
    <message>
        <source>Top level:      [%1]</source>
        <translation>Oberste Ebene:  [%1]</translation>
    </message>
    <message>
        <source>Top level:      %1</source>
        <translation>Oberste Ebene:  %1</translation>
    </message>
    <message>
        <source>Top level:      (a UDF disc: its listing needs a mount)</source>
        <translation>Oberste Ebene:  (eine UDF-Disc: ihr Inhalt lässt sich erst eingehängt auflisten)</translation>
    </message>
    <message>
        <source>Top level:      (the rest cannot be read: the disc&apos;s directory is damaged)</source>
        <translation>Oberste Ebene:  (der Rest ist nicht lesbar: das Verzeichnis der Disc ist beschädigt)</translation>
    </message>
    <message>
        <source>Lists the drives that can etch labels, one display string a line.
The virtual drive of ./twr.ini ([VirtualDrive]) is listed too. When none
can, each drive seen is named with the reason.</source>
        <translation>Listet die Laufwerke, die Labels brennen können, eine Anzeigezeile je Laufwerk.
Das virtuelle Laufwerk aus ./twr.ini ([VirtualDrive]) wird mit aufgeführt. Kann
es keines, wird jedes gefundene Laufwerk mit dem Grund genannt.</translation>
    </message>
    <message>
        <source>Every optical drive and the virtual drive, each with why it can or cannot etch labels.</source>
        <translation>Jedes optische Laufwerk und das virtuelle Laufwerk, jeweils mit dem Grund, warum es Labels brennen kann oder nicht.</translation>
    </message>
    <message>
        <source>Write the list as JSON (fields in the README).</source>
        <translation>Die Liste als JSON ausgeben (Felder im README).</translation>
    </message>
    <message>
        <source>Print the list, then a line for every drive plugged in or pulled out, until Ctrl-C.</source>
        <translation>Die Liste ausgeben, dann eine Zeile für jedes angeschlossene oder entfernte Laufwerk, bis Strg-C.</translation>
    </message>
    <message>
        <source>twr drives: --watch writes text lines; leave out --json</source>
        <translation>twr drives: --watch schreibt Textzeilen; --json weglassen</translation>
    </message>
    <message>
        <source>twr disc: there is no disc in the drive; put one in and try again</source>
        <translation>twr disc: Im Laufwerk liegt keine Disc; legen Sie eine ein und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>Disc:           No disc in the drive.</source>
        <translation>Disc:           Im Laufwerk liegt keine Disc.</translation>
    </message>
</context>
<context>
    <name>DriveNotFound</name>
    <message>
        <source>twr %1: no drive here can etch labels (&apos;twr drives --all&apos; tells why for each drive). Without one, the virtual drive stands in: add a [VirtualDrive] section to %2 (see &apos;man twr&apos;).</source>
        <translation>twr %1: Hier kann kein Laufwerk Etiketten ätzen (»twr drives --all« nennt für jedes Laufwerk den Grund). Ohne eines springt das virtuelle Laufwerk ein: Fügen Sie %2 einen Abschnitt [VirtualDrive] hinzu (siehe »man twr«).</translation>
    </message>
    <message>
        <source>twr %1: there is no drive %3, and no drive here can etch labels (&apos;twr drives --all&apos; tells why for each drive). Without one, the virtual drive stands in: add a [VirtualDrive] section to %2 (see &apos;man twr&apos;).</source>
        <translation>twr %1: Es gibt kein Laufwerk %3, und hier kann kein Laufwerk Etiketten ätzen (»twr drives --all« nennt für jedes Laufwerk den Grund). Ohne eines springt das virtuelle Laufwerk ein: Fügen Sie %2 einen Abschnitt [VirtualDrive] hinzu (siehe »man twr«).</translation>
    </message>
    <message>
        <source>twr %1: there is no drive %2; the drives that can etch labels are:</source>
        <translation>twr %1: Es gibt kein Laufwerk %2; diese Laufwerke können Etiketten ätzen:</translation>
    </message>
</context>
<context>
    <name>DriveReport</name>
    <message>
        <source>can etch labels</source>
        <translation>kann Labels brennen</translation>
    </message>
    <message>
        <source>in use by another program or mounted; unmount it or close that program (it can etch labels)</source>
        <translation>von einem anderen Programm verwendet oder eingehängt; hängen Sie es aus oder schließen Sie dieses Programm (es kann Labels brennen)</translation>
    </message>
    <message>
        <source>in use by another program or mounted; unmount it or close that program</source>
        <translation>von einem anderen Programm verwendet oder eingehängt; hängen Sie es aus oder schließen Sie dieses Programm</translation>
    </message>
    <message>
        <source>no permission to open it; join the cdrom group (sudo usermod -aG cdrom $USER), then log out and in again</source>
        <translation>keine Berechtigung zum Öffnen; treten Sie der Gruppe cdrom bei (sudo usermod -aG cdrom $USER), melden Sie sich dann ab und wieder an</translation>
    </message>
    <message>
        <source>the drive is not there any more; check that it is connected</source>
        <translation>das Laufwerk ist nicht mehr vorhanden; prüfen Sie, ob es angeschlossen ist</translation>
    </message>
    <message>
        <source>no answer to INQUIRY or to the ELS page; check the drive and its connection</source>
        <translation>keine Antwort auf INQUIRY oder auf die ELS-Seite; prüfen Sie das Laufwerk und seine Verbindung</translation>
    </message>
    <message>
        <source>cannot etch labels: it refuses the ELS page (mode page 0x2D)</source>
        <translation>kann keine Labels brennen: es lehnt die ELS-Seite ab (Mode Page 0x2D)</translation>
    </message>
    <message>
        <source>cannot be opened: %1</source>
        <translation>lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>DriveSetup</name>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>Unmount it yourself (%1), then burn again.</source>
        <translation>Hängen Sie sie selbst aus (%1) und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>The desktop&apos;s disk service (udisks2) is not running, so the disc in drive %1 cannot be unmounted from here.</source>
        <translation>Der Datenträgerdienst der Arbeitsumgebung (udisks2) läuft nicht, daher lässt sich die Disc in Laufwerk %1 von hier aus nicht aushängen.</translation>
    </message>
    <message>
        <source>The disc in drive %1 cannot be unmounted: %2 is busy (a program has a file or folder open on it). Close that program, then burn again.</source>
        <translation>Die Disc in Laufwerk %1 lässt sich nicht aushängen: %2 ist belegt (ein Programm hat dort eine Datei oder einen Ordner geöffnet). Schließen Sie dieses Programm und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>The disc in drive %1 was not unmounted: %2.</source>
        <translation>Die Disc in Laufwerk %1 wurde nicht ausgehängt: %2.</translation>
    </message>
    <message>
        <source>not authorised</source>
        <translation>nicht berechtigt</translation>
    </message>
    <message>
        <source>The disc in drive %1 could not be unmounted.</source>
        <translation>Die Disc in Laufwerk %1 ließ sich nicht aushängen.</translation>
    </message>
    <message>
        <source>The disc in drive %1 could not be unmounted: %2.</source>
        <translation>Die Disc in Laufwerk %1 ließ sich nicht aushängen: %2.</translation>
    </message>
    <message>
        <source>Drive %1 is in use: its disc is mounted at %2.</source>
        <translation>Laufwerk %1 ist belegt: Seine Disc ist unter %2 eingehängt.</translation>
    </message>
    <message>
        <source>The disc in drive %1 is mounted at %2. Unmount it so that the label can be burned?</source>
        <translation>Die Disc in Laufwerk %1 ist unter %2 eingehängt. Aushängen, damit das Label gebrannt werden kann?</translation>
    </message>
    <message>
        <source>Burn with %1 to have it unmounted, or unmount it yourself (%2).</source>
        <translation>Brennen Sie mit %1, um sie aushängen zu lassen, oder hängen Sie sie selbst aus (%2).</translation>
    </message>
    <message>
        <source>Drive %1 is still in use: its disc is still mounted at %2, and that mount is busy (a program has a file or folder open on it). Close that program, then burn again.</source>
        <translation>Laufwerk %1 ist noch belegt: Seine Disc ist noch unter %2 eingehängt, und dieser Einhängepunkt ist belegt (ein Programm hat dort eine Datei oder einen Ordner geöffnet). Schließen Sie dieses Programm und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Drive %1 is still in use by another program, though its disc is no longer mounted; close that program, then burn again.</source>
        <translation>Laufwerk %1 wird noch von einem anderen Programm verwendet, obwohl seine Disc nicht mehr eingehängt ist; schließen Sie dieses Programm und brennen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Drive %1 is in use by another program or mounted; unmount it or close that program.</source>
        <translation>Laufwerk %1 wird von einem anderen Programm verwendet oder ist eingehängt; hängen Sie es aus oder schließen Sie dieses Programm.</translation>
    </message>
    <message>
        <source>You may not open drive %1: join the cdrom group (sudo usermod -aG cdrom $USER), then log out and in again.</source>
        <translation>Sie dürfen Laufwerk %1 nicht öffnen: Treten Sie der Gruppe cdrom bei (sudo usermod -aG cdrom $USER), melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Drive %1 is not there any more; check that it is connected.</source>
        <translation>Laufwerk %1 ist nicht mehr vorhanden; prüfen Sie, ob es angeschlossen ist.</translation>
    </message>
    <message>
        <source>Drive %1 cannot be opened: %2.</source>
        <translation>Laufwerk %1 lässt sich nicht öffnen: %2.</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>LabelExport</name>
    <message>
        <source>the PDF writer could not start</source>
        <translation>der PDF-Schreiber ließ sich nicht starten</translation>
    </message>
    <message>
        <source>there is no rendered label</source>
        <translation>es gibt kein gezeichnetes Label</translation>
    </message>
    <message>
        <source>the PDF writer did not give a page of 116 x 116 mm</source>
        <translation>der PDF-Schreiber lieferte keine Seite von 116 x 116 mm</translation>
    </message>
    <message>
        <source>the SVG writer could not start</source>
        <translation>der SVG-Schreiber ließ sich nicht starten</translation>
    </message>
    <message>
        <source>its name does not end in .pdf or .svg</source>
        <translation>sein Name endet nicht auf .pdf oder .svg</translation>
    </message>
</context>
<context>
    <name>LabelOptions</name>
    <message>
        <source>The title, date and note boxes keep no fill: the picture shows under their text.</source>
        <translation>Die Felder für Titel, Datum und Notiz bleiben ohne Füllung: Unter ihrem Text ist das Bild zu sehen.</translation>
    </message>
    <message>
        <source>A halo in the opposite grey around the boxes&apos; texts and the ring text, so that they stay legible over a picture.</source>
        <translation>Ein Lichthof im Gegengrau um die Texte der Felder und den Ringtext, damit sie über einem Bild lesbar bleiben.</translation>
    </message>
    <message>
        <source>Layout number in the settings file (default 0).</source>
        <translation>Nummer des Layouts in der Einstellungsdatei (Vorgabe 0).</translation>
    </message>
    <message>
        <source>Title of the label.</source>
        <translation>Titel des Labels.</translation>
    </message>
    <message>
        <source>Date of the label.</source>
        <translation>Datum des Labels.</translation>
    </message>
    <message>
        <source>A note line; folders written as &quot;[name]&quot; come first.</source>
        <translation>Eine Notizzeile; Ordner, als „[Name]“ geschrieben, kommen zuerst.</translation>
    </message>
    <message>
        <source>Inner radius of the burning area in millimetres.</source>
        <translation>Innenradius des Brennbereichs in Millimetern.</translation>
    </message>
    <message>
        <source>Outer radius of the burning area in millimetres.</source>
        <translation>Außenradius des Brennbereichs in Millimetern.</translation>
    </message>
    <message>
        <source>Start from a label design (.twrlabel); the options given beside it win.</source>
        <translation>Von einem Label-Design (.twrlabel) ausgehen; daneben angegebene Optionen haben Vorrang.</translation>
    </message>
    <message>
        <source>Cannot open the design &apos;%1&apos;: %2.</source>
        <translation>Das Design »%1« lässt sich nicht öffnen: %2.</translation>
    </message>
    <message>
        <source>The design&apos;s font face &quot;%1&quot; is not installed here; a similar face is drawn instead.</source>
        <translation>Die Schrift „%1“ des Designs ist hier nicht installiert; stattdessen wird eine ähnliche Schrift verwendet.</translation>
    </message>
    <message>
        <source>The design&apos;s background picture %1 could not be used when it was saved (%2); BgColor fills the label.</source>
        <translation>Das Hintergrundbild %1 des Designs ließ sich beim Speichern nicht verwenden (%2); BgColor füllt das Label.</translation>
    </message>
    <message>
        <source>Layout %1 does not exist: the settings file has %2 layouts, numbered from 0.</source>
        <translation>Layout %1 gibt es nicht: Die Einstellungsdatei hat %2 Layouts, von 0 an nummeriert.</translation>
    </message>
    <message>
        <source>The design&apos;s layout could not be rendered (check its BaseLength and ring band).</source>
        <translation>Das Layout des Designs ließ sich nicht zeichnen (prüfen Sie BaseLength und das Ringband).</translation>
    </message>
    <message>
        <source>Layout %1 could not be rendered (check its BaseLength and ring band).</source>
        <translation>Layout %1 ließ sich nicht zeichnen (prüfen Sie BaseLength und das Ringband).</translation>
    </message>
    <message>
        <source>twr %1: warning: %2</source>
        <translation>twr %1: Warnung: %2</translation>
    </message>
    <message>
        <source>The design&apos;s layout cannot be drawn in the burning area %1 - %2 mm: %3.</source>
        <translation>Das Layout des Designs lässt sich im Brennbereich %1 - %2 mm nicht zeichnen: %3.</translation>
    </message>
    <message>
        <source>The design&apos;s layout cannot be drawn: %1.</source>
        <translation>Das Layout des Designs lässt sich nicht zeichnen: %1.</translation>
    </message>
    <message>
        <source>Layout %1 cannot be drawn in the burning area %2 - %3 mm: %4.</source>
        <translation>Layout %1 lässt sich im Brennbereich %2 - %3 mm nicht zeichnen: %4.</translation>
    </message>
    <message>
        <source>Layout %1 cannot be drawn: %2.</source>
        <translation>Layout %1 lässt sich nicht zeichnen: %2.</translation>
    </message>
    <message>
        <source>auto: burn the narrowest band that holds every mark of the label at the quality; manual: the layout&apos;s radii or --inner/--outer (the default, unless a design made for the automatic area says otherwise).</source>
        <translation>auto: das schmalste Band brennen, das jede Markierung des Etiketts bei der Qualität enthält; manual: die Radien des Layouts oder --inner/--outer (die Vorgabe, außer ein Entwurf für den automatischen Bereich sagt anderes).</translation>
    </message>
    <message>
        <source>Text of the QR code, drawn in the layout&apos;s QR box (QrSize above 0).</source>
        <translation>Text des QR-Codes, gezeichnet im QR-Feld des Layouts (QrSize über 0).</translation>
    </message>
    <message>
        <source>The label&apos;s own picture instead of the layout&apos;s; it fills the label and is fit to etch unless --picture-fit or --tone say otherwise.</source>
        <translation>Ein eigenes Bild für dieses Etikett statt des Bildes des Layouts; es füllt das Etikett und wird an das Ätzen angepasst, sofern --picture-fit oder --tone nichts anderes sagen.</translation>
    </message>
    <message>
        <source>fit: the whole picture, bare edges in BgColor; fill: the label covered, the picture cropped; stretch: squeezed into the square as a layout&apos;s picture.</source>
        <translation>fit: das ganze Bild, freie Ränder in BgColor; fill: das Etikett bedeckt, das Bild beschnitten; stretch: ins Quadrat gestaucht wie das Bild eines Layouts.</translation>
    </message>
    <message>
        <source>auto: the picture&apos;s greys spread over what the quality can etch; none: its greys as they are.</source>
        <translation>auto: die Grautöne des Bildes auf das verteilt, was die Qualität ätzen kann; none: die Grautöne, wie sie sind.</translation>
    </message>
    <message>
        <source>Brighter (up to 100) or darker (down to -100).</source>
        <translation>Heller (bis 100) oder dunkler (bis -100).</translation>
    </message>
    <message>
        <source>More contrast (up to 100) or less (down to -100).</source>
        <translation>Mehr Kontrast (bis 100) oder weniger (bis -100).</translation>
    </message>
    <message>
        <source>Above 1 lightens the mid-greys, below 1 darkens (0.1 to 10).</source>
        <translation>Über 1 hellt die mittleren Grautöne auf, unter 1 dunkelt sie ab (0.1 bis 10).</translation>
    </message>
    <message>
        <source>%1 %2 is not within %3 to %4</source>
        <translation>%1 %2 liegt nicht zwischen %3 und %4</translation>
    </message>
    <message>
        <source>Cannot use the picture &apos;%1&apos;: %2.</source>
        <translation>Das Bild „%1“ kann nicht verwendet werden: %2.</translation>
    </message>
</context>
<context>
    <name>LabelWarnings</name>
    <message>
        <source>%1 - %2 mm</source>
        <translation>%1 - %2 mm</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>»%1«</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not drawn: %3 is %4.</source>
        <translation>%1 »%2« wird nicht gezeichnet: %3 ist %4.</translation>
    </message>
    <message>
        <source>The background picture &quot;%1&quot; %2; the label is filled with its BgColor (grey %3) instead.</source>
        <translation>Hintergrundbild »%1«: %2; das Label wird stattdessen mit seiner BgColor (Grauwert %3) gefüllt.</translation>
    </message>
    <message>
        <source>The title box</source>
        <translation>Das Titelfeld</translation>
    </message>
    <message>
        <source>The title</source>
        <translation>Der Titel</translation>
    </message>
    <message>
        <source>The date box</source>
        <translation>Das Datumsfeld</translation>
    </message>
    <message>
        <source>The date</source>
        <translation>Das Datum</translation>
    </message>
    <message>
        <source>The note box</source>
        <translation>Das Notizfeld</translation>
    </message>
    <message>
        <source>Note line %1</source>
        <translation>Notizzeile %1</translation>
    </message>
    <message>
        <source>%1 lies wholly outside the burning area (%2): its text will not be burned.</source>
        <translation>%1 liegt ganz außerhalb des Brennbereichs (%2): Sein Text wird nicht gebrannt.</translation>
    </message>
    <message>
        <source>%1 reaches under the hub (inside %2 mm): the part of its text there will not be burned.</source>
        <translation>%1 reicht unter die Nabe (innerhalb von %2 mm): Der Teil seines Textes dort wird nicht gebrannt.</translation>
    </message>
    <message>
        <source>Only ten note lines are drawn; %1 more line is left out: %2.</source>
        <translation>Nur zehn Notizzeilen werden gezeichnet; %1 weitere Zeile fällt weg: %2.</translation>
    </message>
    <message>
        <source>Only ten note lines are drawn; %1 more lines are left out: %2.</source>
        <translation>Nur zehn Notizzeilen werden gezeichnet; %1 weitere Zeilen fallen weg: %2.</translation>
    </message>
    <message>
        <source>The ring text (%1) lies wholly outside the burning area (%2): it will not be burned.</source>
        <translation>Der Ringtext (%1) liegt ganz außerhalb des Brennbereichs (%2): Er wird nicht gebrannt.</translation>
    </message>
    <message>
        <source>The ring text (%1) reaches under the hub (inside %2 mm): its inner part will not be burned.</source>
        <translation>Der Ringtext (%1) reicht unter die Nabe (innerhalb von %2 mm): Sein innerer Teil wird nicht gebrannt.</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is cut to &quot;%3&quot; (%4=%5 characters; a wide East Asian character counts two).</source>
        <translation>%1 »%2« wird auf »%3« gekürzt (%4=%5 Zeichen; ein breites ostasiatisches Zeichen zählt doppelt).</translation>
    </message>
    <message>
        <source>The layout cannot be drawn: %1. None of its texts is drawn or burned.</source>
        <translation>Das Layout lässt sich nicht zeichnen: %1. Keiner seiner Texte wird gezeichnet oder gebrannt.</translation>
    </message>
    <message>
        <source>the title box</source>
        <translation>das Titelfeld</translation>
    </message>
    <message>
        <source>the date box</source>
        <translation>das Datumsfeld</translation>
    </message>
    <message>
        <source>the note box</source>
        <translation>das Notizfeld</translation>
    </message>
    <message>
        <source>the ring text</source>
        <translation>der Ringtext</translation>
    </message>
    <message>
        <source>the background</source>
        <translation>der Hintergrund</translation>
    </message>
    <message>
        <source>The QR code&apos;s text is %1 bytes long; a code holds at most %2: no QR code is drawn.</source>
        <translation>Der Text des QR-Codes ist %1 Bytes lang; ein Code fasst höchstens %2: Es wird kein QR-Code gezeichnet.</translation>
    </message>
    <message>
        <source>The QR code lies wholly outside the burning area (%1): it will not be burned.</source>
        <translation>Der QR-Code liegt ganz außerhalb des Brennbereichs (%1): Er wird nicht gebrannt.</translation>
    </message>
    <message>
        <source>The QR code reaches under the hub (inside %1 mm): the part there will not be burned and the code will not read.</source>
        <translation>Der QR-Code reicht unter die Nabe (innerhalb von %1 mm): Der Teil dort wird nicht gebrannt, und der Code ist nicht lesbar.</translation>
    </message>
    <message>
        <source>The QR code&apos;s modules are %1 mm wide; %2 etches them legibly from %3 mm: make QrSize at least %4 label pixels or shorten the QR code&apos;s text.</source>
        <translation>Die Module des QR-Codes sind %1 mm breit; %2 brennt sie ab %3 mm lesbar: Setzen Sie QrSize auf mindestens %4 Labelpixel oder kürzen Sie den Text des QR-Codes.</translation>
    </message>
    <message>
        <source>the QR code</source>
        <translation>der QR-Code</translation>
    </message>
</context>
<context>
    <name>LayoutCommands</name>
    <message>
        <source>Shows, adds, changes, deletes and moves the layouts of the settings file, with
the layout designer&apos;s limits. Only the layout sections that change and
[Config] LayoutNum are written, in one step; every other line stays.</source>
        <translation>Zeigt, ergänzt, ändert, löscht und verschiebt die Layouts der Einstellungsdatei,
mit den Grenzen des Layout-Designers. Nur die geänderten Layout-Abschnitte und
[Config] LayoutNum werden geschrieben, in einem Schritt; jede andere Zeile bleibt.</translation>
    </message>
    <message>
        <source>Layouts are numbered from 0 as &apos;twr layouts&apos; lists them. KEY is a key of a
[LayoutNN] section (TitlePosX, BgColor, RingType, ...). A BgImage picture is
copied into the settings file&apos;s bg/ folder unless it lies in that file&apos;s
folder already. Run &apos;twr layout SUBCOMMAND --help&apos; for its options.</source>
        <translation>Layouts sind von 0 an nummeriert, wie »twr layouts« sie listet. KEY ist ein
Schlüssel eines [LayoutNN]-Abschnitts (TitlePosX, BgColor, RingType, ...). Ein
BgImage-Bild wird in den Ordner bg/ der Einstellungsdatei kopiert, außer es liegt
schon in deren Ordner. »twr layout SUBCOMMAND --help« nennt seine Optionen.</translation>
    </message>
    <message>
        <source>Usage: twr layout %1</source>
        <translation>Aufruf: twr layout %1</translation>
    </message>
    <message>
        <source>needs %1</source>
        <translation>braucht %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a layout number</source>
        <translation>»%1« ist keine Layoutnummer</translation>
    </message>
    <message>
        <source>twr layout %1: cannot read the settings file %2: %3</source>
        <translation>twr layout %1: Die Einstellungsdatei %2 lässt sich nicht lesen: %3</translation>
    </message>
    <message>
        <source>twr layout %1: %2</source>
        <translation>twr layout %1: %2</translation>
    </message>
    <message>
        <source>Prints the keys of layout N as its [LayoutNN] section holds them, one
KEY=VALUE per line, or as JSON with --json.</source>
        <translation>Gibt die Schlüssel von Layout N aus, wie sein [LayoutNN]-Abschnitt sie enthält,
ein KEY=VALUE je Zeile, oder mit --json als JSON.</translation>
    </message>
    <message>
        <source>Print {&quot;settings&quot;, &quot;index&quot;, &quot;section&quot;, &quot;keys&quot;: {KEY: value}} (numbers as numbers).</source>
        <translation>{&quot;settings&quot;, &quot;index&quot;, &quot;section&quot;, &quot;keys&quot;: {KEY: value}} ausgeben (Zahlen als Zahlen).</translation>
    </message>
    <message>
        <source>Adds a layout at the end of the list: a copy of layout N with --from,
otherwise the built-in starting layout (title, date and note boxes, title
and date on the upper arc of the ring, notes below).</source>
        <translation>Fügt am Ende der Liste ein Layout an: mit --from eine Kopie von Layout N, sonst
das eingebaute Startlayout (Felder für Titel, Datum und Notiz, Titel und Datum
auf dem oberen Bogen des Rings, Notizen darunter).</translation>
    </message>
    <message>
        <source>Copy layout N.</source>
        <translation>Layout N kopieren.</translation>
    </message>
    <message>
        <source>The new layout&apos;s name (1 to 79 bytes).</source>
        <translation>Der Name des neuen Layouts (1 bis 79 Byte).</translation>
    </message>
    <message>
        <source>needs --name NAME</source>
        <translation>braucht --name NAME</translation>
    </message>
    <message>
        <source>Added layout %1 %2 (a copy of layout %3)</source>
        <translation>Layout %1 %2 hinzugefügt (eine Kopie von Layout %3)</translation>
    </message>
    <message>
        <source>Added layout %1 %2 (the built-in starting layout)</source>
        <translation>Layout %1 %2 hinzugefügt (das eingebaute Startlayout)</translation>
    </message>
    <message>
        <source>Sets keys of layout N (the keys of a [LayoutNN] section, VALUE as the file
writes it). Every value is checked first: one outside its limits is refused
with the reason and nothing is written. A BgImage picture (named from the
current folder) is copied into the settings file&apos;s bg/ folder unless it lies
in that file&apos;s folder already; BgImage= takes the picture away.</source>
        <translation>Setzt Schlüssel von Layout N (die Schlüssel eines [LayoutNN]-Abschnitts, VALUE
wie in der Datei). Jeder Wert wird zuerst geprüft: einer außerhalb seiner Grenzen
wird mit Grund abgelehnt, und nichts wird geschrieben. Ein BgImage-Bild (vom
aktuellen Ordner aus benannt) wird in den Ordner bg/ der Einstellungsdatei
kopiert, außer es liegt schon in deren Ordner; BgImage= entfernt das Bild.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not KEY=VALUE</source>
        <translation>»%1« ist nicht KEY=VALUE</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a key of a layout (the keys: %2).</source>
        <translation>»%1« ist kein Schlüssel eines Layouts (die Schlüssel: %2).</translation>
    </message>
    <message>
        <source>BgImage: %1.</source>
        <translation>BgImage: %1.</translation>
    </message>
    <message>
        <source>Layout %1:%2</source>
        <translation>Layout %1:%2</translation>
    </message>
    <message>
        <source>Deletes layout N; the layouts after it move up one place. The only layout
cannot be deleted.</source>
        <translation>Löscht Layout N; die Layouts danach rücken um einen Platz auf. Das einzige
Layout lässt sich nicht löschen.</translation>
    </message>
    <message>
        <source>Deleted layout %1 %2; %3 layouts are left</source>
        <translation>Layout %1 %2 gelöscht; %3 Layouts bleiben</translation>
    </message>
    <message>
        <source>Moves layout N to place M; the layouts between move over by one.</source>
        <translation>Verschiebt Layout N auf Platz M; die Layouts dazwischen rücken um eins weiter.</translation>
    </message>
    <message>
        <source>Moved layout %1 %2 to place %3</source>
        <translation>Layout %1 %2 auf Platz %3 verschoben</translation>
    </message>
    <message>
        <source>twr layout: no subcommand given</source>
        <translation>twr layout: kein Unterbefehl angegeben</translation>
    </message>
    <message>
        <source>twr layout: unknown subcommand &apos;%1&apos;</source>
        <translation>twr layout: unbekannter Unterbefehl »%1«</translation>
    </message>
    <message>
        <source>twr layout: unknown subcommand &apos;%1&apos;; did you mean &apos;%2&apos;?</source>
        <translation>twr layout: unbekannter Unterbefehl »%1«; meinten Sie »%2«?</translation>
    </message>
    <message>
        <source>Usage: twr layout show N [--json]
       twr layout new [--from N] --name NAME
       twr layout set N KEY=VALUE...
       twr layout delete N
       twr layout move N M

</source>
        <translation>Aufruf: twr layout show N [--json]
        twr layout new [--from N] --name NAME
        twr layout set N KEY=VALUE...
        twr layout delete N
        twr layout move N M

</translation>
    </message>
</context>
<context>
    <name>LayoutDefinition</name>
    <message>
        <source>%1 must be a grey from 0 (black) to 255 (white)</source>
        <translation>%1 muss ein Grauwert von 0 (Schwarz) bis 255 (Weiß) sein</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 label pixels</source>
        <translation>%1 muss %2 bis %3 Labelpixel sein</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 label pixels (the side of the label)</source>
        <translation>%1 muss %2 bis %3 Labelpixel sein (die Seitenlänge des Labels)</translation>
    </message>
    <message>
        <source>%1 must be %2</source>
        <translation>%1 muss %2 sein</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 degrees</source>
        <translation>%1 muss %2 bis %3 Grad sein</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 mm (0: no ring text)</source>
        <translation>%1 muss %2 bis %3 mm sein (0: kein Ringtext)</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 mm (at least %2, at most OuterRadius)</source>
        <translation>%1 muss %2 bis %3 mm sein (mindestens %2, höchstens OuterRadius)</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 mm (at least InnerRadius, at most %3)</source>
        <translation>%1 muss %2 bis %3 mm sein (mindestens InnerRadius, höchstens %3)</translation>
    </message>
    <message>
        <source>0 (%1), 1 (%2) or 2 (%3)</source>
        <translation>0 (%1), 1 (%2) oder 2 (%3)</translation>
    </message>
    <message>
        <source>%1 is out of range</source>
        <translation>%1 liegt außerhalb des zulässigen Bereichs</translation>
    </message>
    <message>
        <source>%1 must be one line</source>
        <translation>%1 muss eine einzige Zeile sein</translation>
    </message>
    <message>
        <source>%1 must be at most %2 bytes (it has %3)</source>
        <translation>%1 darf höchstens %2 Byte lang sein (es sind %3)</translation>
    </message>
    <message>
        <source>Name must not be empty: the layout list shows it</source>
        <translation>Name darf nicht leer sein: Die Layoutliste zeigt ihn an</translation>
    </message>
    <message>
        <source>%1 is not a number key of a layout</source>
        <translation>%1 ist kein Zahlenschlüssel eines Layouts</translation>
    </message>
    <message>
        <source>%1 is not a key of a layout</source>
        <translation>%1 ist kein Schlüssel eines Layouts</translation>
    </message>
    <message>
        <source>%1 must be a whole number (%2 is not one)</source>
        <translation>%1 muss eine ganze Zahl sein (%2 ist keine)</translation>
    </message>
    <message>
        <source>a ring band of %1 mm is too thin for ring text at any BaseLength (ring text needs a strip of %2 label pixels; RingLength 0 leaves it out)</source>
        <translation>ein Ringband von %1 mm ist bei jeder BaseLength zu schmal für Ringtext (Ringtext braucht einen Streifen von %2 Labelpixeln; RingLength 0 lässt ihn weg)</translation>
    </message>
    <message>
        <source>BaseLength must be %1 to %2 label pixels for a ring band of %3 mm (ring text needs a strip of %4 label pixels; RingLength 0 leaves it out)</source>
        <translation>BaseLength muss für ein Ringband von %3 mm %1 bis %2 Labelpixel sein (Ringtext braucht einen Streifen von %4 Labelpixeln; RingLength 0 lässt ihn weg)</translation>
    </message>
    <message>
        <source>%1 must be %2 to %3 characters (a wide East Asian character counts two)</source>
        <translation>%1 muss %2 bis %3 Zeichen sein (ein breites ostasiatisches Zeichen zählt doppelt)</translation>
    </message>
    <message>
        <source>Name must be UTF-8 text</source>
        <translation>Name muss UTF-8-Text sein</translation>
    </message>
    <message>
        <source>%1 must not hold control characters</source>
        <translation>%1 darf keine Steuerzeichen enthalten</translation>
    </message>
    <message>
        <source>%1 %2 makes the ring band %3 mm, too thin for ring text at any BaseLength (RingLength 0 leaves the ring text out)</source>
        <translation>%1 %2 macht das Ringband %3 mm schmal, bei jeder BaseLength zu schmal für Ringtext (RingLength 0 lässt den Ringtext weg)</translation>
    </message>
    <message>
        <source>%1 %2 makes the ring band %3 mm, too thin for ring text at BaseLength %4: it needs BaseLength %5 or more (RingLength 0 leaves the ring text out)</source>
        <translation>%1 %2 macht das Ringband %3 mm schmal, bei BaseLength %4 zu schmal für Ringtext: Es braucht BaseLength %5 oder mehr (RingLength 0 lässt den Ringtext weg)</translation>
    </message>
    <message>
        <source>InnerRadius and OuterRadius must be %1 to %2 mm, InnerRadius not beyond OuterRadius</source>
        <translation>InnerRadius und OuterRadius müssen %1 bis %2 mm sein, InnerRadius nicht jenseits von OuterRadius</translation>
    </message>
    <message>
        <source>RingLength must be 0 (no ring text) or more mm</source>
        <translation>RingLength muss 0 (kein Ringtext) oder mehr mm sein</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Linker Rand</translation>
    </message>
    <message>
        <source>From the disc centre; to the left is negative</source>
        <translation>Von der Discmitte aus; nach links ist negativ</translation>
    </message>
    <message>
        <source>Top edge</source>
        <translation>Oberer Rand</translation>
    </message>
    <message>
        <source>From the disc centre; upwards is negative</source>
        <translation>Von der Discmitte aus; nach oben ist negativ</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>At most</source>
        <translation>Höchstens</translation>
    </message>
    <message>
        <source>MaxNum: the box draws at most this many characters of its text; a wide East Asian character counts two</source>
        <translation>MaxNum: das Feld zeichnet höchstens so viele Zeichen seines Textes; ein breites ostasiatisches Zeichen zählt doppelt</translation>
    </message>
    <message>
        <source>Alignment</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>The label&apos;s side in pixels (116 mm across); the boxes keep their place</source>
        <translation>Die Seitenlänge des Labels in Pixeln (116 mm breit); die Felder behalten ihren Platz</translation>
    </message>
    <message>
        <source>RingMAngle: degrees of arc for the title and date</source>
        <translation>RingMAngle: Bogengrad für Titel und Datum</translation>
    </message>
    <message>
        <source>RingSAngle: degrees of arc for the note lines (upper and lower arc)</source>
        <translation>RingSAngle: Bogengrad für die Notizzeilen (oberer und unterer Bogen)</translation>
    </message>
    <message>
        <source>RingLength: the ring text band&apos;s thickness; 0 draws no ring text</source>
        <translation>RingLength: die Stärke des Ringtextbands; 0 zeichnet keinen Ringtext</translation>
    </message>
    <message>
        <source>The inner edge of the burning area, at least 25 mm</source>
        <translation>Der innere Rand des Brennbereichs, mindestens 25 mm</translation>
    </message>
    <message>
        <source>The outer edge of the burning area, at most 58 mm</source>
        <translation>Der äußere Rand des Brennbereichs, höchstens 58 mm</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Background picture</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>Background grey</source>
        <translation>Hintergrundgrau</translation>
    </message>
    <message>
        <source>Text grey</source>
        <translation>Textgrau</translation>
    </message>
    <message>
        <source>BaseLength</source>
        <translation>BaseLength</translation>
    </message>
    <message>
        <source>Arrangement</source>
        <translation>Anordnung</translation>
    </message>
    <message>
        <source>Place in the band</source>
        <translation>Platz im Band</translation>
    </message>
    <message>
        <source>Title and date arc</source>
        <translation>Bogen für Titel und Datum</translation>
    </message>
    <message>
        <source>Note arc</source>
        <translation>Bogen für Notizen</translation>
    </message>
    <message>
        <source>Thickness</source>
        <translation>Stärke</translation>
    </message>
    <message>
        <source>Inner radius</source>
        <translation>Innenradius</translation>
    </message>
    <message>
        <source>Outer radius</source>
        <translation>Außenradius</translation>
    </message>
    <message>
        <source>One line around the full circle</source>
        <translation>Eine Zeile rund um den ganzen Kreis</translation>
    </message>
    <message>
        <source>Title and date above, notes below</source>
        <translation>Titel und Datum oben, Notizen unten</translation>
    </message>
    <message>
        <source>Two rows on the lower arc</source>
        <translation>Zwei Reihen auf dem unteren Bogen</translation>
    </message>
    <message>
        <source>At the inner radius</source>
        <translation>Am Innenradius</translation>
    </message>
    <message>
        <source>Centred in the band</source>
        <translation>Mittig im Band</translation>
    </message>
    <message>
        <source>At the outer radius</source>
        <translation>Am Außenradius</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Centred</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>The QR code box&apos;s corner in label pixels from the label&apos;s top left</source>
        <translation>Die Ecke des QR-Code-Felds in Labelpixeln von der oberen linken Ecke des Etiketts</translation>
    </message>
    <message>
        <source>The QR code box&apos;s side in label pixels; 0 draws no QR code. The code with its quiet zone is drawn as large as whole pixels per module allow</source>
        <translation>Die Seite des QR-Code-Felds in Labelpixeln; 0 zeichnet keinen QR-Code. Der Code mit seiner Ruhezone wird so groß gezeichnet, wie ganze Pixel je Modul es erlauben</translation>
    </message>
    <message>
        <source>QR code left edge</source>
        <translation>QR-Code linker Rand</translation>
    </message>
    <message>
        <source>QR code top edge</source>
        <translation>QR-Code oberer Rand</translation>
    </message>
    <message>
        <source>QR code size</source>
        <translation>QR-Code-Größe</translation>
    </message>
</context>
<context>
    <name>LayoutFile</name>
    <message>
        <source>cannot copy %1 into %2: %3</source>
        <translation>%1 lässt sich nicht nach %2 kopieren: %3</translation>
    </message>
    <message>
        <source>Cannot save the settings file %1: %2.</source>
        <translation>Die Einstellungsdatei %1 lässt sich nicht speichern: %2.</translation>
    </message>
    <message>
        <source>Layout %1 does not exist: the settings file has %2 layouts, numbered from 0.</source>
        <translation>Layout %1 gibt es nicht: Die Einstellungsdatei hat %2 Layouts, von 0 an nummeriert.</translation>
    </message>
    <message>
        <source>A settings file holds at most %1 layouts.</source>
        <translation>Eine Einstellungsdatei fasst höchstens %1 Layouts.</translation>
    </message>
    <message>
        <source>The only layout cannot be deleted: a settings file without layouts opens neither program.</source>
        <translation>Das einzige Layout lässt sich nicht löschen: Mit einer Einstellungsdatei ohne Layouts startet keines der beiden Programme.</translation>
    </message>
    <message>
        <source>a value holds a line break</source>
        <translation>ein Wert enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 lässt sich nicht lesen</translation>
    </message>
    <message>
        <source>cannot make the folder %1: %2</source>
        <translation>der Ordner %1 lässt sich nicht anlegen: %2</translation>
    </message>
    <message>
        <source>there are too many pictures named %1 in %2</source>
        <translation>in %2 gibt es zu viele Bilder namens %1</translation>
    </message>
    <message>
        <source>its [%1] %2 is %3, more than the %4 layouts a settings file holds; set it to the number of its layouts</source>
        <translation>ihr [%1] %2 ist %3, mehr als die %4 Layouts, die eine Einstellungsdatei aufnimmt; setzen Sie den Wert auf die Zahl ihrer Layouts</translation>
    </message>
    <message>
        <source>it holds a [%1] section beyond the %2 layouts its [%3] %4 counts, which a new layout would replace; make %4 count it, or remove the section</source>
        <translation>sie enthält einen Abschnitt [%1] jenseits der %2 Layouts, die ihr [%3] %4 zählt, den ein neues Layout ersetzen würde; lassen Sie %4 ihn mitzählen oder entfernen Sie den Abschnitt</translation>
    </message>
</context>
<context>
    <name>MarkedBand</name>
    <message>
        <source>Nothing of this label marks the disc at %1: a burn would leave it blank. Darken its texts or its picture, or choose a higher quality.</source>
        <translation>Nichts von diesem Etikett markiert die Disc bei %1: ein Brennen ließe sie leer. Machen Sie seine Texte oder sein Bild dunkler, oder wählen Sie eine höhere Qualität.</translation>
    </message>
</context>
<context>
    <name>MergeCsv</name>
    <message>
        <source>there is text after the closing double quote of field %1 (a double quote inside a quoted text is written twice: &quot;&quot;)</source>
        <translation>nach dem schließenden doppelten Anführungszeichen von Feld %1 steht noch Text (ein doppeltes Anführungszeichen in einem Text in Anführungszeichen wird doppelt geschrieben: &quot;&quot;)</translation>
    </message>
    <message>
        <source>field %1 opens a double quote that is never closed</source>
        <translation>Feld %1 öffnet ein doppeltes Anführungszeichen, das nie geschlossen wird</translation>
    </message>
    <message>
        <source>column %1 is named &quot;%2&quot;; the columns are title, date and note1 to note10 (the fields must be separated by commas)</source>
        <translation>Spalte %1 heißt »%2«; die Spalten sind title, date und note1 bis note10 (die Felder müssen durch Kommas getrennt sein)</translation>
    </message>
    <message>
        <source>column %1 is named &quot;%2&quot;; the columns are title, date and note1 to note10</source>
        <translation>Spalte %1 heißt »%2«; die Spalten sind title, date und note1 bis note10</translation>
    </message>
    <message>
        <source>the column %1 is named twice</source>
        <translation>die Spalte %1 ist zweimal genannt</translation>
    </message>
    <message>
        <source>it has %1 fields but the header %2 (a text with a comma must be written in double quotes)</source>
        <translation>sie hat %1 Felder, die Kopfzeile aber %2 (ein Text mit Komma muss in doppelten Anführungszeichen stehen)</translation>
    </message>
    <message>
        <source>field %1 is not UTF-8 text (save the file as UTF-8)</source>
        <translation>Feld %1 ist kein UTF-8-Text (speichern Sie die Datei als UTF-8)</translation>
    </message>
    <message>
        <source>field %1 holds a NUL byte</source>
        <translation>Feld %1 enthält ein NUL-Byte</translation>
    </message>
    <message>
        <source>field %1 holds text but its column has no name</source>
        <translation>Feld %1 enthält Text, aber seine Spalte hat keinen Namen</translation>
    </message>
    <message>
        <source>the title holds a line break; it is drawn on one line</source>
        <translation>der Titel enthält einen Zeilenumbruch; er wird in einer Zeile gezeichnet</translation>
    </message>
    <message>
        <source>the date holds a line break; it is drawn on one line</source>
        <translation>das Datum enthält einen Zeilenumbruch; es wird in einer Zeile gezeichnet</translation>
    </message>
    <message>
        <source>row %1 (line %2): %3</source>
        <translation>Zeile %1 (Textzeile %2): %3</translation>
    </message>
    <message>
        <source>row %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>the file is empty: it needs a header row (title,date,note1,...)</source>
        <translation>die Datei ist leer: Sie braucht eine Kopfzeile (title,date,note1,...)</translation>
    </message>
    <message>
        <source>the file names more than %1 discs</source>
        <translation>die Datei nennt mehr als %1 Discs</translation>
    </message>
    <message>
        <source>the file has a header but no row for a disc</source>
        <translation>die Datei hat eine Kopfzeile, aber keine Zeile für eine Disc</translation>
    </message>
    <message>
        <source>the title is %1 characters long (a wide East Asian character counts two); the label takes at most %2</source>
        <translation>der Titel ist %1 Zeichen lang (ein breites ostasiatisches Zeichen zählt doppelt); das Label übernimmt höchstens %2</translation>
    </message>
    <message>
        <source>the date is %1 characters long (a wide East Asian character counts two); the label takes at most %2</source>
        <translation>das Datum ist %1 Zeichen lang (ein breites ostasiatisches Zeichen zählt doppelt); das Label übernimmt höchstens %2</translation>
    </message>
    <message>
        <source>the note is %1 characters long (a wide East Asian character counts two); the label takes at most %2</source>
        <translation>die Notiz ist %1 Zeichen lang (ein breites ostasiatisches Zeichen zählt doppelt); das Label übernimmt höchstens %2</translation>
    </message>
</context>
<context>
    <name>PictureDecode</name>
    <message>
        <source>is too large to decode (out of memory)</source>
        <translation>das Bild ist zu groß zum Entschlüsseln (kein Speicher mehr)</translation>
    </message>
    <message>
        <source>is damaged or cut short</source>
        <translation>das Bild ist beschädigt oder abgeschnitten</translation>
    </message>
    <message>
        <source>is damaged or cut short (%1)</source>
        <translation>das Bild ist beschädigt oder abgeschnitten (%1)</translation>
    </message>
    <message>
        <source>is larger than %1 MiB, too large for a background picture</source>
        <translation>die Datei ist größer als %1 MiB, zu groß für ein Hintergrundbild</translation>
    </message>
    <message>
        <source>is %1 x %2 pixels; a background picture may have at most %3 megapixels</source>
        <translation>das Bild hat %1 x %2 Pixel; ein Hintergrundbild darf höchstens %3 Megapixel haben</translation>
    </message>
    <message>
        <source>is not a picture in a format that can be read (PNG, JPEG, BMP, GIF, TIFF, SVG, ...)</source>
        <translation>das ist kein Bild in einem lesbaren Format (PNG, JPEG, BMP, GIF, TIFF, SVG, …)</translation>
    </message>
    <message>
        <source>does not declare its size before its pixels (a %1 picture); use PNG, JPEG, BMP, GIF or TIFF</source>
        <translation>das Bild nennt seine Größe nicht vor seinen Pixeln (ein %1-Bild); nehmen Sie PNG, JPEG, BMP, GIF oder TIFF</translation>
    </message>
    <message>
        <source>is damaged (%1 on line %2)</source>
        <translation>das Bild ist beschädigt (%1 in Zeile %2)</translation>
    </message>
    <message>
        <source>draws more than %1 elements (each repeat counted); an SVG background picture may draw at most %1</source>
        <translation>das Bild zeichnet mehr als %1 Elemente (jede Wiederholung gezählt); ein SVG-Hintergrundbild darf höchstens %1 zeichnen</translation>
    </message>
    <message>
        <source>nests its elements more than %1 deep; an SVG background picture may nest them at most %1 deep</source>
        <translation>das Bild schachtelt seine Elemente tiefer als %1 Ebenen; ein SVG-Hintergrundbild darf sie höchstens %1 Ebenen tief schachteln</translation>
    </message>
    <message>
        <source>draws another file (%1); an SVG background picture must hold everything it draws</source>
        <translation>das Bild zeichnet eine andere Datei (%1); ein SVG-Hintergrundbild muss alles enthalten, was es zeichnet</translation>
    </message>
    <message>
        <source>holds an SVG picture inside it; an SVG background picture may hold pixel pictures only</source>
        <translation>das Bild enthält ein SVG-Bild; ein SVG-Hintergrundbild darf nur Pixelbilder enthalten</translation>
    </message>
    <message>
        <source>holds a picture that %1</source>
        <translation>das Bild enthält ein eingebettetes Bild: %1</translation>
    </message>
    <message>
        <source>holds pictures of more than %1 megapixels in all; a background picture may have at most %1 megapixels</source>
        <translation>das Bild enthält Bilder von zusammen mehr als %1 Megapixeln; ein Hintergrundbild darf höchstens %1 Megapixel haben</translation>
    </message>
    <message>
        <source>is damaged (an element repeats itself through &lt;use&gt;)</source>
        <translation>das Bild ist beschädigt (ein Element wiederholt sich selbst über &lt;use&gt;)</translation>
    </message>
    <message>
        <source>has no size of its own (its width, height and viewBox)</source>
        <translation>das Bild hat keine eigene Größe (width, height und viewBox fehlen)</translation>
    </message>
    <message>
        <source>paints its shapes over more than %1 times the label or %2 megapixels in all; an SVG background picture may paint at most that</source>
        <translation>das Bild malt seine Formen über mehr als das %1-Fache des Etiketts oder insgesamt %2 Megapixel; ein SVG-Hintergrundbild darf höchstens so viel malen</translation>
    </message>
    <message>
        <source>inflates to more than %1 MiB; a background picture may be at most %1 MiB, compressed or not</source>
        <translation>das Bild wird entpackt größer als %1 MiB; ein Hintergrundbild darf höchstens %1 MiB groß sein, gepackt oder nicht</translation>
    </message>
    <message>
        <source>is damaged (its compressed data cannot be inflated)</source>
        <translation>das Bild ist beschädigt (seine gepackten Daten lassen sich nicht entpacken)</translation>
    </message>
    <message>
        <source>cannot be decoded (%1)</source>
        <translation>das Bild kann nicht entschlüsselt werden (%1)</translation>
    </message>
    <message>
        <source>does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>cannot be read (permission denied)</source>
        <translation>die Datei kann nicht gelesen werden (keine Berechtigung)</translation>
    </message>
    <message>
        <source>does not exist (a part of its path is not a folder)</source>
        <translation>die Datei existiert nicht (ein Teil ihres Pfades ist kein Ordner)</translation>
    </message>
    <message>
        <source>cannot be opened (%1)</source>
        <translation>die Datei kann nicht geöffnet werden (%1)</translation>
    </message>
    <message>
        <source>cannot be read (%1)</source>
        <translation>die Datei kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>is a folder, not a picture</source>
        <translation>das ist ein Ordner, kein Bild</translation>
    </message>
    <message>
        <source>is not a regular file (a pipe, socket or device)</source>
        <translation>das ist keine gewöhnliche Datei (eine Pipe, ein Socket oder ein Gerät)</translation>
    </message>
    <message>
        <source>is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>could not be read whole</source>
        <translation>die Datei konnte nicht vollständig gelesen werden</translation>
    </message>
</context>
<context>
    <name>PictureFile</name>
    <message>
        <source>its name does not end in %1</source>
        <translation>sein Name endet nicht auf %1</translation>
    </message>
    <message>
        <source>%1 pictures cannot be written on this system: install the Qt image format plugins (Debian: qt6-image-formats-plugins)</source>
        <translation>%1-Bilder lassen sich auf diesem System nicht schreiben: Installieren Sie die Qt-Bildformat-Plugins (Debian: qt6-image-formats-plugins)</translation>
    </message>
</context>
<context>
    <name>PictureSettings</name>
    <message>
        <source>the picture&apos;s %1 %2 is not within %3 to %4</source>
        <translation>%1 %2 des Bildes liegt nicht zwischen %3 und %4</translation>
    </message>
</context>
<context>
    <name>PlanCommand</name>
    <message>
        <source>the end of the recorded data</source>
        <translation>das Ende der aufgezeichneten Daten</translation>
    </message>
    <message>
        <source>the drive&apos;s limit</source>
        <translation>die Grenze des Laufwerks</translation>
    </message>
    <message>
        <source>%1: %2 - %3 mm, %4 steps of %5 passes, %6 writes, %7</source>
        <translation>%1: %2 - %3 mm, %4 Schritte zu %5 Durchgängen, %6 Schreibvorgänge, %7</translation>
    </message>
    <message>
        <source>The design&apos;s layout &quot;%1&quot;</source>
        <translation>Das eigene Layout des Entwurfs „%1“</translation>
    </message>
    <message>
        <source>Layout %1 &quot;%2&quot;</source>
        <translation>Layout %1 „%2“</translation>
    </message>
    <message>
        <source>Automatic burning area: the narrowest band that holds every mark.</source>
        <translation>Automatischer Brennbereich: das schmalste Band, das jede Markierung enthält.</translation>
    </message>
    <message>
        <source>Manual burning area.</source>
        <translation>Manueller Brennbereich.</translation>
    </message>
    <message>
        <source>%1: nothing of this label marks the disc at this quality; a burn would leave it blank.</source>
        <translation>%1: nichts von diesem Etikett markiert die Disc bei dieser Qualität; ein Brennen ließe sie leer.</translation>
    </message>
    <message>
        <source>    inner edge: %1 (a mark at %2 mm); outer edge: %3 (%4 mm)</source>
        <translation>    Innenkante: %1 (eine Markierung bei %2 mm); Außenkante: %3 (%4 mm)</translation>
    </message>
    <message>
        <source>    the manual area %1 - %2 mm takes %3</source>
        <translation>    der manuelle Bereich %1 - %2 mm braucht %3</translation>
    </message>
    <message>
        <source>    with --area auto: %1 - %2 mm, %3</source>
        <translation>    mit --area auto: %1 - %2 mm, %3</translation>
    </message>
    <message>
        <source>Says what a burn of a label would take, without a disc: the burning area,
what sets each of its edges, the steps, passes, writes and time at each
quality, planned as a burn plans them from the virtual drive&apos;s ELS page.
The label options are those of &apos;twr render&apos;.</source>
        <translation>Sagt ohne Disc, was das Brennen eines Etiketts braucht: den Brennbereich,
was jede seiner Kanten bestimmt, die Schritte, Durchgänge, Schreibvorgänge
und die Zeit bei jeder Qualität, geplant wie ein Brennen sie aus der
ELS-Seite des virtuellen Laufwerks plant. Die Etikett-Optionen sind die
von »twr render«.</translation>
    </message>
    <message>
        <source>Only this quality: draft, normal or high (default: all three).</source>
        <translation>Nur diese Qualität: draft, normal oder high (Vorgabe: alle drei).</translation>
    </message>
    <message>
        <source>The outer band of a DVD-R/DVD+R data side.</source>
        <translation>Das äußere Band einer DVD-R/DVD+R-Datenseite.</translation>
    </message>
    <message>
        <source>With --rimtone: the data side, dvd-r or dvd+r.</source>
        <translation>Mit --rimtone: die Datenseite, dvd-r oder dvd+r.</translation>
    </message>
    <message>
        <source>Print the plan as JSON (described in man twr).</source>
        <translation>Den Plan als JSON ausgeben (beschrieben in man twr).</translation>
    </message>
    <message>
        <source>--rimtone (or a design for Rimtone mode) needs --disc dvd-r or --disc dvd+r, and --disc needs --rimtone</source>
        <translation>--rimtone (oder ein Entwurf für den Rimtone-Modus) braucht --disc dvd-r oder --disc dvd+r, und --disc braucht --rimtone</translation>
    </message>
</context>
<context>
    <name>RenderCommands</name>
    <message>
        <source>Cannot write the label to &apos;%1&apos;: %2.</source>
        <translation>Das Label lässt sich nicht in »%1« schreiben: %2.</translation>
    </message>
    <message>
        <source>Wrote the label (%1 x %2) to %3</source>
        <translation>Label (%1 x %2) in %3 geschrieben</translation>
    </message>
    <message>
        <source>Cannot write the preview to &apos;%1&apos;: %2.</source>
        <translation>Die Vorschau lässt sich nicht in »%1« schreiben: %2.</translation>
    </message>
    <message>
        <source>Wrote the preview (%1 x %2) to %3</source>
        <translation>Vorschau (%1 x %2) in %3 geschrieben</translation>
    </message>
    <message>
        <source>Cannot write the etched disc to &apos;%1&apos;: %2.</source>
        <translation>Die gebrannte Disc lässt sich nicht in »%1« schreiben: %2.</translation>
    </message>
    <message>
        <source>Wrote the etched disc (%1 x %2) to %3</source>
        <translation>Gebrannte Disc (%1 x %2) in %3 geschrieben</translation>
    </message>
    <message>
        <source>Cannot draw the etched disc: %1</source>
        <translation>Die gebrannte Disc lässt sich nicht zeichnen: %1</translation>
    </message>
    <message>
        <source>Etched as a %1 burn would: band %2 - %3 mm, %4 revolutions per step, %5 writes, required time %6</source>
        <translation>Gebrannt wie in Qualität %1: Band %2 - %3 mm, %4 Umdrehungen je Schritt, %5 Schreibvorgänge, benötigte Zeit %6</translation>
    </message>
    <message>
        <source>Lists the layouts of the settings file: number, tab, name.</source>
        <translation>Listet die Layouts der Einstellungsdatei: Nummer, Tabulator, Name.</translation>
    </message>
    <message>
        <source>Print them as JSON: {&quot;settings&quot;: FILE, &quot;layouts&quot;: [{&quot;index&quot;, &quot;name&quot;}]}.</source>
        <translation>Als JSON ausgeben: {&quot;settings&quot;: FILE, &quot;layouts&quot;: [{&quot;index&quot;, &quot;name&quot;}]}.</translation>
    </message>
    <message>
        <source>Renders a layout of the settings file, or a design, as the window program
does: the full-size label picture that a burn etches and the 600 x 600
preview with the burning area drawn in blue. With --etched it also draws
the disc as a burn would leave it (the band and quality as the burn
prepares them from the virtual drive&apos;s ELS page), without a drive.
Pictures are written in the format their name ends in: .png, .jpg, .bmp
or .tif; the label also as .pdf or .svg, 116 mm across.</source>
        <translation>Zeichnet ein Layout der Einstellungsdatei oder ein Design wie das Fensterprogramm:
das Labelbild in voller Größe, das ein Brennvorgang brennt, und die Vorschau in
600 x 600 mit dem blau eingezeichneten Brennbereich. Mit --etched zeichnet es
auch die Disc, wie ein Brennvorgang sie hinterließe (Band und Qualität, wie das
Brennen sie aus der ELS-Seite des virtuellen Laufwerks vorbereitet), ohne
Laufwerk. Bilder werden im Format ihrer Namensendung geschrieben: .png, .jpg,
.bmp oder .tif; das Label auch als .pdf oder .svg, 116 mm breit.</translation>
    </message>
    <message>
        <source>Write the full-size label (116 mm across): a picture, or a .pdf page or .svg drawing with the texts as text.</source>
        <translation>Das Label in voller Größe (116 mm breit) schreiben: als Bild, oder als .pdf-Seite oder .svg-Zeichnung mit den Texten als Text.</translation>
    </message>
    <message>
        <source>With a .pdf or .svg --label: draw the centre hole and the burning area as thin circles over the label.</source>
        <translation>Bei einem --label als .pdf oder .svg: Mittelloch und Brennbereich als dünne Kreise über das Label zeichnen.</translation>
    </message>
    <message>
        <source>Write the preview with the burning area.</source>
        <translation>Die Vorschau mit dem Brennbereich schreiben.</translation>
    </message>
    <message>
        <source>Write the disc as the burn would etch it (120 mm across).</source>
        <translation>Die Disc schreiben, wie das Brennen sie brennen würde (120 mm breit).</translation>
    </message>
    <message>
        <source>With --etched: the outer band of a DVD-R/DVD+R data side.</source>
        <translation>Mit --etched: das äußere Band der Datenseite einer DVD-R/DVD+R.</translation>
    </message>
    <message>
        <source>With --rimtone: the data side, dvd-r or dvd+r.</source>
        <translation>Mit --rimtone: die Datenseite, dvd-r oder dvd+r.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; does not end in %2, .pdf or .svg</source>
        <translation>»%1« endet nicht auf %2, .pdf oder .svg</translation>
    </message>
    <message>
        <source>&apos;%1&apos; does not end in %2</source>
        <translation>»%1« endet nicht auf %2</translation>
    </message>
    <message>
        <source>--guides goes with a --label FILE ending in .pdf or .svg</source>
        <translation>--guides gehört zu einem --label FILE mit der Endung .pdf oder .svg</translation>
    </message>
    <message>
        <source>--rimtone needs --disc dvd-r or --disc dvd+r, and --disc needs --rimtone</source>
        <translation>--rimtone braucht --disc dvd-r oder --disc dvd+r, und --disc braucht --rimtone</translation>
    </message>
    <message>
        <source>the design is for Rimtone mode: --etched needs --disc dvd-r or --disc dvd+r</source>
        <translation>das Design ist für den Rimtone-Modus: --etched braucht --disc dvd-r oder --disc dvd+r</translation>
    </message>
    <message>
        <source>Rendered the design&apos;s layout &quot;%1&quot;, burning area %2 - %3 [mm]</source>
        <translation>Layout „%1“ des Designs gezeichnet, Brennbereich %2 - %3 [mm]</translation>
    </message>
    <message>
        <source>Rendered layout %1 &quot;%2&quot;, burning area %3 - %4 [mm]</source>
        <translation>Layout %1 „%2“ gezeichnet, Brennbereich %3 - %4 [mm]</translation>
    </message>
    <message>
        <source>Wrote the label (116 x 116 mm) to %1</source>
        <translation>Label (116 x 116 mm) in %1 geschrieben</translation>
    </message>
    <message>
        <source>With --etched or --area auto: draft, normal or high (default: draft).</source>
        <translation>Mit --etched oder --area auto: draft, normal oder high (Vorgabe: draft).</translation>
    </message>
    <message>
        <source>Automatic burning area at %1: %2 - %3 mm, %4</source>
        <translation>Automatischer Brennbereich bei %1: %2 - %3 mm, %4</translation>
    </message>
    <message>
        <source>%1 is not a folder; name a file in a folder</source>
        <translation>%1 ist kein Ordner; nennen Sie eine Datei in einem Ordner</translation>
    </message>
    <message>
        <source>the folder %1 does not exist; create it first (mkdir -p %1) or name a file in a folder that exists</source>
        <translation>der Ordner %1 existiert nicht; legen Sie ihn zuerst an (mkdir -p %1) oder nennen Sie eine Datei in einem vorhandenen Ordner</translation>
    </message>
    <message>
        <source>nothing to write: name the files with --label FILE, --preview FILE or --etched FILE</source>
        <translation>nichts zu schreiben: Nennen Sie die Dateien mit --label FILE, --preview FILE oder --etched FILE</translation>
    </message>
    <message>
        <source>twr render: %1</source>
        <translation>twr render: %1</translation>
    </message>
    <message>
        <source>With --etched or --tone auto: the drive (letter or device) whose model&apos;s kept calibration the etch follows.</source>
        <translation>Mit --etched oder --tone auto: das Laufwerk (Buchstabe oder Gerät), dessen für sein Modell aufbewahrter Kalibrierung das Ätzen folgt.</translation>
    </message>
    <message>
        <source>&apos;--drive %1&apos; is neither a drive letter nor a device path (see &apos;twr drives&apos;)</source>
        <translation>»--drive %1« ist weder ein Laufwerksbuchstabe noch ein Gerätepfad (siehe »twr drives«)</translation>
    </message>
    <message>
        <source>--quality, --rimtone, --disc and --drive go with --etched, --area auto or --tone auto</source>
        <translation>--quality, --rimtone, --disc und --drive gehören zu --etched, --area auto oder --tone auto</translation>
    </message>
</context>
<context>
    <name>SenseText</name>
    <message>
        <source>no sense</source>
        <translation>keine Fehlerangabe</translation>
    </message>
    <message>
        <source>recovered error</source>
        <translation>behobener Fehler</translation>
    </message>
    <message>
        <source>not ready</source>
        <translation>nicht bereit</translation>
    </message>
    <message>
        <source>medium error</source>
        <translation>Datenträgerfehler</translation>
    </message>
    <message>
        <source>hardware error</source>
        <translation>Hardwarefehler</translation>
    </message>
    <message>
        <source>illegal request</source>
        <translation>unzulässige Anforderung</translation>
    </message>
    <message>
        <source>unit attention</source>
        <translation>Geräteereignis</translation>
    </message>
    <message>
        <source>data protect</source>
        <translation>Schreibschutz</translation>
    </message>
    <message>
        <source>blank check</source>
        <translation>Leerbereich erreicht</translation>
    </message>
    <message>
        <source>vendor specific</source>
        <translation>herstellerspezifisch</translation>
    </message>
    <message>
        <source>copy aborted</source>
        <translation>Kopieren abgebrochen</translation>
    </message>
    <message>
        <source>aborted command</source>
        <translation>Befehl abgebrochen</translation>
    </message>
    <message>
        <source>reserved key 0C</source>
        <translation>reservierter Schlüssel 0C</translation>
    </message>
    <message>
        <source>volume overflow</source>
        <translation>Datenträgerüberlauf</translation>
    </message>
    <message>
        <source>miscompare</source>
        <translation>Vergleich fehlgeschlagen</translation>
    </message>
    <message>
        <source>reserved key 0F</source>
        <translation>reservierter Schlüssel 0F</translation>
    </message>
    <message>
        <source>cause not reportable</source>
        <translation>Ursache nicht meldbar</translation>
    </message>
    <message>
        <source>becoming ready</source>
        <translation>wird bereit</translation>
    </message>
    <message>
        <source>format in progress</source>
        <translation>Formatierung läuft</translation>
    </message>
    <message>
        <source>operation in progress</source>
        <translation>Vorgang läuft</translation>
    </message>
    <message>
        <source>long write in progress</source>
        <translation>langer Schreibvorgang läuft</translation>
    </message>
    <message>
        <source>drive not ready</source>
        <translation>Laufwerk nicht bereit</translation>
    </message>
    <message>
        <source>communication failure with the drive</source>
        <translation>Kommunikationsfehler mit dem Laufwerk</translation>
    </message>
    <message>
        <source>tracking or focus failure</source>
        <translation>Spurführungs- oder Fokusfehler</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>write error, recovery needed</source>
        <translation>Schreibfehler, Wiederherstellung nötig</translation>
    </message>
    <message>
        <source>loss of streaming</source>
        <translation>Datenstrom abgerissen</translation>
    </message>
    <message>
        <source>padding blocks added</source>
        <translation>Füllblöcke hinzugefügt</translation>
    </message>
    <message>
        <source>unrecovered read error</source>
        <translation>nicht behobener Lesefehler</translation>
    </message>
    <message>
        <source>positioning error</source>
        <translation>Positionierungsfehler</translation>
    </message>
    <message>
        <source>parameter list length error</source>
        <translation>falsche Länge der Parameterliste</translation>
    </message>
    <message>
        <source>invalid command operation code</source>
        <translation>ungültiger Befehlscode</translation>
    </message>
    <message>
        <source>invalid address (logical block address out of range)</source>
        <translation>ungültige Adresse (logische Blockadresse außerhalb des Bereichs)</translation>
    </message>
    <message>
        <source>invalid address for write</source>
        <translation>ungültige Adresse zum Schreiben</translation>
    </message>
    <message>
        <source>invalid address</source>
        <translation>ungültige Adresse</translation>
    </message>
    <message>
        <source>invalid field in the command</source>
        <translation>ungültiges Feld im Befehl</translation>
    </message>
    <message>
        <source>invalid field in the parameter list</source>
        <translation>ungültiges Feld in der Parameterliste</translation>
    </message>
    <message>
        <source>write protected</source>
        <translation>schreibgeschützt</translation>
    </message>
    <message>
        <source>the disc was changed</source>
        <translation>die Disc wurde gewechselt</translation>
    </message>
    <message>
        <source>power on or reset</source>
        <translation>Einschalten oder Zurücksetzen</translation>
    </message>
    <message>
        <source>parameters changed</source>
        <translation>Parameter geändert</translation>
    </message>
    <message>
        <source>command sequence error</source>
        <translation>Fehler in der Befehlsfolge</translation>
    </message>
    <message>
        <source>cannot write: incompatible format</source>
        <translation>Schreiben unmöglich: inkompatibles Format</translation>
    </message>
    <message>
        <source>incompatible disc</source>
        <translation>inkompatible Disc</translation>
    </message>
    <message>
        <source>disc format corrupted</source>
        <translation>Discformat beschädigt</translation>
    </message>
    <message>
        <source>no disc (tray closed)</source>
        <translation>keine Disc (Lade geschlossen)</translation>
    </message>
    <message>
        <source>no disc (tray open)</source>
        <translation>keine Disc (Lade offen)</translation>
    </message>
    <message>
        <source>no disc in the drive</source>
        <translation>keine Disc im Laufwerk</translation>
    </message>
    <message>
        <source>drive has not self-configured yet</source>
        <translation>Laufwerk hat sich noch nicht selbst eingerichtet</translation>
    </message>
    <message>
        <source>diagnostic failure</source>
        <translation>Diagnosefehler</translation>
    </message>
    <message>
        <source>internal drive failure</source>
        <translation>interner Laufwerksfehler</translation>
    </message>
    <message>
        <source>parity or transfer error</source>
        <translation>Paritäts- oder Übertragungsfehler</translation>
    </message>
    <message>
        <source>overlapped commands</source>
        <translation>überlappende Befehle</translation>
    </message>
    <message>
        <source>disc removal prevented</source>
        <translation>Entnahme der Disc gesperrt</translation>
    </message>
    <message>
        <source>disc load or eject failed</source>
        <translation>Einziehen oder Auswerfen der Disc fehlgeschlagen</translation>
    </message>
    <message>
        <source>unable to recover the table of contents</source>
        <translation>Inhaltsverzeichnis nicht wiederherstellbar</translation>
    </message>
    <message>
        <source>operator request</source>
        <translation>Bedieneranforderung</translation>
    </message>
    <message>
        <source>failure prediction threshold exceeded</source>
        <translation>Schwelle der Fehlervorhersage überschritten</translation>
    </message>
    <message>
        <source>end of user area</source>
        <translation>Ende des Nutzerbereichs</translation>
    </message>
    <message>
        <source>illegal mode for this track</source>
        <translation>unzulässiger Modus für diese Spur</translation>
    </message>
    <message>
        <source>copy protection failure</source>
        <translation>Kopierschutzfehler</translation>
    </message>
    <message>
        <source>session fixation error</source>
        <translation>Fehler beim Abschließen der Session</translation>
    </message>
    <message>
        <source>power calibration area error</source>
        <translation>Fehler im Leistungskalibrierbereich</translation>
    </message>
    <message>
        <source>BUSY: the drive is busy with another command or program</source>
        <translation>BUSY: Das Laufwerk ist mit einem anderen Befehl oder Programm beschäftigt</translation>
    </message>
    <message>
        <source>RESERVATION CONFLICT: the drive is reserved by another program or computer</source>
        <translation>RESERVATION CONFLICT: Das Laufwerk ist von einem anderen Programm oder Rechner reserviert</translation>
    </message>
    <message>
        <source>TASK SET FULL: the drive had no room for another command</source>
        <translation>TASK SET FULL: Das Laufwerk hatte keinen Platz für einen weiteren Befehl</translation>
    </message>
</context>
<context>
    <name>SettingsEdit</name>
    <message>
        <source>its edit lock %1 cannot be opened (%2)</source>
        <translation>ihre Bearbeitungssperre %1 lässt sich nicht öffnen (%2)</translation>
    </message>
    <message>
        <source>its edit lock %1 is not a regular file</source>
        <translation>ihre Bearbeitungssperre %1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>its edit lock %1 cannot be taken (%2)</source>
        <translation>ihre Bearbeitungssperre %1 lässt sich nicht setzen (%2)</translation>
    </message>
    <message>
        <source>another program has been changing it for more than %1 seconds (it holds %2); try again when that program is done</source>
        <translation>ein anderes Programm ändert sie seit mehr als %1 Sekunden (es hält %2); versuchen Sie es erneut, wenn dieses Programm fertig ist</translation>
    </message>
    <message>
        <source>a name or value holds a line break</source>
        <translation>ein Name oder Wert enthält einen Zeilenumbruch</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>twr: --config: %1</source>
        <translation>twr: --config: %1</translation>
    </message>
    <message>
        <source>twr: made your own settings file %1 from the default layouts</source>
        <translation>twr: Ihre eigene Einstellungsdatei %1 wurde aus den Standardlayouts angelegt</translation>
    </message>
</context>
<context>
    <name>SettingsLocation</name>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 is a folder, not a settings file</source>
        <translation>%1 ist ein Ordner, keine Einstellungsdatei</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>there is no ./%1 and the installed default layouts (%2) are missing; name a settings file with --config</source>
        <translation>es gibt keine ./%1, und die installierten Standardlayouts (%2) fehlen; nennen Sie eine Einstellungsdatei mit --config</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>der Ordner %1 lässt sich nicht anlegen: %2</translation>
    </message>
    <message>
        <source>cannot copy the default pictures to %1: %2</source>
        <translation>die Standardbilder lassen sich nicht nach %1 kopieren: %2</translation>
    </message>
    <message>
        <source>cannot copy the default layouts to %1: %2</source>
        <translation>die Standardlayouts lassen sich nicht nach %1 kopieren: %2</translation>
    </message>
    <message>
        <source>there is no ./%1, and neither XDG_CONFIG_HOME nor HOME is set to find your own copy; name a settings file with --config</source>
        <translation>es gibt keine ./%1, und weder XDG_CONFIG_HOME noch HOME ist gesetzt, um Ihre eigene Kopie zu finden; nennen Sie eine Einstellungsdatei mit --config</translation>
    </message>
    <message>
        <source>%1 does not exist or cannot be read.</source>
        <translation>%1 existiert nicht oder lässt sich nicht lesen.</translation>
    </message>
    <message>
        <source>%1 holds no layout: [Config] LayoutNum is missing or 0.</source>
        <translation>%1 enthält kein Layout: [Config] LayoutNum fehlt oder ist 0.</translation>
    </message>
    <message>
        <source>cannot read the default layouts %1: %2</source>
        <translation>die Standardlayouts %1 lassen sich nicht lesen: %2</translation>
    </message>
</context>
<context>
    <name>SimulatedEtch</name>
    <message>
        <source>the ELS page offers no usable speed entry</source>
        <translation>die ELS-Seite bietet keinen brauchbaren Geschwindigkeitseintrag</translation>
    </message>
    <message>
        <source>out of memory for the picture</source>
        <translation>zu wenig Speicher für das Bild</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Layout</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Burning area</source>
        <translation>Brennbereich</translation>
    </message>
    <message>
        <source>Required time</source>
        <translation>Benötigte Zeit</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Rimtone</source>
        <translation>Rimtone</translation>
    </message>
    <message>
        <source>data side to the laser</source>
        <translation>Datenseite zum Laser</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>This software is only for Windows 2000/XP</source>
        <translation>Diese Software ist nur für Windows 2000/XP</translation>
    </message>
    <message>
        <source>Illegal parameter in ELS Page (Bytpw)</source>
        <translation>Unzulässiger Parameter in der ELS-Seite (Bytpw)</translation>
    </message>
    <message>
        <source>Illegal parameter in ELS Page (FeedStepLength)</source>
        <translation>Unzulässiger Parameter in der ELS-Seite (FeedStepLength)</translation>
    </message>
    <message>
        <source>Cannot save .ini file.</source>
        <translation>Die .ini-Datei kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot load .ini file.</source>
        <translation>Die .ini-Datei kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>Scan or input text data.</source>
        <translation>Texte einlesen oder eingeben.</translation>
    </message>
    <message>
        <source>Flip a disc to label-side.</source>
        <translation>Die Disc auf die Labelseite umdrehen.</translation>
    </message>
    <message>
        <source>Input correct burning area.</source>
        <translation>Einen gültigen Brennbereich eingeben.</translation>
    </message>
    <message>
        <source>Finish Burning.</source>
        <translation>Brennen abgeschlossen.</translation>
    </message>
    <message>
        <source>Buffer Empty Error.</source>
        <translation>Fehler: Puffer leer.</translation>
    </message>
    <message>
        <source>Etchlume Drive is not found.</source>
        <translation>Etchlume-Laufwerk wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Image data is not found.</source>
        <translation>Keine Bilddaten gefunden.</translation>
    </message>
    <message>
        <source>Disc is not found.</source>
        <translation>Keine Disc gefunden.</translation>
    </message>
    <message>
        <source>Disc is blank. You must not write data afterwards.</source>
        <translation>Die Disc ist leer. Danach dürfen keine Daten mehr geschrieben werden.</translation>
    </message>
    <message>
        <source>Disc is incomplete. Not support burning.</source>
        <translation>Die Disc ist nicht abgeschlossen. Brennen wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>You must not overwrite data area.</source>
        <translation>Der Datenbereich darf nicht überschrieben werden.</translation>
    </message>
    <message>
        <source>Disc is unknown. Not support burning.</source>
        <translation>Unbekannte Disc. Brennen wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Etchlume Burn</source>
        <translation>Etchlume-Brennen</translation>
    </message>
    <message>
        <source>Required Time</source>
        <translation>Benötigte Zeit</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte eine Zahl eingeben.</translation>
    </message>
    <message>
        <source>Input Radius Error.</source>
        <translation>Fehler bei der Radiuseingabe.</translation>
    </message>
</context>
<context>
    <name>TemplateGallery</name>
    <message>
        <source>Plain title</source>
        <translation>Schlichter Titel</translation>
    </message>
    <message>
        <source>Photo disc</source>
        <translation>Fotodisc</translation>
    </message>
    <message>
        <source>Data backup with its file list</source>
        <translation>Datensicherung mit Dateiliste</translation>
    </message>
    <message>
        <source>Backup, its list around the rim</source>
        <translation>Sicherung, ihre Liste am Rand</translation>
    </message>
    <message>
        <source>A set of discs, 1 of N</source>
        <translation>Discserie, 1 von N</translation>
    </message>
    <message>
        <source>Rimtone band on a data side</source>
        <translation>Rimtone-Band auf einer Datenseite</translation>
    </message>
    <message>
        <source>its layout cannot be drawn</source>
        <translation>sein Layout kann nicht gezeichnet werden</translation>
    </message>
    <message>
        <source>Give the template a name.</source>
        <translation>Geben Sie der Vorlage einen Namen.</translation>
    </message>
    <message>
        <source>A template&apos;s name cannot hold a slash or a line break, nor start with a dot.</source>
        <translation>Der Name einer Vorlage darf keinen Schrägstrich und keinen Zeilenumbruch enthalten und nicht mit einem Punkt beginnen.</translation>
    </message>
    <message>
        <source>A template&apos;s name can be at most 100 bytes long.</source>
        <translation>Der Name einer Vorlage darf höchstens 100 Bytes lang sein.</translation>
    </message>
    <message>
        <source>Backup with a QR code of its list</source>
        <translation>Sicherung mit einem QR-Code ihrer Liste</translation>
    </message>
</context>
<context>
    <name>TerminalMessages</name>
    <message>
        <source>[y/N] y (--yes)</source>
        <translation>[j/N] j (--yes)</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <translation>[j/N]</translation>
    </message>
    <message>
        <source>yY</source>
        <extracomment>The letters that answer yes to a [y/N] question, besides y and Y (German: jJ).</extracomment>
        <translation>jJ</translation>
    </message>
</context>
<context>
    <name>TitleConfigModel</name>
    <message>
        <source>Outer radius: a number of millimetres, above the inner radius and at most %1.</source>
        <translation>Außenradius: eine Zahl in Millimetern, größer als der Innenradius und höchstens %1.</translation>
    </message>
    <message>
        <source>Inner radius: a number of millimetres, beyond the disc&apos;s recorded data and below the outer radius.</source>
        <translation>Innenradius: eine Zahl in Millimetern, außerhalb der beschriebenen Daten der Disc und kleiner als der Außenradius.</translation>
    </message>
    <message>
        <source>Inner radius: a number of millimetres, at least %1 and below the outer radius.</source>
        <translation>Innenradius: eine Zahl in Millimetern, mindestens %1 und kleiner als der Außenradius.</translation>
    </message>
    <message>
        <source>Outer radius %1 mm: allowed above the inner radius (%2 mm) and at most %3 mm.</source>
        <translation>Außenradius %1 mm: erlaubt sind Werte größer als der Innenradius (%2 mm) und höchstens %3 mm.</translation>
    </message>
    <message>
        <source>Inner radius %1 mm: allowed from %2 mm (where the disc&apos;s data area ends) to below the outer radius (%3 mm).</source>
        <translation>Innenradius %1 mm: erlaubt sind Werte ab %2 mm (dem Ende des Datenbereichs der Disc) bis unter den Außenradius (%3 mm).</translation>
    </message>
    <message>
        <source>Inner radius %1 mm: allowed from %2 mm to below the outer radius (%3 mm).</source>
        <translation>Innenradius %1 mm: erlaubt sind Werte ab %2 mm bis unter den Außenradius (%3 mm).</translation>
    </message>
    <message>
        <source>Rimtone mode needs a DVD-R or DVD+R with its data side to the laser; the drive holds no disc.</source>
        <translation>Der Rimtone-Modus braucht eine DVD-R oder DVD+R mit der Datenseite zum Laser; im Laufwerk liegt keine Disc.</translation>
    </message>
    <message>
        <source>Rimtone mode needs a DVD-R or DVD+R with its data side to the laser; the disc in the drive is another kind, or its label side faces the laser.</source>
        <translation>Der Rimtone-Modus braucht eine DVD-R oder DVD+R mit der Datenseite zum Laser; die Disc im Laufwerk ist von anderer Art, oder ihre Labelseite liegt zum Laser.</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>it does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it cannot be read (permission denied)</source>
        <translation>die Datei lässt sich nicht lesen (Zugriff verweigert)</translation>
    </message>
    <message>
        <source>it does not exist (a part of its path is not a folder)</source>
        <translation>die Datei existiert nicht (ein Teil des Pfades ist kein Ordner)</translation>
    </message>
    <message>
        <source>it cannot be opened (%1)</source>
        <translation>die Datei lässt sich nicht öffnen (%1)</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>die Datei lässt sich nicht lesen (%1)</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>die Datei ist ein Ordner</translation>
    </message>
    <message>
        <source>it is not a regular file (a pipe, socket or device)</source>
        <translation>die Datei ist keine reguläre Datei (eine Pipe, ein Socket oder ein Gerät)</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation>die Datei ist größer als %1 MiB</translation>
    </message>
    <message>
        <source>it could not be read whole</source>
        <translation>die Datei ließ sich nicht ganz lesen</translation>
    </message>
    <message>
        <source>it names a folder, not a file</source>
        <translation>der Pfad nennt einen Ordner, keine Datei</translation>
    </message>
    <message>
        <source>its link cannot be followed (%1)</source>
        <translation>der Verknüpfung lässt sich nicht folgen (%1)</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>a part of its path is not a folder</source>
        <translation>ein Teil des Pfades ist kein Ordner</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the file system is read-only</source>
        <translation>das Dateisystem ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the folder %1 may not be written to</source>
        <translation>in den Ordner %1 darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the disk reported an input/output error</source>
        <translation>der Datenträger meldete einen Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the file may not be written to</source>
        <translation>die Datei darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>it belongs to %1 (group %2), and its new copy could not be given to them (%3): save it under another name or as that user</source>
        <translation>die Datei gehört %1 (Gruppe %2), und ihre neue Fassung ließ sich nicht an sie übergeben (%3): speichern Sie sie unter einem anderen Namen oder als dieser Benutzer</translation>
    </message>
</context>
<context>
    <name>titlewright</name>
    <message>
        <source>read the layouts from FILE</source>
        <translation>die Layouts aus FILE lesen</translation>
    </message>
    <message>
        <source>write the main window to a PNG once it is open, then exit</source>
        <translation>das Hauptfenster als PNG schreiben, sobald es offen ist, dann beenden</translation>
    </message>
    <message>
        <source>print the version and exit</source>
        <translation>die Version ausgeben und beenden</translation>
    </message>
    <message>
        <source>print this help and exit</source>
        <translation>diese Hilfe ausgeben und beenden</translation>
    </message>
    <message>
        <source>Usage: titlewright [--config FILE] [--screenshot FILE] [DESIGN.twrlabel]

Designs a round disc label and etches it with an Etchlume drive.

</source>
        <translation>Aufruf: titlewright [--config FILE] [--screenshot FILE] [DESIGN.twrlabel]

Gestaltet ein rundes Disc-Label und brennt es mit einem Etchlume-Laufwerk.

</translation>
    </message>
    <message>
        <source>open this label design</source>
        <translation>dieses Label-Design öffnen</translation>
    </message>
    <message>
        <source>titlewright: unknown or incomplete option &apos;%1&apos;</source>
        <translation>titlewright: unbekannte oder unvollständige Option »%1«</translation>
    </message>
    <message>
        <source>titlewright: made your own settings file %1 from the default layouts</source>
        <translation>titlewright: Ihre eigene Einstellungsdatei %1 wurde aus den Standardlayouts angelegt</translation>
    </message>
    <message>
        <source>titlewright: could not write &apos;%1&apos;</source>
        <translation>titlewright: »%1« konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>twr</name>
    <message>
        <source>Run &apos;twr COMMAND --help&apos; for the options of a command.</source>
        <translation>»twr BEFEHL --help« nennt die Optionen eines Befehls.</translation>
    </message>
    <message>
        <source>List the layouts of the settings file.</source>
        <translation>Die Layouts der Einstellungsdatei auflisten.</translation>
    </message>
    <message>
        <source>Show, add, change, delete or move a layout.</source>
        <translation>Ein Layout zeigen, ergänzen, ändern, löschen oder verschieben.</translation>
    </message>
    <message>
        <source>Render a layout into label and preview pictures, or the etched disc.</source>
        <translation>Ein Layout als Label- und Vorschaubild oder als gebrannte Disc zeichnen.</translation>
    </message>
    <message>
        <source>List the drives that can etch labels.</source>
        <translation>Die Laufwerke auflisten, die Labels brennen können.</translation>
    </message>
    <message>
        <source>Identify the disc in a drive.</source>
        <translation>Die Disc in einem Laufwerk erkennen.</translation>
    </message>
    <message>
        <source>Burn a label onto the disc in a drive.</source>
        <translation>Ein Label auf die Disc in einem Laufwerk brennen.</translation>
    </message>
    <message>
        <source>Save a label design to a file, or show what one holds.</source>
        <translation>Ein Label-Design in einer Datei speichern oder zeigen, was eines enthält.</translation>
    </message>
    <message>
        <source>Designs round disc labels and etches them with an Etchlume drive.
Layouts come from the settings file: --config FILE, else ./twr.ini when it
exists, else ~/.config/titlewright/twr.ini (made from the installed
defaults at the first start).</source>
        <translation>Gestaltet runde Disc-Labels und brennt sie mit einem Etchlume-Laufwerk.
Die Layouts stammen aus der Einstellungsdatei: --config FILE, sonst ./twr.ini,
wenn es sie gibt, sonst ~/.config/titlewright/twr.ini (beim ersten Start aus
den installierten Vorgaben angelegt).</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>twr: %1</source>
        <translation>twr: %1</translation>
    </message>
    <message>
        <source>option &apos;--config&apos; needs a value FILE</source>
        <translation>Option »--config« braucht einen Wert FILE</translation>
    </message>
    <message>
        <source>&apos;--config&apos; needs a file name</source>
        <translation>»--config« braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option »%1«</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl »%1«</translation>
    </message>
    <message>
        <source>Say how long a burn of a label takes and which band it burns.</source>
        <translation>Sagen, wie lange das Brennen eines Etiketts dauert und welches Band es brennt.</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;; did you mean &apos;--%2&apos;?</source>
        <translation>unbekannte Option »%1«; meinten Sie »--%2«?</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;; did you mean &apos;%2&apos;?</source>
        <translation>unbekannter Befehl »%1«; meinten Sie »%2«?</translation>
    </message>
    <message>
        <source>Usage: twr [--config FILE] COMMAND [options]
       twr --version | --help

</source>
        <translation>Aufruf: twr [--config FILE] COMMAND [Optionen]
        twr --version | --help

</translation>
    </message>
</context>
<context>
    <name>twr::ui::AboutBox</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Designs round disc labels and etches them with the laser of an Etchlume DVD drive: on the label side of an Etchlume disc, or in Rimtone mode on the free outer band of a DVD-R or DVD+R.</source>
        <translation>Gestaltet runde Disc-Labels und brennt sie mit dem Laser eines Etchlume-DVD-Laufwerks: auf die Labelseite einer Etchlume-Disc oder im Rimtone-Modus auf das freie äußere Band einer DVD-R oder DVD+R.</translation>
    </message>
    <message>
        <source>Free software under the %1.</source>
        <translation>Freie Software unter der %1.</translation>
    </message>
    <message>
        <source>Runs on Qt %1.</source>
        <translation>Läuft mit Qt %1.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Open the help pages (F1)</source>
        <translation>Die Hilfeseiten öffnen (F1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>twr::ui::BurnSession</name>
    <message>
        <source>The drive is no longer there.</source>
        <translation>Das Laufwerk ist nicht mehr da.</translation>
    </message>
    <message>
        <source>%1 is no longer there.</source>
        <translation>%1 ist nicht mehr da.</translation>
    </message>
    <message>
        <source>Stop the burn? The disc keeps what is etched so far.</source>
        <translation>Brennen anhalten? Die Disc behält, was bis jetzt gebrannt ist.</translation>
    </message>
    <message>
        <source>Disc %1 of %2 is burnt. Insert disc %3 of %2 and press Next.</source>
        <translation>Disc %1 von %2 ist gebrannt. Legen Sie Disc %3 von %2 ein und drücken Sie auf Weiter.</translation>
    </message>
    <message>
        <source>Look at disc %1. To go on anyway, insert disc %2 of %3 and press Next; Stop ends the series.</source>
        <translation>Sehen Sie sich Disc %1 an. Um trotzdem weiterzumachen, legen Sie Disc %2 von %3 ein und drücken Sie Weiter; Anhalten beendet die Serie.</translation>
    </message>
    <message>
        <source>Series stopped after disc %1 of %2; Next burns disc %3 anyway.</source>
        <translation>Serie nach Disc %1 von %2 gestoppt; Weiter brennt Disc %3.</translation>
    </message>
    <message>
        <source>Series stopped after disc %1 of %2; %3</source>
        <translation>Serie nach Disc %1 von %2 gestoppt; %3</translation>
    </message>
    <message>
        <source>%1 discs: about %2 min</source>
        <translation>%1 Discs: etwa %2 min</translation>
    </message>
    <message>
        <source>Calibrate burns a test band at the rim of the disc now in the drive: 12 numbered grey steps, at Draft, in under a minute. Afterwards you say which steps show. Burn the test band now?</source>
        <translation>Kalibrieren brennt ein Testband am Rand der Disc, die jetzt im Laufwerk liegt: 12 nummerierte Graustufen, bei Entwurf, in unter einer Minute. Danach geben Sie an, welche Stufen zu sehen sind. Das Testband jetzt brennen?</translation>
    </message>
    <message>
        <source>no wedge waits for an answer; burn one first</source>
        <translation>kein Keil wartet auf eine Antwort; brennen Sie zuerst einen</translation>
    </message>
    <message>
        <source>the answer does not fit the wedge&apos;s steps</source>
        <translation>die Antwort passt nicht zu den Stufen des Keils</translation>
    </message>
    <message>
        <source>the calibration cannot be kept in %1: %2</source>
        <translation>die Kalibrierung lässt sich nicht in %1 aufbewahren: %2</translation>
    </message>
    <message>
        <source>There is no label to burn: close this dialog and press Burn in the window.</source>
        <translation>Es gibt kein Etikett zu brennen: Schließen Sie diesen Dialog und drücken Sie im Fenster auf Brennen.</translation>
    </message>
</context>
<context>
    <name>twr::ui::CELDraw</name>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Required time</source>
        <translation>Benötigte Zeit</translation>
    </message>
    <message>
        <source>&amp;Draw</source>
        <translation>&amp;Brennen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>As etched</source>
        <translation>Wie gebrannt</translation>
    </message>
    <message>
        <source>What the laser leaves at this quality</source>
        <translation>Was der Laser in dieser Qualität hinterlässt</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Discs:</source>
        <translation>Anzahl:</translation>
    </message>
    <message>
        <source>Discs</source>
        <translation>Anzahl der Discs</translation>
    </message>
    <message>
        <source>How many discs to burn one after another</source>
        <translation>Wie viele Discs nacheinander gebrannt werden</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Calibrate...</source>
        <translation>&amp;Kalibrieren...</translation>
    </message>
    <message>
        <source>Burn a test band of grey steps at the rim and say which steps show, so that pictures are toned for this drive and its discs</source>
        <translation>Ein Testband aus Graustufen am Rand brennen und angeben, welche Stufen zu sehen sind, damit Bilder für dieses Laufwerk und seine Discs abgestimmt werden</translation>
    </message>
    <message>
        <source>Calibration kept: %1</source>
        <translation>Kalibrierung aufbewahrt: %1</translation>
    </message>
</context>
<context>
    <name>twr::ui::CELMainDlg</name>
    <message>
        <source>Layout</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Burning area</source>
        <translation>Brennbereich</translation>
    </message>
    <message>
        <source>Required time</source>
        <translation>Benötigte Zeit</translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation>E&amp;inlesen</translation>
    </message>
    <message>
        <source>&amp;Config</source>
        <translation>Einstell&amp;ungen</translation>
    </message>
    <message>
        <source>&amp;Burn</source>
        <translation>&amp;Brennen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>D&amp;rive</source>
        <translation>&amp;Laufwerk</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>&amp;Date</source>
        <translation>&amp;Datum</translation>
    </message>
    <message>
        <source>&amp;Note</source>
        <translation>&amp;Notiz</translation>
    </message>
    <message>
        <source>&amp;Help contents</source>
        <translation>&amp;Hilfe-Inhalt</translation>
    </message>
    <message>
        <source>&amp;About %1</source>
        <translation>Ü&amp;ber %1</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Help (F1) and About</source>
        <translation>Hilfe (F1) und Über</translation>
    </message>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Open the Layout Designer (Ctrl+E)</source>
        <translation>Den Layout-Designer öffnen (Strg+E)</translation>
    </message>
    <message>
        <source>Open the Layout Designer</source>
        <translation>Den Layout-Designer öffnen</translation>
    </message>
    <message>
        <source>The disc holds only UDF, without ISO 9660: its folders and files can be listed once it is mounted. Open it in your file manager, then press Scan again.</source>
        <translation>Die Disc enthält nur UDF, ohne ISO 9660: Ihre Ordner und Dateien lassen sich erst auflisten, wenn sie eingehängt ist. Öffnen Sie sie im Dateimanager und drücken Sie dann erneut auf Einlesen.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Looking for drives…</source>
        <translation>Laufwerke werden gesucht …</translation>
    </message>
    <message numerus="yes">
        <source>Label warnings: %n</source>
        <translation>
            <numerusform>Label-Warnungen: %n</numerusform>
            <numerusform>Label-Warnungen: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Not all of the label will be burned as shown:</source>
        <translation>Nicht das ganze Label wird so gebrannt, wie es angezeigt wird:</translation>
    </message>
    <message>
        <source>&amp;Go on</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Open Design…</source>
        <translation>Design &amp;öffnen …</translation>
    </message>
    <message>
        <source>&amp;Save Design</source>
        <translation>Design &amp;speichern</translation>
    </message>
    <message>
        <source>Save Design &amp;As…</source>
        <translation>Design speichern &amp;unter …</translation>
    </message>
    <message>
        <source>&amp;Export Label (PNG, PDF, SVG)…</source>
        <translation>Label &amp;exportieren (PNG, PDF, SVG) …</translation>
    </message>
    <message>
        <source>&amp;Picture for This Label…</source>
        <translation>&amp;Bild für dieses Label …</translation>
    </message>
    <message>
        <source>Choose a picture for this label</source>
        <translation>Ein Bild für dieses Label wählen</translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;All files (*)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>D&amp;atei</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Open, save and export label designs</source>
        <translation>Label-Designs öffnen, speichern und exportieren</translation>
    </message>
    <message>
        <source>%1 (the design&apos;s own layout)</source>
        <translation>%1 (das eigene Layout des Designs)</translation>
    </message>
    <message>
        <source>%1[*] — %2</source>
        <translation>%1[*] — %2</translation>
    </message>
    <message>
        <source>The label has changes that are not saved in a design.</source>
        <translation>Das Label hat Änderungen, die in keinem Design gespeichert sind.</translation>
    </message>
    <message>
        <source>The design %1 has changes that are not saved.</source>
        <translation>Das Design %1 hat Änderungen, die nicht gespeichert sind.</translation>
    </message>
    <message>
        <source>Save them first, or discard them?</source>
        <translation>Sollen sie zuerst gespeichert oder verworfen werden?</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open a label design</source>
        <translation>Label-Design öffnen</translation>
    </message>
    <message>
        <source>Label designs (*%1)</source>
        <translation>Label-Designs (*%1)</translation>
    </message>
    <message>
        <source>Save the label design</source>
        <translation>Label-Design speichern</translation>
    </message>
    <message>
        <source>Export the label</source>
        <translation>Label exportieren</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>PDF page, 116 mm across (*.pdf)</source>
        <translation>PDF-Seite, 116 mm breit (*.pdf)</translation>
    </message>
    <message>
        <source>SVG drawing, 116 mm across (*.svg)</source>
        <translation>SVG-Zeichnung, 116 mm breit (*.svg)</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>The disc&apos;s title</source>
        <translation>Titel der Disc</translation>
    </message>
    <message>
        <source>A date or a second line</source>
        <translation>Ein Datum oder eine zweite Zeile</translation>
    </message>
    <message>
        <source>Notes or file names, one a line (Scan reads the disc&apos;s)</source>
        <translation>Notizen oder Dateinamen, je Zeile einer (Einlesen holt sie von der Disc)</translation>
    </message>
    <message>
        <source>&amp;New Label from a Template…</source>
        <translation>&amp;Neues Etikett aus Vorlage …</translation>
    </message>
    <message>
        <source>Save as &amp;Template…</source>
        <translation>Als &amp;Vorlage speichern …</translation>
    </message>
    <message>
        <source>Save as Template</source>
        <translation>Als Vorlage speichern</translation>
    </message>
    <message>
        <source>The template&apos;s name (it is saved in %1):</source>
        <translation>Name der Vorlage (sie wird in %1 gespeichert):</translation>
    </message>
    <message>
        <source>There is a template named %1 already. Replace it?</source>
        <translation>Es gibt bereits eine Vorlage namens %1. Ersetzen?</translation>
    </message>
    <message>
        <source>QR code</source>
        <translation>QR-Code</translation>
    </message>
    <message>
        <source>The QR code&apos;s text (File: from the texts)</source>
        <translation>Der Text des QR-Codes (Datei: aus den Texten)</translation>
    </message>
    <message>
        <source>&amp;QR code</source>
        <translation>&amp;QR-Code</translation>
    </message>
    <message>
        <source>&amp;QR Code from the Texts</source>
        <translation>&amp;QR-Code aus den Texten</translation>
    </message>
    <message>
        <source>This layout has no QR code box; the layout designer gives it one (QR code size on its Layout page).</source>
        <translation>Dieses Layout hat kein QR-Code-Feld; der Layout-Designer gibt ihm eines (QR-Code-Größe auf seiner Seite Layout).</translation>
    </message>
    <message>
        <source>QR Code from the &amp;Disc</source>
        <translation>QR-Code von der &amp;Disc</translation>
    </message>
    <message>
        <source>No disc could be read in the drive for the QR code. Put a disc with files in the drive, then choose QR Code from the Disc again.</source>
        <translation>Im Laufwerk konnte keine Disc für den QR-Code gelesen werden. Legen Sie eine Disc mit Dateien ein und wählen Sie dann erneut „QR-Code von der Disc“.</translation>
    </message>
    <message>
        <source>Some folders on the disc could not be read; the QR code counts the files that could.</source>
        <translation>Einige Ordner der Disc konnten nicht gelesen werden; der QR-Code zählt die Dateien, die gelesen werden konnten.</translation>
    </message>
    <message>
        <source>Picture &amp;Placement and Tone</source>
        <translation>&amp;Platzierung und Tonwerte des Bildes</translation>
    </message>
    <message>
        <source>&amp;Fill the Label (Crop)</source>
        <translation>Etikett &amp;füllen (beschneiden)</translation>
    </message>
    <message>
        <source>Fit the &amp;Whole Picture</source>
        <translation>&amp;Ganzes Bild einpassen</translation>
    </message>
    <message>
        <source>&amp;Stretch over the Label</source>
        <translation>Über das Etikett &amp;strecken</translation>
    </message>
    <message>
        <source>&amp;Turn by 90°</source>
        <translation>Um 90° &amp;drehen</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Reset Position</source>
        <translation>Position &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>Fit the Tone to the &amp;Etch</source>
        <translation>Tonwerte an das &amp;Ätzen anpassen</translation>
    </message>
    <message>
        <source>Spreads the picture&apos;s greys over those the chosen quality can etch apart</source>
        <translation>Verteilt die Grautöne des Bildes auf jene, die die gewählte Qualität unterscheidbar ätzen kann</translation>
    </message>
    <message>
        <source>&amp;See-through Text Boxes</source>
        <translation>&amp;Durchsichtige Textfelder</translation>
    </message>
    <message>
        <source>The title, date and note boxes keep no fill: the picture shows under their text</source>
        <translation>Titel-, Datums- und Notizfeld haben keine Füllung: das Bild ist unter ihrem Text zu sehen</translation>
    </message>
    <message>
        <source>&amp;Halo around the Texts</source>
        <translation>&amp;Lichthof um die Texte</translation>
    </message>
    <message>
        <source>Rings the boxes&apos; texts and the ring text in the opposite grey</source>
        <translation>Umgibt die Texte der Felder und den Ringtext mit dem entgegengesetzten Grau</translation>
    </message>
    <message>
        <source>&amp;Calibrate...</source>
        <translation>&amp;Kalibrieren...</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
</context>
<context>
    <name>twr::ui::CELTitleConfig</name>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Inner radius in millimetres</source>
        <translation>Innenradius in Millimetern</translation>
    </message>
    <message>
        <source>Outer radius in millimetres</source>
        <translation>Außenradius in Millimetern</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Rimtone Mode</source>
        <translation>&amp;Rimtone-Modus</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;Schrift</translation>
    </message>
    <message>
        <source>&amp;Inner radius</source>
        <translation>&amp;Innenradius</translation>
    </message>
    <message>
        <source>&amp;Outer radius</source>
        <translation>&amp;Außenradius</translation>
    </message>
    <message>
        <source>Burning area</source>
        <translation>Brennbereich</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manuell</translation>
    </message>
    <message>
        <source>Automatic burns the narrowest band that holds every mark of the label at its quality; Manual burns the radii below.</source>
        <translation>Automatisch brennt das schmalste Band, das jede Markierung des Etiketts bei seiner Qualität enthält; Manuell brennt die Radien darunter.</translation>
    </message>
</context>
<context>
    <name>twr::ui::DesignerCanvas</name>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>The layout on the disc: click to select, drag to move, arrow keys nudge, Tab goes to the next item</source>
        <translation>Das Layout auf der Disc: Klicken wählt aus, Ziehen verschiebt, die Pfeiltasten verschieben fein, Tab geht zum nächsten Element</translation>
    </message>
</context>
<context>
    <name>twr::ui::DesignerProperties</name>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>Why a value was refused</source>
        <translation>Warum ein Wert abgelehnt wurde</translation>
    </message>
    <message>
        <source>Background picture</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;All files (*)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Give the box a size</source>
        <translation>Dem Feld eine Größe geben</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>None (the background grey fills the label)</source>
        <translation>Keins (das Hintergrundgrau füllt das Label)</translation>
    </message>
    <message>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <source>characters</source>
        <translation>Zeichen</translation>
    </message>
</context>
<context>
    <name>twr::ui::EtchedViewSwitch</name>
    <message>
        <source>Design</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>The label as designed</source>
        <translation>Das Label wie entworfen</translation>
    </message>
    <message>
        <source>As etched</source>
        <translation>Wie gebrannt</translation>
    </message>
    <message>
        <source>What the laser leaves on the disc at the quality beside</source>
        <translation>Was der Laser in der Qualität daneben auf der Disc hinterlässt</translation>
    </message>
    <message>
        <source>Etched quality</source>
        <translation>Qualität der Ansicht</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>High Quality</source>
        <translation>Hohe Qualität</translation>
    </message>
</context>
<context>
    <name>twr::ui::HelpWindow</name>
    <message>
        <source>%1 Help</source>
        <translation>%1-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>&amp;Home</source>
        <translation>Start&amp;seite</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Find on this page</source>
        <translation>Auf dieser Seite suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>S&amp;uchen:</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Vorheriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Vorheriger Treffer</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Nächster Treffer (F3)</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Nächster Treffer</translation>
    </message>
    <message>
        <source>Close the find bar (Escape)</source>
        <translation>Suchleiste schließen (Esc)</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Suchleiste schließen</translation>
    </message>
    <message>
        <source>Find next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
    <message>
        <source>&lt;h2&gt;%1&lt;/h2&gt;&lt;p&gt;The help pages are not part of this build.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;%1&lt;/h2&gt;&lt;p&gt;Die Hilfeseiten sind nicht Teil dieses Builds.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
</context>
<context>
    <name>twr::ui::LayoutDesigner</name>
    <message>
        <source>Layout Designer</source>
        <translation>Layout-Designer</translation>
    </message>
    <message>
        <source>Layouts</source>
        <translation>Layouts</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>A new layout from the built-in starting layout</source>
        <translation>Ein neues Layout aus dem eingebauten Startlayout</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>A new layout that copies this one</source>
        <translation>Ein neues Layout als Kopie von diesem</translation>
    </message>
    <message>
        <source>Rename…</source>
        <translation>Umbenennen …</translation>
    </message>
    <message>
        <source>Delete…</source>
        <translation>Löschen …</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Move the layout up the list</source>
        <translation>Das Layout in der Liste nach oben schieben</translation>
    </message>
    <message>
        <source>Move the layout down the list</source>
        <translation>Das Layout in der Liste nach unten schieben</translation>
    </message>
    <message>
        <source>Place of the selected item</source>
        <translation>Platz des gewählten Elements</translation>
    </message>
    <message>
        <source>Alt: no snapping</source>
        <translation>Alt: ohne Einrasten</translation>
    </message>
    <message>
        <source>Save the layouts as</source>
        <translation>Layouts speichern unter</translation>
    </message>
    <message>
        <source>Settings files (*.ini);;All files (*)</source>
        <translation>Einstellungsdateien (*.ini);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Name of the layout:</source>
        <translation>Name des Layouts:</translation>
    </message>
    <message>
        <source>&amp;Layout</source>
        <translation>&amp;Layout</translation>
    </message>
    <message>
        <source>&amp;New layout</source>
        <translation>&amp;Neues Layout</translation>
    </message>
    <message>
        <source>&amp;Copy of this layout</source>
        <translation>&amp;Kopie dieses Layouts</translation>
    </message>
    <message>
        <source>&amp;Rename…</source>
        <translation>&amp;Umbenennen …</translation>
    </message>
    <message>
        <source>&amp;Delete…</source>
        <translation>&amp;Löschen …</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Nach &amp;oben verschieben</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Nach un&amp;ten verschieben</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Sp&amp;eichern unter …</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Background &amp;picture…</source>
        <translation>Hintergrund&amp;bild …</translation>
    </message>
    <message>
        <source>Background picture</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;All files (*)</source>
        <translation>Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Cannot read the settings file %1: %2</source>
        <translation>Die Einstellungsdatei %1 lässt sich nicht lesen: %2</translation>
    </message>
    <message>
        <source>Copy of %1</source>
        <translation>Kopie von %1</translation>
    </message>
    <message>
        <source>New layout</source>
        <translation>Neues Layout</translation>
    </message>
    <message>
        <source>Copy of this layout</source>
        <translation>Kopie dieses Layouts</translation>
    </message>
    <message>
        <source>Rename the layout</source>
        <translation>Layout umbenennen</translation>
    </message>
    <message>
        <source>Delete layout %1 &quot;%2&quot;? The layouts after it move up one place.</source>
        <translation>Layout %1 „%2“ löschen? Die Layouts danach rücken um einen Platz auf.</translation>
    </message>
    <message>
        <source>The settings file %1 was changed by another program since the Layout Designer read it.

Save the layouts into it anyway? Its other lines keep what the other program wrote.</source>
        <translation>Die Einstellungsdatei %1 wurde von einem anderen Programm geändert, seit der Layout-Designer sie gelesen hat.

Die Layouts trotzdem darin speichern? Ihre übrigen Zeilen behalten, was das andere Programm geschrieben hat.</translation>
    </message>
    <message>
        <source>

Your changes are still here. Save them into another settings file (Save As)?</source>
        <translation>

Ihre Änderungen sind noch da. In einer anderen Einstellungsdatei speichern (Speichern unter)?</translation>
    </message>
    <message>
        <source>The layouts have changes that are not saved. Save them before closing?</source>
        <translation>Die Layouts haben ungespeicherte Änderungen. Vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Automatic burning area</source>
        <translation>Automatischer Brennbereich</translation>
    </message>
</context>
<context>
    <name>twr::ui::LayoutDesignerModel</name>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Note line 1</source>
        <translation>Notizzeile 1</translation>
    </message>
    <message>
        <source>Note line 2</source>
        <translation>Notizzeile 2</translation>
    </message>
    <message>
        <source>Note line 3</source>
        <translation>Notizzeile 3</translation>
    </message>
    <message>
        <source>No settings file is open</source>
        <translation>Keine Einstellungsdatei ist geöffnet</translation>
    </message>
    <message>
        <source>the title box</source>
        <translation>das Titelfeld</translation>
    </message>
    <message>
        <source>the date box</source>
        <translation>das Datumsfeld</translation>
    </message>
    <message>
        <source>the note box</source>
        <translation>das Notizfeld</translation>
    </message>
    <message>
        <source>the ring text</source>
        <translation>den Ringtext</translation>
    </message>
    <message>
        <source>the outer circle</source>
        <translation>den Außenkreis</translation>
    </message>
    <message>
        <source>the inner circle</source>
        <translation>den Innenkreis</translation>
    </message>
    <message>
        <source>the layout</source>
        <translation>das Layout</translation>
    </message>
    <message>
        <source>Ring text: band %1 to %2 mm from the disc centre, title and date above, notes below</source>
        <translation>Ringtext: Band %1 bis %2 mm von der Discmitte, Titel und Datum oben, Notizen unten</translation>
    </message>
    <message>
        <source>Ring text: band %1 to %2 mm from the disc centre, two rows on the lower arc</source>
        <translation>Ringtext: Band %1 bis %2 mm von der Discmitte, zwei Reihen auf dem unteren Bogen</translation>
    </message>
    <message>
        <source>Ring text: band %1 to %2 mm from the disc centre, one line around the full circle</source>
        <translation>Ringtext: Band %1 bis %2 mm von der Discmitte, eine Zeile um den ganzen Kreis</translation>
    </message>
    <message>
        <source>Title box</source>
        <translation>Titelfeld</translation>
    </message>
    <message>
        <source>Date box</source>
        <translation>Datumsfeld</translation>
    </message>
    <message>
        <source>Note box</source>
        <translation>Notizfeld</translation>
    </message>
    <message>
        <source>Ring text</source>
        <translation>Ringtext</translation>
    </message>
    <message>
        <source>Outer circle</source>
        <translation>Außenkreis</translation>
    </message>
    <message>
        <source>Inner circle</source>
        <translation>Innenkreis</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>it holds no layout</source>
        <translation>sie enthält kein Layout</translation>
    </message>
    <message>
        <source>%1: not drawn (it has no size); give it one in the properties</source>
        <translation>%1: nicht gezeichnet (es hat keine Größe); geben Sie ihm in den Eigenschaften eine</translation>
    </message>
    <message>
        <source>%1: top-left corner x %2 mm, y %3 mm from the disc centre; %4 × %5 mm (%6, %7; %8 × %9 label pixels)</source>
        <translation>%1: linke obere Ecke x %2 mm, y %3 mm von der Discmitte; %4 × %5 mm (%6, %7; %8 × %9 Labelpixel)</translation>
    </message>
    <message>
        <source>Ring text: none (RingLength is 0)</source>
        <translation>Ringtext: keiner (RingLength ist 0)</translation>
    </message>
    <message>
        <source>Outer circle of the burning area: %1 mm from the disc centre</source>
        <translation>Außenkreis des Brennbereichs: %1 mm von der Discmitte</translation>
    </message>
    <message>
        <source>Inner circle of the burning area: %1 mm from the disc centre</source>
        <translation>Innenkreis des Brennbereichs: %1 mm von der Discmitte</translation>
    </message>
    <message>
        <source>Layout %1: %2</source>
        <translation>Layout %1: %2</translation>
    </message>
    <message>
        <source>Set %1</source>
        <translation>%1 setzen</translation>
    </message>
    <message>
        <source>Background picture</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>Nudge %1</source>
        <translation>%1 fein verschieben</translation>
    </message>
    <message>
        <source>Give %1 a size</source>
        <translation>Größe für %1 festlegen</translation>
    </message>
    <message>
        <source>Copy the layout</source>
        <translation>Layout kopieren</translation>
    </message>
    <message>
        <source>New layout</source>
        <translation>Neues Layout</translation>
    </message>
    <message>
        <source>Rename the layout</source>
        <translation>Layout umbenennen</translation>
    </message>
    <message>
        <source>Delete layout %1</source>
        <translation>Layout %1 löschen</translation>
    </message>
    <message>
        <source>Move layout %1</source>
        <translation>Layout %1 verschieben</translation>
    </message>
    <message>
        <source>Change %1</source>
        <translation>%1 ändern</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>%1 verschieben</translation>
    </message>
    <message>
        <source>Resize %1</source>
        <translation>%1 in der Größe ändern</translation>
    </message>
    <message>
        <source>Pictures beside the new settings file</source>
        <translation>Bilder neben der neuen Einstellungsdatei</translation>
    </message>
    <message>
        <source>Layouts another program changed</source>
        <translation>Von einem anderen Programm geänderte Layouts</translation>
    </message>
    <message>
        <source>Automatic burning area %1 - %2 mm: %3 at %4.</source>
        <translation>Automatischer Brennbereich %1 - %2 mm: %3 bei %4.</translation>
    </message>
    <message>
        <source>nothing marks</source>
        <translation>markiert nichts</translation>
    </message>
    <message>
        <source>The inner edge is set by %1 at %2 mm; without it %3.</source>
        <translation>Innerer Rand bei %2 mm (%1); ohne diesen Teil %3.</translation>
    </message>
    <message>
        <source>The outer edge is set by %1 at %2 mm; without it %3.</source>
        <translation>Äußerer Rand bei %2 mm (%1); ohne diesen Teil %3.</translation>
    </message>
    <message>
        <source>the QR code</source>
        <translation>den QR-Code</translation>
    </message>
    <message>
        <source>QR code</source>
        <translation>QR-Code</translation>
    </message>
    <message>
        <source>QR code: not drawn (QrSize is 0); give it a size in the properties</source>
        <translation>QR-Code: nicht gezeichnet (QrSize ist 0); geben Sie ihm in den Eigenschaften eine Größe</translation>
    </message>
    <message>
        <source>QR code: top-left corner x %1 mm, y %2 mm from the disc centre; %3 mm square (%4, %5; %6 label pixels)</source>
        <translation>QR-Code: linke obere Ecke x %1 mm, y %2 mm von der Discmitte; %3 mm im Quadrat (%4, %5; %6 Labelpixel)</translation>
    </message>
</context>
<context>
    <name>twr::ui::MainWindowModel</name>
    <message>
        <source>Still looking for drives: Scan, Config and Burn wait until the drive list is filled.</source>
        <translation>Die Laufwerke werden noch gesucht: Einlesen, Einstellungen und Brennen warten, bis die Laufwerksliste gefüllt ist.</translation>
    </message>
    <message>
        <source>Scan found no volume name, date or files on the disc; the texts were kept.</source>
        <translation>Einlesen fand auf der Disc keinen Datenträgernamen, kein Datum und keine Dateien; die Texte wurden behalten.</translation>
    </message>
    <message>
        <source>Cannot open the design &apos;%1&apos;: %2.</source>
        <translation>Das Design »%1« lässt sich nicht öffnen: %2.</translation>
    </message>
    <message>
        <source>Cannot use the picture &apos;%1&apos; for this label: %2.</source>
        <translation>Das Bild »%1« lässt sich für dieses Label nicht verwenden: %2.</translation>
    </message>
    <message>
        <source>Cannot save the design to &apos;%1&apos;: %2.</source>
        <translation>Das Design kann nicht in »%1« gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Cannot export the label to &apos;%1&apos;: %2.</source>
        <translation>Das Label kann nicht nach »%1« exportiert werden: %2.</translation>
    </message>
    <message>
        <source>The label was exported to %1.</source>
        <translation>Das Label wurde nach %1 exportiert.</translation>
    </message>
    <message>
        <source>These recent designs are no longer there and were taken off the list:</source>
        <translation>Diese zuletzt geöffneten Designs gibt es nicht mehr; sie wurden von der Liste genommen:</translation>
    </message>
    <message>
        <source>The list of recent designs cannot be kept in %1: %2.</source>
        <translation>Die Liste der zuletzt geöffneten Designs lässt sich nicht in %1 speichern: %2.</translation>
    </message>
    <message>
        <source>Cannot start a label from the template &apos;%1&apos;: %2.</source>
        <translation>Aus der Vorlage „%1“ kann kein Etikett begonnen werden: %2.</translation>
    </message>
    <message>
        <source>Cannot save the template to &apos;%1&apos;: %2.</source>
        <translation>Die Vorlage kann nicht unter „%1“ gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>The label was saved as the template %1.</source>
        <translation>Das Etikett wurde als Vorlage %1 gespeichert.</translation>
    </message>
    <message>
        <source>Calibration kept: %1</source>
        <translation>Kalibrierung aufbewahrt: %1</translation>
    </message>
</context>
<context>
    <name>twr::ui::PreviewArea</name>
    <message>
        <source>Open the Layout Designer</source>
        <translation>Den Layout-Designer öffnen</translation>
    </message>
</context>
<context>
    <name>twr::ui::SkinnedMessageBox</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>twr::ui::TemplateGallery</name>
    <message>
        <source>New Label from a Template</source>
        <translation>Neues Etikett aus einer Vorlage</translation>
    </message>
    <message>
        <source>%1 (yours)</source>
        <translation>%1 (eigene)</translation>
    </message>
    <message>
        <source>&amp;New Label</source>
        <translation>&amp;Neues Etikett</translation>
    </message>
    <message>
        <source>No templates were found. Templates are label designs (.twrlabel) in the program&apos;s share/titlewright/templates folder and in %1.</source>
        <translation>Es wurden keine Vorlagen gefunden. Vorlagen sind Etikett-Designs (.twrlabel) im Ordner share/titlewright/templates des Programms und in %1.</translation>
    </message>
    <message>
        <source>Choose the label to start from. Each disc is drawn as a burn of it will etch; replace its texts with your own.</source>
        <translation>Wählen Sie das Etikett, mit dem Sie beginnen. Jede Disc ist so gezeichnet, wie ein Brennvorgang sie ätzt; ersetzen Sie ihre Texte durch Ihre eigenen.</translation>
    </message>
    <message>
        <source>%1
This template cannot be used: %2.</source>
        <translation>%1
Diese Vorlage kann nicht verwendet werden: %2.</translation>
    </message>
</context>
<context>
    <name>twr::ui::WedgeAnswerDialog</name>
    <message>
        <source>Calibrate</source>
        <translation>Kalibrieren</translation>
    </message>
    <message>
        <source>The test band as etched</source>
        <translation>Das Testband, wie es gebrannt wird</translation>
    </message>
    <message>
        <source>Look at the test band on the disc: its steps are numbered 1 to %1, the lightest first. Which step is the first that is visibly marked, and which the first that looks fully dark?</source>
        <translation>Sehen Sie sich das Testband auf der Disc an: Seine Stufen sind von 1 bis %1 nummeriert, die hellste zuerst. Welche Stufe ist die erste sichtbar markierte, und welche die erste, die ganz dunkel aussieht?</translation>
    </message>
    <message>
        <source>First visibly &amp;marked step:</source>
        <translation>Erste sichtbar &amp;markierte Stufe:</translation>
    </message>
    <message>
        <source>First fully &amp;dark step:</source>
        <translation>Erste ganz &amp;dunkle Stufe:</translation>
    </message>
    <message>
        <source>The answer was not kept: %1.</source>
        <translation>Die Antwort wurde nicht aufbewahrt: %1.</translation>
    </message>
</context>
</TS>
