#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "forms/form_toolkit.h"

class QWidget;

// What every Qt form of the library shares: texts, fonts, the toolkit's
// dialogs, and the check that windows can be shown.
namespace tavo::qt {

// Makes sure the process's Qt application can show windows; throws
// tavo::Error ("no display is available ...") when it cannot.
void RequireWindows();

// Shift-JIS texts of the forms as Qt strings.
QString FromCp932(std::string_view cp932);
// File names: the bytes the file system takes, as Qt reads them.
QString FromFileName(const std::string& name);
std::string ToFileName(const QString& name);
// A message: its Shift-JIS parts around the file name.
QString FromFormText(const FormText& text);

// A form's font by its Shift-JIS face name and character height in pixels;
// the faces "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" show as their metric twins
// IPAPGothic and IPAGothic.
QFont FormFont(const char* faceCp932, int pixelHeight);

// A save-file dialog (object name "dlSave") that asks before overwriting
// and can be resized; the chosen file, or nothing when cancelled.
std::optional<std::string> RunSaveDialog(QWidget* parent, const SaveDialogRequest& request);

// A message box with an OK button (object name "MessageBox").
void RunMessageBox(QWidget* parent, const FormText& text, MessageKind kind);

// A filter of the forms ("description|patterns|...", Shift-JIS) as Qt's
// name filters; each pattern matches in either letter case, as it does on
// the platform the filters were written for.
QStringList NameFiltersOf(const std::string& filterCp932);

}  // namespace tavo::qt
