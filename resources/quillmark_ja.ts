<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>NumberedStrings</name>
    <message>
        <source>Quillmark  (Version 1.4.9)</source>
        <translation>Quillmark  (バージョン 1.4.9)</translation>
    </message>
    <message>
        <source>Interface Type</source>
        <translation>インターフェイスの種類</translation>
    </message>
    <message>
        <source>Can't open file!</source>
        <translation>ファイルを開けません。</translation>
    </message>
    <message>
        <source>Binary file download is completed.</source>
        <translation>バイナリファイルのダウンロードが完了しました。</translation>
    </message>
    <message>
        <source>Please,Select a binary file!</source>
        <translation>バイナリファイルを選択してください。</translation>
    </message>
    <message>
        <source>Port error! Check setting of serial port, please.</source>
        <translation>ポートエラーです。シリアルポートの設定を確認してください。</translation>
    </message>
    <message>
        <source>Port error! Check printer's port, please.</source>
        <translation>ポートエラーです。プリンタのポートを確認してください。</translation>
    </message>
    <message>
        <source>PCX file download is completed.</source>
        <translation>PCXファイルのダウンロードが完了しました。</translation>
    </message>
    <message>
        <source>Please, Select PCX files!</source>
        <translation>PCXファイルを選択してください。</translation>
    </message>
    <message>
        <source>Please, type image name!</source>
        <translation>画像名を入力してください。</translation>
    </message>
    <message>
        <source>Error : Failed to Create socket!</source>
        <translation>エラー：ソケットを作成できませんでした。</translation>
    </message>
    <message>
        <source>Error : Failed to connect. Please, 
check IP port configuration in printer control pannel</source>
        <translation>エラー：接続できませんでした。
プリンタの操作パネルでIPポートの設定を確認してください。</translation>
    </message>
    <message>
        <source>Cannot open port! Please check printer and cable.</source>
        <translation>ポートを開けません。プリンタとケーブルを確認してください。</translation>
    </message>
    <message>
        <source>Success open port.</source>
        <translation>ポートを開きました。</translation>
    </message>
    <message>
        <source>Sorry, parallel port don't support in Windows 98, 98SE, ME.</source>
        <translation>申し訳ありません。Windows 98、98SE、MEではパラレルポートを使用できません。</translation>
    </message>
    <message>
        <source>Calibration is not supported on Ethernet connection.</source>
        <translation>イーサネット接続ではキャリブレーションできません。</translation>
    </message>
</context>
<context>
    <name>qm::MainDialog</name>
    <message>
        <source>Interface Type</source>
        <translation>インターフェイス</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>シリアル</translation>
    </message>
    <message>
        <source>Parallel</source>
        <translation>パラレル</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>イーサネット</translation>
    </message>
    <message>
        <source>LPT Port</source>
        <translation>LPTポート</translation>
    </message>
    <message>
        <source>Comm Setting</source>
        <translation>通信設定</translation>
    </message>
    <message>
        <source>COM Port</source>
        <translation>COMポート</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>ボーレート</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>データビット</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>パリティ</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>ストップビット</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IPアドレス</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>ポート番号</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>User Setting</source>
        <translation>ユーザー設定</translation>
    </message>
    <message>
        <source>User Setting Manager</source>
        <translation>ユーザー設定マネージャ</translation>
    </message>
    <message>
        <source>Calibration Setting Manager</source>
        <translation>キャリブレーション設定マネージャ</translation>
    </message>
    <message>
        <source>Downloader</source>
        <translation>ダウンローダー</translation>
    </message>
    <message>
        <source>PCX File Downloader</source>
        <translation>PCX ファイルダウンローダー</translation>
    </message>
    <message>
        <source>File Transfer</source>
        <translation>ファイル転送</translation>
    </message>
    <message>
        <source>File Transfer Manager</source>
        <translation>ファイル転送マネージャ</translation>
    </message>
    <message>
        <source>RFID</source>
        <translation>RFID</translation>
    </message>
    <message>
        <source>Set Configuration</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Write/Read</source>
        <translation>書き込み/読み取り</translation>
    </message>
    <message>
        <source>QDRL Tester</source>
        <translation>QDRLテスタ</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>まだ使用できません</translation>
    </message>
    <message>
        <source>Connected: %1</source>
        <translation>接続済み: %1</translation>
    </message>
</context>
<context>
    <name>qm::QdrlTesterDialog</name>
    <message>
        <source>Loading the script: %1%</source>
        <translation>スクリプトを読み込んでいます: %1%</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>QDRL Tester</source>
        <translation>QDRLテスタ</translation>
    </message>
    <message>
        <source>Printing Setting</source>
        <translation>印刷設定</translation>
    </message>
    <message>
        <source>Speed &amp;&amp; Density &amp;&amp; Direction</source>
        <translation>速度 &amp;&amp; 濃度 &amp;&amp; 方向</translation>
    </message>
    <message>
        <source>Paper Setting</source>
        <translation>用紙設定</translation>
    </message>
    <message>
        <source>Margin &amp;&amp; Width &amp;&amp; Length</source>
        <translation>余白 &amp;&amp; 幅 &amp;&amp; 長さ</translation>
    </message>
    <message>
        <source>Printer Status</source>
        <translation>プリンタステータス</translation>
    </message>
    <message>
        <source>Check Printer Status</source>
        <translation>プリンタステータス確認</translation>
    </message>
    <message>
        <source>Printing Module</source>
        <translation>印字モジュール</translation>
    </message>
    <message>
        <source>Line &amp;&amp; Box</source>
        <translation>罫線 &amp;&amp; 枠</translation>
    </message>
    <message>
        <source>1D Barcode</source>
        <translation>1次元バーコード</translation>
    </message>
    <message>
        <source>2D Barcode</source>
        <translation>2次元バーコード</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>印刷枚数</translation>
    </message>
    <message>
        <source>Bitmap Text</source>
        <translation>ビットマップ文字</translation>
    </message>
    <message>
        <source>Vector Text</source>
        <translation>ベクトル文字</translation>
    </message>
    <message>
        <source>Character Set</source>
        <translation>文字セット</translation>
    </message>
    <message>
        <source>2Byte Code</source>
        <translation>2バイトコード</translation>
    </message>
    <message>
        <source>Print Codes</source>
        <translation>コード表印刷</translation>
    </message>
    <message>
        <source>RFID Write and Read</source>
        <translation>RFID書き込み・読み取り</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>読み取り</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>セキュリティ</translation>
    </message>
    <message>
        <source>Kill</source>
        <translation>キル</translation>
    </message>
    <message>
        <source>QDRL Command</source>
        <translation>QDRLコマンド</translation>
    </message>
    <message>
        <source>QDRL Command Edit</source>
        <translation>QDRLコマンド編集</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>切り取り</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼り付け</translation>
    </message>
    <message>
        <source>Clean</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Multi Send</source>
        <translation>連続送信</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>読み込み</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Send count</source>
        <translation>送信回数</translation>
    </message>
    <message>
        <source>Not available yet</source>
        <translation>まだ使用できません</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>バイト</translation>
    </message>
