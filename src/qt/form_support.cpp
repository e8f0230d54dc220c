#include "qt/form_support.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <mutex>

#include "base/error.h"
#include "platform/encoding.h"
#include "platform/qt_application.h"

namespace tavo::qt {

void RequireWindows() {
    std::string why;
    if (!platform::EnsureQtApplication(platform::QtUse::Windows, &why)) throw Error(why);
}

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

QStringList NameFiltersOf(const std::string& filterCp932) {
    const QStringList parts = FromCp932(filterCp932).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& variant : {p.toLower(), p.toUpper()})
                if (!patterns.contains(variant)) patterns << variant;
        }
        // Qt reads the patterns from the last parentheses of the text, so
        // they take the place of those the description shows.
        QString description = parts[i];
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')'))) description.truncate(open);
        filters << description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::optional<std::string> RunSaveDialog(QWidget* parent, const SaveDialogRequest& request) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlSave"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setSizeGripEnabled(true);
    dialog.setNameFilters(NameFiltersOf(request.Filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.DefaultExt));
    const QFileInfo proposed(FromFileName(request.FileName));
    // A name without a folder opens in the folder of the last save.
    const QString folder = proposed.path() == QStringLiteral(".") ? FromFileName(request.InitialDir)
                                                                    : proposed.absolutePath();
    if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToFileName(dialog.selectedFiles().first());
}

void RunMessageBox(QWidget* parent, const FormText& text, MessageKind kind) {
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QStringLiteral("Tavo"), FromFormText(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

}  // namespace tavo::qt
