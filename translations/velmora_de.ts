<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>ActionConfirmation</name>
    <message>
        <location filename="../model/ActionCodes.cpp" line="+47"/>
        <source>Force quit %1?</source>
        <extracomment>%1 is the app&apos;s name.</extracomment>
        <translation>Beenden von %1 erzwingen?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Find where %1 leaks?</source>
        <translation>Herausfinden, wo %1 Speicher verliert?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restart %1 with tracking?</source>
        <translation>%1 mit Verfolgung neu starten?</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Its %1 processes stop at once and unsaved work is lost.</source>
        <translation>Seine Prozesse (%1) werden sofort beendet, ungesicherte Arbeit geht verloren.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Velmora attaches a heap tracker to %1 for %2; the process keeps running, a little slower.</source>
        <translation>Velmora hängt für %2 einen Heap-Tracker an %1; der Prozess läuft weiter, etwas langsamer.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Velmora quits %1, starts it again under a heap tracker for %2, then restarts it once more without it. Unsaved work in it is lost.</source>
        <translation>Velmora beendet %1, startet es für %2 unter einem Heap-Tracker neu und danach noch einmal ohne ihn. Ungesicherte Arbeit darin geht verloren.</translation>
    </message>
    <message>
        <location line="+177"/>
        <source>Its process stops at once and unsaved work is lost.</source>
        <extracomment>The force quit&apos;s question for an app that runs a single process.</extracomment>
        <translation>Sein Prozess wird sofort beendet, ungesicherte Arbeit geht verloren.</translation>
    </message>
</context>
<context>
    <name>ActionDescriptor</name>
    <message>
        <location filename="../model/ActionDescriptor.cpp" line="+55"/>
        <source>Inspect</source>
        <translation>Ansehen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restart</source>
        <translation>Neu starten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recover</source>
        <translation>Sanft beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ignore</source>
        <extracomment>Stop showing this app as a suspect.</extracomment>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Shut Down</source>
        <extracomment>Force the app to quit.</extracomment>
        <translation>Beenden erzwingen</translation>
    </message>
</context>
<context>
    <name>ActionFeedback</name>
    <message>
        <location filename="../model/ActionCodes.cpp" line="-166"/>
        <source>Action not available</source>
        <translation>Aktion nicht verfügbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to act on</source>
        <translation>Nichts zu tun</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force quit cancelled</source>
        <translation>Erzwungenes Beenden abgebrochen</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+4"/>
        <location line="+34"/>
        <location line="+1"/>
        <source>Copy failed</source>
        <translation>Kopieren fehlgeschlagen</translation>
    </message>
    <message>
        <location line="-38"/>
        <source>Path copied</source>
        <translation>Pfad kopiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Command copied</source>
        <translation>Befehl kopiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Report copied</source>
        <translation>Bericht kopiert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Evidence capture failed</source>
        <translation>Belege konnten nicht gesichert werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Evidence captured</source>
        <translation>Belege gesichert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recovery failed</source>
        <translation>Sanftes Beenden fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <source>Recovery completed</source>
        <translation>Sanft beendet</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Recovery requested</source>
        <translation>Beenden angefordert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restart failed</source>
        <translation>Neustart fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restart completed</source>
        <translation>Neu gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force quit not allowed</source>
        <translation>Erzwungenes Beenden nicht erlaubt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force quit failed</source>
        <translation>Erzwungenes Beenden fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force quit completed</source>
        <translation>Beenden erzwungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force quit incomplete</source>
        <translation>Nicht vollständig beendet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ignored until restart</source>
        <translation>Bis zum Neustart ignoriert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ignored for 24 hours</source>
        <translation>24 Stunden lang ignoriert</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+21"/>
        <source>Nothing to open</source>
        <translation>Nichts zu öffnen</translation>
    </message>
    <message>
        <location line="-20"/>
        <location line="+21"/>
        <source>Could not open</source>
        <translation>Konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="-20"/>
        <source>Folder opened</source>
        <translation>Ordner geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Artifact opened</source>
        <translation>Beleg geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Report export failed</source>
        <translation>Bericht konnte nicht exportiert werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Report exported</source>
        <translation>Bericht exportiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Could not open the data folder</source>
        <translation>Datenordner konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Data folder opened</source>
        <translation>Datenordner geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing tracked</source>
        <translation>Nichts verfolgt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Heap tracking not possible</source>
        <translation>Heap-Verfolgung nicht möglich</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Heap tracking failed</source>
        <translation>Heap-Verfolgung fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Finding where it leaks</source>
        <translation>Suche, wo Speicher verloren geht</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Restart with tracking failed</source>
        <translation>Neustart mit Verfolgung fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restarted under tracking</source>
        <translation>Unter Verfolgung neu gestartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to stop</source>
        <translation>Nichts zu stoppen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stopping heap tracking</source>
        <translation>Heap-Verfolgung wird gestoppt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Recording opened</source>
        <translation>Aufzeichnung geöffnet</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <source>Where it grows</source>
        <translation>Wo der Speicher wächst</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Heap tracking did not finish</source>
        <translation>Heap-Verfolgung nicht abgeschlossen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Request not understood</source>
        <translation>Anfrage nicht verstanden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quitting</source>
        <translation>Wird beendet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Settings not saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Velmora does not know the action &quot;%1&quot;.</source>
        <translation>Velmora kennt die Aktion „%1“ nicht.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>It is no longer running; nothing was done.</source>
        <translation>Es läuft nicht mehr; es wurde nichts getan.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was quit.</source>
        <translation>Es wurde nichts beendet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+35"/>
        <source>No evidence artifact was captured for it.</source>
        <translation>Dafür wurden keine Belege gesichert.</translation>
    </message>
    <message>
        <location line="-34"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+4"/>
        <location line="+2"/>
        <location line="+8"/>
        <location line="+8"/>
        <location line="+11"/>
        <location line="+3"/>
        <location line="+2"/>
        <location line="+3"/>
        <location line="+1"/>
        <location line="+3"/>
        <location line="+28"/>
        <location line="+1"/>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="-73"/>
        <source>No clipboard tool (wl-copy, xclip or xsel) could take it: %1</source>
        <translation>Kein Zwischenablage-Programm (wl-copy, xclip oder xsel) konnte es übernehmen: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+32"/>
        <source>Saved %1.</source>
        <translation>Gespeichert unter %1.</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>%1 quit gracefully; about %2 given back.</source>
        <translation>%1 wurde ordentlich beendet; etwa %2 sind wieder frei.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 was asked to quit and is still running; Velmora will say when it has ended.</source>
        <translation>%1 wurde gebeten, sich zu beenden, und läuft noch; Velmora meldet, sobald es beendet ist.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has ended.</source>
        <translation>%1 wurde beendet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 quit gracefully and started again as PID %2.</source>
        <translation>%1 wurde ordentlich beendet und als PID %2 neu gestartet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Velmora never signals itself, its app or the desktop session&apos;s own processes.</source>
        <translation>Velmora sendet nie Signale an sich selbst, seine App oder die Prozesse der Desktop-Sitzung.</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+2"/>
        <source>%1: %2 of %3 processes stopped.</source>
        <translation>%1: %2 von %3 Prozessen beendet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 is hidden, but the setting could not be saved: %2</source>
        <translation>%1 ist ausgeblendet, aber die Einstellung konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 stays out of the rows until %2 tomorrow.</source>
        <translation>%1 bleibt bis morgen %2 Uhr aus der Liste.</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+1"/>
        <location line="+4"/>
        <source>Opened %1.</source>
        <translation>%1 geöffnet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Velmora did not touch the process.</source>
        <translation>Velmora hat den Prozess nicht angerührt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Tracking %1 for %2; the detail counts down.</source>
        <translation>%1 wird %2 lang verfolgt; die Detailansicht zählt herunter.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 did not quit, so it was not started under tracking.</source>
        <translation>%1 hat sich nicht beendet und wurde daher nicht unter Verfolgung gestartet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 could not be started under tracking (%2); it was started again without tracking as PID %3.</source>
        <translation>%1 konnte nicht unter Verfolgung gestartet werden (%2); es wurde ohne Verfolgung als PID %3 neu gestartet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 could not be started under tracking (%2), and starting it again failed too: %3</source>
        <translation>%1 konnte nicht unter Verfolgung gestartet werden (%2), und auch der erneute Start schlug fehl: %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 quit and is starting again under heaptrack; the detail counts down.</source>
        <translation>%1 wurde beendet und startet unter heaptrack neu; die Detailansicht zählt herunter.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Velmora is not tracking it.</source>
        <translation>Velmora verfolgt es nicht.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>What was recorded so far is read next.</source>
        <translation>Das bisher Aufgezeichnete wird als Nächstes ausgewertet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <source>No heap tracking has finished for it.</source>
        <translation>Dafür wurde noch keine Heap-Verfolgung abgeschlossen.</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>There is no such command.</source>
        <translation>Diesen Befehl gibt es nicht.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>heaptrack_gui is not installed (Debian package heaptrack-gui).</source>
        <translation>heaptrack_gui ist nicht installiert (Debian-Paket heaptrack-gui).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Opened %1 in heaptrack_gui.</source>
        <translation>%1 in heaptrack_gui geöffnet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1: No allocation site kept memory while it was tracked.</source>
        <translation>%1: Keine Allokationsstelle hat während der Verfolgung Speicher behalten.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Velmora is shutting down.</source>
        <translation>Velmora wird beendet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The change applies until Velmora quits: %1</source>
        <translation>Die Änderung gilt, bis Velmora beendet wird: %1</translation>
    </message>
</context>
<context>
    <name>ActionLabels</name>
    <message>
        <location line="-202"/>
        <source>Inspect</source>
        <translation>Ansehen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Capture Evidence</source>
        <translation>Belege sichern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restart</source>
        <translation>Neu starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recover</source>
        <translation>Sanft beenden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quit %1</source>
        <extracomment>%1 is the app&apos;s name.</extracomment>
        <translation>%1 beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Force Quit</source>
        <translation>Beenden erzwingen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ignore for 24 Hours</source>
        <translation>24 Stunden ignorieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start Tracking</source>
        <translation>Verfolgung starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restart with Tracking</source>
        <translation>Mit Verfolgung neu starten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Copy</source>
        <extracomment>Copies a command to the clipboard.</extracomment>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open</source>
        <extracomment>Opens the kept evidence file.</extracomment>
        <translation>Öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Export Report</source>
        <translation>Bericht exportieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Copy Report</source>
        <extracomment>Copies the heap tracking&apos;s report to the clipboard.</extracomment>
        <translation>Bericht kopieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Recording</source>
        <extracomment>Opens the heap tracker&apos;s recording in its viewer.</extracomment>
        <translation>Aufzeichnung öffnen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Stop</source>
        <extracomment>Stops the heap tracking under way.</extracomment>
        <translation>Stoppen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Find where it leaks</source>
        <extracomment>Starts the heap tracking that finds where in its code an app&apos;s memory grows.</extracomment>
        <translation>Leckstelle finden</translation>
    </message>
</context>
<context>
    <name>ActionTexts</name>
    <message>
        <location filename="../state/ActionTexts.cpp" line="+27"/>
        <source>%1 s</source>
        <extracomment>A span of seconds, as in &quot;90 s&quot;.</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>PID %1</source>
        <extracomment>A process by its id alone.</extracomment>
        <translation>PID %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 (PID %2)</source>
        <extracomment>A process by its name and id: &quot;worker (PID 4242)&quot;.</extracomment>
        <translation>%1 (PID %2)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 s left</source>
        <extracomment>What remains of a heap tracking under way, in seconds.</extracomment>
        <translation>noch %1 s</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 min %2 s left</source>
        <extracomment>What remains of a heap tracking under way, in minutes and seconds.</extracomment>
        <translation>noch %1 min %2 s</translation>
    </message>
</context>
<context>
    <name>AgoTexts</name>
    <message numerus="yes">
        <location filename="../state/AgoTexts.cpp" line="+13"/>
        <source>%n s ago</source>
        <extracomment>How long ago, in seconds.</extracomment>
        <translation>
            <numerusform>vor %n s</numerusform>
            <numerusform>vor %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n min ago</source>
        <extracomment>How long ago, in minutes.</extracomment>
        <translation>
            <numerusform>vor %n Min.</numerusform>
            <numerusform>vor %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n h ago</source>
        <extracomment>How long ago, in hours.</extracomment>
        <translation>
            <numerusform>vor %n Std.</numerusform>
            <numerusform>vor %n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n d ago</source>
        <extracomment>How long ago, in days.</extracomment>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%ns ago</source>
        <extracomment>How long ago, in seconds, as short as it goes.</extracomment>
        <translation>
            <numerusform>vor %n s</numerusform>
            <numerusform>vor %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%nm ago</source>
        <extracomment>How long ago, in minutes, as short as it goes.</extracomment>
        <translation>
            <numerusform>vor %n Min.</numerusform>
            <numerusform>vor %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%nh ago</source>
        <extracomment>How long ago, in hours, as short as it goes.</extracomment>
        <translation>
            <numerusform>vor %n Std.</numerusform>
            <numerusform>vor %n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%nd ago</source>
        <extracomment>How long ago, in days, as short as it goes.</extracomment>
        <translation>
            <numerusform>vor %n T.</numerusform>
            <numerusform>vor %n T.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>just now</source>
        <extracomment>Something that happened less than a minute ago.</extracomment>
        <translation>gerade eben</translation>
    </message>
</context>
<context>
    <name>CardTexts</name>
    <message>
        <location filename="../state/CardTexts.cpp" line="+21"/>
        <source>1 process</source>
        <extracomment>How many processes an app runs, as in &quot;1 process in the app scope …&quot;.</extracomment>
        <translation>1 Prozess</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n processes</source>
        <extracomment>How many processes an app runs, as in &quot;3 processes in the app scope …&quot;.</extracomment>
        <translation>
            <numerusform>%n Prozess</numerusform>
            <numerusform>%n Prozesse</numerusform>
        </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Jan</source>
        <extracomment>Short month names, in the moment evidence was captured on another day (&quot;5 Dec 14:05&quot;).</extracomment>
        <translation>Jan.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Feb</source>
        <translation>Feb.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mar</source>
        <translation>März</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Apr</source>
        <translation>Apr.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Jun</source>
        <translation>Juni</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Jul</source>
        <translation>Juli</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Aug</source>
        <translation>Aug.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sep</source>
        <translation>Sept.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Oct</source>
        <translation>Okt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nov</source>
        <translation>Nov.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Dec</source>
        <translation>Dez.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>%1 %2 %3</source>
        <extracomment>A moment on another day: %1 the day of the month, %2 the month&apos;s short name, %3 the time of day, as in &quot;5 Dec 14:05&quot;.</extracomment>
        <translation>%1. %2 %3</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>No active memory incident</source>
        <extracomment>The incident card&apos;s headline when nothing grows.</extracomment>
        <translation>Kein akuter Speichervorfall</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No ranked process family is showing sustained leak-like growth.</source>
        <extracomment>Why the card is calm.</extracomment>
        <translation>Keine der bewerteten Prozessfamilien wächst anhaltend wie bei einem Speicherleck.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Local monitoring stays passive until you explicitly capture evidence or act.</source>
        <translation>Die lokale Überwachung bleibt passiv, bis Sie ausdrücklich Belege sichern oder eingreifen.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Waiting for the next local sampling pass</source>
        <extracomment>The calm card before the first look at the processes.</extracomment>
        <translation>Warten auf den nächsten lokalen Messdurchgang</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Watching %1 in %2</source>
        <extracomment>The calm card: %1 is &quot;48 processes&quot;, %2 is &quot;12 families&quot;.</extracomment>
        <translation>Beobachtet: %1 in %2</translation>
    </message>
    <message numerus="yes">
        <location line="-65"/>
        <source>%n families</source>
        <extracomment>Apps (groups of processes), as counted in &quot;Watching 48 processes in 12 families&quot;.</extracomment>
        <translation>
            <numerusform>%n Familie</numerusform>
            <numerusform>%n Familien</numerusform>
        </translation>
    </message>
    <message>
        <location line="-3"/>
        <source>1 family</source>
        <extracomment>Apps (groups of processes), as counted in &quot;Watching 48 processes in 1 family&quot;.</extracomment>
        <translation>1 Familie</translation>
    </message>
    <message>
        <location line="+77"/>
        <source>%1 in the app scope %2</source>
        <extracomment>%1 is &quot;3 processes&quot;, %2 the app&apos;s scope as the desktop names it.</extracomment>
        <translation>%1 im App-Bereich %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 working in %2</source>
        <extracomment>%1 is &quot;3 processes&quot;, %2 the folder they work in.</extracomment>
        <translation>%1 mit Arbeitsordner %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 under PID %2</source>
        <extracomment>%1 is &quot;3 processes&quot;, %2 the process ID of the first of them.</extracomment>
        <translation>%1 unter PID %2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>No stronger evidence needed right now</source>
        <extracomment>The calm card&apos;s evidence line.</extracomment>
        <translation>Derzeit sind keine weiteren Belege nötig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No evidence captured yet</source>
        <translation>Noch keine Belege gesichert</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Evidence captured %1</source>
        <extracomment>%1 is a time of day (&quot;14:05&quot;) or a day and time (&quot;5 Dec 14:05&quot;).</extracomment>
        <translation>Belege gesichert: %1</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Local passive monitor</source>
        <extracomment>How sure the calm card is: Velmora only watches.</extracomment>
        <translation>Lokale, passive Überwachung</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Very high confidence · score %1</source>
        <extracomment>How sure Velmora is of a suspect, from its score (0 to 100).</extracomment>
        <translation>Sehr hohe Sicherheit · Bewertung %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>High confidence · score %1</source>
        <translation>Hohe Sicherheit · Bewertung %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Medium confidence · score %1</source>
        <translation>Mittlere Sicherheit · Bewertung %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Low confidence · score %1</source>
        <translation>Geringe Sicherheit · Bewertung %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+45"/>
        <source>Growth</source>
        <extracomment>A rung of the confidence ladder: how fast memory grows.
