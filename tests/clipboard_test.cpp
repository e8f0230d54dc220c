// Under the offscreen platform the library's JWT text reaches Qt's own
// clipboard: as Unicode, and as the exact Shift-JIS bytes.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/encoding.h"
#include "tavo.h"

namespace {

TEST(QtClipboard, HoldsTheJwtText) {
    JwcCreate(3, 1);
    AddSen(0, 0, 420, 0, 2, 17, 1, 0, 0);
    const char* text = "\x95\xBD\x96\xCA\x90\x7D";  // a plan
    AddMoji(0, 0, 10, 0, 3, 240, 0, &text);
    CopyToAsJwt();
    TavoString s = TavoGetClipboardText();
    const std::string bytes(s, TavoStringByteLen(s));
    TavoFreeString(s);
    ASSERT_NE(bytes.find("L2,17,0.00,0.00,420.00,0.00,1,2\r\n"), std::string::npos);

    // The library made the application object the clipboard needs.
    ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text().toStdString(), tavo::platform::Cp932ToUtf8(bytes));
    const QByteArray raw = data->data("text/plain;charset=Shift_JIS");
    EXPECT_EQ(std::string(raw.constData(), static_cast<std::size_t>(raw.size())), bytes);
    JwcDestroy();
}

}  // namespace
