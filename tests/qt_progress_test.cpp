// The progress dialog through its exports on the offscreen platform, driven
// from a host loop as the macro drives it: a click or Esc waiting in the
// queue is seen by the next Progress call.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "qt/progress_form.h"
#include "platform/qt_application.h"
#include "qt_script.h"
#include "tavo.h"

namespace tavo {
namespace {

using test::LastError;

std::vector<QtProgressForm*> OpenDialogs() {
    std::vector<QtProgressForm*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = dynamic_cast<QtProgressForm*>(w); p && p->isVisible()) found.push_back(p);
    return found;
}

// A click as the window system queues it, handled at the next event round.
void QueueClick(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

class ProgressExports : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::EnsureQtApplication(platform::QtUse::Windows)); }
    void TearDown() override { ProgressDestroy(); }
};

// The bars show the form's ranges and positions; a second create replaces
// the first rather than leaving it on screen; destroyed, it is gone at once.
TEST_F(ProgressExports, TheBarsShowTheHostsRangesAndPositions) {
    EXPECT_EQ(Progress(1, 1), -1);  // no dialog: nothing happens
    ProgressCreate(100, 40);
    ProgressCreate(100, 40);
    ASSERT_EQ(OpenDialogs().size(), 1u);
    QtProgressForm* d = OpenDialogs()[0];
    EXPECT_FALSE(d->isModal());
    auto* pbLine = d->findChild<QProgressBar*>(QStringLiteral("pbLine"));
    auto* pbText = d->findChild<QProgressBar*>(QStringLiteral("pbText"));
    EXPECT_EQ(Progress(150, 10), -1);
    EXPECT_EQ(pbLine->value(), 100);  // above the maximum: a full bar
    EXPECT_EQ(pbText->maximum(), 40);
    EXPECT_EQ(pbText->value(), 10);
    ProgressDestroy();
    EXPECT_TRUE(OpenDialogs().empty());
    EXPECT_EQ(LastError(), "");
}

TEST_F(ProgressExports, AHostLoopSeesCancelAtItsNextCall) {
    ProgressCreate(100, 50);
    QtProgressForm* d = OpenDialogs().at(0);
    int32_t result = -1;
    int calls = 0;
    for (int16_t i = 0; i < 300 && result == -1; ++i, ++calls) {
        if (i == 120) QueueClick(d->findChild<QPushButton*>(QStringLiteral("btnCancel")));
        result = Progress(i, static_cast<int16_t>(i / 2));
    }
    EXPECT_EQ(calls, 121);  // the click queued before call 121 stopped it
    EXPECT_TRUE(d->isVisible());  // the window stays until destroyed
    EXPECT_EQ(Progress(30, 30), 0);

    // Esc acts as Cancel.
    ProgressCreate(10, 10);
    EXPECT_EQ(Progress(1, 1), -1);
    QCoreApplication::postEvent(OpenDialogs().at(0), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(Progress(2, 2), 0);
}

}  // namespace
}  // namespace tavo
