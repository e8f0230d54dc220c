#pragma once

// The settings dialog's texts as Shift-JIS bytes (escaped, so that the
// source stays plain ASCII); the comment above each gives the text.
namespace tavo::sjis {

// "Tavo エクスポート"
inline const char* const kExportCaption = "Tavo \x83G\x83N\x83X\x83|\x81[\x83g";
// "Tavo ダンプ"
inline const char* const kDumpCaption = "Tavo \x83_\x83\x93\x83v";
// "Tavo ビルド"
inline const char* const kBuildCaption = "Tavo \x83r\x83\x8B\x83h";
// "エクスポート"
inline const char* const kTreeExport = "\x83G\x83N\x83X\x83|\x81[\x83g";
// "出力先"
inline const char* const kTreeTarget = "\x8Fo\x97\xCD\x90\xE6";
// "用紙・縮尺"
inline const char* const kTreePaperScale = "\x97p\x8E\x86\x81" "E\x8Fk\x8E\xDA";
// "レイヤ"
inline const char* const kTreeLayer = "\x83\x8C\x83" "C\x83\x84";
// "線色"
inline const char* const kTreeLineColor = "\x90\xFC\x90" "F";
// "線種"
inline const char* const kTreeLineType = "\x90\xFC\x8E\xED";
// "文字"
inline const char* const kTreeMoji = "\x95\xB6\x8E\x9A";
// "変換オプション"
inline const char* const kTreeOption = "\x95\xCF\x8A\xB7\x83I\x83v\x83V\x83\x87\x83\x93";
// "ダンプ"
inline const char* const kTreeDump = "\x83_\x83\x93\x83v";
// "JWCファイル"
inline const char* const kTreeJwcFile = "JWC\x83t\x83@\x83" "C\x83\x8B";
// "ビルド"
inline const char* const kTreeBuild = "\x83r\x83\x8B\x83h";
// "縮尺"
inline const char* const kTreeScale = "\x8Fk\x8E\xDA";
// "バージョン情報"
inline const char* const kTreeVersion = "\x83o\x81[\x83W\x83\x87\x83\x93\x8F\xEE\x95\xF1";
// "OK"
inline const char* const kOkCaption = "OK";
// "更新"
inline const char* const kRenewalCaption = "\x8DX\x90V";
// "出力先(&T)"
inline const char* const kTargetGroup = "\x8Fo\x97\xCD\x90\xE6(&T)";
// "プレビュー表示(&P)"
inline const char* const kToPreview = "\x83v\x83\x8C\x83r\x83\x85\x81[\x95\x5C\x8E\xA6(&P)";
// "クリップボード経由でJW_CADへ(&S)"
inline const char* const kToClipboard = "\x83N\x83\x8A\x83" "b\x83v\x83{\x81[\x83h\x8Co\x97R\x82\xC5JW_CAD\x82\xD6(&S)";
// "JWCファイルに保存(&C)"
inline const char* const kToJwc = "JWC\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x95\xDB\x91\xB6(&C)";
// "JWW座標ファイルに保存(&Z)"
inline const char* const kToJww = "JWW\x8D\xC0\x95W\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x95\xDB\x91\xB6(&Z)";
// "JWC追加データ(&A)"
inline const char* const kExtraGroup = "JWC\x92\xC7\x89\xC1\x83" "f\x81[\x83^(&A)";
// "ＪＷＣファイル追加データ(&A)"
inline const char* const kExtraGroupJwc = "\x82i\x82v\x82" "b\x83t\x83@\x83" "C\x83\x8B\x92\xC7\x89\xC1\x83" "f\x81[\x83^(&A)";
// "座標ファイル追加データ(&A)"
inline const char* const kExtraGroupTxt = "\x8D\xC0\x95W\x83t\x83@\x83" "C\x83\x8B\x92\xC7\x89\xC1\x83" "f\x81[\x83^(&A)";
// "コメント&1"
inline const char* const kComment1 = "\x83R\x83\x81\x83\x93\x83g&1";
// "コメント&2"
inline const char* const kComment2 = "\x83R\x83\x81\x83\x93\x83g&2";
// "ファイル名(&N)"
inline const char* const kFileNameLabel = "\x83t\x83@\x83" "C\x83\x8B\x96\xBC(&N)";
// "参照"
inline const char* const kBrowse = "\x8EQ\x8F\xC6";
// "図形の位置(&O)"
inline const char* const kPlacementGroup = "\x90}\x8C`\x82\xCC\x88\xCA\x92u(&O)";
// "中央合わせ(&M)"
inline const char* const kPlaceCentre = "\x92\x86\x89\x9B\x8D\x87\x82\xED\x82\xB9(&M)";
// "左上合わせ(&L)"
inline const char* const kPlaceTopLeft = "\x8D\xB6\x8F\xE3\x8D\x87\x82\xED\x82\xB9(&L)";
// "左下合わせ(&B)"
inline const char* const kPlaceBottomLeft = "\x8D\xB6\x89\xBA\x8D\x87\x82\xED\x82\xB9(&B)";
// "座標ファイル(*.txt)|*.TXT"
inline const char* const kTxtSaveFilter = "\x8D\xC0\x95W\x83t\x83@\x83" "C\x83\x8B(*.txt)|*.TXT";
// "JW_CAD データファイル(*.jwc)|*.JWC"
inline const char* const kJwcSaveFilter = "JW_CAD \x83" "f\x81[\x83^\x83t\x83@\x83" "C\x83\x8B(*.jwc)|*.JWC";
// "JW_CAD データ(*.jwc)|*.JWC"
inline const char* const kDumpOpenFilter = "JW_CAD \x83" "f\x81[\x83^(*.jwc)|*.JWC";
// "用紙(&P)"
inline const char* const kPaperGroup = "\x97p\x8E\x86(&P)";
// "用紙サイズ(&P)"
inline const char* const kPaperSize = "\x97p\x8E\x86\x83T\x83" "C\x83Y(&P)";
// "変換単位(&D)"
inline const char* const kDimScale = "\x95\xCF\x8A\xB7\x92P\x88\xCA(&D)";
// "縮尺(&G)"
inline const char* const kScaleGroup = "\x8Fk\x8E\xDA(&G)";
// "全グループ同一縮尺"
inline const char* const kSameScale = "\x91S\x83O\x83\x8B\x81[\x83v\x93\xAF\x88\xEA\x8Fk\x8E\xDA";
// "縮尺(&S)"
inline const char* const kScaleLabel = "\x8Fk\x8E\xDA(&S)";
// "各グループ個別指定"
inline const char* const kEachScale = "\x8A" "e\x83O\x83\x8B\x81[\x83v\x8C\xC2\x95\xCA\x8Ew\x92\xE8";
// "Group"
inline const char* const kGroupHeader = "Group";
// "縮尺"
inline const char* const kScaleRowLabel = "\x8Fk\x8E\xDA";
// "罫線(&K)"
inline const char* const kRuledGroup = "\x8Cr\x90\xFC(&K)";
// "グループ(&G)"
inline const char* const kGroupLabel = "\x83O\x83\x8B\x81[\x83v(&G)";
// "レイヤ(&L)"
inline const char* const kLayerLabel = "\x83\x8C\x83" "C\x83\x84(&L)";
// "線色(&C)"
inline const char* const kPenLabel = "\x90\xFC\x90" "F(&C)";
// "文字(&M)"
inline const char* const kMojiGroup = "\x95\xB6\x8E\x9A(&M)";
// "記号(&S)"
inline const char* const kSymbolGroup = "\x8BL\x8D\x86(&S)";
// "線色(&C)"
inline const char* const kColorGroup = "\x90\xFC\x90" "F(&C)";
// "Pen番号[1～6]を入力します"
inline const char* const kColorNote = "Pen\x94\xD4\x8D\x86[1\x81`6]\x82\xF0\x93\xFC\x97\xCD\x82\xB5\x82\xDC\x82\xB7";
// "初期値"
inline const char* const kFactoryValues = "\x8F\x89\x8A\xFA\x92l";
// "線種(&T)"
inline const char* const kTypeGroup = "\x90\xFC\x8E\xED(&T)";
// "線種番号[1～9]を入力"
inline const char* const kTypeNote = "\x90\xFC\x8E\xED\x94\xD4\x8D\x86[1\x81`9]\x82\xF0\x93\xFC\x97\xCD";
// "ダブル線の間隔(&D)"
inline const char* const kDoublePitch = "\x83_\x83u\x83\x8B\x90\xFC\x82\xCC\x8A\xD4\x8Au(&D)";
// "(mm)"
inline const char* const kMillimetres = "(mm)";
// "文字設定表(&T)"
inline const char* const kMojiTableGroup = "\x95\xB6\x8E\x9A\x90\xDD\x92\xE8\x95\x5C(&T)";
// "単位 0.1mm"
inline const char* const kMojiUnit = "\x92P\x88\xCA 0.1mm";
// "　,Pen,幅,高さ,間隔"
inline const char* const kMojiHeader = "\x81@,Pen,\x95\x9D,\x8D\x82\x82\xB3,\x8A\xD4\x8Au";
// "変換オプション(&O)"
inline const char* const kOptionGroup = "\x95\xCF\x8A\xB7\x83I\x83v\x83V\x83\x87\x83\x93(&O)";
// "上付き,下付き文字を^u,^d文字に変換する。"
inline const char* const kExchangeCaret = "\x8F\xE3\x95t\x82\xAB,\x89\xBA\x95t\x82\xAB\x95\xB6\x8E\x9A\x82\xF0^u,^d\x95\xB6\x8E\x9A\x82\xC9\x95\xCF\x8A\xB7\x82\xB7\x82\xE9\x81" "B";
// "背景色のあるセルをソリッドに変換する。"
inline const char* const kExchangeSolid = "\x94w\x8Ci\x90" "F\x82\xCC\x82\xA0\x82\xE9\x83Z\x83\x8B\x82\xF0\x83\x5C\x83\x8A\x83" "b\x83h\x82\xC9\x95\xCF\x8A\xB7\x82\xB7\x82\xE9\x81" "B";
// "(JWW座標ファイルに保存する場合のみ有効）"
inline const char* const kOptionNote = "(JWW\x8D\xC0\x95W\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x95\xDB\x91\xB6\x82\xB7\x82\xE9\x8F\xEA\x8D\x87\x82\xCC\x82\xDD\x97L\x8C\xF8\x81j";
// "&JWCファイル"
inline const char* const kDumpFileGroup = "&JWC\x83t\x83@\x83" "C\x83\x8B";
// "ダンプデータ(&D)"
inline const char* const kDumpDataGroup = "\x83_\x83\x93\x83v\x83" "f\x81[\x83^(&D)";
// "線データ(&L)"
inline const char* const kDumpLine = "\x90\xFC\x83" "f\x81[\x83^(&L)";
// "円弧データ(&C)"
inline const char* const kDumpCircle = "\x89~\x8C\xCA\x83" "f\x81[\x83^(&C)";
// "文字データ(&S)"
inline const char* const kDumpString = "\x95\xB6\x8E\x9A\x83" "f\x81[\x83^(&S)";
// "点データ(&D)"
inline const char* const kDumpDot = "\x93_\x83" "f\x81[\x83^(&D)";
// "Tavo  ワークシートから JW_CAD 図面へ"
inline const char* const kAboutTitle = "Tavo  \x83\x8F\x81[\x83N\x83V\x81[\x83g\x82\xA9\x82\xE7 JW_CAD \x90}\x96\xCA\x82\xD6";
// "Copyright (C) Tavo の開発者"
inline const char* const kAboutCopyright = "Copyright (C) Tavo \x82\xCC\x8AJ\x94\xAD\x8E\xD2";
// The maker's web site, the about page's link.
inline const char* const kMakerSite = "http://tavo.example/";
// "Tavo の開発者"
inline const char* const kAboutMaker = "Tavo \x82\xCC\x8AJ\x94\xAD\x8E\xD2";

}  // namespace tavo::sjis
