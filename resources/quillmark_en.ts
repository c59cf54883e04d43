<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>NumberedStrings</name>
    <message>
        <source>Quillmark  (Version 1.4.9)</source>
        <translation>Quillmark  (Version 1.4.9)</translation>
    </message>
    <message>
        <source>Interface Type</source>
        <translation>Interface Type</translation>
    </message>
    <message>
        <source>Can't open file!</source>
        <translation>Can't open file!</translation>
    </message>
    <message>
        <source>Binary file download is completed.</source>
        <translation>Binary file download is completed.</translation>
    </message>
    <message>
        <source>Please,Select a binary file!</source>
        <translation>Please,Select a binary file!</translation>
    </message>
    <message>
        <source>Port error! Check setting of serial port, please.</source>
        <translation>Port error! Check setting of serial port, please.</translation>
    </message>
    <message>
        <source>Port error! Check printer's port, please.</source>
        <translation>Port error! Check printer's port, please.</translation>
    </message>
    <message>
        <source>PCX file download is completed.</source>
        <translation>PCX file download is completed.</translation>
    </message>
    <message>
        <source>Please, Select PCX files!</source>
        <translation>Please, Select PCX files!</translation>
    </message>
    <message>
        <source>Please, type image name!</source>
        <translation>Please, type image name!</translation>
    </message>
    <message>
        <source>Error : Failed to Create socket!</source>
        <translation>Error : Failed to Create socket!</translation>
    </message>
    <message>
        <source>Error : Failed to connect. Please, 
check IP port configuration in printer control pannel</source>
        <translation>Error : Failed to connect. Please, 
check IP port configuration in printer control pannel</translation>
    </message>
    <message>
        <source>Cannot open port! Please check printer and cable.</source>
        <translation>Cannot open port! Please check printer and cable.</translation>
    </message>
    <message>
        <source>Success open port.</source>
        <translation>Success open port.</translation>
    </message>
    <message>
        <source>Sorry, parallel port don't support in Windows 98, 98SE, ME.</source>
        <translation>Sorry, parallel port don't support in Windows 98, 98SE, ME.</translation>
    </message>
    <message>
        <source>Calibration is not supported on Ethernet connection.</source>
        <translation>Calibration is not supported on Ethernet connection.</translation>
    </message>
</context>
<context>
    <name>qm::MainDialog</name>
    <message>
        <source>Interface Type</source>
        <translation>Interface Type</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>Parallel</source>
        <translation>Parallel</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>LPT Port</source>
        <translation>LPT Port</translation>
    </message>
    <message>
        <source>Comm Setting</source>
        <translation>Comm Setting</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>COM Port</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>Baud Rate</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>Data Bits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stop Bits</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>User Setting</source>
        <translation>User Setting</translation>
    </message>
    <message>
        <source>User Setting Manager</source>
        <translation>User Setting Manager</translation>
    </message>
    <message>
        <source>Calibration Setting Manager</source>
        <translation>Calibration Setting Manager</translation>
    </message>
    <message>
        <source>Downloader</source>
        <translation>Downloader</translation>
    </message>
    <message>
        <source>PCX File Downloader</source>
        <translation>PCX File Downloader</translation>
    </message>
    <message>
        <source>File Transfer</source>
        <translation>File Transfer</translation>
    </message>
    <message>
        <source>File Transfer Manager</source>
        <translation>File Transfer Manager</translation>
    </message>
    <message>
        <source>RFID</source>
        <translation>RFID</translation>
    </message>
    <message>
        <source>Set Configuration</source>
        <translation>Set Configuration</translation>
    </message>
    <message>
        <source>Write/Read</source>
        <translation>Write/Read</translation>
    </message>
    <message>
        <source>QDRL Tester</source>
        <translation>QDRL Tester</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>Not available yet</translation>
    </message>
    <message>
        <source>Connected: %1</source>
        <translation>Connected: %1</translation>
    </message>
