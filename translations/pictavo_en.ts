<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>BatchWindow</name>
    <message>
        <source>連続ファイル作成</source>
        <translation>Batch Creation</translation>
    </message>
    <message>
        <source>HTMLファイル作成</source>
        <translation>HTML files</translation>
    </message>
    <message>
        <source>対象のフォルダが</source>
        <translation>Target folders:</translation>
    </message>
    <message>
        <source>対象のフォルダの数</source>
        <translation>Number of target folders</translation>
    </message>
    <message>
        <source>個存在します。</source>
        <translation>found.</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>連続処理時の画像表示切換</source>
        <translation>Switches the picture display during the batch run</translation>
    </message>
    <message>
        <source>連続処理時の画像表示</source>
        <translation>Show pictures during the run</translation>
    </message>
    <message>
        <source>現在の作業フォルダ</source>
        <translation>Folder in hand</translation>
    </message>
</context>
<context>
    <name>BmpConversionWindow</name>
    <message>
        <source>BMP-JPG変換</source>
        <translation>BMP to JPEG</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>フォルダ一覧</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>BMPファイルリスト</source>
        <translation>BMP files</translation>
    </message>
    <message>
        <source>JPEG圧縮率</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>変換</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CommentEditorWindow</name>
    <message>
        <source>コメントファイル作成</source>
        <translation>Comment File</translation>
    </message>
    <message>
        <source>「jpg」ファイルリスト</source>
        <translation>&quot;jpg&quot; files</translation>
    </message>
    <message>
        <source>jpgファイルリスト</source>
        <translation>jpg files</translation>
    </message>
    <message>
        <source>画像表示エリア</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>コメント記入欄</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>コメント記入欄 2行目</source>
        <translation>Comment, second line</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存して終了</source>
        <translation>Save, close</translation>
    </message>
    <message>
        <source>コメント作成ウインドウを閉じます。</source>
        <translation>Closes the comment window.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>回転ウインドウを開く</source>
        <translation>Open the rotation window</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>選択されているファイルに日付を記入</source>
        <translation>Enter the date for the selected files</translation>
    </message>
    <message>
        <source>選択されているファイルに日付と時刻を記入</source>
        <translation>Enter the date and time for the selected files</translation>
    </message>
    <message>
        <source>選択されているファイルにﾌｧｲﾙｻｲｽﾞを記入</source>
        <translation>Enter the file size for the selected files</translation>
    </message>
    <message>
        <source>選択されているファイルにファイル名を記入</source>
        <translation>Enter the file name for the selected files</translation>
    </message>
    <message>
        <source>選択されているファイルにファイル名と日付を記入</source>
        <translation>Enter the file name and date for the selected files</translation>
    </message>
    <message>
        <source>選択されているファイルにファイル名とﾌｧｲﾙｻｲｽﾞを記入</source>
        <translation>Enter the file name and size for the selected files</translation>
    </message>
    <message>
        <source>すべてのファイルに日付を記入</source>
        <translation>Enter the date for all files</translation>
    </message>
    <message>
        <source>すべてのファイルに日付と時刻を記入</source>
        <translation>Enter the date and time for all files</translation>
    </message>
    <message>
        <source>すべてのファイルにﾌｧｲﾙｻｲｽﾞを記入</source>
        <translation>Enter the file size for all files</translation>
    </message>
    <message>
        <source>すべてのファイルにファイル名を記入</source>
        <translation>Enter the file name for all files</translation>
    </message>
    <message>
        <source>すべてのファイルにファイル名と日付を記入</source>
        <translation>Enter the file name and date for all files</translation>
    </message>
    <message>
        <source>すべてのファイルにファイル名とﾌｧｲﾙｻｲｽﾞを記入</source>
        <translation>Enter the file name and size for all files</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名には拡張子を付けない</source>
        <translation>File names without extension</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙｻｲｽﾞに画像の大きさを付加する</source>
        <translation>Add the picture size to the file size</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
