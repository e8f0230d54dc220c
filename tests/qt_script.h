#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tavo.h"

namespace tavo::test {

// Plays a person answering modal windows. Each step waits for a modal
// window of its kind (a class name such as "QFileDialog", or an object name
// such as "JwBrwsForm") and acts on it. Steps run from the event loop, not
// inside the timer, so a step may open a dialog of its own and wait in it;
// the next step then takes the new window. A script that has not finished
// after 30 seconds closes the windows still open, so a test fails instead
// of waiting for ever.
class ModalScript {
public:
    struct Step {
        std::string kind;
        std::function<void(QWidget* modal)> act;
    };

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
        clock_.start();
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Done() const { return next_ == steps_.size(); }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!Done() && modal && clock_.elapsed() > 30000) {
            ADD_FAILURE() << "step " << next_ << " (" << steps_[next_].kind << ") never came; closing "
                          << modal->metaObject()->className();
            modal->close();
            return;
        }
        if (Done() || !modal || !modal->isVisible()) return;
        // The same window again only once the step before has finished.
        if (modal == last_ && !*lastDone_) return;
        const Step& step = steps_[next_];
        if (!modal->inherits(step.kind.c_str()) && modal->objectName().toStdString() != step.kind) return;
        ++next_;
        last_ = modal;
        lastDone_ = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(
            modal,
            [act = step.act, modal, done = lastDone_] {
                act(modal);
                *done = true;
            },
            Qt::QueuedConnection);
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QPointer<QWidget> last_;
    std::shared_ptr<bool> lastDone_ = std::make_shared<bool>(true);
    QTimer timer_;
    QElapsedTimer clock_;
};

inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

inline std::string LastError() {
    TavoString s = TavoGetLastError();
    std::string text(s, TavoStringByteLen(s));
    TavoFreeString(s);
    return text;
}

// Runs a program while this process keeps serving its windows (a clipboard
// owner must answer xclip); its standard output.
inline QByteArray RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    p.start(program, args);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

}  // namespace tavo::test