</context>
<context>
    <name>qm::QdrlTesterDialog</name>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>QDRL Tester</source>
        <translation>QDRL Tester</translation>
    </message>
    <message>
        <source>Printing Setting</source>
        <translation>Printing Setting</translation>
    </message>
    <message>
        <source>Speed &amp;&amp; Density &amp;&amp; Direction</source>
        <translation>Speed &amp;&amp; Density &amp;&amp; Direction</translation>
    </message>
    <message>
        <source>Paper Setting</source>
        <translation>Paper Setting</translation>
    </message>
    <message>
        <source>Margin &amp;&amp; Width &amp;&amp; Length</source>
        <translation>Margin &amp;&amp; Width &amp;&amp; Length</translation>
    </message>
    <message>
        <source>Printer Status</source>
        <translation>Printer Status</translation>
    </message>
    <message>
        <source>Check Printer Status</source>
        <translation>Check Printer Status</translation>
    </message>
    <message>
        <source>Printing Module</source>
        <translation>Printing Module</translation>
    </message>
    <message>
        <source>Line &amp;&amp; Box</source>
        <translation>Line &amp;&amp; Box</translation>
    </message>
    <message>
        <source>1D Barcode</source>
        <translation>1D Barcode</translation>
    </message>
    <message>
        <source>2D Barcode</source>
        <translation>2D Barcode</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>Bitmap Text</source>
        <translation>Bitmap Text</translation>
    </message>
    <message>
        <source>Vector Text</source>
        <translation>Vector Text</translation>
    </message>
    <message>
        <source>Character Set</source>
        <translation>Character Set</translation>
    </message>
    <message>
        <source>2Byte Code</source>
        <translation>2Byte Code</translation>
    </message>
    <message>
        <source>Print Codes</source>
        <translation>Print Codes</translation>
    </message>
    <message>
        <source>RFID Write and Read</source>
        <translation>RFID Write and Read</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Security</translation>
    </message>
    <message>
        <source>Kill</source>
        <translation>Kill</translation>
    </message>
    <message>
        <source>QDRL Command</source>
        <translation>QDRL Command</translation>
    </message>
    <message>
        <source>QDRL Command Edit</source>
        <translation>QDRL Command Edit</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Clean</source>
        <translation>Clean</translation>
    </message>
    <message>
        <source>Multi Send</source>
        <translation>Multi Send</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Send count</source>
        <translation>Send count</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>Not available yet</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 of %2 bytes sent</source>
        <translation>%1 of %2 bytes sent</translation>
    </message>
    <message>
        <source>About %1 s left</source>
        <translation>About %1 s left</translation>
    </message>
</context>
<context>
    <name>qm::PrintingCopiesDialog</name>
    <message>
        <source>Printing Copies</source>
        <translation>Printing Copies</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>first number</source>
        <translation>first number</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>second number</translation>
    </message>
</context>
<context>
    <name>qm::IpAddressEdit</name>
    <message>
        <source>IP address field %1</source>
        <translation>IP address field %1</translation>
    </message>
</context>
<context>
    <name>qm::UserSettingManagerDialog</name>
    <message>
        <source>User Setting Manager</source>
        <translation>User Setting Manager</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::SerialCommunicationSettingPage</name>
    <message>
        <source>Hand Shake :</source>
        <translation>Hand Shake :</translation>
    </message>
    <message>
        <source>Stop Bit :</source>
        <translation>Stop Bit :</translation>
    </message>
    <message>
        <source>Data Length :</source>
        <translation>Data Length :</translation>
    </message>
    <message>
        <source>Parity Check :</source>
        <translation>Parity Check :</translation>
    </message>
    <message>
        <source>Parity Selection :</source>
        <translation>Parity Selection :</translation>
    </message>
    <message>
        <source>Baudrate :</source>
        <translation>Baudrate :</translation>
    </message>
    <message>
        <source>Serial Communication Setting</source>
        <translation>Serial Communication Setting</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Default Setting</source>
        <translation>Default Setting</translation>
    </message>
</context>
<context>
    <name>qm::DefaultCodePageIcsSettingPage</name>
    <message>
        <source>Default CodePage &amp;&amp; ICS Setting</source>
        <translation>Default CodePage &amp;&amp; ICS Setting</translation>
    </message>
    <message>
        <source>Default CodePage  :</source>
        <translation>Default CodePage  :</translation>
    </message>
    <message>
        <source>Default International Character Set(ICS) :</source>
        <translation>Default International Character Set(ICS) :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
</context>
<context>
    <name>qm::PrinterPageSettingPage</name>
    <message>
        <source>Paper Width:</source>
        <translation>Paper Width:</translation>
    </message>
    <message>
        <source>Paper Length:</source>
        <translation>Paper Length:</translation>
    </message>
    <message>
        <source>Gap Length:</source>
        <translation>Gap Length:</translation>
    </message>
    <message>
        <source>Paper Horizontal Margin:</source>
        <translation>Paper Horizontal Margin:</translation>
    </message>
    <message>
        <source>Paper Vertical Margin:</source>
        <translation>Paper Vertical Margin:</translation>
    </message>
    <message>
        <source>Print Density:</source>
        <translation>Print Density:</translation>
    </message>
    <message>
        <source>Print Strobe:</source>
        <translation>Print Strobe:</translation>
    </message>
    <message>
        <source>Print Speed:</source>
        <translation>Print Speed:</translation>
    </message>
    <message>
        <source>Print Offset:</source>
        <translation>Print Offset:</translation>
    </message>
    <message>
        <source>Tear-off/Cutting:</source>
        <translation>Tear-off/Cutting:</translation>
    </message>
    <message>
        <source>Gap Detect Position: </source>
        <translation>Gap Detect Position: </translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Check Label Length :</source>
        <translation>Check Label Length :</translation>
    </message>
    <message>
        <source>Initialize</source>
        <translation>Initialize</translation>
    </message>
    <message>
        <source>Initialize all user setting data :</source>
        <translation>Initialize all user setting data :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