</context>
<context>
    <name>qm::PrintingCopiesDialog</name>
    <message>
        <source>Printing Copies</source>
        <translation>印刷枚数</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>first number</source>
        <translation>1番目の数値</translation>
    </message>
    <message>
        <source>second number</source>
        <translation>2番目の数値</translation>
    </message>
</context>
<context>
    <name>qm::IpAddressEdit</name>
    <message>
        <source>IP address field %1</source>
        <translation>IPアドレス欄 %1</translation>
    </message>
</context>
<context>
    <name>qm::UserSettingManagerDialog</name>
    <message>
        <source>User Setting Manager</source>
        <translation>ユーザー設定マネージャ</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Export Settings…</source>
        <translation>設定のエクスポート…</translation>
    </message>
    <message>
        <source>Import Settings…</source>
        <translation>設定のインポート…</translation>
    </message>
    <message>
        <source>Reading the printer&apos;s settings...</source>
        <translation>プリンタの設定を読み込んでいます...</translation>
    </message>
    <message>
        <source>Comparing the printer&apos;s settings with the file...</source>
        <translation>プリンタの設定とファイルを比較しています...</translation>
    </message>
</context>
<context>
    <name>qm::ImportSettingsDialog</name>
    <message>
        <source>Import Settings</source>
        <translation>設定のインポート</translation>
    </message>
    <message>
        <source>These settings of the file differ from the printer&apos;s. Apply writes the ticked ones; the hardware version, serial number and printer ID only when you tick them.</source>
        <translation>次の設定はファイルとプリンタで異なります。[適用] はチェックした設定を書き込みます。ハードウェアバージョン、シリアル番号、プリンタ ID はチェックした場合だけ書き込みます。</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>プリンタ</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Not read from the printer, so not compared: %1</source>
        <translation>プリンタから読み込めなかったため比較していません: %1</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>not written</source>
        <translation>書き込みなし</translation>
    </message>
    <message>
        <source>changed %1 → %2</source>
        <translation>変更 %1 → %2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>変更なし</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>失敗: %1</translation>
    </message>
    <message>
        <source>%1 changed, %2 unchanged, %3 failed</source>
        <translation>変更 %1 件、変更なし %2 件、失敗 %3 件</translation>
    </message>
</context>
<context>
    <name>qm::SerialCommunicationSettingPage</name>
    <message>
        <source>Hand Shake :</source>
        <translation>ハンドシェイク :</translation>
    </message>
    <message>
        <source>Stop Bit :</source>
        <translation>ストップビット :</translation>
    </message>
    <message>
        <source>Data Length :</source>
        <translation>データ長 :</translation>
    </message>
    <message>
        <source>Parity Check :</source>
        <translation>パリティチェック :</translation>
    </message>
    <message>
        <source>Parity Selection :</source>
        <translation>パリティ選択 :</translation>
    </message>
    <message>
        <source>Baudrate :</source>
        <translation>ボーレート :</translation>
    </message>
    <message>
        <source>Serial Communication Setting</source>
        <translation>シリアル通信設定</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Default Setting</source>
        <translation>初期値に戻す</translation>
    </message>
</context>
<context>
    <name>qm::DefaultCodePageIcsSettingPage</name>
    <message>
        <source>Default CodePage &amp;&amp; ICS Setting</source>
        <translation>デフォルトコードページ &amp;&amp; ICS 設定</translation>
    </message>
    <message>
        <source>Default CodePage  :</source>
        <translation>デフォルトコードページ :</translation>
    </message>
    <message>
        <source>Default International Character Set(ICS) :</source>
        <translation>デフォルト国際文字セット(ICS) :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
</context>
<context>
    <name>qm::PrinterPageSettingPage</name>
    <message>
        <source>Paper Width:</source>
        <translation>用紙幅:</translation>
    </message>
    <message>
        <source>Paper Length:</source>
        <translation>用紙長:</translation>
    </message>
    <message>
        <source>Gap Length:</source>
        <translation>ギャップ長:</translation>
    </message>
    <message>
        <source>Paper Horizontal Margin:</source>
        <translation>水平マージン:</translation>
    </message>
    <message>
        <source>Paper Vertical Margin:</source>
        <translation>垂直マージン:</translation>
    </message>
    <message>
        <source>Print Density:</source>
        <translation>印字濃度:</translation>
    </message>
    <message>
        <source>Print Strobe:</source>
        <translation>印字ストローブ:</translation>
    </message>
    <message>
        <source>Print Speed:</source>
        <translation>印字速度:</translation>
    </message>
    <message>
        <source>Print Offset:</source>
        <translation>印字オフセット:</translation>
    </message>
    <message>
        <source>Tear-off/Cutting:</source>
        <translation>ティアオフ/カット位置:</translation>
    </message>
    <message>
        <source>Gap Detect Position: </source>
        <translation>ギャップ検出位置: </translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>無効</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>有効</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Check Label Length :</source>
        <translation>ラベル長チェック :</translation>
    </message>
    <message>
        <source>Initialize</source>
        <translation>初期化</translation>
    </message>
    <message>
        <source>Initialize all user setting data :</source>
        <translation>すべてのユーザー設定データを初期化 :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
