#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace tavo::cli {

class Args;
class TempFolder;

// The options of export, render and view that change settings for one run.
extern const std::vector<std::string> kSettingsOptions;  // take a value
extern const std::vector<std::string> kSettingsFlags;
// Whether a command-line word is one of them ("--paper" or "--paper=A3").
bool IsSettingsOption(const std::string& word);

// "A0" to "A4" by the settings' paper index (A4 for any other).
const char* PaperName(int32_t plotSize);

// The settings of one run of the command: the stored ones, or another
// "tavo.ini" (--settings FILE), with --paper, --scale, --dim-scale,
// --solid/--no-solid and --caret/--no-caret laid over them. Every value is
// checked by the range table before anything is read.
//
// The library and the workbook host read settings through the exports,
// from the settings folder that $TAVO_SETTINGS_DIR names, anew on every
// call. When this run changes anything, or `snapshot` asks for settings
// read once (a batch), a private folder holds a copy with the changes and
// $TAVO_SETTINGS_DIR names it until the object goes: the user's "tavo.ini"
// is never written, and every read of the run, in this process and in the
// processes it starts, sees the same values.
class RunSettings {
public:
    RunSettings(const Args& args, bool snapshot);
    ~RunSettings();
    RunSettings(const RunSettings&) = delete;
    RunSettings& operator=(const RunSettings&) = delete;

    // The files the settings come from: no output may replace them.
    const std::vector<std::string>& inputs() const { return inputs_; }
    // Whether the options change anything (the preview then keeps its
    // window size and last file in the private copy, which goes).
    bool overridden() const { return overridden_; }
    // The record as this run's reads give it.
    TSettings record() const;
    // The stored FileName, where the host saves its file (Shift-JIS as stored).
    std::string storedFileName() const;
    // "paper A3, scale 1:100, dim scale 0.35, fills drawn, carets kept
    // (tavo.ini in FOLDER)", for -v.
    std::string describe() const;

private:
    std::vector<std::string> inputs_;
    std::string source_;  // the file the values came from, for describe
    bool overridden_ = false;
    std::unique_ptr<TempFolder> folder_;
    std::optional<std::string> previousDir_;
};

}  // namespace tavo::cli