----------
The card&apos;s figures: how fast memory grows.</extracomment>
        <translation>Wachstum</translation>
    </message>
    <message>
        <location line="-42"/>
        <location line="+44"/>
        <source>N/A</source>
        <extracomment>No growth rate measured yet.</extracomment>
        <translation>k. A.</translation>
    </message>
    <message>
        <location line="-36"/>
        <source>Steadiness</source>
        <extracomment>A rung of the confidence ladder: the share of steps on which memory rose.</extracomment>
        <translation>Stetigkeit</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 rising</source>
        <extracomment>%1 is a share, as in &quot;83%&quot;.</extracomment>
        <translation>%1 steigend</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Trend</source>
        <extracomment>A rung of the confidence ladder: how strong the upward trend is.</extracomment>
        <translation>Trend</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1/100</source>
        <extracomment>A trend strength out of 100, as in &quot;71/100&quot;.</extracomment>
        <translation>%1/100</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Evidence</source>
        <extracomment>A rung of the confidence ladder, once evidence was captured.</extracomment>
        <translation>Belege</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Captured</source>
        <translation>Gesichert</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Footprint</source>
        <extracomment>The card&apos;s figures: the memory the app holds.</extracomment>
        <translation>Speicherbedarf</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Typical</source>
        <extracomment>The card&apos;s figures: the app&apos;s usual size.</extracomment>
        <translation>Üblich</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Score</source>
        <extracomment>The card&apos;s figures: the suspicion score; %1 is 0 to 100, as in &quot;72 / 100&quot;.</extracomment>
        <translation>Bewertung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 / 100</source>
        <translation>%1 / 100</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Headroom</source>
        <extracomment>The calm card&apos;s figures: how much memory the machine has left.</extracomment>
        <translation>Spielraum</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Headroom unavailable</source>
        <extracomment>The machine&apos;s memory totals could not be read.</extracomment>
        <translation>Spielraum unbekannt</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Memory totals unavailable</source>
        <extracomment>The card&apos;s figures before the first look at the machine.</extracomment>
        <translation>Speichersummen nicht verfügbar</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>PID %1 · %2</source>
        <extracomment>The family&apos;s largest process: %1 its process ID, %2 its size, as in &quot;PID 4242 · 1.9 GB&quot;.</extracomment>
        <translation>PID %1 · %2</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Sampled from %1 every %2</source>
        <extracomment>%1 is the folder the kernel describes processes in (&quot;/proc&quot;), %2 a span (&quot;2 s&quot;).</extracomment>
        <translation>Alle %2 aus %1 gemessen</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>Family</source>
        <extracomment>The facts behind the card&apos;s attribution: the app the processes belong to.</extracomment>
        <translation>Familie</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Largest</source>
        <extracomment>The facts behind the card&apos;s attribution: the app&apos;s largest process.</extracomment>
        <translation>Größter Prozess</translation>
    </message>
</context>
<context>
    <name>DetailTexts</name>
    <message>
        <location filename="../state/DetailTexts.cpp" line="+32"/>
        <source>PID %1</source>
        <extracomment>A process&apos;s number in the diagnostics: &quot;PID 4242&quot;.</extracomment>
        <translation>PID %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>growing</source>
        <extracomment>A tag of a process in the diagnostics: its memory grows.</extracomment>
        <translation>wächst</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>protected</source>
        <extracomment>A tag of a process in the diagnostics: Velmora never ends it.</extracomment>
        <translation>geschützt</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Footprint = anonymous resident memory (statm resident - shared) + swap (status VmSwap, smaps_rollup Swap for suspects) + shared memory (status RssShmem at the process&apos;s share of it, smaps_rollup Pss_Shmem; memfd and /dev/shm files held open but not mapped).</source>
        <extracomment>How Velmora measures a process&apos;s memory; the names in brackets are the kernel&apos;s own files and fields and stay as they are.</extracomment>
        <translation>Speicherbedarf = anonymer residenter Speicher (statm resident - shared) + Auslagerung (status VmSwap, smaps_rollup Swap bei Verdächtigen) + gemeinsamer Speicher (status RssShmem zum Anteil des Prozesses, smaps_rollup Pss_Shmem; memfd- und /dev/shm-Dateien, die offen gehalten, aber nicht eingeblendet sind).</translation>
    </message>
    <message numerus="yes">
        <location line="+9"/>
        <source>%n bucket medians in the rate window.</source>
        <extracomment>How many medians of equal stretches of time the growth rate is measured from.</extracomment>
        <translation>
            <numerusform>%n Median eines Zeitabschnitts im Ratenfenster.</numerusform>
            <numerusform>%n Mediane von Zeitabschnitten im Ratenfenster.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has the highest oom_score on this machine (%2): the kernel ends it first if memory runs out.</source>
        <extracomment>%1 is a process (&quot;PID 4242 (editor)&quot;), %2 its oom_score, the kernel&apos;s own figure.</extracomment>
        <translation>%1 hat den höchsten oom_score auf diesem Rechner (%2): Der Kernel beendet ihn zuerst, wenn der Speicher ausgeht.</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>%1 / 100</source>
        <extracomment>A score out of 100: &quot;72 / 100&quot;.</extracomment>
        <translation>%1 / 100</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Footprint</source>
        <extracomment>A figure&apos;s label in the diagnostics: the memory the app holds now.</extracomment>
        <translation>Speicherbedarf</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Growth</source>
        <extracomment>A figure&apos;s label in the diagnostics: how fast its memory grows.</extracomment>
        <translation>Wachstum</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Typical</source>
        <extracomment>A figure&apos;s label in the diagnostics: the app&apos;s usual size.</extracomment>
        <translation>Üblich</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Score</source>
        <extracomment>A figure&apos;s label in the diagnostics: how strongly it looks like a leak.</extracomment>
        <translation>Wert</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>No longer running</source>
        <extracomment>The detail&apos;s title once the app&apos;s processes have all exited.</extracomment>
        <translation>Läuft nicht mehr</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Ended</source>
        <extracomment>The verdict of an app whose processes have all exited.</extracomment>
        <translation>Beendet</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Not sampled</source>
        <extracomment>In place of the confidence, for an app whose processes have all exited.</extracomment>
        <translation>Nicht erfasst</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Anonymous, swapped and shared memory of the growing process right now.</source>
        <extracomment>Under a command to copy: what it shows.</extracomment>
        <translation>Anonymer, ausgelagerter und gemeinsamer Speicher des wachsenden Prozesses in diesem Moment.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Anonymous, swapped and shared memory of the largest process right now.</source>
        <extracomment>Under a command to copy: what it shows.</extracomment>
        <translation>Anonymer, ausgelagerter und gemeinsamer Speicher des größten Prozesses in diesem Moment.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Its largest anonymous mappings, to see which allocation keeps growing.</source>
        <extracomment>Under a command to copy: what it shows.</extracomment>
        <translation>Seine größten anonymen Speicherbereiche, um zu sehen, welche Belegung weiter wächst.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Evidence artifact</source>
        <extracomment>The heading of the evidence Velmora captured and keeps for an app.</extracomment>
        <translation>Gesicherte Belege</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>smaps_rollup, status, the largest anonymous mappings and the command line of the family&apos;s processes, kept on this machine.</source>
        <extracomment>What the captured evidence holds; the first three are the kernel&apos;s own files.</extracomment>
        <translation>smaps_rollup, status, die größten anonymen Speicherbereiche und die Befehlszeile der Prozesse dieser Gruppe, auf diesem Rechner aufbewahrt.</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>smaps_rollup, status, the largest anonymous mappings and the command line of %n processes, kept on this machine.</source>
        <extracomment>What the captured evidence holds; the first three are the kernel&apos;s own files.</extracomment>
        <translation>
            <numerusform>smaps_rollup, status, die größten anonymen Speicherbereiche und die Befehlszeile von %n Prozess, auf diesem Rechner aufbewahrt.</numerusform>
            <numerusform>smaps_rollup, status, die größten anonymen Speicherbereiche und die Befehlszeile von %n Prozessen, auf diesem Rechner aufbewahrt.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Captured %1 for %2</source>
        <extracomment>When the evidence was captured and for which app: &quot;Captured 14:05 for Firefox&quot;.</extracomment>
        <translation>Für %2 gesichert: %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Jan</source>
        <extracomment>A month&apos;s short name, as in &quot;3 Mar 14:05&quot;.</extracomment>
        <translation>Jan.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Feb</source>
        <translation>Feb.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mar</source>
        <translation>März</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Apr</source>
        <translation>Apr.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Jun</source>
        <translation>Juni</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Jul</source>
        <translation>Juli</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Aug</source>
        <translation>Aug.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sep</source>
        <translation>Sept.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Oct</source>
        <translation>Okt.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nov</source>
        <translation>Nov.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Dec</source>
        <translation>Dez.</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>%1 %2 %3</source>
        <extracomment>A moment on another day: %1 is the day of the month, %2 the month, %3 the time.</extracomment>
        <translation>%1. %2 %3</translation>
    </message>
</context>
<context>
    <name>FooterTexts</name>
    <message>
        <location filename="../state/FooterTexts.cpp" line="+15"/>
        <source>Storage %1</source>
        <extracomment>The footer chip with the size of Velmora&apos;s data folder: &quot;Storage 381 MB&quot;.</extracomment>
        <translation>Daten %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Prune pending</source>
        <extracomment>The footer chip before the history has dropped its old records for the first time.</extracomment>
        <translation>Bereinigung ausstehend</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Last prune %1</source>
        <extracomment>The footer chip: when the history last dropped its old records; %1 is &quot;2h ago&quot;.</extracomment>
        <translation>Bereinigt %1</translation>
    </message>
</context>
<context>
    <name>ForecastTexts</name>
    <message>
        <location filename="../state/ForecastTexts.cpp" line="+42"/>
        <source>systemd-oomd acts above %1 memory pressure for %2 or %3 swap used</source>
        <extracomment>The out-of-memory daemon&apos;s threshold: %1 is a share of memory pressure, %2 for how long, as in &quot;30 s&quot;, %3 a share of the swap space in use.</extracomment>
        <translation>systemd-oomd greift ein, wenn der Speicherdruck %2 lang über %1 liegt oder %3 des Auslagerungsspeichers belegt sind</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>systemd-oomd acts above %1 memory pressure for %2</source>
        <extracomment>The out-of-memory daemon&apos;s threshold: %1 is a share of memory pressure, %2 for how long.</extracomment>
        <translation>systemd-oomd greift ein, wenn der Speicherdruck %2 lang über %1 liegt</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>earlyoom ends the largest process below %1 available memory and %2 free swap</source>
        <extracomment>The out-of-memory daemon&apos;s threshold: %1 and %2 are a share (&quot;10%&quot;) or a size.</extracomment>
        <translation>earlyoom beendet den größten Prozess, wenn weniger als %1 Speicher verfügbar und weniger als %2 Auslagerungsspeicher frei sind</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>earlyoom ends the largest process below %1 available memory</source>
        <extracomment>The out-of-memory daemon&apos;s threshold: %1 is a share (&quot;10%&quot;) or a size.</extracomment>
        <translation>earlyoom beendet den größten Prozess, wenn weniger als %1 Speicher verfügbar sind</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>First to be ended if memory runs out: %1, %2</source>
        <extracomment>%1 is an application&apos;s name, %2 its memory, as in &quot;3.2 GB&quot;.</extracomment>
        <translation>Wird der Arbeitsspeicher knapp, wird zuerst beendet: %1, %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>PID %1</source>
        <translation>PID %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>First to be ended if memory runs out: %1, another user&apos;s process</source>
        <extracomment>%1 is a process&apos;s name, or &quot;PID 4242&quot;.</extracomment>
        <translation>Wird der Arbeitsspeicher knapp, wird zuerst beendet: %1, ein Prozess eines anderen Benutzers</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Memory runs out in %1 at this rate</source>
        <extracomment>%1 is an estimate, as in &quot;about 40 min&quot;.</extracomment>
        <translation>Bei diesem Tempo ist der Arbeitsspeicher in %1 voll</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>memory runs out in %1 at this rate</source>
        <extracomment>Within a sentence, after other figures; %1 is an estimate, as in &quot;about 40 min&quot;.</extracomment>
        <translation>bei diesem Tempo ist der Arbeitsspeicher in %1 voll</translation>
    </message>