</context>
<context>
    <name>qm::HardwareInfoPage</name>
    <message>
        <source>Hardware Version</source>
        <translation>Hardware Version</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Number:</translation>
    </message>
    <message>
        <source>User Defined Printer ID</source>
        <translation>User Defined Printer ID</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Initialize</source>
        <translation>Initialize</translation>
    </message>
</context>
<context>
    <name>qm::PrinterInformationPage</name>
    <message>
        <source>Printer Information</source>
        <translation>Printer Information</translation>
    </message>
    <message>
        <source>Model Name :</source>
        <translation>Model Name :</translation>
    </message>
    <message>
        <source>Model Type :</source>
        <translation>Model Type :</translation>
    </message>
    <message>
        <source>Firmware Version :</source>
        <translation>Firmware Version :</translation>
    </message>
    <message>
        <source>TPH Temperature :</source>
        <translation>TPH Temperature :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
</context>
<context>
    <name>GuiMessages</name>
    <message>
        <source>&quot;%1&quot; holds characters the printer&apos;s code page has no byte for: %2. Change or remove them first.</source>
        <translation>&quot;%1&quot; holds characters the printer&apos;s code page has no byte for: %2. Change or remove them first.</translation>
    </message>
    <message>
        <source>Parity must be None, Odd or Even.</source>
        <translation>Parity must be None, Odd or Even.</translation>
    </message>
    <message>
        <source>Port must be a number from 1 to 65535.</source>
        <translation>Port must be a number from 1 to 65535.</translation>
    </message>
    <message>
        <source>Choose an entry in every list first.</source>
        <translation>Choose an entry in every list first.</translation>
    </message>
    <message>
        <source>X Pos must be a number from 0 to 999.</source>
        <translation>X Pos must be a number from 0 to 999.</translation>
    </message>
    <message>
        <source>Y Pos must be a number from 0 to 999.</source>
        <translation>Y Pos must be a number from 0 to 999.</translation>
    </message>
