#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "forms/form_toolkit.h"

class QWidget;

namespace tavo::gui {

// The toolkit's dialogs as every Qt form runs them.

// A save-file dialog (object name "dlSave") that asks before overwriting
// and can be resized; the chosen file, or nothing when cancelled.
std::optional<std::string> RunSaveDialog(QWidget* parent, const SaveDialogRequest& request);

// A message box with an OK button (object name "MessageBox").
void RunMessageBox(QWidget* parent, const FormText& text, MessageKind kind);

// A filter of the forms ("description|patterns|...", Shift-JIS) as Qt's
// name filters; each pattern matches in either letter case, as it does on
// the platform the filters were written for.
QStringList NameFiltersOf(const std::string& filterCp932);

}  // namespace tavo::gui