</context>
<context>
    <name>HistoryTexts</name>
    <message>
        <location filename="../state/HistoryTexts.cpp" line="+41"/>
        <source>%1m</source>
        <extracomment>A length of time in minutes, short: &quot;42m&quot;.</extracomment>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1h %2m</source>
        <extracomment>A length of time in hours and minutes, short: &quot;3h 5m&quot;.</extracomment>
        <translation>%1 Std. %2 Min.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1d %2h</source>
        <extracomment>A length of time in days and hours, short: &quot;2d 4h&quot;.</extracomment>
        <translation>%1 T. %2 Std.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Restart</source>
        <extracomment>An action taken on an application, as the history names it.</extracomment>
        <translation>Neustart</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Recover</source>
        <extracomment>An action taken on an application, as the history names it.</extracomment>
        <translation>Sanftes Beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Force quit</source>
        <extracomment>An action taken on an application, as the history names it.</extracomment>
        <translation>Sofortiges Beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Evidence capture</source>
        <extracomment>An action taken on an application, as the history names it.</extracomment>
        <translation>Beweissicherung</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ignore</source>
        <extracomment>An action taken on an application, as the history names it.</extracomment>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Out-of-memory kill</source>
        <extracomment>The kernel ended one of the application&apos;s processes when memory ran out.</extracomment>
        <translation>Beendet wegen Speichermangels</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>Historical critical</source>
        <extracomment>How much an application&apos;s past weighs: it went critical in the last 30 days.</extracomment>
        <translation>Bisher kritisch</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Historical suspect</source>
        <extracomment>How much an application&apos;s past weighs: repeated or high-scoring incidents.</extracomment>
        <translation>Bisher verdächtig</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Historical watch</source>
        <extracomment>How much an application&apos;s past weighs: one modest incident.</extracomment>
        <translation>Bisher beobachtet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No incidents on record</source>
        <translation>Keine Vorfälle verzeichnet</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Too new to judge</source>
        <translation>Zu neu für ein Urteil</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Recurring above baseline</source>
        <extracomment>Its memory keeps rising above its usual size, day after day.</extracomment>
        <translation>Wiederholt über dem Normalwert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Occasional spikes</source>
        <translation>Gelegentliche Spitzen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Usually healthy</source>
        <translation>Meist unauffällig</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Live now</source>
        <extracomment>The application is among the live rows right now.</extracomment>
        <translation>Gerade aktiv</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Not seen in 30d</source>
        <extracomment>&quot;30d&quot; is the last 30 days.</extracomment>
        <translation>Seit 30 T. nicht gesehen</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>critical once</source>
        <extracomment>An evidence tag: the application went critical once, or %n times (&quot;2x&quot;).</extracomment>
        <translation>einmal kritisch</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>critical %nx</source>
        <translation>
            <numerusform>%n× kritisch</numerusform>
            <numerusform>%n× kritisch</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>ended by the OOM killer %n× in 30 days</source>
        <extracomment>An evidence tag: how often the kernel&apos;s out-of-memory killer ended the application.</extracomment>
        <translation>
            <numerusform>in 30 Tagen %n× wegen Speichermangels beendet</numerusform>
            <numerusform>in 30 Tagen %n× wegen Speichermangels beendet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1 artifact</source>
        <extracomment>An evidence tag: evidence files kept for the application.</extracomment>
        <translation>1 Beweisdatei</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n artifacts</source>
        <translation>
            <numerusform>%n Beweisdatei</numerusform>
            <numerusform>%n Beweisdateien</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>restarted once</source>
        <extracomment>An evidence tag: the application was restarted once, or %n times (&quot;2x&quot;).</extracomment>
        <translation>einmal neu gestartet</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>restarted %nx</source>
        <translation>
            <numerusform>%n× neu gestartet</numerusform>
            <numerusform>%n× neu gestartet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>recovered once</source>
        <extracomment>An evidence tag: the application was recovered once, or %n times (&quot;2x&quot;).</extracomment>
        <translation>einmal sanft beendet</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>recovered %nx</source>
        <translation>
            <numerusform>%n× sanft beendet</numerusform>
            <numerusform>%n× sanft beendet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>force quit once</source>
        <extracomment>An evidence tag: the application was force quit once, or %n times (&quot;2x&quot;).</extracomment>
        <translation>einmal sofort beendet</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>force quit %nx</source>
        <translation>
            <numerusform>%n× sofort beendet</numerusform>
            <numerusform>%n× sofort beendet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+20"/>
        <source>No growth incident in 30 days, yet the out-of-memory killer ended %1 once; its memory use outgrew what was available.</source>
        <extracomment>%1 is the application&apos;s name.</extracomment>
        <translation>In 30 Tagen kein Wachstumsvorfall, doch der Kernel hat %1 einmal wegen Speichermangels beendet; der Speicherbedarf überstieg das Verfügbare.</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>No growth incident in 30 days, yet the out-of-memory killer ended %1 %n times; its memory use outgrew what was available.</source>
        <translation>
            <numerusform>In 30 Tagen kein Wachstumsvorfall, doch der Kernel hat %1 %n-mal wegen Speichermangels beendet; der Speicherbedarf überstieg das Verfügbare.</numerusform>
            <numerusform>In 30 Tagen kein Wachstumsvorfall, doch der Kernel hat %1 %n-mal wegen Speichermangels beendet; der Speicherbedarf überstieg das Verfügbare.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+114"/>
        <source>No incidents in the last 30 days.</source>
        <translation>Keine Vorfälle in den letzten 30 Tagen.</translation>
    </message>
    <message>
        <location line="-107"/>
        <source>Went critical once in 30 days; treat new growth from %1 as urgent.</source>
        <extracomment>%1 is the application&apos;s name.</extracomment>
        <translation>In 30 Tagen einmal kritisch; neues Wachstum von %1 ist dringend.</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>Went critical %n times in 30 days; treat new growth from %1 as urgent.</source>
        <translation>
            <numerusform>In 30 Tagen %n-mal kritisch; neues Wachstum von %1 ist dringend.</numerusform>
            <numerusform>In 30 Tagen %n-mal kritisch; neues Wachstum von %1 ist dringend.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Incidents started on %1 of the last %2 days watched; this growth keeps coming back above its baseline.</source>
        <extracomment>%1 is how many days had an incident start, %2 how many days were watched (2 or more).</extracomment>
        <translation>Vorfälle an %1 der letzten %2 beobachteten Tage; dieses Wachstum kehrt immer wieder über den Normalwert zurück.</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n incidents in 30 days, peaking at score %1; worth watching when it grows again.</source>
        <extracomment>%n is how many incidents (2 or more), %1 the highest score (0 to 100).</extracomment>
        <translation>
            <numerusform>%n Vorfall in 30 Tagen, höchste Bewertung %1; bei erneutem Wachstum im Auge behalten.</numerusform>
            <numerusform>%n Vorfälle in 30 Tagen, höchste Bewertung %1; bei erneutem Wachstum im Auge behalten.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>One incident in 30 days (peak score %1); nothing recurring so far.</source>
        <extracomment>%1 is the incident&apos;s score (0 to 100).</extracomment>
        <translation>Ein Vorfall in 30 Tagen (höchste Bewertung %1); bisher nichts Wiederkehrendes.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>None</source>
        <extracomment>A metric that has no value yet.</extracomment>
        <translation>Keine</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Not enough data</source>
        <extracomment>A footprint that needs more days of history.</extracomment>
        <translation>Zu wenige Daten</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Incidents 30d</source>
        <extracomment>A metric&apos;s label: incidents over the last 30 days.</extracomment>
        <translation>Vorfälle 30 T.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Incidents 7d</source>
        <extracomment>A metric&apos;s label: incidents over the last 7 days.</extracomment>
        <translation>Vorfälle 7 T.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Critical 30d</source>
        <extracomment>A metric&apos;s label: critical incidents over the last 30 days.</extracomment>
        <translation>Kritisch 30 T.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Peak score</source>
        <extracomment>A metric&apos;s label: the highest score of its incidents.</extracomment>
        <translation>Höchste Bewertung</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Peak rate</source>
        <extracomment>A metric&apos;s label: the fastest its memory grew.</extracomment>
        <translation>Höchste Rate</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Typical footprint</source>
        <extracomment>A metric&apos;s label: its usual memory.</extracomment>
        <translation>Üblicher Speicher</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Peak footprint</source>
        <extracomment>A metric&apos;s label: the most memory it held.</extracomment>
        <translation>Höchster Speicher</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 %2</source>
        <extracomment>The last action&apos;s value: %1 is the action, %2 how long ago, as in &quot;Restart 5m ago&quot;.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Last action</source>
        <extracomment>A metric&apos;s label: the latest action taken on it.</extracomment>
        <translation>Letzte Aktion</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Longest incident lasted %1.</source>
        <extracomment>%1 is a length of time, as in &quot;3h 5m&quot;.</extracomment>
        <translation>Der längste Vorfall dauerte %1.</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>Incidents started on %n different days in the last 30.</source>
        <extracomment>%n is how many days (2 or more).</extracomment>
        <translation>
            <numerusform>Vorfälle an %n Tag der letzten 30.</numerusform>
            <numerusform>Vorfälle an %n verschiedenen Tagen der letzten 30.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Peak footprint reached %1x its typical footprint.</source>
        <extracomment>%1 is how many times larger, as in &quot;2.7&quot;.</extracomment>
        <translation>Der höchste Speicherverbrauch erreichte das %1-Fache des üblichen.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ended by the out-of-memory killer once in 30 days; the latest %1.</source>
        <extracomment>%1 is how long ago the latest was, as in &quot;3h ago&quot;.</extracomment>
        <translation>In 30 Tagen einmal wegen Speichermangels beendet, %1.</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>Ended by the out-of-memory killer %n times in 30 days; the latest %1.</source>
        <translation>
            <numerusform>In 30 Tagen %n-mal wegen Speichermangels beendet, zuletzt %1.</numerusform>
            <numerusform>In 30 Tagen %n-mal wegen Speichermangels beendet, zuletzt %1.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Last action: %1 %2, succeeded.</source>
        <extracomment>%1 is the action, as in &quot;Restart&quot;, %2 how long ago, as in &quot;5m ago&quot;.</extracomment>
        <translation>Letzte Aktion: %1 %2, erfolgreich.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last action: %1 %2, did not succeed.</source>
        <translation>Letzte Aktion: %1 %2, nicht erfolgreich.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Last action: %1 %2, succeeded (%3).</source>
        <extracomment>%1 is the action, %2 how long ago, %3 what came of it, as it was recorded.</extracomment>
        <translation>Letzte Aktion: %1 %2, erfolgreich (%3).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last action: %1 %2, did not succeed (%3).</source>
        <translation>Letzte Aktion: %1 %2, nicht erfolgreich (%3).</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>1 evidence artifact kept; newest captured %1.</source>
        <extracomment>%1 is how long ago the newest was captured, as in &quot;5m ago&quot;.</extracomment>
        <translation>1 Beweisdatei aufbewahrt, erfasst %1.</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n evidence artifacts kept; newest captured %1.</source>
        <translation>
            <numerusform>%n Beweisdatei aufbewahrt, die neueste erfasst %1.</numerusform>
            <numerusform>%n Beweisdateien aufbewahrt, die neueste erfasst %1.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Watched since %1.</source>
        <extracomment>%1 is how long ago watching began, as in &quot;6d ago&quot;.</extracomment>
        <translation>Beobachtet, erstmals %1.</translation>
    </message>
</context>
<context>
    <name>IncidentFacts</name>
    <message>
        <location filename="../state/IncidentFacts.cpp" line="+99"/>
        <source>Next</source>
        <extracomment>The label of the incident card&apos;s next step.</extracomment>
        <translation>Weiter</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Outcome</source>
        <extracomment>The label of the last action&apos;s outcome on the incident card.</extracomment>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Decision</source>
        <extracomment>The labels of the incident card&apos;s lines.</extracomment>
        <translation>Urteil</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cause</source>
        <translation>Ursache</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Owner</source>
        <translation>Verursacher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Why</source>
        <extracomment>The label of a reason behind the verdict, on the incident card.</extracomment>
        <translation>Grund</translation>
    </message>
</context>
<context>
    <name>IncidentSnapshot</name>
    <message>
        <location filename="../model/IncidentSnapshot.cpp" line="+194"/>
        <location filename="../state/CardTexts.cpp" line="-72"/>
        <source>Metrics</source>
        <extracomment>The label of the incident&apos;s figures when the monitor sends them as one line.</extracomment>
        <translation>Kennzahlen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Confidence</source>
        <extracomment>The label of how sure Velmora is about the suspect.</extracomment>
        <translation>Sicherheit</translation>
    </message>
</context>
<context>
    <name>IncidentStage</name>
    <message>
        <location filename="../state/IncidentTexts.cpp" line="+16"/>
        <location line="+14"/>
        <source>Normal</source>
        <extracomment>The stage of a memory incident, in its pill.</extracomment>
        <translation>Normal</translation>
    </message>
    <message>
        <location line="-12"/>
        <source>Watch</source>
        <translation>Beobachten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Suspicious</source>
        <translation>Verdächtig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Strong signal</source>
        <translation>Starkes Signal</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Capturing evidence</source>
        <translation>Belege werden gesichert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Evidence captured</source>
        <translation>Belege gesichert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Action taken</source>
        <translation>Maßnahme ergriffen</translation>
    </message>
</context>
<context>
    <name>IncidentTexts</name>
    <message>
        <location line="+11"/>
        <source>N/A</source>
        <extracomment>No growth rate measured yet.</extracomment>
        <translation>k. A.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 at %2</source>
        <extracomment>The incident&apos;s decision: a verdict at a growth rate, as in &quot;Probable leak at +8.2 MB/min&quot;.</extracomment>
        <translation>%1 bei %2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Memory rises while the app is idle, typical of a leak</source>
        <translation>Der Speicher steigt, während die Anwendung untätig ist – typisch für ein Leck</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Steady growth that is not released again</source>
        <translation>Stetiges Wachstum, das nicht wieder freigegeben wird</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>History unavailable</source>
        <translation>Verlauf nicht verfügbar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No incidents in 30d</source>
        <extracomment>&quot;30d&quot; is the last 30 days.</extracomment>
        <translation>Keine Vorfälle in 30 Tagen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>1 incident in 30d</source>
        <translation>1 Vorfall in 30 Tagen</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n incidents in 30d</source>
        <translation>
            <numerusform>%n Vorfall in 30 Tagen</numerusform>
            <numerusform>%n Vorfälle in 30 Tagen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1; %2 critical; peak score %3</source>
        <extracomment>%1 is the incidents (&quot;3 incidents in 30d&quot;), %2 how many were critical, %3 the highest score.</extracomment>
        <translation>%1; %2 kritisch; höchste Bewertung %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1; peak score %2</source>
        <extracomment>%1 is the incidents (&quot;3 incidents in 30d&quot;), %2 the highest score.</extracomment>
        <translation>%1; höchste Bewertung %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Typical footprint %1 this session</source>
        <extracomment>%1 is a size, as in &quot;1.2 GB&quot;.</extracomment>
        <translation>In dieser Sitzung üblicherweise %1 belegt</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 more over %2</source>
        <extracomment>%1 is a size, %2 a span, as in &quot;48.0 MB more over 15 min&quot;.</extracomment>
        <translation>%1 mehr in %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Capture smaps_rollup, status and the largest anonymous mappings before acting</source>
        <extracomment>smaps_rollup and status are files the kernel writes; keep their names.</extracomment>
        <translation>Vor jedem Eingriff smaps_rollup, status und die größten anonymen Speicherbereiche sichern</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Restart it gracefully to give the memory back</source>
        <translation>Die Anwendung geordnet neu starten, um den Speicher freizugeben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This belongs to the desktop session; Velmora will not signal it</source>
        <translation>Das gehört zur Desktop-Sitzung; Velmora sendet ihm kein Signal</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 keeps growing</source>
        <extracomment>The incident&apos;s headline; %1 is an application&apos;s name.</extracomment>
        <translation>%1 wächst weiter</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 is running away with memory</source>
        <extracomment>The incident&apos;s headline; %1 is an application&apos;s name.</extracomment>
        <translation>%1 belegt unkontrolliert Speicher</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Holds %1 of anonymous memory and swap; Memory runs out in %2 at this rate</source>
        <extracomment>%1 is a size, %2 an estimate, as in &quot;about 25 min&quot;.</extracomment>
        <translation>Belegt %1 anonymen Speicher und Auslagerungsspeicher; bei diesem Tempo ist der Arbeitsspeicher in %2 voll</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Holds %1 of anonymous memory and swap</source>
        <extracomment>%1 is a size, as in &quot;1.9 GB&quot;.</extracomment>
        <translation>Belegt %1 anonymen Speicher und Auslagerungsspeicher</translation>
    </message>
</context>
<context>
    <name>LaunchAtLogin</name>
    <message>
        <location filename="../app/LaunchAtLogin.cpp" line="+22"/>
        <source>This install cannot register launch-at-login right now.</source>
        <translation>Diese Installation kann den Start bei der Anmeldung gerade nicht einrichten.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Launch at login is only available from an installed copy of Velmora.</source>
        <translation>Der Start bei der Anmeldung ist nur mit einem installierten Velmora möglich.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Velmora only opens when you launch it.</source>
        <translation>Velmora öffnet sich nur, wenn Sie es starten.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Velmora will open automatically after you sign in.</source>
        <translation>Velmora öffnet sich nach der Anmeldung automatisch.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Velmora is queued for launch at login, but the desktop still needs approval.</source>
        <extracomment>The desktop has switched the autostart entry off; its startup-applications tool turns it back on.</extracomment>
        <translation>Velmora ist für den Start bei der Anmeldung eingetragen, aber die Arbeitsumgebung muss das noch freigeben.</translation>
    </message>
</context>
<context>
    <name>NoTrayHint</name>
    <message>
        <location filename="../app/NoTrayHint.cpp" line="+22"/>
        <source>GNOME shows no tray icons by itself. Install the AppIndicator extension (Debian package gnome-shell-extension-appindicator), enable it in Extensions and log in again: Velmora then shows its icon in the top bar.</source>
        <translation>GNOME zeigt von sich aus keine Statussymbole. Installieren Sie die Erweiterung AppIndicator (Debian-Paket gnome-shell-extension-appindicator), schalten Sie sie unter „Erweiterungen“ ein und melden Sie sich neu an: Dann zeigt Velmora sein Symbol in der oberen Leiste.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Add the “System Tray” widget to a panel to see Velmora&apos;s icon there.</source>
        <translation>Fügen Sie einer Kontrollleiste das Miniprogramm „Systemabschnitt“ hinzu, damit Velmoras Symbol dort erscheint.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Add the “Status Tray Plugin” (or “Notification Area”) to a panel to see Velmora&apos;s icon there.</source>
        <translation>Fügen Sie einer Leiste das Element „Statusbenachrichtigungen“ (Status Tray Plugin) oder „Infobereich“ (Notification Area) hinzu, damit Velmoras Symbol dort erscheint.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add the “XApp Status Applet” or “System Tray” applet to a panel to see Velmora&apos;s icon there.</source>
        <translation>Fügen Sie einer Leiste das Applet „XApp-Status“ (XApp Status Applet) oder „Systembereich“ (System Tray) hinzu, damit Velmoras Symbol dort erscheint.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add the “Notification Area” applet to a panel to see Velmora&apos;s icon there.</source>
        <translation>Fügen Sie einer Leiste das Applet „Benachrichtigungsfeld“ (Notification Area) hinzu, damit Velmoras Symbol dort erscheint.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add the “Status Notifier” widget to the panel to see Velmora&apos;s icon there.</source>
        <translation>Fügen Sie der Leiste das Widget „Status Notifier“ hinzu, damit Velmoras Symbol dort erscheint.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Give your bar a tray to see Velmora&apos;s icon there: swaybar&apos;s tray (the “tray” settings of its bar block) or waybar&apos;s “tray” module.</source>
        <translation>Geben Sie Ihrer Leiste einen Statusbereich, damit Velmoras Symbol dort erscheint: den von swaybar (die „tray“-Einstellungen in ihrem bar-Block) oder das Modul „tray“ von waybar.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No system tray was found. A panel with a tray that speaks StatusNotifierItem (or, on X11, an XEmbed tray) shows Velmora&apos;s icon; until then Velmora shows itself here.</source>
        <translation>Es wurde kein Statusbereich gefunden. Eine Leiste mit einem Statusbereich, der StatusNotifierItem versteht (oder unter X11 ein XEmbed-Statusbereich), zeigt Velmoras Symbol; bis dahin zeigt sich Velmora hier.</translation>
    </message>