</context>
<context>
    <name>qm::ConvertUnitDialog</name>
    <message>
        <source>Convert Unit</source>
        <translation>Convert Unit</translation>
    </message>
    <message>
        <source>inch to mm</source>
        <translation>inch to mm</translation>
    </message>
    <message>
        <source>inch to dots</source>
        <translation>inch to dots</translation>
    </message>
    <message>
        <source>dots to inch</source>
        <translation>dots to inch</translation>
    </message>
    <message>
        <source>dots to mm</source>
        <translation>dots to mm</translation>
    </message>
    <message>
        <source>mm to inch</source>
        <translation>mm to inch</translation>
    </message>
    <message>
        <source>mm to dots</source>
        <translation>mm to dots</translation>
    </message>
    <message>
        <source>Value to convert</source>
        <translation>Value to convert</translation>
    </message>
    <message>
        <source>Converted value</source>
        <translation>Converted value</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::Barcode1DCommandDialog</name>
    <message>
        <source>1D Barcode Command</source>
        <translation>1D Barcode Command</translation>
    </message>
    <message>
        <source>X pos</source>
        <translation>X pos</translation>
    </message>
    <message>
        <source>Y pos</source>
        <translation>Y pos</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>N-Bar W</source>
        <translation>N-Bar W</translation>
    </message>
    <message>
        <source>W-Bar W</source>
        <translation>W-Bar W</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>HRI</source>
        <translation>HRI</translation>
    </message>
    <message>
        <source>Q-Zone</source>
        <translation>Q-Zone</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::Barcode2DCommandDialog</name>
    <message>
        <source>2D Barcode Command</source>
        <translation>2D Barcode Command</translation>
    </message>
    <message>
        <source>Start X</source>
        <translation>Start X</translation>
    </message>
    <message>
        <source>Start Y</source>
        <translation>Start Y</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Max Row</source>
        <translation>Max Row</translation>
    </message>
    <message>
        <source>Max Col</source>
        <translation>Max Col</translation>
    </message>
    <message>
        <source>Compress</source>
        <translation>Compress</translation>
    </message>
    <message>
        <source>HRI</source>
        <translation>HRI</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>Origin</translation>
    </message>
    <message>
        <source>Module W</source>
        <translation>Module W</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>2D Barcode Type :</source>
        <translation>2D Barcode Type :</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::BlockDrawCommandDialog</name>
    <message>
        <source>Block Draw Command</source>
        <translation>Block Draw Command</translation>
    </message>
    <message>
        <source>Start X</source>
        <translation>Start X</translation>
    </message>
    <message>
        <source>Start Y</source>
        <translation>Start Y</translation>
    </message>
    <message>
        <source>End X</source>
        <translation>End X</translation>
    </message>
    <message>
        <source>End Y</source>
        <translation>End Y</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::LabelSettingDialog</name>
    <message>
        <source>Label Setting</source>
        <translation>Label Setting</translation>
    </message>
    <message>
        <source>Unit Setting</source>
        <translation>Unit Setting</translation>
    </message>
    <message>
        <source>inch</source>
        <translation>inch</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>dots</source>
        <translation>dots</translation>
    </message>
    <message>
        <source>Media Type</source>
        <translation>Media Type</translation>
    </message>
    <message>
        <source>Gap</source>
        <translation>Gap</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>BlackMark</source>
        <translation>BlackMark</translation>
    </message>
    <message>
        <source>Width  :</source>
        <translation>Width  :</translation>
    </message>
    <message>
        <source>Length :</source>
        <translation>Length :</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Width &amp;&amp; Length</source>
        <translation>Width &amp;&amp; Length</translation>
    </message>
    <message>
        <source>Margin</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>X Margin :</source>
        <translation>X Margin :</translation>
    </message>
    <message>
        <source>Y Margin :</source>
        <translation>Y Margin :</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::PrintingSettingDialog</name>
    <message>
        <source>Printing Setting</source>
        <translation>Printing Setting</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>Density</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::BitmapTextCommandDialog</name>
    <message>
        <source>Bitmap Text Command</source>
        <translation>Bitmap Text Command</translation>
    </message>
    <message>
        <source>Text data</source>
        <translation>Text data</translation>
    </message>
    <message>
        <source>Find Font</source>
        <translation>Find Font</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X Pos</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y Pos</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>H Multi</source>
        <translation>H Multi</translation>
    </message>
    <message>
        <source>V Multi</source>
        <translation>V Multi</translation>
    </message>
    <message>
        <source>Space_R</source>
        <translation>Space_R</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Bold</translation>
    </message>
</context>
<context>
    <name>qm::VectorTextCommandDialog</name>
    <message>
        <source>Vector Text Command</source>
        <translation>Vector Text Command</translation>
    </message>
    <message>
        <source>Text data</source>
        <translation>Text data</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>Test Print</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X Pos</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y Pos</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Font Space</source>
        <translation>Font Space</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Justification</source>
        <translation>Justification</translation>
    </message>
    <message>
        <source>Text Direction</source>
        <translation>Text Direction</translation>
    </message>
</context>
<context>
    <name>qm::CharacterSetCommandDialog</name>
    <message>
        <source>Character Set Command</source>
        <translation>Character Set Command</translation>
    </message>
    <message>
        <source>Bitmap Font</source>
        <translation>Bitmap Font</translation>
    </message>
    <message>
        <source>Vector Font</source>
        <translation>Vector Font</translation>
    </message>
    <message>
        <source>Under 80H</source>
        <translation>Under 80H</translation>
    </message>
    <message>
        <source>International</source>
        <translation>International</translation>
    </message>
    <message>
        <source>Over 80H</source>
        <translation>Over 80H</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Code Table :</source>
        <translation>Code Table :</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X Pos</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y Pos</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>International character sets: %1 of %2 sent</source>
        <translation>International character sets: %1 of %2 sent</translation>
    </message>
    <message>
        <source>All %1 international character sets sent.</source>
        <translation>All %1 international character sets sent.</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 character sets; no label was printed.</source>
        <translation>Cancelled after %1 of %2 character sets; no label was printed.</translation>
    </message>
    <message>
        <source>International
Character Set</source>
        <translation>International
Character Set</translation>
    </message>
</context>
<context>
    <name>qm::FontFinderDialog</name>
    <message>
        <source>Font Finder</source>
        <translation>Font Finder</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Print for comparsion</source>
        <translation>Print for comparsion</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Font Size</translation>
    </message>
    <message>
        <source>Width  :</source>
        <translation>Width  :</translation>
    </message>
    <message>
        <source>Height :</source>
        <translation>Height :</translation>
    </message>
    <message>
        <source>Font :</source>
        <translation>Font :</translation>
    </message>
    <message>
        <source>X Multi :</source>
        <translation>X Multi :</translation>
    </message>
    <message>
        <source>Y Multi :</source>
        <translation>Y Multi :</translation>
    </message>
    <message>
        <source>Most Similar</source>
        <translation>Most Similar</translation>
    </message>
    <message>
        <source>Similar &amp;&amp; Round</source>
        <translation>Similar &amp;&amp; Round</translation>
    </message>
