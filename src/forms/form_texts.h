#pragma once

// The forms' texts as Shift-JIS bytes (escaped, so that the source stays
// plain ASCII); the comment above each gives the text.
namespace tavo::sjis {

// "ＭＳ Ｐゴシック"
inline const char* const kFormFontName = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";

// "Tavo エクスポート"
inline const char* const kJwBrwsCaption = "Tavo \x83G\x83N\x83X\x83|\x81[\x83g";
// "閉じる"
inline const char* const kCloseCaption = "\x95\xC2\x82\xB6\x82\xE9";
// "ビューワ画面を閉じてExcelに戻ります"
inline const char* const kCloseHint =
    "\x83r\x83\x85\x81[\x83\x8F\x89\xE6\x96\xCA\x82\xF0\x95\xC2\x82\xB6\x82\xC4" "Excel\x82\xC9\x96\xDF\x82\xE8"
    "\x82\xDC\x82\xB7";
// "JWC保存"
inline const char* const kSaveJwcCaption = "JWC\x95\xDB\x91\xB6";
// "名前をつけてファイルを保存します"
inline const char* const kSaveJwcHint =
    "\x96\xBC\x91O\x82\xF0\x82\xC2\x82\xAF\x82\xC4\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x95\xDB\x91\xB6\x82\xB5\x82\xDC"
    "\x82\xB7";
// "座標保存"
inline const char* const kSaveTxtCaption = "\x8D\xC0\x95W\x95\xDB\x91\xB6";
// "範囲選択"
inline const char* const kSelectCaption = "\x94\xCD\x88\xCD\x91I\x91\xF0";
// "範囲を選択します"
inline const char* const kSelectHint = "\x94\xCD\x88\xCD\x82\xF0\x91I\x91\xF0\x82\xB5\x82\xDC\x82\xB7";
// "全て選択"
inline const char* const kSelectAllCaption = "\x91S\x82\xC4\x91I\x91\xF0";
// "コピー"
inline const char* const kCopyCaption = "\x83R\x83s\x81[";
// "選択範囲を外部変換プログラムのJWTテキスト形式でクリップボードにコピーします"
inline const char* const kCopyHint =
    "\x91I\x91\xF0\x94\xCD\x88\xCD\x82\xF0\x8AO\x95\x94\x95\xCF\x8A\xB7\x83v\x83\x8D\x83O\x83\x89\x83\x80\x82\xCC"
    "JWT\x83" "e\x83L\x83X\x83g\x8C`\x8E\xAE\x82\xC5\x83N\x83\x8A\x83" "b\x83v\x83{\x81[\x83h\x82\xC9\x83R\x83s"
    "\x81[\x82\xB5\x82\xDC\x82\xB7";
// "ヘルプ"
inline const char* const kHelpCaption = "\x83w\x83\x8B\x83v";

// "変換データを "
inline const char* const kSavedBefore = "\x95\xCF\x8A\xB7\x83" "f\x81[\x83^\x82\xF0 ";
// " に保存しました"
inline const char* const kSavedAfter = " \x82\xC9\x95\xDB\x91\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// "JW_CAD ファイル(*.jwc)|*.JWC"
inline const char* const kJwcFilter = "JW_CAD \x83t\x83@\x83" "C\x83\x8B(*.jwc)|*.JWC";
// "座標ファイル(*.txt)|*.txt"
inline const char* const kTxtFilter = "\x8D\xC0\x95W\x83t\x83@\x83" "C\x83\x8B(*.txt)|*.txt";

// "データ変換中"
inline const char* const kProgressCaption = "\x83" "f\x81[\x83^\x95\xCF\x8A\xB7\x92\x86";
// "罫線"
inline const char* const kRuledLinesLabel = "\x8Cr\x90\xFC";
// "文字"
inline const char* const kTextsLabel = "\x95\xB6\x8E\x9A";
// "キャンセル"
inline const char* const kCancelCaption = "\x83L\x83\x83\x83\x93\x83Z\x83\x8B";

}  // namespace tavo::sjis