</context>
<context>
    <name>qm::HardwareInfoPage</name>
    <message>
        <source>Hardware Version</source>
        <translation>ハードウェアバージョン</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>バージョン:</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>シリアル番号</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>番号:</translation>
    </message>
    <message>
        <source>User Defined Printer ID</source>
        <translation>ユーザー定義プリンタID</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Initialize</source>
        <translation>初期化</translation>
    </message>
</context>
<context>
    <name>qm::PrinterInformationPage</name>
    <message>
        <source>Printer Information</source>
        <translation>プリンタ情報</translation>
    </message>
    <message>
        <source>Model Name :</source>
        <translation>モデル名 :</translation>
    </message>
    <message>
        <source>Model Type :</source>
        <translation>モデルタイプ :</translation>
    </message>
    <message>
        <source>Firmware Version :</source>
        <translation>ファームウェアバージョン :</translation>
    </message>
    <message>
        <source>TPH Temperature :</source>
        <translation>ヘッド温度 :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
</context>
<context>
    <name>GuiMessages</name>
    <message>
        <source>Cannot export the settings: the printer answered none of them.</source>
        <translation>設定をエクスポートできません: プリンタがどの設定にも応答しませんでした。</translation>
    </message>
    <message>
        <source>Cannot save the settings: %1</source>
        <translation>設定を保存できません: %1</translation>
    </message>
    <message>
        <source>Export Settings is successful.</source>
        <translation>設定のエクスポートに成功しました。</translation>
    </message>
    <message>
        <source>Cannot import the settings: the file cannot be read.</source>
        <translation>設定をインポートできません: ファイルを読み込めません。</translation>
    </message>
    <message>
        <source>Cannot import the settings: the file is too large for a profile.</source>
        <translation>設定をインポートできません: 設定プロファイルとしては大きすぎるファイルです。</translation>
    </message>
    <message>
        <source>Cannot import the settings: %1</source>
        <translation>設定をインポートできません: %1</translation>
    </message>
    <message>
        <source>The printer already has every setting of the file.</source>
        <translation>プリンタの設定はすべてファイルと同じです。</translation>
    </message>
    <message>
        <source>Cannot import the settings: the printer answered none of them.</source>
        <translation>設定をインポートできません: プリンタがどの設定にも応答しませんでした。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds characters the printer&apos;s code page has no byte for: %2. Change or remove them first.</source>
        <translation>「%1」に、プリンタのコードページにない文字があります: %2。変更するか削除してください。</translation>
    </message>
    <message>
        <source>Parity must be None, Odd or Even.</source>
        <translation>パリティは None、Odd、Even のいずれかにしてください。</translation>
    </message>
    <message>
        <source>Port must be a number from 1 to 65535.</source>
        <translation>ポートには 1 から 65535 までの数値を指定してください。</translation>
    </message>
    <message>
        <source>Choose an entry in every list first.</source>
        <translation>先にすべてのリストで項目を選択してください。</translation>
    </message>
    <message>
        <source>X Pos must be a number from 0 to 999.</source>
        <translation>X位置には 0 から 999 までの数値を指定してください。</translation>
    </message>
    <message>
        <source>Y Pos must be a number from 0 to 999.</source>
        <translation>Y位置には 0 から 999 までの数値を指定してください。</translation>
    </message>