</context>
<context>
    <name>qm::TwoByteCodepageDialog</name>
    <message>
        <source>2 Byte Codepage</source>
        <translation>2 Byte Codepage</translation>
    </message>
    <message>
        <source>Print all block character code</source>
        <translation>Print all block character code</translation>
    </message>
    <message>
        <source>Bitmap Font</source>
        <translation>Bitmap Font</translation>
    </message>
    <message>
        <source>Vector Font</source>
        <translation>Vector Font</translation>
    </message>
    <message>
        <source>Print Characters</source>
        <translation>Print Characters</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Code Table :</source>
        <translation>Code Table :</translation>
    </message>
    <message>
        <source>Start Block :</source>
        <translation>Start Block :</translation>
    </message>
    <message>
        <source>End Block :</source>
        <translation>End Block :</translation>
    </message>
    <message>
        <source>Block Area :</source>
        <translation>Block Area :</translation>
    </message>
    <message>
        <source>Bitmap Font Name: </source>
        <translation>Bitmap Font Name: </translation>
    </message>
    <message>
        <source>Vector Font Width :</source>
        <translation>Vector Font Width :</translation>
    </message>
    <message>
        <source>Vector Font Height :</source>
        <translation>Vector Font Height :</translation>
    </message>
    <message>
        <source>Font Type</source>
        <translation>Font Type</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Character Block</source>
        <translation>Character Block</translation>
    </message>
    <message>
        <source>Printing blocks: %1 of %2 labels sent</source>
        <translation>Printing blocks: %1 of %2 labels sent</translation>
    </message>
    <message>
        <source>All %1 labels sent.</source>
        <translation>All %1 labels sent.</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 labels.</source>
        <translation>Cancelled after %1 of %2 labels.</translation>
    </message>
</context>
<context>
    <name>qm::PieceSender</name>
    <message>
        <source>About %1 s left</source>
        <translation>About %1 s left</translation>
    </message>
</context>
<context>
    <name>qm::LockPayloadBox</name>
    <message>
        <source>Kill
Pass</source>
        <translation>Kill
Pass</translation>
    </message>
    <message>
        <source>Acess
Pass</source>
        <translation>Acess
Pass</translation>
    </message>
    <message>
        <source>EPC
Memory</source>
        <translation>EPC
Memory</translation>
    </message>
    <message>
        <source>TID
Memory</source>
        <translation>TID
Memory</translation>
    </message>
    <message>
        <source>User
Memory</source>
        <translation>User
Memory</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>right</source>
        <translation>right</translation>
    </message>
    <message>
        <source>left</source>
        <translation>left</translation>
    </message>
    <message>
        <source>Mask %1 %2</source>
        <translation>Mask %1 %2</translation>
    </message>
    <message>
        <source>Action %1 %2</source>
        <translation>Action %1 %2</translation>
    </message>