</context>
<context>
    <name>NotWatchingNotice</name>
    <message>
        <location filename="../views/popover/NotWatchingNotice.cpp" line="+22"/>
        <source>Monitor stopped with status %1</source>
        <extracomment>%1 is the monitor&apos;s exit status, a number.</extracomment>
        <translation>Überwachungsdienst mit Status %1 beendet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Monitor killed by signal %1</source>
        <extracomment>%1 is the number of the signal that ended the monitor.</extracomment>
        <translation>Überwachungsdienst durch Signal %1 beendet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Monitor not answering</source>
        <translation>Überwachungsdienst antwortet nicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Monitor could not be started</source>
        <translation>Überwachungsdienst konnte nicht gestartet werden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Monitor not sampling</source>
        <extracomment>The monitor runs but has stopped reading the processes&apos; memory.</extracomment>
        <translation>Überwachungsdienst misst nicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Monitor ended: its answers could not be read</source>
        <translation>Überwachungsdienst beendet: Seine Antworten waren nicht lesbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Monitor starting</source>
        <translation>Überwachungsdienst startet</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>starting it again…</source>
        <extracomment>Velmora is starting its monitor again after it stopped.</extracomment>
        <translation>wird neu gestartet …</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>gave up after %n tries</source>
        <extracomment>Velmora stopped restarting its monitor after this many failed starts.</extracomment>
        <translation>
            <numerusform>nach %n Versuch aufgegeben</numerusform>
            <numerusform>nach %n Versuchen aufgegeben</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>next try now</source>
        <extracomment>The monitor is about to be started again.</extracomment>
        <translation>nächster Versuch jetzt</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>next try in %n s</source>
        <extracomment>The monitor is started again in this many seconds.</extracomment>
        <translation>
            <numerusform>nächster Versuch in %n s</numerusform>
            <numerusform>nächster Versuch in %n s</numerusform>
        </translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Velmora is starting its monitor…</source>
        <translation>Velmora startet die Überwachung …</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Velmora is not watching</source>
        <translation>Velmora überwacht nicht</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Last updated %1</source>
        <extracomment>%1 is how long ago, as in &quot;2 min ago&quot;.</extracomment>
        <translation>Zuletzt aktualisiert %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No data yet</source>
        <translation>Noch keine Daten</translation>
    </message>
</context>
<context>
    <name>NotificationText</name>
    <message>
        <location filename="../state/NotificationText.cpp" line="+74"/>
        <source>Runaway memory growth in %1</source>
        <translation>Ungebremstes Speicherwachstum in %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Probable leak in %1</source>
        <translation>Wahrscheinliches Speicherleck in %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Suspected leak in %1</source>
        <translation>Verdacht auf Speicherleck in %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Watching %1</source>
        <translation>%1 wird beobachtet</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 for %2</source>
        <extracomment>A growth rate and how long it has lasted, as in &quot;+18 MB/min for 12 min&quot;.</extracomment>
        <translation>%1 seit %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Growing for %1</source>
        <extracomment>%1 is a duration, as in &quot;12 min&quot;.</extracomment>
        <translation>Wächst seit %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 now</source>
        <extracomment>An application&apos;s memory now, as in &quot;3.2 GB now&quot;.</extracomment>
        <translation>aktuell %1</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Memory runs out in under a minute</source>
        <translation>Der Arbeitsspeicher ist in weniger als einer Minute voll</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Memory runs out in about %n min</source>
        <extracomment>&quot;min&quot; is minutes, as the notification&apos;s title is short.</extracomment>
        <translation>
            <numerusform>Der Arbeitsspeicher ist in etwa %n Min. voll</numerusform>
            <numerusform>Der Arbeitsspeicher ist in etwa %n Min. voll</numerusform>
        </translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1 was ended by the out-of-memory killer</source>
        <extracomment>%1 is an application&apos;s name.</extracomment>
        <translation>%1 wurde vom Out-of-Memory-Killer beendet</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>1 more suspect</source>
        <translation>1 weiterer Verdachtsfall</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n more suspects</source>
        <translation>
            <numerusform>%n weiterer Verdachtsfall</numerusform>
            <numerusform>%n weitere Verdachtsfälle</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>1 more memory alert</source>
        <translation>1 weitere Speicherwarnung</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n more memory alerts</source>
        <translation>
            <numerusform>%n weitere Speicherwarnung</numerusform>
            <numerusform>%n weitere Speicherwarnungen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Velmora notifications are on</source>
        <translation>Benachrichtigungen von Velmora sind eingeschaltet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This is how Velmora tells you about a leak or memory running out.</source>
        <translation>So meldet Velmora ein Speicherleck oder knapp werdenden Arbeitsspeicher.</translation>
    </message>
</context>
<context>
    <name>PopoverState</name>
    <message>
        <location filename="../state/PopoverState.cpp" line="+33"/>
        <source>%1 HISTORY</source>
        <extracomment>The summary line, in capitals, over one offender&apos;s history; %1 is the app&apos;s name, already in capitals.</extracomment>
        <translation>VERLAUF: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>LOADING ADVANCED HISTORY</source>
        <extracomment>The summary line, in capitals, while the history is read.</extracomment>
        <translation>ERWEITERTER VERLAUF WIRD GELADEN</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>1 RECURRING ISSUE</source>
        <extracomment>The summary line, in capitals, over the list of one app that leaked more than once.</extracomment>
        <translation>1 WIEDERKEHRENDES PROBLEM</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n RECURRING ISSUES</source>
        <extracomment>The summary line, in capitals, over the list of apps that leaked more than once.</extracomment>
        <translation>
            <numerusform>%n WIEDERKEHRENDES PROBLEM</numerusform>
            <numerusform>%n WIEDERKEHRENDE PROBLEME</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ADVANCED HISTORY</source>
        <extracomment>The summary line, in capitals, of the history with nothing in it.</extracomment>
        <translation>ERWEITERTER VERLAUF</translation>
    </message>
</context>
<context>
    <name>ReasonTexts</name>
    <message numerus="yes">
        <location filename="../state/ReasonTexts.cpp" line="+47"/>
        <source>%1, one of the family&apos;s %n processes, is judged on its own: the others come and go and hide its growth in the family&apos;s total. Its own figures follow.</source>
        <extracomment>%1 is a process (&quot;PID 4242 (worker)&quot;), %n the number of the family&apos;s processes.</extracomment>
        <translation>
            <numerusform>%1, derzeit der einzige Prozess der Gruppe, wird für sich bewertet: Andere kommen und gehen und verdecken sein Wachstum in der Summe der Gruppe. Es folgen seine eigenen Werte.</numerusform>
            <numerusform>%1, einer von %n Prozessen der Gruppe, wird für sich bewertet: Die anderen kommen und gehen und verdecken sein Wachstum in der Summe der Gruppe. Es folgen seine eigenen Werte.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+13"/>
        <source>Memory grew in %n steps over %1 and gave none of it back: %2 on average.</source>
        <extracomment>%n steps, over %1 (a span, &quot;47 min&quot;), at %2 (a rate, &quot;+0.4 MB/min&quot;).</extracomment>
        <translation>
            <numerusform>Der Speicher wuchs in %n Stufe über %1 und gab nichts davon zurück: im Mittel %2.</numerusform>
            <numerusform>Der Speicher wuchs in %n Stufen über %1 und gab nichts davon zurück: im Mittel %2.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>The growth is in shared memory (memfd, /dev/shm): %1 more than when first seen, %2 now.</source>
        <extracomment>%1 is how much the shared memory grew, %2 how much there is now.</extracomment>
        <translation>Das Wachstum liegt im gemeinsam genutzten Speicher (memfd, /dev/shm): %1 mehr als beim ersten Messen, jetzt %2.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Now %1, %2 its typical %3.</source>
        <extracomment>%1 is the footprint now, %2 how many times its typical size %3, as in &quot;2.7×&quot;.</extracomment>
        <translation>Jetzt %1, das %2 der üblichen %3.</translation>
    </message>
    <message numerus="yes">
        <location line="+21"/>
        <source>Grew in %n steps over %1 (%2), none of it given back</source>
        <extracomment>%n steps over %1 (a span), at %2 (a rate).</extracomment>
        <translation>
            <numerusform>Wuchs in %n Stufe über %1 (%2), nichts davon zurückgegeben</numerusform>
            <numerusform>Wuchs in %n Stufen über %1 (%2), nichts davon zurückgegeben</numerusform>
        </translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Floor (low points after releases) grew %1 over %2, higher in %3 of stretches</source>
        <extracomment>%1 is a rate, %2 a span, %3 a share of stretches, as in &quot;83%&quot;.</extracomment>
        <translation>Sockel (Tiefpunkte nach dem Freigeben) wuchs %1 über %2, höher in %3 der Abschnitte</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Median grew %1 over %2, %3 of steps rising</source>
        <extracomment>%1 is a rate, %2 a span, %3 a share of steps, as in &quot;83%&quot;.</extracomment>
        <translation>Median wuchs %1 über %2, %3 der Schritte steigend</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1; growth stopped %2</source>
        <extracomment>Added to the growth&apos;s shape: %1 is the growth, %2 when it stopped (&quot;7 min ago&quot;).</extracomment>
        <translation>%1; Wachstum %2 beendet</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>PID %1</source>
        <translation>PID %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>PID %1 (%2)</source>
        <extracomment>A process: its number and its name, as in &quot;PID 4242 (worker)&quot;.</extracomment>
        <translation>PID %1 (%2)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The family as a whole: %1; now %2 (%3 on its own).</source>
        <extracomment>%1 is the shape of the family&apos;s growth, %2 its footprint now, %3 its verdict on its own.</extracomment>
        <translation>Die Gruppe als Ganzes: %1; jetzt %2 (für sich: %3).</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Memory runs out in %1 at this rate; then the kernel ends one of this app&apos;s processes first.</source>
        <extracomment>%1 is an estimate, as in &quot;about 25 min&quot;.</extracomment>
        <translation>Bei diesem Tempo ist der Arbeitsspeicher in %1 voll; dann beendet der Kernel zuerst einen Prozess dieser Anwendung.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>If memory runs out, the kernel ends one of this app&apos;s processes first.</source>
        <translation>Wird der Arbeitsspeicher knapp, beendet der Kernel zuerst einen Prozess dieser Anwendung.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>Not enough samples yet to measure a growth rate.</source>
        <translation>Noch nicht genug Messungen, um eine Wachstumsrate zu bestimmen.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Memory is released again and again (a sawtooth): judged by its floor, the low points after each release, which changes by %1.</source>
        <extracomment>%1 is a rate, as in &quot;+8.0 MB/min&quot;.</extracomment>
        <translation>Der Speicher wird immer wieder freigegeben (ein Sägezahn): Bewertet wird sein Sockel, die Tiefpunkte nach jedem Freigeben, der sich um %1 ändert.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The floor was higher in %1 of the window&apos;s stretches; trend strength %2/100 (Mann-Kendall).</source>
        <extracomment>%1 is a share, as in &quot;83%&quot;; %2 a trend strength from 0 to 100.</extracomment>
        <translation>Der Sockel lag in %1 der Abschnitte des Zeitfensters höher; Trendstärke %2/100 (Mann-Kendall).</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Footprint (anonymous memory, swap and shared memory) changes by %1 (Theil-Sen slope of bucket medians).</source>
        <extracomment>%1 is a rate, as in &quot;+8.0 MB/min&quot;.</extracomment>
        <translation>Der Speicherbedarf (anonymer, ausgelagerter und gemeinsam genutzter Speicher) ändert sich um %1 (Theil-Sen-Steigung der Intervall-Mediane).</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 of bucket-to-bucket steps rose; trend strength %2/100 (Mann-Kendall).</source>
        <extracomment>%1 is a share, as in &quot;83%&quot;; %2 a trend strength from 0 to 100.</extracomment>
        <translation>%1 der Schritte von Intervall zu Intervall stiegen; Trendstärke %2/100 (Mann-Kendall).</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 of the footprint is shared memory.</source>
        <extracomment>%1 is a size, as in &quot;600.0 MB&quot;.</extracomment>
        <translation>%1 des Speicherbedarfs ist gemeinsam genutzter Speicher.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Growth stopped %1: memory that levels off is a warm-up or a cache, not a leak.</source>
        <extracomment>%1 is when, as in &quot;7 min ago&quot;.</extracomment>
        <translation>Das Wachstum endete %1: Speicher, der sich einpendelt, ist ein Aufwärmen oder ein Cache, kein Leck.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The family is new: growth in its first minutes (a warm-up) needs more evidence before it counts as a leak.</source>
        <translation>Die Gruppe ist neu: Wachstum in ihren ersten Minuten (ein Aufwärmen) braucht mehr Belege, bevor es als Leck gilt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>It has been this large before and came back down: a working set moving within its range.</source>
        <translation>Sie war schon einmal so groß und ist wieder geschrumpft: ein Arbeitsbereich, der sich in seinem Rahmen bewegt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Growth keeps slowing down, as a warm-up does before it levels off.</source>
        <translation>Das Wachstum wird immer langsamer, wie bei einem Aufwärmen, bevor es sich einpendelt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The rise came in one step rather than a ramp, which is rarely a leak.</source>
        <translation>Der Anstieg kam in einem Schritt statt als Rampe – das ist selten ein Leck.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Memory rises and falls again (allocate and free), not a steady climb.</source>
        <translation>Der Speicher steigt und fällt wieder (belegen und freigeben), kein stetiger Anstieg.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Over the last hour: %1.</source>
        <extracomment>%1 is a rate, as in &quot;+2.4 MB/min&quot;.</extracomment>
        <translation>In der letzten Stunde: %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Over the last six hours: %1.</source>
        <extracomment>%1 is a rate, as in &quot;+2.4 MB/min&quot;.</extracomment>
        <translation>In den letzten sechs Stunden: %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>It stayed elevated while idle: memory rose while CPU time barely moved.</source>
        <translation>Er blieb im Leerlauf erhöht: Der Speicher stieg, während die CPU-Zeit kaum zunahm.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Memory runs out in %1 at this rate.</source>
        <extracomment>%1 is an estimate, as in &quot;about 2 h 25 min&quot;.</extracomment>
        <translation>Bei diesem Tempo ist der Arbeitsspeicher in %1 voll.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Its processes exited or were quit since the row was shown.</source>
        <translation>Ihre Prozesse wurden beendet, seit die Zeile angezeigt wurde.</translation>
    </message>
</context>
<context>
    <name>RecentFindingTexts</name>
    <message>
        <location filename="../state/RecentFindingTexts.cpp" line="+20"/>
        <source>Ended: out of memory</source>
        <extracomment>A recent finding&apos;s status: the kernel ended the app when memory ran out.</extracomment>
        <translation>Beendet: Speicher erschöpft</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Process ended</source>
        <extracomment>A recent finding&apos;s status: the app&apos;s processes exited.</extracomment>
        <translation>Prozess beendet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Growth stopped</source>
        <extracomment>A recent finding&apos;s status: the app&apos;s memory stopped growing.</extracomment>
        <translation>Wachstum gestoppt</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Ended by the out-of-memory killer at %1 with %2.</source>
        <extracomment>%1 is a time of day, as in &quot;14:02&quot;, %2 the app&apos;s memory then, as in &quot;3.2 GB&quot;.</extracomment>
        <translation>Um %1 mit %2 wegen Speichermangels beendet.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 earlier; no longer in the live rows.</source>
        <extracomment>%1 is the verdict the app reached, as in &quot;Probable leak&quot;.</extracomment>
        <translation>Zuvor: %1; nicht mehr unter den aktuellen Einträgen.</translation>
    </message>