</context>
<context>
    <name>qm::ConvertUnitDialog</name>
    <message>
        <source>Convert Unit</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>inch to mm</source>
        <translation>インチ → mm</translation>
    </message>
    <message>
        <source>inch to dots</source>
        <translation>インチ → ドット</translation>
    </message>
    <message>
        <source>dots to inch</source>
        <translation>ドット → インチ</translation>
    </message>
    <message>
        <source>dots to mm</source>
        <translation>ドット → mm</translation>
    </message>
    <message>
        <source>mm to inch</source>
        <translation>mm → インチ</translation>
    </message>
    <message>
        <source>mm to dots</source>
        <translation>mm → ドット</translation>
    </message>
    <message>
        <source>Value to convert</source>
        <translation>変換する値</translation>
    </message>
    <message>
        <source>Converted value</source>
        <translation>変換結果</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::Barcode1DCommandDialog</name>
    <message>
        <source>1D Barcode Command</source>
        <translation>1次元バーコードコマンド</translation>
    </message>
    <message>
        <source>X pos</source>
        <translation>X 位置</translation>
    </message>
    <message>
        <source>Y pos</source>
        <translation>Y 位置</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>バーコード</translation>
    </message>
    <message>
        <source>N-Bar W</source>
        <translation>細バー幅</translation>
    </message>
    <message>
        <source>W-Bar W</source>
        <translation>太バー幅</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高さ</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>回転</translation>
    </message>
    <message>
        <source>HRI</source>
        <translation>HRI</translation>
    </message>
    <message>
        <source>Q-Zone</source>
        <translation>クワイエットゾーン</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>データ</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::Barcode2DCommandDialog</name>
    <message>
        <source>2D Barcode Command</source>
        <translation>2次元バーコードコマンド</translation>
    </message>
    <message>
        <source>Start X</source>
        <translation>開始 X</translation>
    </message>
    <message>
        <source>Start Y</source>
        <translation>開始 Y</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Max Row</source>
        <translation>最大行数</translation>
    </message>
    <message>
        <source>Max Col</source>
        <translation>最大列数</translation>
    </message>
    <message>
        <source>Compress</source>
        <translation>圧縮</translation>
    </message>
    <message>
        <source>HRI</source>
        <translation>HRI</translation>
    </message>
    <message>
        <source>Origin</source>
        <translation>原点</translation>
    </message>
    <message>
        <source>Module W</source>
        <translation>モジュール幅</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>回転</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>データ</translation>
    </message>
    <message>
        <source>2D Barcode Type :</source>
        <translation>2次元バーコードの種類 :</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::BlockDrawCommandDialog</name>
    <message>
        <source>Block Draw Command</source>
        <translation>ブロック描画コマンド</translation>
    </message>
    <message>
        <source>Start X</source>
        <translation>開始 X</translation>
    </message>
    <message>
        <source>Start Y</source>
        <translation>開始 Y</translation>
    </message>
    <message>
        <source>End X</source>
        <translation>終了 X</translation>
    </message>
    <message>
        <source>End Y</source>
        <translation>終了 Y</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>オプション</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::LabelSettingDialog</name>
    <message>
        <source>Label Setting</source>
        <translation>ラベル設定</translation>
    </message>
    <message>
        <source>Unit Setting</source>
        <translation>単位設定</translation>
    </message>
    <message>
        <source>inch</source>
        <translation>インチ</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>dots</source>
        <translation>ドット</translation>
    </message>
    <message>
        <source>Media Type</source>
        <translation>用紙の種類</translation>
    </message>
    <message>
        <source>Gap</source>
        <translation>ギャップ</translation>
    </message>
    <message>
        <source>Continuous</source>
        <translation>連続紙</translation>
    </message>
    <message>
        <source>BlackMark</source>
        <translation>ブラックマーク</translation>
    </message>
    <message>
        <source>Width  :</source>
        <translation>幅  :</translation>
    </message>
    <message>
        <source>Length :</source>
        <translation>長さ :</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Width &amp;&amp; Length</source>
        <translation>幅 &amp;&amp; 長さ</translation>
    </message>
    <message>
        <source>Margin</source>
        <translation>余白</translation>
    </message>
    <message>
        <source>X Margin :</source>
        <translation>X 余白 :</translation>
    </message>
    <message>
        <source>Y Margin :</source>
        <translation>Y 余白 :</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::LabelSketch</name>
    <message>
        <source>Label picture</source>
        <translation>ラベルの図</translation>
    </message>
</context>
<context>
    <name>qm::PrintingSettingDialog</name>
    <message>
        <source>Printing Setting</source>
        <translation>印刷設定</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>Density</source>
        <translation>濃度</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::BitmapTextCommandDialog</name>
    <message>
        <source>Bitmap Text Command</source>
        <translation>ビットマップ文字コマンド</translation>
    </message>
    <message>
        <source>Text data</source>
        <translation>文字データ</translation>
    </message>
    <message>
        <source>Find Font</source>
        <translation>フォント検索</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X位置</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y位置</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>H Multi</source>
        <translation>横倍率</translation>
    </message>
    <message>
        <source>V Multi</source>
        <translation>縦倍率</translation>
    </message>
    <message>
        <source>Space_R</source>
        <translation>文字間隔</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>回転</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>反転</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>太字</translation>
    </message>
</context>
<context>
    <name>qm::VectorTextCommandDialog</name>
    <message>
        <source>Vector Text Command</source>
        <translation>ベクトル文字コマンド</translation>
    </message>
    <message>
        <source>Text data</source>
        <translation>文字データ</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>単位変換</translation>
    </message>
    <message>
        <source>Test Print</source>
        <translation>テスト印刷</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X位置</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y位置</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高さ</translation>
    </message>
    <message>
        <source>Font Space</source>
        <translation>文字間隔</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>太字</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>反転</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>回転</translation>
    </message>
    <message>
        <source>Justification</source>
        <translation>揃え</translation>
    </message>
    <message>
        <source>Text Direction</source>
        <translation>文字方向</translation>
    </message>
</context>
<context>
    <name>qm::CharacterSetCommandDialog</name>
    <message>
        <source>Character Set Command</source>
        <translation>文字セットコマンド</translation>
    </message>
    <message>
        <source>Bitmap Font</source>
        <translation>ビットマップフォント</translation>
    </message>
    <message>
        <source>Vector Font</source>
        <translation>ベクトルフォント</translation>
    </message>
    <message>
        <source>Under 80H</source>
        <translation>80H未満</translation>
    </message>
    <message>
        <source>International</source>
        <translation>国際文字</translation>
    </message>
    <message>
        <source>Over 80H</source>
        <translation>80H以上</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Code Table :</source>
        <translation>コード表 :</translation>
    </message>
    <message>
        <source>X Pos</source>
        <translation>X位置</translation>
    </message>
    <message>
        <source>Y Pos</source>
        <translation>Y位置</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>International character sets</source>
        <translation>国際文字セット</translation>
    </message>
    <message>
        <source>writes</source>
        <translation>件</translation>
    </message>
    <message>
        <source>All %1 international character sets sent.</source>
        <translation>国際文字セット %1 件をすべて送信しました。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 character sets; no label was printed.</source>
        <translation>%2 件中 %1 件の文字セットを送信して中止しました。ラベルは印刷されていません。</translation>
    </message>
    <message>
        <source>International
Character Set</source>
        <translation>国際
文字セット</translation>
    </message>
</context>
<context>
    <name>qm::FontFinderDialog</name>
    <message>
        <source>Font Finder</source>
        <translation>フォント検索</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Print for comparsion</source>
        <translation>比較印刷</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>文字サイズ</translation>
    </message>
    <message>
        <source>Width  :</source>
        <translation>幅 :</translation>
    </message>
    <message>
        <source>Height :</source>
        <translation>高さ :</translation>
    </message>
    <message>
        <source>Font :</source>
        <translation>フォント :</translation>
    </message>
    <message>
        <source>X Multi :</source>
        <translation>X倍率 :</translation>
    </message>
    <message>
        <source>Y Multi :</source>
        <translation>Y倍率 :</translation>
    </message>
    <message>
        <source>Most Similar</source>
        <translation>最も近い</translation>
    </message>
    <message>
        <source>Similar &amp;&amp; Round</source>
        <translation>近似 &amp;&amp; 丸め</translation>
    </message>
