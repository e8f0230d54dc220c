#include "gui/qt_form_text.h"

#include <QFile>
#include <mutex>

#include "platform/encoding.h"

namespace tavo::gui {

QString FromCp932(std::string_view cp932) { return QString::fromStdString(platform::Cp932ToUtf8(cp932)); }

QString FromFileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

std::string ToFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString FromFormText(const FormText& text) {
    return FromCp932(text.Before) + FromFileName(text.FileName) + FromCp932(text.After);
}

QFont FormFont(const char* faceCp932, int pixelHeight) {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"),
                                   {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
        QFont::insertSubstitution(QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    });
    QFont font(FromCp932(faceCp932));
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace tavo::gui