</context>
<context>
    <name>ReliefTexts</name>
    <message>
        <location filename="../state/ReliefTexts.cpp" line="+16"/>
        <source>%1.</source>
        <extracomment>One sentence of the relief plan&apos;s summary: %1 is its words, followed by the full stop.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 %2</source>
        <extracomment>Two sentences of the relief plan&apos;s summary, one after the other.</extracomment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Quitting the recommended apps gracefully gives their memory back.</source>
        <extracomment>The relief plan&apos;s advice when it names apps to quit.</extracomment>
        <translation>Werden die empfohlenen Apps geordnet beendet, geben sie ihren Speicher frei.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No app of yours holds enough memory to make a difference.</source>
        <extracomment>The relief plan&apos;s advice when none of the person&apos;s apps is large enough to help.</extracomment>
        <translation>Keine Ihrer Apps belegt so viel Speicher, dass ihr Beenden spürbar hilft.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>1 out-of-memory kill on this machine since boot</source>
        <extracomment>Kills by the kernel&apos;s out-of-memory killer, of any user&apos;s processes.</extracomment>
        <translation>Seit dem Systemstart 1 Prozess auf diesem Rechner wegen Speichermangels beendet</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n out-of-memory kills on this machine since boot</source>
        <extracomment>Kills by the kernel&apos;s out-of-memory killer, of any user&apos;s processes.</extracomment>
        <translation>
            <numerusform>Seit dem Systemstart %n Prozess auf diesem Rechner wegen Speichermangels beendet</numerusform>
            <numerusform>Seit dem Systemstart %n Prozesse auf diesem Rechner wegen Speichermangels beendet</numerusform>
        </translation>
    </message>
    <message>
        <location line="+33"/>
        <source>N/A</source>
        <extracomment>No growth rate measured yet.</extracomment>
        <translation>k. A.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 at %2</source>
        <extracomment>A relief candidate that leaks: %1 is its verdict (&quot;Probable leak&quot;), %2 how fast it grows (&quot;+8.2 MB/min&quot;).</extracomment>
        <translation>%1 bei %2</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Memory runs out in under a minute</source>
        <extracomment>The relief plan&apos;s headline when memory runs out within the minute.</extracomment>
        <translation>Arbeitsspeicher in unter einer Minute voll</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Memory runs out in ~%1</source>
        <extracomment>The relief plan&apos;s headline: %1 is a span, as in &quot;40 min&quot;.</extracomment>
        <translation>Arbeitsspeicher in ca. %1 voll</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Memory is getting tight</source>
        <extracomment>The relief plan&apos;s headline while it only advises.</extracomment>
        <translation>Der Arbeitsspeicher wird knapp</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Free memory now</source>
        <extracomment>The relief plan&apos;s headline under high or critical memory pressure.</extracomment>
        <translation>Jetzt Speicher freigeben</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Free %1 to get back to %2 headroom</source>
        <extracomment>How much memory the relief plan aims to free: %1 is a size (&quot;1.5 GB&quot;), %2 the share of memory it wants available again (&quot;20%&quot;).</extracomment>
        <translation>%1 freigeben, um wieder %2 Spielraum zu haben</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Headroom is back above %1</source>
        <extracomment>The relief plan&apos;s aim is met: %1 is the share of memory available again (&quot;20%&quot;).</extracomment>
        <translation>Der Spielraum liegt wieder über %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>About %1 back</source>
        <extracomment>What quitting the recommended apps gives back: %1 is a size (&quot;2.6 GB&quot;).</extracomment>
        <translation>Etwa %1 wieder frei</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Largest footprint, not growing</source>
        <extracomment>A relief candidate that does not leak but holds the most memory.</extracomment>
        <translation>Größter Speicherbedarf, wächst nicht</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 · first to be ended if memory runs out</source>
        <extracomment>A relief candidate the kernel would end first: %1 is why it is on the plan.</extracomment>
        <translation>%1 · bei Speichermangel zuerst beendet</translation>
    </message>
</context>
<context>
    <name>RowTexts</name>
    <message>
        <location filename="../state/RowTexts.cpp" line="+15"/>
        <source>Low confidence · score %1</source>
        <extracomment>How sure a verdict is, with its score out of 100 (a row&apos;s pill, the detail&apos;s verdict).</extracomment>
        <translation>Geringe Sicherheit · Wert %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Medium confidence · score %1</source>
        <extracomment>How sure a verdict is, with its score out of 100 (a row&apos;s pill, the detail&apos;s verdict).</extracomment>
        <translation>Mittlere Sicherheit · Wert %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>High confidence · score %1</source>
        <extracomment>How sure a verdict is, with its score out of 100 (a row&apos;s pill, the detail&apos;s verdict).</extracomment>
        <translation>Hohe Sicherheit · Wert %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Very high confidence · score %1</source>
        <extracomment>How sure a verdict is, with its score out of 100 (a row&apos;s pill, the detail&apos;s verdict).</extracomment>
        <translation>Sehr hohe Sicherheit · Wert %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>N/A</source>
        <extracomment>A growth rate before there are samples enough to measure it: not available.</extracomment>
        <translation>k. A.</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Accelerating growth</source>
        <extracomment>The chip of a row whose memory grows faster and faster.</extracomment>
        <translation>Beschleunigtes Wachstum</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Decelerating growth</source>
        <extracomment>The chip of a row whose memory still grows, but more and more slowly.</extracomment>
        <translation>Abflachendes Wachstum</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Steady growth</source>
        <extracomment>The chip of a row whose memory grows at an even pace.</extracomment>
        <translation>Gleichmäßiges Wachstum</translation>
    </message>
</context>
<context>
    <name>SummaryTexts</name>
    <message>
        <location filename="../state/SummaryTexts.cpp" line="+20"/>
        <source>%1; now %2 (%3 its typical size), stayed elevated while idle.</source>
        <extracomment>%1 is the growth&apos;s shape, %2 the footprint now, %3 how many times its typical size.</extracomment>
        <translation>%1; jetzt %2 (das %3 der üblichen Größe), im Leerlauf erhöht geblieben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1; now %2 (%3 its typical size).</source>
        <translation>%1; jetzt %2 (das %3 der üblichen Größe).</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1; now %2, stayed elevated while idle.</source>
        <extracomment>%1 is the growth&apos;s shape, %2 the footprint now.</extracomment>
        <translation>%1; jetzt %2, im Leerlauf erhöht geblieben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1; now %2.</source>
        <translation>%1; jetzt %2.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Collecting samples before judging growth.</source>
        <translation>Sammelt Messungen, bevor das Wachstum bewertet wird.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Controlled self-check target named in VELMORA_SELF_CHECK_TARGETS.</source>
        <extracomment>A row the self-check asked for; VELMORA_SELF_CHECK_TARGETS is a setting&apos;s name, keep it as it is.</extracomment>
        <translation>Kontrolliertes Selbsttest-Ziel aus VELMORA_SELF_CHECK_TARGETS.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>%1 grows on its own: %2; now %3 of the family&apos;s %4.</source>
        <extracomment>%1 is a process (&quot;PID 4242 (worker)&quot;), %2 the shape of its growth, %3 its footprint now, %4 its family&apos;s.</extracomment>
        <translation>%1 wächst für sich: %2; jetzt %3 von %4 der Gruppe.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>This family has no running processes now; nothing is left to act on.</source>
        <extracomment>The detail&apos;s explanation once the app&apos;s processes have all exited.</extracomment>
        <translation>Diese Gruppe hat keine laufenden Prozesse mehr; es gibt nichts mehr zu tun.</translation>
    </message>
</context>
<context>
    <name>SystemStateTexts</name>
    <message>
        <location filename="../state/SystemStateTexts.cpp" line="+22"/>
        <source>Runs out in &lt; 1 min</source>
        <extracomment>The line under the pressure pill: memory runs out in less than a minute at this rate.</extracomment>
        <translation>Voll in &lt; 1 Min.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Runs out in ~%1</source>
        <extracomment>The line under the pressure pill: when memory runs out at this rate; %1 is a duration, as in &quot;40 min&quot; or &quot;1 h&quot;.</extracomment>
        <translation>Voll in ca. %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>ALL CLEAR</source>
        <extracomment>The summary line, in capitals, when nothing grows.</extracomment>
        <translation>ALLES IN ORDNUNG</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>1 FAMILY TO WATCH</source>
        <extracomment>The summary line, in capitals, over one app that grows.</extracomment>
        <translation>1 FAMILIE IM BLICK</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n FAMILIES TO WATCH</source>
        <extracomment>The summary line, in capitals, over the apps that grow.</extracomment>
        <translation>
            <numerusform>%n FAMILIE IM BLICK</numerusform>
            <numerusform>%n FAMILIEN IM BLICK</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>1 SUSPECTED LEAK</source>
        <extracomment>The summary line, in capitals, over one app suspected of leaking memory.</extracomment>
        <translation>1 VERMUTETES LECK</translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n SUSPECTED LEAKS</source>
        <extracomment>The summary line, in capitals, over the apps suspected of leaking memory.</extracomment>
        <translation>
            <numerusform>%n VERMUTETES LECK</numerusform>
            <numerusform>%n VERMUTETE LECKS</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CRITICAL RUNAWAY</source>
        <extracomment>The summary line, in capitals, when an app&apos;s memory grows out of control.</extracomment>
        <translation>KRITISCHES WACHSTUM</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CRITICAL PRESSURE</source>
        <extracomment>The summary line, in capitals, when the machine is about to run out of memory.</extracomment>
        <translation>KRITISCHER SPEICHERDRUCK</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>HIGH PRESSURE</source>
        <extracomment>The summary line, in capitals, when the machine runs short of memory but no app is suspected of leaking.</extracomment>
        <translation>HOHER SPEICHERDRUCK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Memory state unavailable</source>
        <extracomment>The pressure pill (shown in capitals) before the machine&apos;s memory has been read.</extracomment>
        <translation>Speicherzustand unbekannt</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Normal pressure</source>
        <extracomment>The pressure pill (shown in capitals): how hard the machine presses on its memory.</extracomment>
        <translation>Druck normal</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Elevated pressure</source>
        <extracomment>The pressure pill (shown in capitals): how hard the machine presses on its memory.</extracomment>
        <translation>Druck erhöht</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>High pressure</source>
        <extracomment>The pressure pill (shown in capitals): how hard the machine presses on its memory.</extracomment>
        <translation>Druck hoch</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Critical pressure</source>
        <extracomment>The pressure pill (shown in capitals): how hard the machine presses on its memory.</extracomment>
        <translation>Druck kritisch</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Headroom unavailable</source>
        <extracomment>The line under &quot;System state&quot; before the machine&apos;s memory has been read.</extracomment>
        <translation>Spielraum unbekannt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 available of %2</source>
        <extracomment>The memory still available and all the machine has: &quot;20.1 GB available of 23.4 GB&quot;.</extracomment>
        <translation>%1 von %2 verfügbar</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>First process scan running</source>
        <extracomment>The line under the pressure pill until the processes have been looked at once.</extracomment>
        <translation>Erste Prozessprüfung läuft</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1 in %2</source>
        <extracomment>What Velmora watches: %1 is &quot;48 same-user processes&quot;, %2 is &quot;12 families&quot;.</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n same-user processes</source>
        <extracomment>Processes of the person&apos;s own user account, as counted in &quot;%1 in %2&quot;.</extracomment>
        <translation>
            <numerusform>%n Prozess dieses Benutzers</numerusform>
            <numerusform>%n Prozesse dieses Benutzers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <source>%n families</source>
        <extracomment>Apps (groups of processes), as counted in &quot;%1 in %2&quot;.</extracomment>
        <translation>
            <numerusform>%n Familie</numerusform>
            <numerusform>%n Familien</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Memory forecast unavailable</source>
        <extracomment>The line under the pressure pill while the machine&apos;s memory figures cannot be read.</extracomment>
        <translation>Speicherprognose nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>TimelineEvents</name>
    <message>
        <location filename="../model/TimelineCodes.cpp" line="+26"/>
        <source>Recovered</source>
        <extracomment>A timeline entry: the app quit when asked and gave its memory back.</extracomment>
        <translation>Sanft beendet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quit requested</source>
        <translation>Beenden angefordert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restarted</source>
        <translation>Neu gestartet</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Force quit</source>
        <translation>Beenden erzwungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Evidence captured</source>
        <translation>Belege gesichert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Heap tracking</source>
        <translation>Heap-Verfolgung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restarted under tracking</source>
        <translation>Unter Verfolgung neu gestartet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Where it grows</source>
        <extracomment>A timeline entry: what heap tracking found about where the memory grows.</extracomment>
        <translation>Wo der Speicher wächst</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 was asked to quit.</source>
        <extracomment>%1 is the app&apos;s name.</extracomment>
        <translation>%1 wurde gebeten, sich zu beenden.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>heaptrack attached to %1 for %2</source>
        <extracomment>heaptrack is a program&apos;s name; %1 is a process (&quot;worker (PID 4242)&quot;), %2 a span.</extracomment>
        <translation>heaptrack für %2 an %1 angehängt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 restarted under heaptrack</source>
        <extracomment>heaptrack is a program&apos;s name; %1 is the app&apos;s name.</extracomment>
        <translation>%1 unter heaptrack neu gestartet</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>No allocation site kept memory while it was tracked.</source>
        <translation>Keine Allokationsstelle hat während der Verfolgung Speicher behalten.</translation>
    </message>
</context>
<context>
    <name>TimelineTexts</name>
    <message>
        <location filename="../state/TimelineTexts.cpp" line="+19"/>
        <source>Seen</source>
        <extracomment>A timeline entry&apos;s label: when the family was first seen.</extracomment>
        <translation>Erfasst</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Family first sampled</source>
        <translation>Gruppe zum ersten Mal gemessen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 · %2 now</source>
        <extracomment>%1 is when (&quot;5 min ago&quot;), %2 the family&apos;s memory now (&quot;1.9 GB&quot;).</extracomment>
        <translation>%1 · jetzt %2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Now</source>
        <extracomment>A timeline entry&apos;s label: the verdict as it stands now.</extracomment>
        <translation>Jetzt</translation>
    </message>
</context>
<context>
    <name>Verdict</name>
    <message>
        <location filename="../state/ReasonTexts.cpp" line="-103"/>
        <location line="+11"/>
        <source>Normal</source>
        <extracomment>A verdict on an application&apos;s memory.</extracomment>
        <translation>Normal</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Watch</source>
        <extracomment>A verdict on an application&apos;s memory: worth watching.</extracomment>
        <translation>Beobachten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Suspected leak</source>
        <translation>Verdacht auf Speicherleck</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Probable leak</source>
        <translation>Wahrscheinliches Speicherleck</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Critical runaway</source>
        <translation>Kritisch: außer Kontrolle</translation>
    </message>
</context>
<context>
    <name>VerdictTooltips</name>
    <message>
        <location filename="../views/help/TranslatedTooltip.cpp" line="+15"/>
        <source>Watch: memory is climbing slowly</source>
        <translation>Beobachten: Der Speicher wächst langsam</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This process family has used a little more memory on each recent pass. That alone is common and often harmless.</source>
        <translation>Diese Prozessfamilie hat bei jeder der letzten Messungen etwas mehr Speicher belegt. Das allein ist häufig und oft harmlos.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Caches, large documents and warm-up after launch grow the same way and then level off.</source>
        <translation>Caches, große Dokumente und die Aufwärmphase nach dem Start wachsen genauso und pendeln sich dann ein.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Nothing to do yet. Keep working; Velmora keeps sampling and will say so if the growth continues.</source>
        <translation>Noch nichts zu tun. Arbeiten Sie weiter; Velmora misst weiter und meldet sich, wenn das Wachstum anhält.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Suspect: growth has not levelled off</source>
        <translation>Verdacht: Das Wachstum flacht nicht ab</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Memory has kept rising across many samples without coming back down, which is how leaks usually start.</source>
        <translation>Der Speicher ist über viele Messungen gestiegen, ohne wieder zu sinken – so beginnen Speicherlecks meistens.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>A long export, an indexing job or a big build can hold memory for minutes and then release it.</source>
        <translation>Ein langer Export, eine Indizierung oder ein großer Build kann minutenlang Speicher belegen und ihn dann wieder freigeben.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save your work in this app. If the growth continues after the task you are running ends, plan a restart.</source>
        <translation>Speichern Sie Ihre Arbeit in dieser Anwendung. Wächst der Speicher nach dem Ende der laufenden Aufgabe weiter, planen Sie einen Neustart.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Probable leak: steady growth with supporting evidence</source>
        <translation>Wahrscheinliches Leck: stetiges Wachstum mit weiteren Belegen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The growth is steady and other signals agree: history, the growth curve or repeated incidents from the same app.</source>
        <translation>Das Wachstum ist stetig und andere Hinweise passen dazu: der Verlauf, die Wachstumskurve oder wiederholte Vorfälle derselben Anwendung.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>An app that legitimately holds more and more data, such as a long-running editor session, can look the same.</source>
        <translation>Eine Anwendung, die zu Recht immer mehr Daten hält, etwa eine lange laufende Editor-Sitzung, kann genauso aussehen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restart it at a convenient moment. Capture evidence first if you want to report the problem to its developers.</source>
        <translation>Starten Sie sie zu einem passenden Zeitpunkt neu. Sichern Sie vorher Belege, wenn Sie das Problem den Entwicklern melden möchten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Critical runaway: memory is running out fast</source>
        <translation>Kritisch: Der Speicher geht schnell zur Neige</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This process is growing quickly enough to exhaust free memory soon, and the whole machine may slow down or freeze.</source>
        <translation>Dieser Prozess wächst so schnell, dass der freie Speicher bald erschöpft ist; der ganze Rechner kann langsamer werden oder einfrieren.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A one-off burst, such as loading a very large file, can look like this for a short while.</source>
        <translation>Ein einmaliger Schub, etwa beim Laden einer sehr großen Datei, kann kurzzeitig genauso aussehen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save your work now, then restart or quit the process. Velmora never does this for you.</source>
        <translation>Speichern Sie jetzt Ihre Arbeit und starten Sie den Prozess dann neu oder beenden Sie ihn. Velmora tut das nie für Sie.</translation>
    </message>
</context>
<context>
    <name>WhereCommands</name>
    <message>
        <location filename="../model/WhereCodes.cpp" line="+255"/>
        <source>Lets programs attach to any of your processes, until it is set back.</source>
        <extracomment>Under a command that relaxes the kernel&apos;s rule for attaching to a process.</extracomment>
        <translation>Erlaubt Programmen, sich an jeden Ihrer Prozesse anzuhängen, bis es zurückgesetzt wird.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Tracks it until you press Ctrl-C; read the recording with heaptrack_print.</source>
        <extracomment>Under a command that tracks a process&apos;s heap; Ctrl-C is the key, heaptrack_print a program.</extracomment>
        <translation>Verfolgt ihn, bis Sie Strg+C drücken; lesen Sie die Aufzeichnung mit heaptrack_print.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sets the kernel&apos;s rule back.</source>
        <extracomment>Under a command that restores the kernel&apos;s rule for attaching to a process.</extracomment>
        <translation>Setzt die Regel des Kernels zurück.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Tracks it with an administrator&apos;s rights until you press Ctrl-C; read the recording with heaptrack_print.</source>
        <translation>Verfolgt ihn mit Administratorrechten, bis Sie Strg+C drücken; lesen Sie die Aufzeichnung mit heaptrack_print.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Installs what heap tracking needs.</source>
        <extracomment>Under a command that installs Debian packages.</extracomment>
        <translation>Installiert, was die Heap-Verfolgung braucht.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Installs gdb with Python.</source>
        <translation>Installiert gdb mit Python.</translation>
    </message>