</context>
<context>
    <name>qm::TwoByteCodepageDialog</name>
    <message>
        <source>2 Byte Codepage</source>
        <translation>2バイトコードページ</translation>
    </message>
    <message>
        <source>Print all block character code</source>
        <translation>全ブロックの文字コードを印刷</translation>
    </message>
    <message>
        <source>Bitmap Font</source>
        <translation>ビットマップフォント</translation>
    </message>
    <message>
        <source>Vector Font</source>
        <translation>ベクトルフォント</translation>
    </message>
    <message>
        <source>Print Characters</source>
        <translation>文字印刷</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Code Table :</source>
        <translation>コード表 :</translation>
    </message>
    <message>
        <source>Start Block :</source>
        <translation>開始ブロック :</translation>
    </message>
    <message>
        <source>End Block :</source>
        <translation>終了ブロック :</translation>
    </message>
    <message>
        <source>Block Area :</source>
        <translation>ブロック範囲 :</translation>
    </message>
    <message>
        <source>Bitmap Font Name: </source>
        <translation>ビットマップフォント名: </translation>
    </message>
    <message>
        <source>Vector Font Width :</source>
        <translation>ベクトルフォント幅 :</translation>
    </message>
    <message>
        <source>Vector Font Height :</source>
        <translation>ベクトルフォント高さ :</translation>
    </message>
    <message>
        <source>Font Type</source>
        <translation>フォントの種類</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Character Block</source>
        <translation>文字ブロック</translation>
    </message>
    <message>
        <source>Printing blocks</source>
        <translation>ブロック印刷中</translation>
    </message>
    <message>
        <source>labels</source>
        <translation>枚</translation>
    </message>
    <message>
        <source>1 label sent.</source>
        <translation>1 枚のラベルを送信しました。</translation>
    </message>
    <message>
        <source>%1 of %2 labels sent; %3 failed</source>
        <translation>%2 枚中 %1 枚を送信、%3 枚は失敗</translation>
    </message>
    <message>
        <source>%1 of 1 label sent; %2 failed</source>
        <translation>1 枚中 %1 枚を送信、%2 枚は失敗</translation>
    </message>
    <message>
        <source>Cancelled after %1 of 1 label.</source>
        <translation>1 枚中 %1 枚を送信して中止しました。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 labels; %3 failed.</source>
        <translation>%2 枚中 %1 枚を送信して中止しました（%3 枚は失敗）。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of 1 label; %2 failed.</source>
        <translation>1 枚中 %1 枚を送信して中止しました（%2 枚は失敗）。</translation>
    </message>
    <message>
        <source>All %1 labels sent.</source>
        <translation>%1 枚のラベルをすべて送信しました。</translation>
    </message>
    <message>
        <source>Cancelled after %1 of %2 labels.</source>
        <translation>%2 枚中 %1 枚を送信して中止しました。</translation>
    </message>
</context>
<context>
    <name>LongWork</name>
    <message>
        <source>Waiting for the printer...</source>
        <translation>プリンターの応答を待っています...</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%2 %3中 %1 %3</translation>
    </message>
    <message>
        <source>%1 %2 per second, about %3 s left</source>
        <translation>毎秒 %1 %2、残り約 %3 秒</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>中止しています...</translation>
    </message>
</context>
<context>
    <name>qm::LockPayloadBox</name>
    <message>
        <source>Kill
Pass</source>
        <translation>キル
パスワード</translation>
    </message>
    <message>
        <source>Acess
Pass</source>
        <translation>アクセス
パスワード</translation>
    </message>
    <message>
        <source>EPC
Memory</source>
        <translation>EPC
メモリ</translation>
    </message>
    <message>
        <source>TID
Memory</source>
        <translation>TID
メモリ</translation>
    </message>
    <message>
        <source>User
Memory</source>
        <translation>ユーザー
メモリ</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>マスク</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>動作</translation>
    </message>
    <message>
        <source>right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>Mask %1 %2</source>
        <translation>マスク %1 %2</translation>
    </message>
    <message>
        <source>Action %1 %2</source>
        <translation>動作 %1 %2</translation>
    </message>