</context>
<context>
    <name>FolderChooserDialog</name>
    <message>
        <source>フォルダ選択</source>
        <translation>Choose Folder</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>フォルダ一覧</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>ドライブを指定します。</source>
        <translation>Chooses the drive.</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>次のフォルダ</source>
        <translation>Next folder</translation>
    </message>
    <message>
        <source>現在のフォルダが含まれているフォルダで次のフォルダに移動します。</source>
        <translation>Moves to the next folder beside the current one.</translation>
    </message>
    <message>
        <source>対象フォルダを指定します。</source>
        <translation>Chooses the folder of pictures.</translation>
    </message>
    <message>
        <source>フォルダ一覧</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>実行(&amp;X)</source>
        <translation>E&amp;xecute</translation>
    </message>
    <message>
        <source>カタログ表示するファイルを作成し、htmlのファイルを作ります。</source>
        <translation>Makes the thumbnails and the catalogue page (html).</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>作成されたHTMLのタイトルになります。</source>
        <translation>The title of the page made.</translation>
    </message>
    <message>
        <source>一行の枚数</source>
        <translation>Per row</translation>
    </message>
    <message>
        <source>一行の枚数の増減</source>
        <translation>Pictures per row up or down</translation>
    </message>
    <message>
        <source>コメントを付加する</source>
        <translation>Add comments</translation>
    </message>
    <message>
        <source>設定の読込</source>
        <translation>Load settings</translation>
    </message>
    <message>
        <source>主な設定の確認</source>
        <translation>Main settings</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄの色</source>
        <translation>Comment colour</translation>
    </message>
    <message>
        <source>&#x3000;画像(*.JPG)ファイル</source>
        <translation> Pictures (*.JPG)</translation>
    </message>
    <message>
        <source>画像ファイル一覧</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>ファイル一覧が表示されます。 対象のファイルを選択して下さい。</source>
        <translation>The folder&apos;s pictures. Select those for the album.</translation>
    </message>
    <message>
        <source>ファイル一覧を読み直します。</source>
        <translation>Reads the list of files again.</translation>
    </message>
    <message>
        <source>ファイル一覧の読み直し</source>
        <translation>Reload the list</translation>
    </message>
    <message>
        <source>表示されているすべてのファイルを選択します。</source>
        <translation>Selects every file shown.</translation>
    </message>
    <message>
        <source>すべて選択</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>ファイル一覧のすべての選択を解除します。</source>
        <translation>Clears the selection of the list.</translation>
    </message>
    <message>
        <source>選択の解除</source>
        <translation>Clear the selection</translation>
    </message>
    <message>
        <source>選択したファイルの順番を上げます。</source>
        <translation>Moves the selected files up.</translation>
    </message>
    <message>
        <source>順番を上げる</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>選択したファイルの順番を下げます。</source>
        <translation>Moves the selected files down.</translation>
    </message>
    <message>
        <source>順番を下げる</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>指定されたhtmlファイルを開きます。</source>
        <translation>Opens the album&apos;s html file.</translation>
    </message>
    <message>
        <source>htmlファイルを開く</source>
        <translation>Open the html file</translation>
    </message>
    <message>
        <source>実行時のPreview Windowの表示切換</source>
        <translation>Switches the preview on or off during the run</translation>
    </message>
    <message>
        <source>実行時のプレビュー表示</source>
        <translation>Preview during the run</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>設定(&amp;T)</source>
        <translation>Se&amp;ttings</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次作成</source>
        <translation>Table of Contents</translation>
    </message>
    <message>
        <source>回転保存</source>
        <translation>Rotate Pictures</translation>
    </message>
    <message>
        <source>BMP変換</source>
        <translation>Convert BMP</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ作成</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>フォルダの選択</source>
        <translation>Choose Folder</translation>
    </message>
    <message>
        <source>設定ファイル保存</source>
        <translation>Save Settings File</translation>
    </message>
    <message>
        <source>設定ファイル読込</source>
        <translation>Load Settings File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>最上部に移動</source>
        <translation>Move to the top</translation>
    </message>
    <message>
        <source>最下部に移動</source>
        <translation>Move to the bottom</translation>
    </message>
    <message>
        <source>最新の情報に更新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>次のフォルダへ</source>
        <translation>To the next folder</translation>
    </message>
    <message>
        <source>全</source>
        <translation>All</translation>
    </message>
    <message>
        <source>解</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>ファイル書き込みエラーが発生しました。<byte value="xd"/>処理は中断されました。</source>
        <translation>A file could not be written.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>ファイル書き込みエラーが発生しました。<byte value="xd"/>%1<byte value="xd"/>処理は中断されました。</source>
        <translation>A file could not be written.<byte value="xd"/>%1<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>処理は中断されました。</source>
        <translation>The run was stopped.</translation>
    </message>
    <message>
        <source>処理は中断されました</source>
        <translation>The run was stopped</translation>
    </message>
    <message>
        <source>ファイル作成終了</source>
        <translation>Files made</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;&#x3000;&#x3000;ファイル作成終了&#x3000;&#x3000;&#x3000;&#x3000;<byte value="xd"/>ブラウザを起動しますか？</source>
        <translation>The files are made.<byte value="xd"/>Open the page in the browser?</translation>
    </message>
    <message>
        <source>ファイルが選択されていません。</source>
        <translation>No file is selected.</translation>
    </message>
    <message>
        <source>ファイル %1 は開けません</source>
        <translation>The file %1 cannot be opened</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません</source>
        <translation>The file %1 cannot be made</translation>
    </message>
    <message>
        <source>ファイル %1 は開けません (%2)</source>
        <translation>The file %1 cannot be opened (%2)</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません (%2)</source>
        <translation>The file %1 cannot be made (%2)</translation>
    </message>
    <message>
        <source>「%1」はフォルダの外を指すシンボリックリンクのため、書き込みませんでした。<byte value="xd"/>処理は中断されました。</source>
        <translation>&quot;%1&quot; is a symbolic link to outside the folder, so nothing was written to it.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>「%1」は読み込むファイルを指すシンボリックリンクのため、書き込みませんでした。<byte value="xd"/>処理は中断されました。</source>
        <translation>&quot;%1&quot; is a symbolic link to a file being read, so nothing was written to it.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>フォルダの初期化に失敗しました。<byte value="xd"/>処理は中断されました。</source>
        <translation>The folder could not be cleared.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>JPEGファイルを読み込めませんでした。<byte value="xd"/>処理は中断されました。</source>
        <translation>A JPEG file could not be read.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>画像読込中</source>
        <translation>Reading pictures</translation>
    </message>
    <message>
        <source>ファイル作成スキップ</source>
        <translation>File skipped</translation>
    </message>
    <message>
        <source>フィルター処理</source>
        <translation>Filtering</translation>
    </message>
    <message>
        <source>通常圧縮</source>
        <translation>Compressing</translation>
    </message>
    <message>
        <source>コメントファイルが見つかりません。<byte value="xd"/>コメント作成ウインドウを開きますか？</source>
        <translation>The comment file is missing.<byte value="xd"/>Open the comment window?</translation>
    </message>
    <message>
        <source>背景ファイルが存在しません。<byte value="xd"/>再設定が必要です。</source>
        <translation>The background file does not exist.<byte value="xd"/>Please set it again.</translation>
    </message>
    <message>
        <source>設定 %1 の値「%2」は正しい整数ではありません。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%2&quot; of the setting %1 is not a valid whole number.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定 %1 の値「%2」は範囲外です（%3 以上の整数が必要です）。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%2&quot; of the setting %1 is out of range (a whole number of at least %3 is needed).<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定 %1 の値「%2」は範囲外です（%3 から %4 までの整数が必要です）。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%2&quot; of the setting %1 is out of range (a whole number from %3 to %4 is needed).<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定 %1 の値「%2」はファイル名として使えません。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%2&quot; of the setting %1 cannot be used as a file name.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定 htmlFileName の値「%1」はフォルダの画像またはコメントファイルの名前です。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%1&quot; of the setting htmlFileName is the name of a picture or the comment file of the folder.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定 %1 の値「%2」はシンボリックリンクです。<byte value="xd"/>処理は中断されました。</source>
        <translation>The value &quot;%2&quot; of the setting %1 is a symbolic link.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>「%1」はシンボリックリンクです。<byte value="xd"/>処理は中断されました。</source>
        <translation>&quot;%1&quot; is a symbolic link.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>設定ファイル %1 の %2 行目「%3」は正しい整数ではありません。</source>
        <translation>Line %2 of the settings file %1, &quot;%3&quot;, is not a valid whole number.</translation>
    </message>
    <message>
        <source>%1: 「%2」の版数が読めません。</source>
        <translation>%1: the version in &quot;%2&quot; cannot be read.</translation>
    </message>
    <message>
        <source>設定ファイル(*.ini)|*.ini</source>
        <translation>Settings files (*.ini)|*.ini</translation>
    </message>
    <message>
        <source>このフォルダに指定したファイル名は使用できません</source>
        <translation>That file name cannot be used in this folder</translation>
    </message>
    <message>
        <source>ファイルのオープンに失敗しました</source>
        <translation>The file could not be opened</translation>
    </message>
    <message>
        <source>同名の設定ファイルが存在します。<byte value="xd"/>上書きしますか？</source>
        <translation>A settings file of the same name exists.<byte value="xd"/>Replace it?</translation>
    </message>
    <message>
        <source>Pictavo 設定ファイル自動保存</source>
        <translation>Pictavo settings auto-save</translation>
    </message>
    <message>
        <source>フォルダにある設定ファイルのため、ブラウザ設定と外部ビュアー設定は読み込みませんでした。</source>
        <translation>The settings file is in the picture folder, so its browser and viewer settings were not read.</translation>
    </message>
    <message>
        <source>%1: フォルダにある設定ファイルのため、ブラウザ設定と外部ビュアー設定は読み込みませんでした。</source>
        <translation>%1: the settings file is in the picture folder, so its browser and viewer settings were not read.</translation>
    </message>
    <message>
        <source>背景は「jpg」か「gif」ファイルを設定してください。</source>
        <translation>Please choose a &quot;jpg&quot; or &quot;gif&quot; file as the background.</translation>
    </message>
    <message>
        <source>フォルダ名が不正です。<byte value="xd"/>指定し直してください。</source>
        <translation>The folder name is not valid.<byte value="xd"/>Please give it again.</translation>
    </message>
    <message>
        <source>ファイル名が不正です。<byte value="xd"/>指定し直してください。</source>
        <translation>The file name is not valid.<byte value="xd"/>Please give it again.</translation>
    </message>
    <message>
        <source>cannot create the program folder %1</source>
        <translation>cannot create the program folder %1</translation>
    </message>
    <message>
        <source>no such settings file: %1</source>
        <translation>no such settings file: %1</translation>
    </message>
    <message>
        <source>移動できません</source>
        <translation>Cannot move</translation>
    </message>
    <message>
        <source>%1: UTF-8 でない名前 %2 個は一覧に入れていません</source>
        <translation>%1: %2 name(s) not in UTF-8 are not listed</translation>
    </message>
    <message>
        <source>ファルダがありません。</source>
        <translation>There are no folders.</translation>
    </message>
    <message>
        <source>対象のファルダがありません。</source>
        <translation>There are no album folders.</translation>
    </message>
    <message>
        <source>目次のタイトルが指定されていません。</source>
        <translation>The table of contents has no title.</translation>
    </message>
    <message>
        <source>背景の画像ファイルが指定されていません。</source>
        <translation>No background picture file is chosen.</translation>
    </message>
    <message>
        <source>背景ファイルコピーに失敗しました。<byte value="xd"/>処理は中断されました。</source>
        <translation>The background file could not be copied.<byte value="xd"/>The run was stopped.</translation>
    </message>
    <message>
        <source>「%1」はフォルダの外を指すシンボリックリンクのため、対象にしませんでした。</source>
        <translation>&quot;%1&quot; is a symbolic link to outside the folder, so it was left out.</translation>
    </message>
    <message>
        <source>「%1」はフォルダの外を指すシンボリックリンクのため、読み込みませんでした。</source>
        <translation>&quot;%1&quot; is a symbolic link to outside the folder, so it was not read.</translation>
    </message>
    <message>
        <source>%1 のサムネイル名「%2」はファイル名ではないため、画像を表示しません。</source>
        <translation>The thumbnail name &quot;%2&quot; in %1 is not a file name, so its picture is not shown.</translation>
    </message>
    <message>
        <source>BMP→JPG 変換中</source>
        <translation>Converting BMP to JPEG</translation>
    </message>
    <message>
        <source>同名のファイルが存在します。<byte value="xd"/>%1<byte value="xd"/>上書きしてよろしいですか？</source>
        <translation>A file of the same name exists.<byte value="xd"/>%1<byte value="xd"/>Replace it?</translation>
    </message>
    <message>
        <source>変換終了</source>
        <translation>Conversion done</translation>
    </message>
    <message>
        <source>回転処理中</source>
        <translation>Rotating</translation>
    </message>
    <message>
        <source>ファイルの書き込みでエラーが発生しました。</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>バックアップファイルの書き込みでエラーが発生しました。</source>
        <translation>The backup file could not be written.</translation>
    </message>
    <message>
        <source>読み取り専用のファイルです。<byte value="xd"/>上書きしてよろしいですか？</source>
        <translation>The file is read-only.<byte value="xd"/>Replace it?</translation>
    </message>
    <message>
        <source>保存して終了</source>
        <translation>Save, close</translation>
    </message>
    <message>
        <source>保存して次へ</source>
        <translation>Save, next</translation>
    </message>
    <message>
        <source>コメントファイルに保存できるのは %1 件までです。<byte value="xd"/>コメントファイルは変更していません。</source>
        <translation>A comment file holds at most %1 comments.<byte value="xd"/>The comment file was not changed.</translation>
    </message>
    <message>
        <source>コメントファイル「%1」を読み込めなかったため、保存しませんでした。</source>
        <translation>The comment file &quot;%1&quot; could not be read, so nothing was saved.</translation>
    </message>
    <message>
        <source>コメントファイルを保存しました。</source>
        <translation>The comment file is saved.</translation>
    </message>
    <message>
        <source>コメントが修正されています。<byte value="xd"/>ファイルを保存しますか？</source>
        <translation>The comments were changed.<byte value="xd"/>Save the file?</translation>
    </message>
    <message>
        <source>ファイル数：%1</source>
        <translation>Files: %1</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>オプションのページ</source>
        <translation>Option pages</translation>
    </message>
    <message>
        <source>基本設定</source>
        <translation>Basic</translation>
    </message>
    <message>
        <source>起動時のフォルダ設定（設定ボタンで指定してください）</source>
        <translation>Start folder (choose it with the Set button)</translation>
    </message>
    <message>
        <source>起動時のフォルダ</source>
        <translation>Start folder</translation>
    </message>
    <message>
        <source>直接入力はできません。右の設定ボタンで設定します。</source>
        <translation>Cannot be typed; set it with the Set button on the right.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>起動時のフォルダを設定</source>
        <translation>Set the start folder</translation>
    </message>
    <message>
        <source>現在の表示位置で次回からは起動</source>
        <translation>Start at the present window position next time</translation>
    </message>
    <message>
        <source>実行時に設定ファイルを自動保存する</source>
        <translation>Save the settings file automatically at each run</translation>
    </message>
    <message>
        <source>ページ設定</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>1行に表示するｻﾑﾈｲﾙ画像の枚数</source>
        <translation>Thumbnails in one row</translation>
    </message>
    <message>
        <source>サムネイル画像の表の太さ</source>
        <translation>Thumbnail table border</translation>
    </message>
    <message>
        <source>（テーブルの枠幅）</source>
        <translation>(the table&apos;s border width)</translation>
    </message>
    <message>
        <source>背景の色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>カタログの背景色です。</source>
        <translation>The catalogue&apos;s background colour.</translation>
    </message>
    <message>
        <source>背景の色を設定</source>
        <translation>Set the background colour</translation>
    </message>
    <message>
        <source>テキストの色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>テキストの色を設定</source>
        <translation>Set the text colour</translation>
    </message>
    <message>
        <source>背景に画像ファイルを使用する。</source>
        <translation>Use a picture file as the background.</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>背景のファイル名</source>
        <translation>Background file name</translation>
    </message>
    <message>
        <source>背景パターンを使用するにチェックが入っていると、右の設定ボタンで指定できます。</source>
        <translation>With the background picture checked, choose it with the button on the right.</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>背景のファイルを参照</source>
        <translation>Browse for the background file</translation>
    </message>
    <message>
        <source>タイトル設定</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>タイトル文字のサイズ</source>
        <translation>Title text size</translation>
    </message>
    <message>
        <source>タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）</source>
        <translation>The text size of the title (a larger number is larger text).</translation>
    </message>
    <message>
        <source>タイトル文字の色</source>
        <translation>Title text colour</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>タイトル文字の色を選択</source>
        <translation>Choose the title text colour</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>太字</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>タイトルのフォントを指定する</source>
        <translation>Choose the title&apos;s font</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>タイトルの文字の書体を選択します</source>
        <translation>Chooses the typeface of the title.</translation>
    </message>
    <message>
        <source>タイトルにテーブルを使用する</source>
        <translation>Put the title in a table</translation>
    </message>
    <message>
        <source>タイトルテーブルの横幅</source>
        <translation>Title table width</translation>
    </message>
    <message>
        <source>タイトル文字の周辺枠の大きさを指定します</source>
        <translation>The size of the frame round the title.</translation>
    </message>
    <message>
        <source>タイトルの背景色</source>
        <translation>Title background</translation>
    </message>
    <message>
        <source>タイトルの背景色を選択</source>
        <translation>Choose the title background colour</translation>
    </message>
    <message>
        <source>タイトルテーブルの枠幅</source>
        <translation>Title table border</translation>
    </message>
    <message>
        <source>ｻﾑﾈｲﾙ画像</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>サムネイル画像の幅</source>
        <translation>Thumbnail width</translation>
    </message>
    <message>
        <source>アルバム表示の時の画像の幅を指定します</source>
        <translation>The width of the pictures in the album.</translation>
    </message>
    <message>
        <source>サムネイル画像の高さ</source>
        <translation>Thumbnail height</translation>
    </message>
    <message>
        <source>サムネイル画像の圧縮率</source>
        <translation>Thumbnail quality</translation>
    </message>
    <message>
        <source>（数字が多きいほど画質が向上します。）</source>
        <translation>(a larger number is better quality.)</translation>
    </message>
    <message>
        <source>サムネイル画像をクリックしたとき新しいブラウザを開く</source>
        <translation>Open a new browser window on a thumbnail click</translation>
    </message>
    <message>
        <source>Jave Script&#x3000;を使用する&#x3000;（ブラウザによっては表示できないものもあります）</source>
        <translation>Use JavaScript (some browsers cannot show it)</translation>
    </message>
    <message>
        <source>フィルタをかける（フルカラー専用）</source>
        <translation>Filter (full colour only)</translation>
    </message>
    <message>
        <source>同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ</source>
        <translation>Skip when a file of the same name exists</translation>
    </message>
    <message>
        <source>ｻﾑﾈｲﾙ画像にリンクの枠表示をしない</source>
        <translation>No link border round thumbnails</translation>
    </message>
    <message>
        <source>ｻﾑﾈｲﾙ画像用ﾌｫﾙﾀﾞにあるﾌｧｲﾙを実行時消去</source>
        <translation>Clear the thumbnail folder at each run</translation>
    </message>
    <message>
        <source>作成ﾌｧｲﾙ名</source>
        <translation>File names</translation>
    </message>
    <message>
        <source>作成するＨＴＭＬファイル名</source>
        <translation>HTML file name to make</translation>
    </message>
    <message>
        <source>サムネイル画像を作成するフォルダ名</source>
        <translation>Thumbnail folder name</translation>
    </message>
    <message>
        <source>サムネイル画像のファイル名に付加する文字列</source>
        <translation>Prefix of thumbnail file names</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>ここでの設定が目次作成でも使用されるのでこの設定が統一されていないと</source>
        <translation>The table of contents uses these names too; if they differ between albums,</translation>
    </message>
    <message>
        <source>目次でリンクができなくなることがあります。</source>
        <translation>its links may not work.</translation>
    </message>
    <message>
        <source>ﾍｯﾀﾞｰ/ﾌｯﾀｰ</source>
        <translation>Header/Footer</translation>
    </message>
    <message>
        <source>ヘッダー</source>
        <translation>Header</translation>
    </message>
    <message>
        <source>デフォルト（作成日）</source>
        <translation>Default (the date made)</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>ヘッダーのコメント</source>
        <translation>Header comment</translation>
    </message>
    <message>
        <source>フッター</source>
        <translation>Footer</translation>
    </message>
    <message>
        <source>デフォルト（Pictavoのリンク）</source>
        <translation>Default (a link to Pictavo)</translation>
    </message>
    <message>
        <source>フッターのコメント</source>
        <translation>Footer comment</translation>
    </message>
    <message>
        <source>リンクする</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>フッターのリンクのURL</source>
        <translation>Footer link URL</translation>
    </message>
    <message>
        <source>メールアドレスの時は&#x3000;mailto: から記入</source>
        <translation>For a mail address, begin with mailto:</translation>
    </message>
    <message>
        <source>外部ソフト</source>
        <translation>Programs</translation>
    </message>
    <message>
        <source>外部ビュアー設定</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>画像表示ソフトを指定します。</source>
        <translation>The program that shows pictures.</translation>
    </message>
    <message>
        <source>外部ビュアーを設定</source>
        <translation>Set the viewer</translation>
    </message>
    <message>
        <source>ブラウザ設定</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>ブラウザを設定</source>
        <translation>Set the browser</translation>
    </message>
    <message>
        <source>設定しなければ関連づけされたソフトが起動します</source>
        <translation>Without one, the desktop&apos;s program for the file starts</translation>
    </message>
    <message>
        <source>ブラウザを起動しない</source>
        <translation>Do not start the browser</translation>
    </message>
    <message>
        <source>スライドショウ</source>
        <translation>Slide show</translation>
    </message>
    <message>
        <source>スライドショウ用のHTMLを作成する。</source>
        <translation>Make the slide show HTML.</translation>
    </message>
    <message>
        <source>表示間隔（秒）</source>
        <translation>Interval (seconds)</translation>
    </message>
    <message>
        <source>画像表示サイズの最大値を指定する。</source>
        <translation>Limit the picture size shown.</translation>
    </message>
    <message>
        <source>横Size</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>縦Size</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>JavaScriptを使用しているため意図したように表示できないﾌﾞﾗｳｻﾞが有ります。</source>
        <translation>It uses JavaScript, which some browsers may not show as intended.</translation>
    </message>
    <message>
        <source>フォルダ名，ファイル名によっては表示されないことがあります</source>
        <translation>Some folder or file names may not be shown</translation>
    </message>
    <message>
        <source>画像回転</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>画像保存時の圧縮率</source>
        <translation>Quality when saving pictures</translation>
    </message>
    <message>
        <source>数字が大きい方が高画質ですが</source>
        <translation>A larger number is better quality,</translation>
    </message>
    <message>
        <source>ファイルサイズが大きくなります。</source>
        <translation>but makes larger files.</translation>
    </message>
    <message>
        <source>元のファイルをバックアップする（推奨）</source>
        <translation>Back up the original file (advised)</translation>
    </message>
    <message>
        <source>画像回転モードの時、元のファイルを</source>
        <translation>When rotating, the original file is kept</translation>
    </message>
    <message>
        <source>_backupディレクトリを作り保存します</source>
        <translation>in a _backup folder</translation>
    </message>
    <message>
        <source>すべての設定が終了したら保存して下さい。</source>
        <translation>Save when every setting is done.</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>設定を変更せず終了します。</source>
        <translation>Closes without changing the settings.</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PublishWindow</name>
    <message>
        <source>公開用コピーの作成</source>
        <translation>Publish a copy</translation>
    </message>
    <message>
        <source>公開先フォルダ</source>
        <translation>Destination folder</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>画像の最大サイズ</source>
        <translation>Largest picture size</translation>
    </message>
    <message>
        <source> ピクセル</source>
        <translation> pixels</translation>
    </message>
    <message>
        <source>画質</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>撮影場所（GPS）の情報を残す</source>
        <translation>Keep the location (GPS)</translation>
    </message>
    <message>
        <source>進み具合</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Publish</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>RotationWindow</name>
    <message>
        <source>画像回転</source>
        <translation>Rotate Pictures</translation>
    </message>
    <message>
        <source>画像回転処理</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>画像確認のため縮小して表示します。</source>
        <translation>The picture, reduced to check it.</translation>
    </message>
    <message>
        <source>圧縮率</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>保存する画像の圧縮率です。 （大きい数字の方が高画質です。）</source>
        <translation>The quality the picture is saved at (a larger number is better).</translation>
    </message>
    <message>
        <source>圧縮率の増減</source>
        <translation>Quality up or down</translation>
    </message>
    <message>
        <source>フルカラー以外では使用できません</source>
        <translation>Full-colour pictures only</translation>
    </message>
    <message>
        <source>右回転</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>画像を右に９０度回転します。</source>
        <translation>Turns the picture 90 degrees to the right.</translation>
    </message>
    <message>
        <source>左回転</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>画像を左に９０度回転します。</source>
        <translation>Turns the picture 90 degrees to the left.</translation>
    </message>
    <message>
        <source>保存して次へ</source>
        <translation>Save, next</translation>
    </message>
    <message>
        <source>表示されている画像を上書きして保存後次の画像を開きます。</source>
        <translation>Saves the picture shown over itself, then opens the next.</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>次へ</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>保存せず次の画像を開きます。</source>
        <translation>Opens the next picture without saving.</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>連続画像回転処理のウィンドウを閉じます。</source>
        <translation>Closes the rotation window.</translation>
    </message>
