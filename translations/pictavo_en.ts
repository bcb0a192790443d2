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