</context>
<context>
    <name>qm::RfidConfigurationDialog</name>
    <message>
        <source>RFID Cofiguration</source>
        <translation>RFID設定</translation>
    </message>
    <message>
        <source>RFID Setting</source>
        <translation>RFID設定値</translation>
    </message>
    <message>
        <source>Tag Type :</source>
        <translation>タグの種類 :</translation>
    </message>
    <message>
        <source>Writing Power :</source>
        <translation>書き込み出力 :</translation>
    </message>
    <message>
        <source>Transponder Position :</source>
        <translation>トランスポンダ位置 :</translation>
    </message>
    <message>
        <source>Number of retry :</source>
        <translation>リトライ回数 :</translation>
    </message>
    <message>
        <source>Number of Label :</source>
        <translation>ラベル枚数 :</translation>
    </message>
    <message>
        <source>RFID Counter</source>
        <translation>RFIDカウンタ</translation>
    </message>
    <message>
        <source>RFID Valid :</source>
        <translation>RFID有効 :</translation>
    </message>
    <message>
        <source>RFID Void :</source>
        <translation>RFID無効 :</translation>
    </message>
    <message>
        <source>Get</source>
        <translation>取得</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>リセット</translation>
    </message>
    <message>
        <source>Auto Calibration</source>
        <translation>自動キャリブレーション</translation>
    </message>
    <message>
        <source>Default Setting</source>
        <translation>初期設定</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidKillDialog</name>
    <message>
        <source>RFID Kill</source>
        <translation>RFIDキル</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidPasswordDialog</name>
    <message>
        <source>RFID Password</source>
        <translation>RFIDパスワード</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>アクセス</translation>
    </message>
    <message>
        <source>Kill</source>
        <translation>キル</translation>
    </message>
    <message>
        <source>* The value must be hexadecimal.</source>
        <translation>* 値は16進数で入力してください。</translation>
    </message>
    <message>
        <source>(ex: 9C.4D.E1.37)</source>
        <translation>(例: 9C.4D.E1.37)</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidReadCommandDialog</name>
    <message>
        <source>RFID Read</source>
        <translation>RFID読み取り</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>データ形式</translation>
    </message>
    <message>
        <source>Start Block Number</source>
        <translation>開始ブロック番号</translation>
    </message>
    <message>
        <source>Number of Byte</source>
        <translation>バイト数</translation>
    </message>
    <message>
        <source>Output Type</source>
        <translation>出力形式</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidReadDialog</name>
    <message>
        <source>RFID Read</source>
        <translation>RFID読み取り</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>ラベル</translation>
    </message>
    <message>
        <source>Metal</source>
        <translation>メタル</translation>
    </message>
    <message>
        <source>EPC Data :</source>
        <translation>EPCデータ :</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>ユーザーデータ</translation>
    </message>
    <message>
        <source>Start Block Number :</source>
        <translation>開始ブロック番号 :</translation>
    </message>
    <message>
        <source>Nuber of bytes :</source>
        <translation>バイト数 :</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>読み取り</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidSecurityDialog</name>
    <message>
        <source>RFID Security</source>
        <translation>RFIDセキュリティ</translation>
    </message>
    <message>
        <source>Lock-Command Pay Load</source>
        <translation>ロックコマンドのペイロード</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>ペイロードでアンロック</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>ロック</translation>
    </message>
    <message>
        <source>UnLock</source>
        <translation>アンロック</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidWriteCommandDialog</name>
    <message>
        <source>RFID Write</source>
        <translation>RFID書き込み</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>データ形式</translation>
    </message>
    <message>
        <source>Start Block Number</source>
        <translation>開始ブロック番号</translation>
    </message>
    <message>
        <source>Number of Byte</source>
        <translation>バイト数</translation>
    </message>
    <message>
        <source>Set Data</source>
        <translation>データ設定</translation>
    </message>
    <message>
        <source>Reset Data</source>
        <translation>データリセット</translation>
    </message>
    <message>
        <source>Insert to label</source>
        <translation>ラベルに挿入</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::RfidWriteDialog</name>
    <message>
        <source>RFID Write</source>
        <translation>RFID書き込み</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>Acess :</source>
        <translation>アクセス :</translation>
    </message>
    <message>
        <source>Kill :</source>
        <translation>キル :</translation>
    </message>
    <message>
        <source>* The value must be hexadecimal.</source>
        <translation>* 値は16進数で入力してください。</translation>
    </message>
    <message>
        <source>(ex: 9C.4D.E1.37)</source>
        <translation>(例: 9C.4D.E1.37)</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>ラベル</translation>
    </message>
    <message>
        <source>Metal</source>
        <translation>メタル</translation>
    </message>
    <message>
        <source>EPC Data :</source>
        <translation>EPCデータ :</translation>
    </message>
    <message>
        <source>User Data</source>
        <translation>ユーザーデータ</translation>
    </message>
    <message>
        <source>Set Data</source>
        <translation>データ設定</translation>
    </message>
    <message>
        <source>Reset Data</source>
        <translation>データリセット</translation>
    </message>
    <message>
        <source>Start Block Number :</source>
        <translation>開始ブロック番号 :</translation>
    </message>
    <message>
        <source>Nuber of bytes :</source>
        <translation>バイト数 :</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>データ</translation>
    </message>
    <message>
        <source>Lock-Command</source>
        <translation>ロックコマンド</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>アンロック</translation>
    </message>
    <message>
        <source>Lock-Command Payload</source>
        <translation>ロックコマンドのペイロード</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>コマンド</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Popup RFID Read Dialog</source>
        <translation>RFID読み取りダイアログを開く</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::TagCellGrid</name>
    <message>
        <source>Data %1</source>
        <translation>データ %1</translation>
    </message>
</context>
<context>
    <name>qm::CalibrationSettingManagerDialog</name>
    <message>
        <source>Manual Calibration</source>
        <translation>手動キャリブレーション</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::SensingValueDistributionPage</name>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Cancel Calibration</source>
        <translation>キャリブレーション取消</translation>
    </message>
    <message>
        <source>Sensing Value Distribution</source>
        <translation>センシング値分布</translation>
    </message>
    <message>
        <source>STEP 1 : Start</source>
        <translation>STEP 1 : 開始</translation>
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
        <translation>センシング値チェック</translation>
    </message>
    <message>
        <source>Label Length : (mm)</source>
        <translation>ラベル長 : (mm)</translation>
    </message>
    <message>
        <source>Sensing Type :</source>
        <translation>センシングタイプ :</translation>
    </message>
    <message>
        <source>STEP 2 : Save</source>
        <translation>STEP 2 : 保存</translation>
    </message>
    <message>
        <source>Save Calibration</source>
        <translation>キャリブレーション保存</translation>
    </message>
    <message>
        <source>Middle Gap Value :</source>
        <translation>中間ギャップ値 :</translation>
    </message>
    <message>
        <source>Gap Count :</source>
        <translation>ギャップ数 :</translation>
    </message>
</context>
<context>
    <name>qm::SensingHistogram</name>
    <message>
        <source>Sensing value chart</source>
        <translation>センシング値グラフ</translation>
    </message>