</context>
<context>
    <name>SettingsCheckView</name>
    <message>
        <source>設定確認</source>
        <translation>Check Settings</translation>
    </message>
    <message>
        <source>現在のフォルダ名</source>
        <translation>Current folder</translation>
    </message>
    <message>
        <source>生成されるＨＴＭＬファイル名</source>
        <translation>HTML file made</translation>
    </message>
    <message>
        <source>サムネイル画像を作成するフォルダ</source>
        <translation>Thumbnail folder</translation>
    </message>
    <message>
        <source>ｻﾑﾈｲﾙ画像のファイル名に付加する文字</source>
        <translation>Thumbnail name prefix</translation>
    </message>
    <message>
        <source>ｻﾑﾈｲﾙ画像用ﾌｫﾙﾀﾞにあるﾌｧｲﾙを削除</source>
        <translation>Clear the thumbnail folder</translation>
    </message>
    <message>
        <source>同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ</source>
        <translation>Skip existing files</translation>
    </message>
    <message>
        <source>フィルタをかける（フルカラー専用）</source>
        <translation>Filter (full colour only)</translation>
    </message>
    <message>
        <source>サムネイル画像の幅</source>
        <translation>Thumbnail width</translation>
    </message>
    <message>
        <source>サムネイル画像の高さ</source>
        <translation>Thumbnail height</translation>
    </message>
    <message>
        <source>スライドショウ用のHTMLを作成する。</source>
        <translation>Make the slide show HTML.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