</context>
<context>
    <name>WhereFailure</name>
    <message>
        <location line="-186"/>
        <source>No process with PID %1 is running.</source>
        <translation>Es läuft kein Prozess mit der PID %1.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Velmora does not track itself.</source>
        <translation>Velmora verfolgt sich nicht selbst.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 belongs to another user; Velmora never attaches to another user&apos;s process.</source>
        <extracomment>%1 is a process: &quot;worker (PID 4242)&quot;.</extracomment>
        <translation>%1 gehört einem anderen Benutzer; Velmora hängt sich nie an Prozesse anderer Benutzer an.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 runs with another user&apos;s or group&apos;s rights (setuid or setgid); Velmora never attaches to it.</source>
        <translation>%1 läuft mit den Rechten eines anderen Benutzers oder einer anderen Gruppe (setuid oder setgid); Velmora hängt sich nie daran an.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 has disabled tracing of itself (it is not dumpable); Velmora never attaches to it.</source>
        <translation>%1 hat die Ablaufverfolgung für sich abgeschaltet (nicht „dumpable“); Velmora hängt sich nie daran an.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The kernel lets a program attach only to its own children (/proc/sys/kernel/yama/ptrace_scope is 1), so heaptrack cannot attach to %1.</source>
        <extracomment>Keep the file name and its value as they are; heaptrack is the heap tracker&apos;s name.</extracomment>
        <translation>Der Kernel erlaubt einem Programm nur, sich an seine eigenen Kindprozesse anzuhängen (/proc/sys/kernel/yama/ptrace_scope ist 1), daher kann heaptrack sich nicht an %1 anhängen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The kernel lets only administrators attach to a process (/proc/sys/kernel/yama/ptrace_scope is 2), so heaptrack cannot attach to %1.</source>
        <translation>Der Kernel erlaubt nur Administratoren, sich an einen Prozess anzuhängen (/proc/sys/kernel/yama/ptrace_scope ist 2), daher kann heaptrack sich nicht an %1 anhängen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The kernel lets no process attach to another until the next boot (/proc/sys/kernel/yama/ptrace_scope is 3), so heaptrack cannot attach to %1.</source>
        <translation>Der Kernel erlaubt bis zum nächsten Neustart keinem Prozess, sich an einen anderen anzuhängen (/proc/sys/kernel/yama/ptrace_scope ist 3), daher kann heaptrack sich nicht an %1 anhängen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The kernel refused to let heaptrack attach to %1: another debugger may be attached to it, or a security policy forbids it.</source>
        <translation>Der Kernel hat heaptrack das Anhängen an %1 verweigert: Vielleicht hängt schon ein anderer Debugger daran, oder eine Sicherheitsrichtlinie verbietet es.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Finding where memory grows needs %1, which is not installed. Install the Debian package: %2</source>
        <extracomment>%1 is a Debian package (&quot;heaptrack&quot;), %2 the command that installs it.</extracomment>
        <translation>Um herauszufinden, wo der Speicher wächst, wird %1 benötigt, das nicht installiert ist. Installieren Sie das Debian-Paket: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Finding where memory grows needs %1 and %2, which are not installed. Install the Debian packages: %3</source>
        <extracomment>%1 and %2 are Debian packages (&quot;heaptrack&quot;, &quot;gdb&quot;), %3 the command that installs them.</extracomment>
        <translation>Um herauszufinden, wo der Speicher wächst, werden %1 und %2 benötigt, die nicht installiert sind. Installieren Sie die Debian-Pakete: %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>heaptrack is detached through gdb&apos;s Python, and this gdb has none (gdb-minimal). Install the Debian package gdb: %1</source>
        <extracomment>gdb and gdb-minimal are Debian packages; %1 is the command that installs gdb.</extracomment>
        <translation>heaptrack wird über das Python von gdb wieder gelöst, und dieses gdb hat keines (gdb-minimal). Installieren Sie das Debian-Paket gdb: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Velmora is already tracking %1; stop that first or wait for it to finish.</source>
        <extracomment>%1 is the app tracked now.</extracomment>
        <translation>Velmora verfolgt bereits %1; stoppen Sie das zuerst oder warten Sie, bis es fertig ist.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Velmora never tracks itself, its app or the desktop session&apos;s own processes.</source>
        <translation>Velmora verfolgt nie sich selbst, seine App oder die Prozesse der Desktop-Sitzung.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The process Velmora judged (PID %1) has ended and its PID now belongs to %2; Velmora did not attach to it.</source>
        <extracomment>%2 is the program that holds the process id now.</extracomment>
        <translation>Der von Velmora bewertete Prozess (PID %1) wurde beendet, und seine PID gehört jetzt zu %2; Velmora hat sich nicht daran angehängt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 ended before heaptrack could attach to it.</source>
        <translation>%1 wurde beendet, bevor heaptrack sich anhängen konnte.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>heaptrack_env could not say how to load heaptrack into %1: %2</source>
        <extracomment>heaptrack_env is a helper of heaptrack; %2 is what it said.</extracomment>
        <translation>heaptrack_env konnte nicht angeben, wie heaptrack in %1 geladen wird: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>heaptrack could not attach to %1: its threads stayed inside the allocator.</source>
        <translation>heaptrack konnte sich nicht an %1 anhängen: Seine Threads blieben in der Speicherverwaltung.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>heaptrack could not attach to %1: gdb did not finish in time.</source>
        <extracomment>gdb is the debugger heaptrack attaches through.</extracomment>
        <translation>heaptrack konnte sich nicht an %1 anhängen: gdb wurde nicht rechtzeitig fertig.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>heaptrack could not attach to %1: %2</source>
        <extracomment>%2 is what gdb said.</extracomment>
        <translation>heaptrack konnte sich nicht an %1 anhängen: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>heaptrack could not be detached from %1 (gdb did not get heaptrack stopped in time.); it goes on recording until the process ends, into %2.</source>
        <extracomment>%2 is the file it goes on recording into.</extracomment>
        <translation>heaptrack konnte nicht von %1 gelöst werden (gdb hat heaptrack nicht rechtzeitig angehalten); es zeichnet weiter auf, bis der Prozess endet, in %2.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>heaptrack could not be detached from %1 (its threads stayed inside the allocator.); it goes on recording until the process ends, into %2.</source>
        <translation>heaptrack konnte nicht von %1 gelöst werden (seine Threads blieben in der Speicherverwaltung); es zeichnet weiter auf, bis der Prozess endet, in %2.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>heaptrack could not be detached from %1 (%2); it goes on recording until the process ends, into %3.</source>
        <extracomment>%2 is what gdb said, %3 the file it goes on recording into.</extracomment>
        <translation>heaptrack konnte nicht von %1 gelöst werden (%2); es zeichnet weiter auf, bis der Prozess endet, in %3.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>heaptrack&apos;s reader ended while tracking %1, so nothing usable was recorded; heaptrack was stopped first and the process has ended.</source>
        <extracomment>heaptrack&apos;s reader turns what the tracked process sends into the recording.</extracomment>
        <translation>Der Leser von heaptrack wurde während der Verfolgung von %1 beendet, daher wurde nichts Brauchbares aufgezeichnet; heaptrack wurde zuerst angehalten, und der Prozess ist beendet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>heaptrack&apos;s reader ended while tracking %1, so nothing usable was recorded; heaptrack was stopped first and the process goes on.</source>
        <translation>Der Leser von heaptrack wurde während der Verfolgung von %1 beendet, daher wurde nichts Brauchbares aufgezeichnet; heaptrack wurde zuerst angehalten, und der Prozess läuft weiter.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No program to start.</source>
        <translation>Kein Programm zum Starten.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>heaptrack could not start %1: its preload library is missing.</source>
        <extracomment>%1 is a program&apos;s name; heaptrack&apos;s preload library is the part loaded into it.</extracomment>
        <translation>heaptrack konnte %1 nicht starten: Seine Preload-Bibliothek fehlt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>heaptrack could not start %1: %2</source>
        <extracomment>%1 is a program&apos;s name, %2 what went wrong.</extracomment>
        <translation>heaptrack konnte %1 nicht starten: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 went on in PID %2, which was left running; heaptrack records it until it ends, into %3.</source>
        <extracomment>%1 is a program&apos;s name, %2 the process id it went on in, %3 the recording&apos;s file.</extracomment>
        <translation>%1 lief als PID %2 weiter, die weiterlaufen gelassen wurde; heaptrack zeichnet sie auf, bis sie endet, in %3.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>heaptrack&apos;s reader ended while tracking %1, so nothing usable was recorded.</source>
        <translation>Der Leser von heaptrack wurde während der Verfolgung von %1 beendet, daher wurde nichts Brauchbares aufgezeichnet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 was started again without tracking as PID %2.</source>
        <extracomment>Follows the reason a restarted program could not be tracked: %1 is the program, %2 its new process id.</extracomment>
        <translation>%1 wurde ohne Verfolgung als PID %2 neu gestartet.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Then starting %1 again failed: %2</source>
        <extracomment>Follows the reason a restarted program could not be tracked: %1 is the program, %2 what went wrong.</extracomment>
        <translation>Danach schlug der Neustart von %1 fehl: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The recording is kept, but starting %1 again failed: %2</source>
        <translation>Die Aufzeichnung bleibt erhalten, aber der Neustart von %1 schlug fehl: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The evidence folder %1 could not be created.</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>Der Belegordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>heaptrack recorded nothing.</source>
        <translation>heaptrack hat nichts aufgezeichnet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 The recording is kept at %2.</source>
        <extracomment>%1 is what went wrong reading the recording, %2 where it is kept.</extracomment>
        <translation>%1 Die Aufzeichnung liegt unter %2.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The tracker&apos;s answer could not be read: %1</source>
        <extracomment>The tracker is the helper that tracks a process&apos;s heap; %1 is what went wrong.</extracomment>
        <translation>Die Antwort der Verfolgung konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The tracker&apos;s report could not be read: %1</source>
        <translation>Der Bericht der Verfolgung konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The tracker ended without a report.</source>
        <translation>Die Verfolgung endete ohne Bericht.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1</source>
        <extracomment>A problem of the heap tracker&apos;s own tools, shown as they put it; keep the marker alone.</extracomment>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No folder for heaptrack&apos;s pipe could be made in /tmp: %1.</source>
        <extracomment>heaptrack&apos;s pipe carries what the tracked process sends; %1 is the system&apos;s error.</extracomment>
        <translation>In /tmp konnte kein Ordner für die Pipe von heaptrack angelegt werden: %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No pipe for heaptrack could be made: %1.</source>
        <translation>Für heaptrack konnte keine Pipe angelegt werden: %1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>heaptrack&apos;s pipe could not be opened: %1.</source>
        <translation>Die Pipe von heaptrack konnte nicht geöffnet werden: %1.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>heaptrack did not finish writing the recording within %1 s.</source>
        <extracomment>%1 is a number of seconds.</extracomment>
        <translation>heaptrack hat die Aufzeichnung nicht innerhalb von %1 s fertig geschrieben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>heaptrack wrote no recording.</source>
        <translation>heaptrack hat keine Aufzeichnung geschrieben.</translation>
    </message>
</context>
<context>
    <name>WhereNotes</name>
    <message>
        <location line="-203"/>
        <source>The process keeps running, a little slower, while heaptrack records its allocations; stopping early keeps what was recorded.</source>
        <translation>Der Prozess läuft etwas langsamer weiter, während heaptrack seine Speicheranforderungen aufzeichnet; wer vorzeitig stoppt, behält das bis dahin Aufgezeichnete.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Stopping ends tracking early: Velmora asks the tracked copy to quit and starts it again without tracking.</source>
        <translation>Stoppen beendet die Verfolgung vorzeitig: Velmora bittet die verfolgte Instanz, sich zu beenden, und startet sie ohne Verfolgung neu.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 ended during tracking; the sites are what was recorded until then.</source>
        <extracomment>%1 is a process: &quot;worker (PID 4242)&quot;. The sites are the places in its code that kept memory.</extracomment>
        <translation>%1 wurde während der Verfolgung beendet; die Stellen zeigen, was bis dahin aufgezeichnet wurde.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Stopped early; the sites are what was recorded until then.</source>
        <translation>Vorzeitig gestoppt; die Stellen zeigen, was bis dahin aufgezeichnet wurde.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 was started again without tracking as PID %2.</source>
        <extracomment>%1 is the app&apos;s name, %2 its new process id.</extracomment>
        <translation>%1 wurde ohne Verfolgung als PID %2 neu gestartet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1</source>
        <extracomment>The heap tracker&apos;s own note, shown as it came; keep the marker alone.</extracomment>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No allocation site kept memory while it was tracked: it did not grow on the heap meanwhile.</source>
        <translation>Keine Stelle hat während der Verfolgung Speicher behalten: Der Heap ist in dieser Zeit nicht gewachsen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Recording: %1, kept with the evidence.</source>
        <extracomment>%1 is where the heap tracker&apos;s recording is kept.</extracomment>
        <translation>Aufzeichnung: %1, bei den Belegen aufbewahrt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Restarting %1 under heaptrack needs no attach: Velmora quits it, tracks the new one, then starts it once more without tracking.</source>
        <extracomment>%1 is the app&apos;s name.</extracomment>
        <translation>Ein Neustart von %1 unter heaptrack kommt ohne Anhängen aus: Velmora beendet die App, verfolgt die neue Instanz und startet sie danach noch einmal ohne Verfolgung.</translation>
    </message>
</context>
<context>
    <name>WhereSites</name>
    <message>
        <location filename="../state/WhereTexts.cpp" line="+23"/>
        <source>1 call</source>
        <extracomment>How often a place in a program&apos;s code allocated memory, as in &quot;… kept 2.0 KB over 1 call&quot;.</extracomment>
        <translation>1 Aufruf</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n calls</source>
        <extracomment>How often a place in a program&apos;s code allocated memory, as in &quot;… kept 19.1 MB over 73 calls&quot;.</extracomment>
        <translation>
            <numerusform>%n Aufruf</numerusform>
            <numerusform>%n Aufrufe</numerusform>
        </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 in %2</source>
        <comment>source file</comment>
        <extracomment>A place in a program&apos;s code: %1 is a source file and line (&quot;cache.cpp:5&quot;), %2 a function (&quot;leakyCacheInsert()&quot;).</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 in %2</source>
        <comment>library</comment>
        <extracomment>A place in a program&apos;s code: %1 is a function, %2 the library or program file it is in (&quot;libcache.so&quot;).</extracomment>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>an unknown place</source>
        <extracomment>A place in a program&apos;s code that its symbols do not name.</extracomment>
        <translation>eine unbekannte Stelle</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 kept %2 over %3</source>
        <extracomment>One place in a program&apos;s code that kept memory while it was tracked: %1 is the place (&quot;cache.cpp:5 in leakyCacheInsert()&quot;), %2 a size (&quot;19.1 MB&quot;), %3 how often it allocated (&quot;73 calls&quot;).</extracomment>
        <translation>%1 behielt %2 über %3</translation>
    </message>
</context>
<context>
    <name>WhereStatus</name>
    <message>
        <location filename="../model/WhereCodes.cpp" line="-57"/>
        <source>Attaching heaptrack to %1...</source>
        <extracomment>%1 is a process: &quot;worker (PID 4242)&quot;.</extracomment>
        <translation>heaptrack wird an %1 angehängt …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starting %1 again under heaptrack...</source>
        <extracomment>%1 is the app&apos;s name; heaptrack is the heap tracker&apos;s name.</extracomment>
        <translation>%1 wird unter heaptrack neu gestartet …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tracking %1 · %2</source>
        <extracomment>%1 is a process, %2 what remains: &quot;45 s left&quot;.</extracomment>
        <translation>Verfolge %1 · %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Detaching heaptrack from %1...</source>
        <translation>heaptrack wird von %1 gelöst …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Asking %1 to quit to finish the recording...</source>
        <extracomment>%1 is the app&apos;s name.</extracomment>
        <translation>%1 wird gebeten, sich zu beenden, um die Aufzeichnung abzuschließen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Reading the recording of %1...</source>
        <translation>Die Aufzeichnung von %1 wird ausgewertet …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tracked %1 for %2; %3 allocated meanwhile was not freed.</source>
        <extracomment>%1 is a process, %2 how long it was tracked (&quot;60 s&quot;), %3 a size (&quot;19.2 MB&quot;).</extracomment>
        <translation>%1 wurde %2 lang verfolgt; %3, die in dieser Zeit angefordert wurden, wurden nicht freigegeben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Tracked %1 for %2 until it ended; %3 allocated meanwhile was not freed.</source>
        <translation>%1 wurde %2 lang verfolgt, bis der Prozess endete; %3, die in dieser Zeit angefordert wurden, wurden nicht freigegeben.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Tracked %1 for %2, stopped early; %3 allocated meanwhile was not freed.</source>
        <translation>%1 wurde %2 lang verfolgt, vorzeitig gestoppt; %3, die in dieser Zeit angefordert wurden, wurden nicht freigegeben.</translation>
    </message>
