#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <string_view>

#include "forms/form_toolkit.h"

namespace tavo::gui {

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

}  // namespace tavo::gui