</context>
<context>
    <name>TableOfContentsWindow</name>
    <message>
        <source>目次作成</source>
        <translation>Table of Contents</translation>
    </message>
    <message>
        <source>作成フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>目次のタイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>フレームを使用する。</source>
        <translation>Use frames.</translation>
    </message>
    <message>
        <source>フレーム使用時のタイトルサイズ</source>
        <translation>Title frame size</translation>
    </message>
    <message>
        <source>タイトルサイズの増減</source>
        <translation>Title size up or down</translation>
    </message>
    <message>
        <source>目次に画像を表示する</source>
        <translation>Show pictures in the contents</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>背景色変更</source>
        <translation>Change the background colour</translation>
    </message>
    <message>
        <source>背景に画像ファイルを使用する</source>
        <translation>Use a background picture</translation>
    </message>
    <message>
        <source>背景の画像ファイル</source>
        <translation>Background picture</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>背景の画像ファイルを設定</source>
        <translation>Choose the background picture</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>目次となるページを作成します。</source>
        <translation>Makes the table of contents page.</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>連続アルバム作成</source>
        <translation>Batch Creation</translation>
    </message>
    <message>
        <source>公開用コピーの作成</source>
        <translation>Publish a copy</translation>
    </message>
    <message>
        <source>この項目のﾍﾙﾌﾟ</source>
        <translation>Help on this window</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::CommentEditorWindow</name>
    <message>
        <source>画像回転処理へ</source>
        <translation>To the rotation window</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::MainWindow</name>
    <message>
        <source>目次作成</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>画像回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>BMP変換</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ作成</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>対象のフォルダを選択して下さい。</source>
        <translation>Choose the folder of pictures.</translation>
    </message>
    <message>
        <source>フォルダの指定に失敗しました。</source>
        <translation>The folder could not be chosen.</translation>
    </message>
    <message>
        <source>すでに起動されています</source>
        <translation>The program is already running</translation>
    </message>
    <message>
        <source>ヘルプファイルが見つかりません。</source>
        <translation>The help file cannot be found.</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::OptionsDialog</name>
    <message>
        <source>ファイル選択</source>
        <translation>Choose a File</translation>
    </message>
    <message>
        <source>圧縮率を上げる</source>
        <translation>Raise the quality</translation>
    </message>
    <message>
        <source>圧縮率を下げる</source>
        <translation>Lower the quality</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::PublishWindow</name>
    <message>
        <source>最大サイズは 16 から 65500 ピクセルまでです。</source>
        <translation>The largest size must be between 16 and 65500 pixels.</translation>
    </message>
    <message>
        <source>画質は 1 から 100 までです。</source>
        <translation>The quality must be between 1 and 100.</translation>
    </message>
    <message>
        <source>フォルダ %1 がありません。</source>
        <translation>There is no folder %1.</translation>
    </message>
    <message>
        <source>公開先 %1 はフォルダではありません。</source>
        <translation>The destination %1 is not a folder.</translation>
    </message>
    <message>
        <source>公開先と公開するフォルダは、互いの中に置けません。</source>
        <translation>The destination and the site must not lie inside each other.</translation>
    </message>
    <message>
        <source>%1 にはこのプログラムのページがありません。</source>
        <translation>There is no page of this program in %1.</translation>
    </message>
    <message>
        <source>公開先を作成できません: %1</source>
        <translation>The destination cannot be created: %1</translation>
    </message>
    <message>
        <source>公開先に書き込めません: %1</source>
        <translation>The destination cannot be written: %1</translation>
    </message>
    <message>
        <source>公開先のフォルダを指定してください。</source>
        <translation>Please give the destination folder.</translation>
    </message>
    <message>
        <source>処理は中断されました。</source>
        <translation>The run was stopped.</translation>
    </message>
    <message>
        <source>公開用コピーを作成できません。</source>
        <translation>The copy for publishing cannot be made.</translation>
    </message>
    <message>
        <source>公開用コピーを作成しました。</source>
        <translation>The copy for publishing is made.</translation>
    </message>
    <message>
        <source>公開用コピーを作成しましたが、確認で問題が見つかりました。</source>
        <translation>The copy for publishing is made, but the check found problems.</translation>
    </message>
    <message>
        <source>公開用コピーを作成できなかったファイルがあります。</source>
        <translation>Some files of the copy could not be made.</translation>
    </message>
    <message>
        <source>公開の設定を保存できませんでした。</source>
        <translation>The publish settings could not be saved.</translation>
    </message>
    <message>
        <source>公開用コピーの作成 - </source>
        <translation>Publish a copy - </translation>
    </message>
    <message>
        <source>公開先フォルダ</source>
        <translation>Destination folder</translation>
    </message>
    <message>
        <source>縮小した画像 %1 枚、コピーしたファイル %2 件、変更のなかったファイル %3 件、削除したファイル %4 件</source>
        <translation>%1 pictures reduced, %2 files copied, %3 files unchanged, %4 files removed</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::RotationWindow</name>
    <message>
        <source>右回転</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>左回転</source>
        <translation>Left</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::TableOfContentsWindow</name>
    <message>
        <source>画像ファイル|*.jpg;*.gif</source>
        <translation>Picture files|*.jpg;*.gif</translation>
    </message>
</context>
<context>
    <name>pictavo::gui::UpDown</name>
    <message>
        <source>値を増やす</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>値を減らす</source>
        <translation>Decrease</translation>
    </message>
</context>
</TS>