</context>
<context>
    <name>qm::RfidConfigurationDialog</name>
    <message>
        <source>RFID Cofiguration</source>
        <translation>RFID Cofiguration</translation>
    </message>
    <message>
        <source>RFID Setting</source>
        <translation>RFID Setting</translation>
    </message>
    <message>
        <source>Tag Type :</source>
        <translation>Tag Type :</translation>
    </message>
    <message>
        <source>Writing Power :</source>
        <translation>Writing Power :</translation>
    </message>
    <message>
        <source>Transponder Position :</source>
        <translation>Transponder Position :</translation>
    </message>
    <message>
        <source>Number of retry :</source>
        <translation>Number of retry :</translation>
    </message>
    <message>
        <source>Number of Label :</source>
        <translation>Number of Label :</translation>
    </message>
    <message>
        <source>RFID Counter</source>
        <translation>RFID Counter</translation>
    </message>
    <message>
        <source>RFID Valid :</source>
        <translation>RFID Valid :</translation>
    </message>
    <message>
        <source>RFID Void :</source>
        <translation>RFID Void :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Auto Calibration</source>
        <translation>Auto Calibration</translation>
    </message>
    <message>
        <source>Default Setting</source>
        <translation>Default Setting</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidKillDialog</name>
    <message>
        <source>RFID Kill</source>
        <translation>RFID Kill</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidPasswordDialog</name>
    <message>
        <source>RFID Password</source>
        <translation>RFID Password</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>Kill</source>
        <translation>Kill</translation>
    </message>
    <message>
        <source>* The value must be hexadecimal.</source>
        <translation>* The value must be hexadecimal.</translation>
    </message>
    <message>
        <source>(ex: 9C.4D.E1.37)</source>
        <translation>(ex: 9C.4D.E1.37)</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidReadCommandDialog</name>
    <message>
        <source>RFID Read</source>
        <translation>RFID Read</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>Data Type</translation>
    </message>
    <message>
        <source>Start Block Number</source>
        <translation>Start Block Number</translation>
    </message>
    <message>
        <source>Number of Byte</source>
        <translation>Number of Byte</translation>
    </message>
    <message>
        <source>Output Type</source>
        <translation>Output Type</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidReadDialog</name>
    <message>
        <source>RFID Read</source>
        <translation>RFID Read</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Metal</source>
        <translation>Metal</translation>
    </message>
    <message>
        <source>EPC Data :</source>
        <translation>EPC Data :</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>User Data</translation>
    </message>
    <message>
        <source>Start Block Number :</source>
        <translation>Start Block Number :</translation>
    </message>
    <message>
        <source>Nuber of bytes :</source>
        <translation>Nuber of bytes :</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidSecurityDialog</name>
    <message>
        <source>RFID Security</source>
        <translation>RFID Security</translation>
    </message>
    <message>
        <source>Lock-Command Pay Load</source>
        <translation>Lock-Command Pay Load</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Lock</translation>
    </message>
    <message>
        <source>UnLock</source>
        <translation>UnLock</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidWriteCommandDialog</name>
    <message>
        <source>RFID Write</source>
        <translation>RFID Write</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>Data Type</translation>
    </message>
    <message>
        <source>Start Block Number</source>
        <translation>Start Block Number</translation>
    </message>
    <message>
        <source>Number of Byte</source>
        <translation>Number of Byte</translation>
    </message>
    <message>
        <source>Set Data</source>
        <translation>Set Data</translation>
    </message>
    <message>
        <source>Reset Data</source>
        <translation>Reset Data</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>Insert to label</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::RfidWriteDialog</name>
    <message>
        <source>RFID Write</source>
        <translation>RFID Write</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Acess :</source>
        <translation>Acess :</translation>
    </message>
    <message>
        <source>Kill :</source>
        <translation>Kill :</translation>
    </message>
    <message>
        <source>* The value must be hexadecimal.</source>
        <translation>* The value must be hexadecimal.</translation>
    </message>
    <message>
        <source>(ex: 9C.4D.E1.37)</source>
        <translation>(ex: 9C.4D.E1.37)</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Metal</source>
        <translation>Metal</translation>
    </message>
    <message>
        <source>EPC Data :</source>
        <translation>EPC Data :</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>User Data</translation>
    </message>
    <message>
        <source>Set Data</source>
        <translation>Set Data</translation>
    </message>
    <message>
        <source>Reset Data</source>
        <translation>Reset Data</translation>
    </message>
    <message>
        <source>Start Block Number :</source>
        <translation>Start Block Number :</translation>
    </message>
    <message>
        <source>Nuber of bytes :</source>
        <translation>Nuber of bytes :</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Lock-Command</source>
        <translation>Lock-Command</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>Lock-Command Payload</source>
        <translation>Lock-Command Payload</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Popup RFID Read Dialog</source>
        <translation>Popup RFID Read Dialog</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::TagCellGrid</name>
    <message>
        <source>Data %1</source>
        <translation>Data %1</translation>
    </message>
</context>
<context>
    <name>qm::CalibrationSettingManagerDialog</name>
    <message>
        <source>Manual Calibration</source>
        <translation>Manual Calibration</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>CLOSE</translation>
    </message>
</context>
<context>
    <name>qm::SensingValueDistributionPage</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Cancel Calibration</source>
        <translation>Cancel Calibration</translation>
    </message>
    <message>
        <source>Sensing Value Distribution</source>
        <translation>Sensing Value Distribution</translation>
    </message>
    <message>
        <source>STEP 1 : Start</source>
        <translation>STEP 1 : Start</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Check Sensing Value</source>
        <translation>Check Sensing Value</translation>
    </message>
    <message>
        <source>Label Length : (mm)</source>
        <translation>Label Length : (mm)</translation>
    </message>
    <message>
        <source>Sensing Type :</source>
        <translation>Sensing Type :</translation>
    </message>
    <message>
        <source>STEP 2 : Save</source>
        <translation>STEP 2 : Save</translation>
    </message>
    <message>
        <source>Save Calibration</source>
        <translation>Save Calibration</translation>
    </message>
    <message>
        <source>Middle Gap Value :</source>
        <translation>Middle Gap Value :</translation>
    </message>
    <message>
        <source>Gap Count :</source>
        <translation>Gap Count :</translation>
    </message>