</context>
<context>
    <name>qm::CalibrationExtraDialog</name>
    <message>
        <source>Calibration Extra</source>
        <translation>キャリブレーション詳細</translation>
    </message>
    <message>
        <source>Detail Level</source>
        <translation>詳細レベル</translation>
    </message>
    <message>
        <source>Middle Gap Value :</source>
        <translation>中間ギャップ値 :</translation>
    </message>
    <message>
        <source>Gap Count :</source>
        <translation>ギャップ数 :</translation>
    </message>
    <message>
        <source>Save Calibration</source>
        <translation>キャリブレーション保存</translation>
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
        <translation>ギャップ</translation>
    </message>
    <message>
        <source>Black Mark</source>
        <translation>ブラックマーク</translation>
    </message>
    <message>
        <source>Media Type :</source>
        <translation>メディアタイプ :</translation>
    </message>
    <message>
        <source>Label Length :</source>
        <translation>ラベル長 :</translation>
    </message>
    <message>
        <source>No. of detect</source>
        <translation>検出回数</translation>
    </message>
    <message>
        <source>Detect margin :</source>
        <translation>検出マージン :</translation>
    </message>
    <message>
        <source>Setting 1</source>
        <translation>設定 1</translation>
    </message>
    <message>
        <source>Setting 2</source>
        <translation>設定 2</translation>
    </message>
    <message>
        <source>Setting 3</source>
        <translation>設定 3</translation>
    </message>
    <message>
        <source>Setting 4</source>
        <translation>設定 4</translation>
    </message>
    <message>
        <source>Setting 5</source>
        <translation>設定 5</translation>
    </message>
    <message>
        <source>Setting 6</source>
        <translation>設定 6</translation>
    </message>
    <message>
        <source>Setting 7</source>
        <translation>設定 7</translation>
    </message>
    <message>
        <source>Setting 8</source>
        <translation>設定 8</translation>
    </message>
    <message>
        <source>Cancel Calibration</source>
        <translation>キャリブレーション取消</translation>
    </message>
    <message>
        <source>Execute Manual Calibration</source>
        <translation>手動キャリブレーション実行</translation>
    </message>
</context>
<context>
    <name>qm::StatusCommandPage</name>
    <message>
        <source>Paper Empty</source>
        <translation>用紙切れ</translation>
    </message>
    <message>
        <source>Cover Open</source>
        <translation>カバーオープン</translation>
    </message>
    <message>
        <source>Cutter jammed</source>
        <translation>カッタージャム</translation>
    </message>
    <message>
        <source>Thermal Head overheat</source>
        <translation>サーマルヘッド過熱</translation>
    </message>
    <message>
        <source>Gap Detection Error</source>
        <translation>ギャップ検出エラー</translation>
    </message>
    <message>
        <source>Ribbon End Error</source>
        <translation>リボンエンドエラー</translation>
    </message>
    <message>
        <source>On Building label</source>
        <translation>ラベル作成中</translation>
    </message>
    <message>
        <source>On Printing label</source>
        <translation>ラベル印刷中</translation>
    </message>
    <message>
        <source>Issued label is pasued</source>
        <translation>発行ラベル一時停止中</translation>
    </message>
    <message>
        <source>Status OK</source>
        <translation>ステータスOK</translation>
    </message>
    <message>
        <source>Paper Jam</source>
        <translation>用紙ジャム</translation>
    </message>
    <message>
        <source>TPH overheat</source>
        <translation>TPH過熱</translation>
    </message>
    <message>
        <source>Not defined</source>
        <translation>未定義</translation>
    </message>
    <message>
        <source>No Error</source>
        <translation>エラーなし</translation>
    </message>
    <message>
        <source>Syntax Error</source>
        <translation>構文エラー</translation>
    </message>
    <message>
        <source>Exceeded Border</source>
        <translation>印字範囲超過</translation>
    </message>
    <message>
        <source>BarCode Error</source>
        <translation>バーコードエラー</translation>
    </message>
    <message>
        <source>Insufficant Mem</source>
        <translation>メモリ不足</translation>
    </message>
    <message>
        <source>Memory Error</source>
        <translation>メモリエラー</translation>
    </message>
    <message>
        <source>RS-232 Error</source>
        <translation>RS-232エラー</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>用紙なし</translation>
    </message>
    <message>
        <source>Duplicate Name</source>
        <translation>名前重複</translation>
    </message>
    <message>
        <source>Name Not Found</source>
        <translation>名前なし</translation>
    </message>
    <message>
        <source>Not in Data Entry</source>
        <translation>データ入力外</translation>
    </message>
    <message>
        <source>Print Head Up</source>
        <translation>プリントヘッドアップ</translation>
    </message>
    <message>
        <source>Pause Mode</source>
        <translation>ポーズモード</translation>
    </message>
    <message>
        <source>Printer Busy</source>
        <translation>プリンタビジー</translation>
    </message>
    <message>
        <source>Undefined</source>
        <translation>未定義エラー</translation>
    </message>
    <message>
        <source>Cutter Jammed</source>
        <translation>カッタージャム</translation>
    </message>
    <message>
        <source>AutoSense</source>
        <translation>オートセンス</translation>
    </message>
    <message>
        <source>Illegal Interrupt</source>
        <translation>不正割り込み</translation>
    </message>
    <message>
        <source>Excessive Feeding</source>
        <translation>過剰フィード</translation>
    </message>
    <message>
        <source>Printer Status(Only Seral)</source>
        <translation>プリンタステータス(シリアルのみ)</translation>
    </message>
    <message>
        <source>Printer Status</source>
        <translation>プリンタステータス</translation>
    </message>
    <message>
        <source>^CP Command Test</source>
        <translation>^CP コマンドテスト</translation>
    </message>
    <message>
        <source>^CU Command Test</source>
        <translation>^CU コマンドテスト</translation>
    </message>
    <message>
        <source>^ee Command Test</source>
        <translation>^ee コマンドテスト</translation>
    </message>
    <message>
        <source>CPS Command Test</source>
        <translation>CPS コマンドテスト</translation>
    </message>
    <message>
        <source>The status could not be read.</source>
        <translation>ステータスを読み取れませんでした。</translation>
    </message>