</context>
<context>
    <name>XdgAutostartEntry</name>
    <message>
        <location filename="../app/XdgAutostartEntry.cpp" line="+121"/>
        <source>Cannot create %1: %2</source>
        <extracomment>%1 is a folder, %2 the system&apos;s reason.</extracomment>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Cannot remove %1: %2</source>
        <extracomment>%1 is a file, %2 the system&apos;s reason.</extracomment>
        <translation>%1 kann nicht entfernt werden: %2</translation>
    </message>
</context>
<context>
    <name>velmora::ActionCapsuleButton</name>
    <message>
        <location filename="../views/kit/ActionCapsuleButton.cpp" line="+115"/>
        <location line="+12"/>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
</context>
<context>
    <name>velmora::AdvancedHistoryDetailView</name>
    <message>
        <location filename="../views/history/AdvancedHistoryDetailView.cpp" line="+28"/>
        <source>Back to History</source>
        <extracomment>The back button of one offender&apos;s history, and the page&apos;s title in capitals.</extracomment>
        <translation>Zurück zum Verlauf</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ADVANCED</source>
        <translation>ERWEITERT</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>METRICS</source>
        <extracomment>The heading, in capitals, over the offender&apos;s figures over 30 days.</extracomment>
        <translation>KENNZAHLEN</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>READ</source>
        <extracomment>The heading, in capitals, over what Velmora reads from the offender&apos;s history.</extracomment>
        <translation>EINSCHÄTZUNG</translation>
    </message>
</context>
<context>
    <name>velmora::AdvancedHistoryEmptyState</name>
    <message>
        <location filename="../views/history/AdvancedHistoryEmptyState.cpp" line="+14"/>
        <source>ADVANCED</source>
        <extracomment>The heading, in capitals, of the history of recurring offenders.</extracomment>
        <translation>ERWEITERT</translation>
    </message>
</context>
<context>
    <name>velmora::AdvancedHistoryListView</name>
    <message>
        <location filename="../views/history/AdvancedHistoryListView.cpp" line="+137"/>
        <source>ADVANCED</source>
        <extracomment>The heading, in capitals, of the history of recurring offenders.</extracomment>
        <translation>ERWEITERT</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recurring Issues</source>
        <translation>Wiederkehrende Probleme</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>One row per offender. Nearby suspect windows are compacted into incidents so noisy repeats do not flood the surface.</source>
        <translation>Eine Zeile je Verursacher. Verdachtsphasen, die nah beieinander liegen, werden zu Vorfällen zusammengefasst, damit häufige Wiederholungen die Ansicht nicht überfluten.</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>History fetch failed</source>
        <extracomment>The history could not be read; the monitor&apos;s error follows.</extracomment>
        <translation>Verlauf konnte nicht geladen werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No recurring offenders yet</source>
        <translation>Noch keine wiederkehrenden Verursacher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Velmora will rank apps here once it has enough repeated suspect history to compact into incidents.</source>
        <translation>Velmora ordnet hier Anwendungen ein, sobald genug wiederholte Verdachtsfälle vorliegen, um sie zu Vorfällen zusammenzufassen.</translation>
    </message>
</context>
<context>
    <name>velmora::AdvancedHistoryLoadingView</name>
    <message>
        <location filename="../views/history/AdvancedHistoryEmptyState.cpp" line="+29"/>
        <location line="+4"/>
        <source>Loading advanced history</source>
        <translation>Erweiterter Verlauf wird geladen</translation>
    </message>
    <message>
        <location line="-3"/>
        <source>Velmora is compacting recurring findings, artifacts, and baseline evidence into offender summaries.</source>
        <translation>Velmora fasst wiederkehrende Befunde, Aufzeichnungen und Vergleichswerte zu Übersichten je Verursacher zusammen.</translation>
    </message>
</context>
<context>
    <name>velmora::AdvancedHistoryView</name>
    <message>
        <location filename="../views/history/AdvancedHistoryView.cpp" line="+102"/>
        <source>Advanced history unavailable</source>
        <translation>Erweiterter Verlauf nicht verfügbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Velmora has not built enough history yet to rank recurring offenders.</source>
        <translation>Velmora hat noch nicht genug Verlauf gesammelt, um wiederkehrende Verursacher einzuordnen.</translation>
    </message>
</context>
<context>
    <name>velmora::ApplicationMenu</name>
    <message>
        <location filename="../app/ApplicationMenu.cpp" line="+20"/>
        <source>About Velmora</source>
        <translation>Über Velmora</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>What Velmora accesses…</source>
        <extracomment>Opens the window that lists what Velmora reads, writes and sends.</extracomment>
        <translation>Worauf Velmora zugreift …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>What do the verdicts mean?</source>
        <translation>Was bedeuten die Einstufungen?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check for Updates…</source>
        <extracomment>Always disabled: the system&apos;s package manager updates Velmora.</extracomment>
        <translation>Nach Aktualisierungen suchen …</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Version</source>
        <extracomment>Replaced by &quot;Version 0.1.0&quot; once the version is known.</extracomment>
        <translation>Version</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quit Velmora</source>
        <translation>Velmora beenden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Version %1</source>
        <extracomment>The disabled menu item that shows the installed version, as in &quot;Version 0.1.0&quot;.</extracomment>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>velmora::ChartTexts</name>
    <message>
        <location filename="../views/kit/ChartTexts.cpp" line="+36"/>
        <source>now</source>
        <extracomment>On a chart&apos;s time axis: the present moment.</extracomment>
        <translation>jetzt</translation>
    </message>
    <message numerus="yes">
        <location line="+7"/>
        <source>%n min</source>
        <extracomment>A span on a chart&apos;s time axis, in minutes.</extracomment>
        <translation>
            <numerusform>%n Min.</numerusform>
            <numerusform>%n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n h</source>
        <extracomment>A span on a chart&apos;s time axis, in hours.</extracomment>
        <translation>
            <numerusform>%n Std.</numerusform>
            <numerusform>%n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n d</source>
        <extracomment>A span on a chart&apos;s time axis, in days.</extracomment>
        <translation>
            <numerusform>%n T.</numerusform>
            <numerusform>%n T.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>in %1</source>
        <extracomment>A moment after now on a chart&apos;s time axis; %1 is a span (&quot;20 min&quot;).</extracomment>
        <translation>in %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 ago</source>
        <extracomment>A moment before now on a chart&apos;s time axis; %1 is a span (&quot;30 min&quot;).</extracomment>
        <translation>vor %1</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>%1 %2</source>
        <extracomment>When a chart&apos;s point was taken on another day: %1 the weekday (&quot;Tue&quot;), %2 the time.</extracomment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>velmora::DesktopNotifier</name>
    <message>
        <location filename="../app/DesktopNotifier.cpp" line="+23"/>
        <location line="+132"/>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <location line="-130"/>
        <source>Capture evidence</source>
        <translation>Belege sichern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ignore for 24 h</source>
        <translation>24 Std. ignorieren</translation>
    </message>
</context>
<context>
    <name>velmora::DetailView</name>
    <message>
        <location filename="../views/detail/DetailView.cpp" line="+46"/>
        <source>WHY</source>
        <extracomment>The heading, in capitals, over the reasons for the verdict.</extracomment>
        <translation>WARUM</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>TIMELINE</source>
        <extracomment>The heading, in capitals, over what happened to the suspect, in order.</extracomment>
        <translation>ZEITLEISTE</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>Back to Suspects</source>
        <extracomment>The back button of a suspect&apos;s detail, and the page&apos;s title in capitals.</extracomment>
        <translation>Zurück zu den Verdachtsfällen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>DETAIL</source>
        <translation>DETAILS</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Back to Suspects (Esc)</source>
        <extracomment>The back button&apos;s tooltip; Esc is the key that does the same.</extracomment>
        <translation>Zurück zu den Verdachtsfällen (Esc)</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>ACT</source>
        <extracomment>The heading, in capitals, over what the person can do about the suspect.</extracomment>
        <translation>HANDELN</translation>
    </message>
</context>
<context>
    <name>velmora::DiagnosticsDisclosure</name>
    <message>
        <location filename="../views/detail/DiagnosticsDisclosure.cpp" line="+28"/>
        <location line="+8"/>
        <source>DIAGNOSTICS</source>
        <extracomment>The heading, in capitals, of the folded section with the raw figures.</extracomment>
        <translation>DIAGNOSE</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Raw identity, evidence, and metrics</source>
        <extracomment>Under DIAGNOSTICS: what the folded section holds.</extracomment>
        <translation>Rohdaten zu Prozess, Belegen und Kennzahlen</translation>
    </message>
</context>
<context>
    <name>velmora::FooterCommandButton</name>
    <message>
        <location filename="../views/kit/FooterCommandButton.cpp" line="+93"/>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
</context>
<context>
    <name>velmora::FooterTelemetry</name>
    <message>
        <location filename="../views/popover/FooterTelemetry.cpp" line="+80"/>
        <source>Return to live triage</source>
        <translation>Zurück zur Live-Ansicht</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Open advanced history</source>
        <translation>Erweiterten Verlauf öffnen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Export report</source>
        <translation>Bericht exportieren</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Open settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quit Velmora</source>
        <translation>Velmora beenden</translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Storage</source>
        <extracomment>The footer chip with the size of Velmora&apos;s stored history.</extracomment>
        <translation>Speicherplatz</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Retention</source>
        <extracomment>The footer chip with how long Velmora keeps its history.</extracomment>
        <translation>Aufbewahrung</translation>
    </message>
</context>
<context>
    <name>velmora::IncidentConfidenceLadder</name>
    <message>
        <location filename="../views/incident/IncidentSummaryCardParts.cpp" line="+122"/>
        <source>Confidence</source>
        <translation>Gewissheit</translation>
    </message>
</context>
<context>
    <name>velmora::IncidentConfidenceStepSummary</name>
    <message>
        <location line="-9"/>
        <source>%1, %2</source>
        <extracomment>A step of the confidence ladder as a screen reader says it: its label, then its value.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>velmora::IncidentInlineMetric</name>
    <message>
        <location line="-43"/>
        <source>%1: %2</source>
        <extracomment>A figure of the incident card as a screen reader says it: its label, then its value.</extracomment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>velmora::IncidentNextActionRow</name>
    <message>
        <location line="+135"/>
        <source>SAFEST</source>
        <extracomment>The label, in capitals, before the safest next step for the suspect.</extracomment>
        <translation>EMPFOHLEN</translation>
    </message>
</context>
<context>
    <name>velmora::LocalFigures</name>
    <message>
        <location filename="../state/LocalFigures.cpp" line="+21"/>
        <source>%1 h %2 min</source>
        <extracomment>Hours and minutes, as in &quot;3 h 20 min&quot;.</extracomment>
        <translation>%1 Std. %2 Min.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 h</source>
        <extracomment>Hours, as in &quot;3 h&quot;.</extracomment>
        <translation>%1 Std.</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>under a minute</source>
        <extracomment>How long until something happens, after &quot;in&quot; as in &quot;Memory runs out in under a minute&quot;.</extracomment>
        <translation>weniger als einer Minute</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>about %n min</source>
        <extracomment>An estimate in minutes, after &quot;in&quot;.</extracomment>
        <translation>
            <numerusform>etwa %n Min.</numerusform>
            <numerusform>etwa %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>about %n days</source>
        <extracomment>An estimate in days, after &quot;in&quot;.</extracomment>
        <translation>
            <numerusform>etwa %n Tag</numerusform>
            <numerusform>etwa %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>about %1</source>
        <extracomment>An estimate, after &quot;in&quot;: %1 is hours and minutes, as in &quot;3 h 20 min&quot;.</extracomment>
        <translation>etwa %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 s</source>
        <extracomment>A span of seconds, as in &quot;45 s&quot;.</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 min</source>
        <extracomment>A span of minutes, as in &quot;15 min&quot;.</extracomment>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <location filename="../state/ForecastTexts.cpp" line="-92"/>
        <location filename="../state/LocalFigures.cpp" line="+37"/>
        <source>%1%</source>
        <extracomment>A share in percent, as in &quot;83%&quot;.</extracomment>
        <translation>%1 %</translation>
    </message>
    <message>
        <location filename="../state/LocalFigures.cpp" line="+5"/>
        <source>%1×</source>
        <extracomment>How many times larger, as in &quot;2.7×&quot;.</extracomment>
        <translation>%1×</translation>
    </message>
</context>
<context>
    <name>velmora::LocalizedText</name>
    <message>
        <location filename="../state/HistoryTexts.cpp" line="-400"/>
        <location filename="../state/LocalFigures.cpp" line="-111"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+35"/>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <location line="-2"/>
        <location filename="../state/LocalFigures.cpp" line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <location line="-4"/>
        <location filename="../state/LocalFigures.cpp" line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <location filename="../state/LocalFigures.cpp" line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <location line="+27"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+30"/>
        <source>%1 MB/min</source>
        <extracomment>A growth rate in megabytes per minute, with its sign: &quot;+8.2 MB/min&quot;.</extracomment>
        <translation>%1 MB/min</translation>
    </message>
    <message>
        <location line="+50"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+7"/>
        <source>just now</source>
        <translation>gerade eben</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+7"/>
        <source>%ns ago</source>
        <translation>
            <numerusform>vor %n s</numerusform>
            <numerusform>vor %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%n s ago</source>
        <translation>
            <numerusform>vor %n s</numerusform>
            <numerusform>vor %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+4"/>
        <source>%nm ago</source>
        <translation>
            <numerusform>vor %n Min.</numerusform>
            <numerusform>vor %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%n min ago</source>
        <translation>
            <numerusform>vor %n Min.</numerusform>
            <numerusform>vor %n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+4"/>
        <source>%nh ago</source>
        <translation>
            <numerusform>vor %n Std.</numerusform>
            <numerusform>vor %n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%n h ago</source>
        <translation>
            <numerusform>vor %n Std.</numerusform>
            <numerusform>vor %n Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+3"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+3"/>
        <source>%nd ago</source>
        <translation>
            <numerusform>vor %n T.</numerusform>
            <numerusform>vor %n T.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <location filename="../views/kit/LocalizedText.cpp" line="+1"/>
        <source>%n d ago</source>
        <translation>
            <numerusform>vor %n Tag</numerusform>
            <numerusform>vor %n Tagen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::MemoryChart</name>
    <message>
        <location filename="../views/kit/MemoryChart.cpp" line="+43"/>
        <source>Memory chart</source>
        <extracomment>The name assistive technology gives the chart of memory over time.</extracomment>
        <translation>Speicherdiagramm</translation>
    </message>
    <message>
        <location line="+177"/>
        <source>%1 · %2</source>
        <extracomment>The readout under the pointer on a memory chart: %1 when (&quot;14:05&quot;, &quot;12 min ago&quot;), %2 the size then (&quot;412.3 MB&quot;).</extracomment>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>velmora::MemoryChartBlock</name>
    <message>
        <location filename="../views/detail/MemoryChartBlock.cpp" line="+15"/>
        <source>No samples yet.</source>
        <extracomment>Under the detail&apos;s memory chart, before the monitor has any figure.</extracomment>
        <translation>Noch keine Messwerte.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Now %1: %2 anonymous, %3 swapped, %4 shared.</source>
        <extracomment>Under the detail&apos;s memory chart: the footprint now (%1) and its parts.</extracomment>
        <translation>Jetzt %1: %2 anonym, %3 ausgelagert, %4 gemeinsam genutzt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Now %1: %2 anonymous, %3 swapped.</source>
        <translation>Jetzt %1: %2 anonym, %3 ausgelagert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Now %1: %2 anonymous, no swap, %3 shared.</source>
        <translation>Jetzt %1: %2 anonym, nichts ausgelagert, %3 gemeinsam genutzt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Now %1: %2 anonymous, no swap.</source>
        <translation>Jetzt %1: %2 anonym, nichts ausgelagert.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Dashed: the trend the verdict was drawn from.</source>
        <extracomment>Under the detail&apos;s memory chart: what its dashed line is.</extracomment>
        <translation>Gestrichelt: der Trend, aus dem das Urteil stammt.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>MEMORY</source>
        <extracomment>Title of the detail&apos;s block that charts the family&apos;s memory over time.</extracomment>
        <translation>SPEICHER</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Family</source>
        <extracomment>A switch above the detail&apos;s memory chart: the whole family&apos;s memory.</extracomment>
        <translation>Familie</translation>
    </message>