</context>
<context>
    <name>qm::SensingHistogram</name>
    <message>
        <source>Sensing value chart</source>
        <translation>Sensing value chart</translation>
    </message>
</context>
<context>
    <name>qm::CalibrationExtraDialog</name>
    <message>
        <source>Calibration Extra</source>
        <translation>Calibration Extra</translation>
    </message>
    <message>
        <source>Detail Level</source>
        <translation>Detail Level</translation>
    </message>
    <message>
        <source>Middle Gap Value :</source>
        <translation>Middle Gap Value :</translation>
    </message>
    <message>
        <source>Gap Count :</source>
        <translation>Gap Count :</translation>
    </message>
    <message>
        <source>Save Calibration</source>
        <translation>Save Calibration</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>qm::ManualCalibrationSettingPage</name>
    <message>
        <source>Gap</source>
        <translation>Gap</translation>
    </message>
    <message>
        <source>Black Mark</source>
        <translation>Black Mark</translation>
    </message>
    <message>
        <source>Media Type :</source>
        <translation>Media Type :</translation>
    </message>
    <message>
        <source>Label Length :</source>
        <translation>Label Length :</translation>
    </message>
    <message>
        <source>No. of detect</source>
        <translation>No. of detect</translation>
    </message>
    <message>
        <source>Detect margin :</source>
        <translation>Detect margin :</translation>
    </message>
    <message>
        <source>Setting 1</source>
        <translation>Setting 1</translation>
    </message>
    <message>
        <source>Setting 2</source>
        <translation>Setting 2</translation>
    </message>
    <message>
        <source>Setting 3</source>
        <translation>Setting 3</translation>
    </message>
    <message>
        <source>Setting 4</source>
        <translation>Setting 4</translation>
    </message>
    <message>
        <source>Setting 5</source>
        <translation>Setting 5</translation>
    </message>
    <message>
        <source>Setting 6</source>
        <translation>Setting 6</translation>
    </message>
    <message>
        <source>Setting 7</source>
        <translation>Setting 7</translation>
    </message>
    <message>
        <source>Setting 8</source>
        <translation>Setting 8</translation>
    </message>
    <message>
        <source>Cancel Calibration</source>
        <translation>Cancel Calibration</translation>
    </message>
    <message>
        <source>Execute Manual Calibration</source>
        <translation>Execute Manual Calibration</translation>
    </message>
</context>
<context>
    <name>qm::StatusCommandPage</name>
    <message>
        <source>Paper Empty</source>
        <translation>Paper Empty</translation>
    </message>
    <message>
        <source>Cover Open</source>
        <translation>Cover Open</translation>
    </message>
    <message>
        <source>Cutter jammed</source>
        <translation>Cutter jammed</translation>
    </message>
    <message>
        <source>Thermal Head overheat</source>
        <translation>Thermal Head overheat</translation>
    </message>
    <message>
        <source>Gap Detection Error</source>
        <translation>Gap Detection Error</translation>
    </message>
    <message>
        <source>Ribbon End Error</source>
        <translation>Ribbon End Error</translation>
    </message>
    <message>
        <source>On Building label</source>
        <translation>On Building label</translation>
    </message>
    <message>
        <source>On Printing label</source>
        <translation>On Printing label</translation>
    </message>
    <message>
        <source>Issued label is pasued</source>
        <translation>Issued label is pasued</translation>
    </message>
    <message>
        <source>Status OK</source>
        <translation>Status OK</translation>
    </message>
    <message>
        <source>Paper Jam</source>
        <translation>Paper Jam</translation>
    </message>
    <message>
        <source>TPH overheat</source>
        <translation>TPH overheat</translation>
    </message>
    <message>
        <source>Not defined</source>
        <translation>Not defined</translation>
    </message>
    <message>
        <source>No Error</source>
        <translation>No Error</translation>
    </message>
    <message>
        <source>Syntax Error</source>
        <translation>Syntax Error</translation>
    </message>
    <message>
        <source>Exceeded Border</source>
        <translation>Exceeded Border</translation>
    </message>
    <message>
        <source>BarCode Error</source>
        <translation>BarCode Error</translation>
    </message>
    <message>
        <source>Insufficant Mem</source>
        <translation>Insufficant Mem</translation>
    </message>
    <message>
        <source>Memory Error</source>
        <translation>Memory Error</translation>
    </message>
    <message>
        <source>RS-232 Error</source>
        <translation>RS-232 Error</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>Duplicate Name</source>
        <translation>Duplicate Name</translation>
    </message>
    <message>
        <source>Name Not Found</source>
        <translation>Name Not Found</translation>
    </message>
    <message>
        <source>Not in Data Entry</source>
        <translation>Not in Data Entry</translation>
    </message>
    <message>
        <source>Print Head Up</source>
        <translation>Print Head Up</translation>
    </message>
    <message>
        <source>Pause Mode</source>
        <translation>Pause Mode</translation>
    </message>
    <message>
        <source>Printer Busy</source>
        <translation>Printer Busy</translation>
    </message>
    <message>
        <source>Undefined</source>
        <translation>Undefined</translation>
    </message>
    <message>
        <source>Cutter Jammed</source>
        <translation>Cutter Jammed</translation>
    </message>
    <message>
        <source>AutoSense</source>
        <translation>AutoSense</translation>
    </message>
    <message>
        <source>Illegal Interrupt</source>
        <translation>Illegal Interrupt</translation>
    </message>
    <message>
        <source>Excessive Feeding</source>
        <translation>Excessive Feeding</translation>
    </message>
    <message>
        <source>Printer Status(Only Seral)</source>
        <translation>Printer Status(Only Seral)</translation>
    </message>
    <message>
        <source>Printer Status</source>
        <translation>Printer Status</translation>
    </message>
    <message>
        <source>^CP Command Test</source>
        <translation>^CP Command Test</translation>
    </message>
    <message>
        <source>^CU Command Test</source>
        <translation>^CU Command Test</translation>
    </message>
    <message>
        <source>^ee Command Test</source>
        <translation>^ee Command Test</translation>
    </message>
    <message>
        <source>CPS Command Test</source>
        <translation>CPS Command Test</translation>
    </message>
    <message>
        <source>The status could not be read.</source>
        <translation>The status could not be read.</translation>
    </message>