</context>
<context>
    <name>qm::CheckPrinterStatusDialog</name>
    <message>
        <source>Check Printer Status</source>
        <translation>プリンタステータス確認</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::DownloadPanel</name>
    <message>
        <source>File path</source>
        <translation>ファイルパス</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>参照</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>ファイル情報</translation>
    </message>
    <message>
        <source>File Name: </source>
        <translation>ファイル名: </translation>
    </message>
    <message>
        <source>File Size: </source>
        <translation>ファイルサイズ: </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>%1 Bytes</source>
        <translation>%1 バイト</translation>
    </message>
    <message>
        <source>0 Byte</source>
        <translation>0 バイト</translation>
    </message>
    <message>
        <source>%1 of %2 bytes</source>
        <translation>%1 / %2 バイト</translation>
    </message>
    <message>
        <source>%1 KiB/s</source>
        <translation>%1 KiB/秒</translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation>残り約 %1 秒</translation>
    </message>
</context>
<context>
    <name>qm::FileTransferDialog</name>
    <message>
        <source>File Transfer</source>
        <translation>ファイル転送</translation>
    </message>
    <message>
        <source>DownLoad</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::PcxFileDownloaderDialog</name>
    <message>
        <source>PCX File Downloader</source>
        <translation>PCX ファイルダウンローダー</translation>
    </message>
    <message>
        <source>Image name to store</source>
        <translation>保存する画像名</translation>
    </message>
    <message>
        <source>DownLoad</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <source>Image Store (IS)</source>
        <translation>画像保存 (IS)</translation>
    </message>
    <message>
        <source>Image Name :</source>
        <translation>画像名 :</translation>
    </message>
    <message>
        <source>Image name to delete</source>
        <translation>削除する画像名</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>画像削除</translation>
    </message>
    <message>
        <source>Delete All Images</source>
        <translation>全画像削除</translation>
    </message>
    <message>
        <source>Image Delete (ID)</source>
        <translation>画像削除 (ID)</translation>
    </message>
    <message>
        <source>Image name to recall</source>
        <translation>呼び出す画像名</translation>
    </message>
    <message>
        <source>X position</source>
        <translation>X 位置</translation>
    </message>
    <message>
        <source>Y position</source>
        <translation>Y 位置</translation>
    </message>
    <message>
        <source>Image Recall</source>
        <translation>画像呼び出し</translation>
    </message>
    <message>
        <source>Image Recall (IR)</source>
        <translation>画像呼び出し (IR)</translation>
    </message>
    <message>
        <source>X Position :</source>
        <translation>X 位置 :</translation>
    </message>
    <message>
        <source>Y Position :</source>
        <translation>Y 位置 :</translation>
    </message>
    <message>
        <source>Image Information</source>
        <translation>画像情報</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>qm::LabelPreviewPane</name>
    <message>
        <source>No label to export</source>
        <translation>書き出すラベルがありません</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>全体表示</translation>
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
        <translation>前のラベル</translation>
    </message>
    <message>
        <source>Next label</source>
        <translation>次のラベル</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>No label</source>
        <translation>ラベルなし</translation>
    </message>
    <message>
        <source>Label %1 of %2</source>
        <translation>ラベル %1 / %2</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... ほか %1 件</translation>
    </message>
    <message>
        <source>Too large to preview</source>
        <translation>大きすぎてプレビューできません</translation>
    </message>
    <message>
        <source>Export Label…</source>
        <translation>ラベルを書き出す…</translation>
    </message>
    <message>
        <source>Export All…</source>
        <translation>すべて書き出す…</translation>
    </message>
    <message>
        <source>The shown label as PNG or PDF, at its true size</source>
        <translation>表示中のラベルを実寸の PNG または PDF に書き出します</translation>
    </message>
    <message>
        <source>Every label as PNG files or one PDF, at their true size</source>
        <translation>すべてのラベルを実寸の PNG ファイルまたは一つの PDF に書き出します</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>%1 に書き出しました</translation>
    </message>
</context>
<context>
    <name>qm::LabelView</name>
    <message>
        <source>Dots</source>
        <translation>ドット</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>インチ</translation>
    </message>
    <message>
        <source>Ruler unit</source>
        <translation>定規の単位</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>グリッド</translation>
    </message>
    <message>
        <source>Overlay…</source>
        <translation>重ね合わせ…</translation>
    </message>
    <message>
        <source>A PNG or JPEG picture under the label, to compare with a design</source>
        <translation>デザインと比べるため、ラベルの下に PNG または JPEG の画像を重ねます</translation>
    </message>
    <message>
        <source>Overlay opacity</source>
        <translation>重ね合わせの不透明度</translation>
    </message>
    <message>
        <source> px/mm</source>
        <translation> px/mm</translation>
    </message>
    <message>
        <source>Overlay pixels per millimetre</source>
        <translation>重ね合わせの 1 mm あたりのピクセル数</translation>
    </message>
    <message>
        <source>Overlay pixels per millimetre (8: one pixel a dot)</source>
        <translation>重ね合わせの 1 mm あたりのピクセル数 (8 で 1 ピクセルが 1 ドット)</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>%1 を読み込めません</translation>
    </message>
    <message>
        <source>in</source>
        <translation>in</translation>
    </message>
    <message>
        <source>dots</source>
        <translation>ドット</translation>
    </message>
    <message>
        <source>%1, %2 %3</source>
        <translation>%1, %2 %3</translation>
    </message>
</context>
<context>
    <name>LabelExport</name>
    <message>
        <source>No label to export</source>
        <translation>書き出すラベルがありません</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 に書き込めません</translation>
    </message>
</context>
</TS>