</context>
<context>
    <name>velmora::MemorySeriesChart</name>
    <message>
        <location filename="../views/kit/MemorySeriesChart.cpp" line="+18"/>
        <source>critical</source>
        <comment>A mark on a history chart: a critical incident began.</comment>
        <translation>kritisch</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>incident</source>
        <comment>A mark on a history chart: an incident began.</comment>
        <translation>Vorfall</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>calm</source>
        <comment>A mark on a memory chart: the verdict went back to normal.</comment>
        <translation>ruhig</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>watch</source>
        <comment>A mark on a memory chart: the verdict became watch.</comment>
        <translation>beobachten</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>suspect</source>
        <comment>A mark on a memory chart: the verdict became suspect.</comment>
        <translation>verdächtig</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>probable</source>
        <comment>A mark on a memory chart: the verdict became probable.</comment>
        <translation>wahrscheinlich</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>critical</source>
        <comment>A mark on a memory chart: the verdict became critical.</comment>
        <translation>kritisch</translation>
    </message>
    <message numerus="yes">
        <location line="+27"/>
        <source>%n min</source>
        <comment>A span of time on a memory chart.</comment>
        <translation>
            <numerusform>%n Min.</numerusform>
            <numerusform>%n Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n h</source>
        <comment>A span of time on a memory chart.</comment>
        <translation>
            <numerusform>%n Std.</numerusform>
            <numerusform>%n Std.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+30"/>
        <source>anonymous</source>
        <comment>Legend of a memory chart: memory only the process holds.</comment>
        <translation>anonym</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>swapped</source>
        <comment>Legend of a memory chart: memory moved out to swap.</comment>
        <translation>ausgelagert</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>shared</source>
        <comment>Legend of a memory chart: shared memory counted for the family.</comment>
        <translation>gemeinsam</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>PID %1</source>
        <comment>The growing member of a family, by its process ID.</comment>
        <translation>PID %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>PID %1 (%2)</source>
        <comment>The growing member of a family: its process ID and name.</comment>
        <translation>PID %1 (%2)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>footprint</source>
        <comment>Legend of a memory chart: the line of the whole footprint.</comment>
        <translation>gesamt</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>OOM kill</source>
        <comment>A mark on a memory chart: the out-of-memory killer struck.</comment>
        <translation>OOM-Abbruch</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Memory runs out in %1 at %2</source>
        <comment>A level on a memory chart: %1 a span (&quot;20 min&quot;), %2 the footprint then.</comment>
        <translation>Speicher erschöpft in %1 bei %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Memory over the last %1: %2 to %3.</source>
        <comment>What assistive technology says of a memory chart: its span, the first and the last footprint.</comment>
        <translation>Speicher der letzten %1: %2 bis %3.</translation>
    </message>
</context>
<context>
    <name>velmora::NotWatchingPanel</name>
    <message>
        <location filename="../views/popover/NotWatchingPanel.cpp" line="+88"/>
        <source>Restart monitor</source>
        <translation>Überwachung neu starten</translation>
    </message>
</context>
<context>
    <name>velmora::OffenderCard</name>
    <message>
        <location filename="../views/history/AdvancedHistoryListView.cpp" line="-129"/>
        <source>LIVE NOW</source>
        <extracomment>The tag, in capitals, of an offender that is a suspect right now.</extracomment>
        <translation>JETZT AKTIV</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>30d</source>
        <extracomment>The caption over the number of incidents in the last 30 days (&quot;30 days&quot;, short).</extracomment>
        <translation>30 Tage</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Critical</source>
        <extracomment>The caption over the number of those incidents that were critical.</extracomment>
        <translation>Kritisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Peak</source>
        <extracomment>The caption over the highest leak score of the last 30 days.</extracomment>
        <translation>Höchstwert</translation>
    </message>
    <message numerus="yes">
        <location line="+42"/>
        <source>%n incidents</source>
        <extracomment>The number of incidents in the last 30 days.</extracomment>
        <translation>
            <numerusform>%n Vorfall</numerusform>
            <numerusform>%n Vorfälle</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::OffenderMemoryBlock</name>
    <message>
        <location filename="../views/history/OffenderMemoryBlock.cpp" line="+15"/>
        <source>MEMORY</source>
        <extracomment>Title of the history&apos;s block that charts an offender&apos;s memory.</extracomment>
        <translation>SPEICHER</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>7 days</source>
        <extracomment>A switch above the history&apos;s memory chart: show the last week.</extracomment>
        <translation>7 Tage</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>30 days</source>
        <extracomment>A switch above the history&apos;s memory chart: show the last month.</extracomment>
        <translation>30 Tage</translation>
    </message>
</context>
<context>
    <name>velmora::OutOfDate</name>
    <message>
        <location filename="../views/popover/OutOfDate.cpp" line="+23"/>
        <source>Out of date</source>
        <extracomment>What a screen reader adds to a part of the popover whose figures are no longer current.</extracomment>
        <translation>Veraltet</translation>
    </message>
</context>
<context>
    <name>velmora::PopoverWindow</name>
    <message>
        <location filename="../app/PopoverWindow.cpp" line="+94"/>
        <source>Don’t show again</source>
        <translation>Nicht mehr anzeigen</translation>
    </message>
</context>
<context>
    <name>velmora::ProgressSpinner</name>
    <message>
        <location filename="../views/kit/ProgressSpinner.cpp" line="+20"/>
        <source>In progress</source>
        <translation>Läuft</translation>
    </message>
</context>
<context>
    <name>velmora::RecentFindingsSection</name>
    <message>
        <location filename="../views/findings/RecentFindingsSection.cpp" line="+69"/>
        <source>KEEP AN EYE ON THESE</source>
        <extracomment>The heading, in capitals, over apps that were suspects recently.</extracomment>
        <translation>IM AUGE BEHALTEN</translation>
    </message>
</context>
<context>
    <name>velmora::ReliefPlanStrip</name>
    <message>
        <location filename="../views/relief/ReliefPlanStrip.cpp" line="+93"/>
        <source>%1, %2</source>
        <extracomment>The relief plan as a screen reader says it: its headline, then the candidate&apos;s detail.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>velmora::SettingsWindow</name>
    <message>
        <location filename="../app/SettingsLifecycleTab.cpp" line="+14"/>
        <source>Startup</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open Velmora at login</source>
        <translation>Velmora bei der Anmeldung öffnen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Open Startup Applications</source>
        <extracomment>Opens the desktop&apos;s own list of programs started at login.</extracomment>
        <translation>Startprogramme öffnen</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Updates</source>
        <translation>Aktualisierungen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Version %1. Packaged installs update through the system package manager; local development builds do not check for updates.</source>
        <translation>Version %1. Installationen aus Paketen werden über die Paketverwaltung des Systems aktualisiert; lokale Entwicklungs-Builds suchen nicht nach Aktualisierungen.</translation>
    </message>
    <message>
        <location filename="../app/SettingsMonitorTab.cpp" line="+25"/>
        <source>Triage</source>
        <extracomment>Settings section: how often Velmora samples memory.</extracomment>
        <translation>Erfassung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sampling</source>
        <translation>Messung</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Refresh cadence</source>
        <translation>Aktualisierungsintervall</translation>
    </message>
    <message>
        <location line="+24"/>
        <source> s</source>
        <extracomment>The unit after the refresh interval&apos;s number box, seconds (with its leading space).</extracomment>
        <translation> s</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Faster sampling raises overhead.</source>
        <translation>Häufigeres Messen kostet mehr Rechenzeit.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Critical only</source>
        <translation>Nur kritische</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Probable and up</source>
        <translation>Ab „Wahrscheinlich“</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Suspect and up</source>
        <translation>Ab „Verdacht“</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Each incident notifies once, at most 3 in any 10 minutes. Memory about to run out and processes ended by the out-of-memory killer notify at every level except Off.</source>
        <extracomment>&quot;Off&quot; is the first of the notification levels above.</extracomment>
        <translation>Jeder Vorfall wird einmal gemeldet, höchstens 3 in 10 Minuten. Knapp werdender Arbeitsspeicher und vom Out-of-Memory-Killer beendete Prozesse werden auf jeder Stufe außer „Aus“ gemeldet.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Send a test notification</source>
        <translation>Testbenachrichtigung senden</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Sent.</source>
        <translation>Gesendet.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No notification service answered on this desktop.</source>
        <translation>In dieser Arbeitsumgebung hat kein Benachrichtigungsdienst geantwortet.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Storage &amp; Evidence</source>
        <translation>Speicherplatz &amp; Belege</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Storage preset</source>
        <translation>Speichervorgabe</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Low</source>
        <translation>Gering</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Balanced</source>
        <translation>Ausgewogen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Deep</source>
        <extracomment>Storage preset that keeps the most for a deep investigation.</extracomment>
        <translation>Gründlich</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Auto-capture wrapped evidence</source>
        <extracomment>Whether the monitor saves evidence (bounded in size) by itself when a leak is found.</extracomment>
        <translation>Begrenzte Belege automatisch sichern</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Advanced storage details</source>
        <translation>Erweiterte Speicherdetails</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Budget</source>
        <extracomment>The disk space the monitor may use.</extracomment>
        <translation>Kontingent</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Safety</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Retention</source>
        <extracomment>How long each kind of record is kept.</extracomment>
        <translation>Aufbewahrung</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Privacy &amp; Trust</source>
        <translation>Datenschutz &amp; Vertrauen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Workspace scope</source>
        <extracomment>Which project folders the monitor may look at.</extracomment>
        <translation>Arbeitsbereich</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Access details</source>
        <translation>Zugriffsdetails</translation>
    </message>
    <message>
        <location filename="../app/SettingsWindow.cpp" line="+52"/>
        <source>Velmora Settings</source>
        <translation>Velmora-Einstellungen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Monitor</source>
        <extracomment>Settings tab: how Velmora samples, notifies, stores and what it may read.</extracomment>
        <translation>Überwachung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Lifecycle</source>
        <extracomment>Settings tab: starting at login and updates.</extracomment>
        <translation>Lebenszyklus</translation>
    </message>
    <message>
        <location line="+106"/>
        <source>%1 s</source>
        <extracomment>A refresh interval in seconds, as in &quot;1.5 s&quot;.</extracomment>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>velmora::SupportingFindingRow</name>
    <message>
        <location filename="../views/findings/SupportingFindingRow.cpp" line="+199"/>
        <source>watch</source>
        <extracomment>The pill of a row that is only watched, shown in lower case.</extracomment>
        <translation>beobachten</translation>
    </message>
</context>
<context>
    <name>velmora::SupportingFindingsSummary</name>
    <message>
        <location filename="../views/findings/SupportingFindingsSummary.cpp" line="+17"/>
        <source>1 other suspect</source>
        <extracomment>The button that opens the one suspect beside the one the card shows.</extracomment>
        <translation>1 weiterer Verdachtsfall</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n other suspects</source>
        <extracomment>The button that opens the suspects beside the one the card shows.</extracomment>
        <translation>
            <numerusform>%n weiterer Verdachtsfall</numerusform>
            <numerusform>%n weitere Verdachtsfälle</numerusform>
        </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>, </source>
        <extracomment>Between two application names in the list of other suspects.</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <location line="+8"/>
        <source> +%1</source>
        <extracomment>After the first names of the other suspects: how many more there are, as in &quot;Firefox, Slack +3&quot;.</extracomment>
        <translation> +%1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Inspect supporting suspect</source>
        <translation>Weiteren Verdachtsfall ansehen</translation>
    </message>
</context>
<context>
    <name>velmora::SystemStateHeader</name>
    <message>
        <location filename="../views/popover/SystemStateHeader.cpp" line="+224"/>
        <source>SYSTEM STATE</source>
        <extracomment>The eyebrow over the machine&apos;s memory figures, in capitals.</extracomment>
        <translation>SYSTEMZUSTAND</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>Not watching</source>
        <translation>Keine Überwachung</translation>
    </message>
</context>
<context>
    <name>velmora::TrustAccessClaimsView</name>
    <message>
        <location filename="../app/TrustAccessPanel.cpp" line="+115"/>
        <source>Processes sampled</source>
        <translation>Erfasste Prozesse</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Verify this</source>
        <translation>So prüfen Sie das nach</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open System Monitor and compare Velmora rows against same-user processes; Velmora does not require root.</source>
        <extracomment>&quot;System Monitor&quot; is the desktop&apos;s task manager.</extracomment>
        <translation>Öffnen Sie die Systemüberwachung und vergleichen Sie die Zeilen von Velmora mit den Prozessen desselben Benutzers; Velmora braucht keine Root-Rechte.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Files read</source>
        <translation>Gelesene Dateien</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Files from the latest sampling pass</source>
        <translation>Dateien der letzten Messung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Files written</source>
        <translation>Geschriebene Dateien</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Local write locations</source>
        <translation>Lokale Speicherorte</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Open Data Dir</source>
        <extracomment>Button: opens Velmora&apos;s data folder in the file manager.</extracomment>
        <translation>Datenordner öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Network calls</source>
        <translation>Netzwerkzugriffe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Recent network calls</source>
        <translation>Letzte Netzwerkzugriffe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>What Velmora does not do</source>
        <translation>Was Velmora nicht tut</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Negative commitments</source>
        <extracomment>Heading over the list of things Velmora promises never to do.</extracomment>
        <translation>Ausdrückliche Zusagen</translation>
    </message>
</context>
<context>
    <name>velmora::TrustAccessPanelView</name>
    <message>
        <location line="+43"/>
        <source>What Velmora accesses</source>
        <translation>Worauf Velmora zugreift</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Concrete local-first claims from the running backend.</source>
        <translation>Konkrete Angaben des laufenden Hintergrunddienstes; alles bleibt auf diesem Rechner.</translation>
    </message>
</context>
<context>
    <name>velmora::TrustAccessWindow</name>
    <message>
        <location filename="../app/AuxiliaryWindows.cpp" line="+49"/>
        <source>What Velmora accesses</source>
        <translation>Worauf Velmora zugreift</translation>
    </message>
</context>
<context>
    <name>velmora::UsedMemoryBar</name>
    <message>
        <location filename="../views/popover/SystemStateHeader.cpp" line="-78"/>
        <source>Memory used</source>
        <translation>Belegter Speicher</translation>
    </message>
</context>
<context>
    <name>velmora::VelmoraApplication</name>
    <message>
        <location filename="../app/VelmoraApplication.cpp" line="+175"/>
        <source>Velmora — %1</source>
        <translation>Velmora — %1</translation>
    </message>
    <message>
        <location line="+159"/>
        <source>About Velmora</source>
        <translation>Über Velmora</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&lt;b&gt;Velmora&lt;/b&gt;&lt;br&gt;Version %1&lt;br&gt;&lt;br&gt;A local memory-leak monitor for the Linux desktop.</source>
        <extracomment>Rich text: keep the tags; %1 is the version.</extracomment>
        <translation>&lt;b&gt;Velmora&lt;/b&gt;&lt;br&gt;Version %1&lt;br&gt;&lt;br&gt;Ein lokaler Wächter für Speicherlecks auf dem Linux-Desktop.</translation>
    </message>
</context>
<context>
    <name>velmora::VelmoraText</name>
    <message>
        <location filename="../views/kit/VelmoraText.cpp" line="+349"/>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
</context>
<context>
    <name>velmora::VerdictHelpBlock</name>
    <message>
        <location filename="../views/help/VerdictHelpView.cpp" line="+55"/>
        <source>Means</source>
        <extracomment>What a verdict means (a small heading, shown in capitals).</extracomment>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>False positive</source>
        <extracomment>When a verdict can be wrong (a small heading, shown in capitals).</extracomment>
        <translation>Fehlalarm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Posture</source>
        <extracomment>What to do about a verdict (a small heading, shown in capitals).</extracomment>
        <translation>Vorgehen</translation>
    </message>
</context>
<context>
    <name>velmora::VerdictHelpView</name>
    <message>
        <location line="+21"/>
        <source>What do the verdicts mean?</source>
        <translation>Was bedeuten die Einstufungen?</translation>
    </message>
</context>
<context>
    <name>velmora::VerdictHelpWindow</name>
    <message>
        <location filename="../app/AuxiliaryWindows.cpp" line="+19"/>
        <source>What do the verdicts mean?</source>
        <translation>Was bedeuten die Einstufungen?</translation>
    </message>
</context>
<context>
    <name>velmora::VerdictOnboardingTooltip</name>
    <message>
        <location filename="../views/help/VerdictOnboardingTooltip.cpp" line="+45"/>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Means</source>
        <extracomment>What a verdict means (a small heading).</extracomment>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>False positive</source>
        <extracomment>When a verdict can be wrong (a small heading).</extracomment>
        <translation>Fehlalarm</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Posture</source>
        <extracomment>What to do about a verdict (a small heading).</extracomment>
        <translation>Vorgehen</translation>
    </message>
</context>
<context>
    <name>velmora::WhereItGrowsCard</name>
    <message>
        <location filename="../views/detail/WhereItGrowsCard.cpp" line="+47"/>
        <source>WHERE IT GROWS</source>
        <extracomment>The heading, in capitals, over the places in the app&apos;s code where its memory grows.</extracomment>
        <translation>WO ES WÄCHST</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Where it grows</source>
        <extracomment>The same heading as a screen reader says it.</extracomment>
        <translation>Wo es wächst</translation>
    </message>
</context>
</TS>
