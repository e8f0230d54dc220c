#pragma once

// The class library's messages, as Shift-JIS bytes (every byte escaped so
// that the source stays plain ASCII).
namespace tavo::sjis {

// "ファイル "
inline const char* const kFile = "\x83t\x83@\x83" "C\x83\x8B ";
// " を作成できません"
inline const char* const kCannotCreateSuffix =
    " \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// " を開けません"
inline const char* const kCannotOpenSuffix = " \x82\xF0\x8A" "J\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
// "ファイルを作成できません"
inline const char* const kCannotCreateFile =
    "\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// "ファイルを開けません"
inline const char* const kCannotOpenFile =
    "\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x8A" "J\x82\xAF\x82\xDC\x82\xB9\x82\xF1";

}  // namespace tavo::sjis