</context>
<context>
    <name>qm::CheckPrinterStatusDialog</name>
    <message>
        <source>Check Printer Status</source>
        <translation>Check Printer Status</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qm::DownloadPanel</name>
    <message>
        <source>File path</source>
        <translation>File path</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>File Information</translation>
    </message>
    <message>
        <source>File Name: </source>
        <translation>File Name: </translation>
    </message>
    <message>
        <source>File Size: </source>
        <translation>File Size: </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>0 Byte</source>
        <translation>0 Byte</translation>
    </message>
    <message>
        <source>%1 of %2 bytes</source>
        <translation>%1 of %2 bytes</translation>
    </message>
    <message>
        <source>%1 KiB/s</source>
        <translation>%1 KiB/s</translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation>about %1 s left</translation>
    </message>
</context>
<context>
    <name>qm::FileTransferDialog</name>
    <message>
        <source>File Transfer</source>
        <translation>File Transfer</translation>
    </message>
    <message>
        <source>DownLoad</source>
        <translation>DownLoad</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>CLOSE</translation>
    </message>
</context>
<context>
    <name>qm::PcxFileDownloaderDialog</name>
    <message>
        <source>PCX File Downloader</source>
        <translation>PCX File Downloader</translation>
    </message>
    <message>
        <source>Image name to store</source>
        <translation>Image name to store</translation>
    </message>
    <message>
        <source>DownLoad</source>
        <translation>DownLoad</translation>
    </message>
    <message>
        <source>Image Store (IS)</source>
        <translation>Image Store (IS)</translation>
    </message>
    <message>
        <source>Image Name :</source>
        <translation>Image Name :</translation>
    </message>
    <message>
        <source>Image name to delete</source>
        <translation>Image name to delete</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>Delete Image</translation>
    </message>
    <message>
        <source>Delete All Images</source>
        <translation>Delete All Images</translation>
    </message>
    <message>
        <source>Image Delete (ID)</source>
        <translation>Image Delete (ID)</translation>
    </message>
    <message>
        <source>Image name to recall</source>
        <translation>Image name to recall</translation>
    </message>
    <message>
        <source>X position</source>
        <translation>X position</translation>
    </message>
    <message>
        <source>Y position</source>
        <translation>Y position</translation>
    </message>
    <message>
        <source>Image Recall</source>
        <translation>Image Recall</translation>
    </message>
    <message>
        <source>Image Recall (IR)</source>
        <translation>Image Recall (IR)</translation>
    </message>
    <message>
        <source>X Position :</source>
        <translation>X Position :</translation>
    </message>
    <message>
        <source>Y Position :</source>
        <translation>Y Position :</translation>
    </message>
    <message>
        <source>Image Information</source>
        <translation>Image Information</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>CLOSE</translation>
    </message>
</context>
<context>
    <name>qm::LabelPreviewPane</name>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>Previous label</source>
        <translation>Previous label</translation>
    </message>
    <message>
        <source>Next label</source>
        <translation>Next label</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>No label</source>
        <translation>No label</translation>
    </message>
    <message>
        <source>Label %1 of %2</source>
        <translation>Label %1 of %2</translation>
    </message>
</context>
</TS>
