<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Strings</name>
    <message>
        <source>This software is only for Windows 2000/XP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Illegal parameter in ELS Page (Bytpw)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Illegal parameter in ELS Page (FeedStepLength)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save .ini file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot load .ini file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan or input text data.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip a disc to label-side.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input correct burning area.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish Burning.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buffer Empty Error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Etchlume Drive is not found.</source>
        <translation>Etchlume-Laufwerk wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Image data is not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disc is not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disc is blank. You must not write data afterwards.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disc is incomplete. Not support burning.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must not overwrite data area.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disc is unknown. Not support burning.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Etchlume Burn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Required Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input Radius Error.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twr</name>
    <message>
        <source>Run &apos;twr COMMAND --help&apos; for the options of a command.</source>
        <translation>»twr BEFEHL --help« nennt die Optionen eines Befehls.</translation>
    </message>
</context>
<context>
    <name>twr::ui::CELDraw</name>
    <message>
        <source>Draw</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Required time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twr::ui::CELMainDlg</name>
    <message>
        <source>Layout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Burning area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Required time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Burn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>twr::ui::CELTitleConfig</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inner radius in millimetres</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outer radius in millimetres</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
