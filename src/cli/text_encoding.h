#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tavo::cli {

class Args;

// A problem the command finds in what it was given, worded in UTF-8 (the
// library's own errors are Shift-JIS). `file` is empty for the command line.
struct CommandError {
    std::string file;
    std::string message;
};

// How the texts of a CSV file are encoded; Detect decides per file.
enum class TextEncoding { Detect, ShiftJis, Utf8 };

// --encoding sjis|utf8, with --utf8 as another spelling of --encoding utf8.
TextEncoding EncodingOption(const Args& args);

// The encoding of a text file's bytes: a UTF-8 byte-order mark, or a first
// line "# encoding: utf-8" / "# encoding: shift_jis", says it; otherwise
// valid UTF-8 with any byte above 0x7F is UTF-8 (Shift-JIS text with kanji
// or kana almost never is), and anything else is Shift-JIS.
TextEncoding DetectEncoding(std::string_view bytes);

// A text file's bytes as Shift-JIS: UTF-8 (detected or forced) is converted
// exactly, and a character without a Shift-JIS form throws CommandError
// naming `file`, its line and the character; Shift-JIS passes unchanged.
std::string TextFileToShiftJis(std::string bytes, TextEncoding encoding, const std::string& file);

// The first line a CSV of ours starts with, naming its encoding.
std::string EncodingLine(TextEncoding encoding);

// A command-line argument (in the locale's character set) as Shift-JIS;
// throws CommandError naming `what` and the character.
std::string ArgumentToShiftJis(std::string_view text, const std::string& what);
// The same as UTF-8, lossy.
std::string ArgumentToUtf8(std::string_view text);

// Text for a person, in the locale's character set (UTF-8 when the locale
// names plain ASCII, as the C locale does).
std::string Cp932ForPerson(std::string_view cp932);
std::string Utf8ForPerson(std::string_view utf8);

// The encoding of the locale's character set: Utf8 (the C locale too),
// ShiftJis, or Detect for any other set.
TextEncoding LocaleEncoding();

bool IsTerminal(std::FILE* stream);

// Once, at start: the character set comes from the environment's locale.
void UseEnvironmentLocale();

}  // namespace tavo::cli
