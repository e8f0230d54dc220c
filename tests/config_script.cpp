// Works a scenario of tests/data/config against the Qt settings dialog as a
// person would, through the export of its mode: controls found by their
// designed names, keys typed with QTest so that the key filters run,
// Japanese handed over as an input method commits it. "tavo.ini" is left in
// FOLDER; the result code and every failed expectation are printed.
//   config_script SCENARIO [FOLDER]   (without FOLDER: a fresh one, removed)
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "config_scenario.h"
#include "qt_script.h"
#include "platform/encoding.h"
#include "platform/qt_application.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "tavo.h"
#include "test_support.h"

namespace tavo::test {
namespace {

// An expectation the dialog does not meet.
using Failed = std::runtime_error;

class Player {
public:
    explicit Player(QWidget* dialog) : w_(dialog) {}

    void Do(const ScenarioStep& step) {
        const std::string& v = step.Verb;
        if (!w_->isVisible()) throw Failed("the dialog has closed already");
        if (v == "page") {
            Page(Int(step, 0));
        } else if (v == "type") {
            Type(Usable<QLineEdit>(Word(step, 0)), step.Text);
        } else if (v == "cell") {
            Cell(Usable<QTableWidget>(Word(step, 0)), Int(step, 1), Int(step, 2), step.Text);
        } else if (v == "enter") {
            Enter(step);
        } else if (v == "focus") {
            ExpectFocus(step);
        } else if (v == "shows" || v == "checked" || v == "disabled" || v == "hidden") {
            ExpectState(step);
        } else if (v == "click" || v == "ok" || v == "cancel") {
            Click(Usable<QAbstractButton>(v == "click" ? Word(step, 0) : v == "ok" ? "bnOk" : "bnCancel"));
        } else if (v == "choose") {
            Choose(Usable<QComboBox>(Word(step, 0)), Int(step, 1));
        } else if (v == "escape") {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : w_, Qt::Key_Escape);
        } else if (v == "close") {
            w_->close();
        } else {
            throw Failed("no such action: " + v);
        }
    }

private:
    static std::string Word(const ScenarioStep& step, std::size_t i) {
        if (i >= step.Words.size()) throw Failed(step.Verb + ": too few words");
        return step.Words[i];
    }
    static int Int(const ScenarioStep& step, std::size_t i) { return std::stoi(Word(step, i)); }

    // A control the person can reach: on the shown page and enabled.
    template <class T>
    T* Usable(const std::string& name) {
        T* c = w_->findChild<T*>(QString::fromStdString(name));
        if (!c) throw Failed("no control " + name + " of its kind");
        if (!c->isVisible()) throw Failed(name + " is not shown");
        if (!c->isEnabled()) throw Failed(name + " is disabled");
        return c;
    }

    void Page(int page) {
        auto* tree = w_->findChild<QTreeWidget*>(QStringLiteral("tvContents"));
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == page) {
                tree->setCurrentItem(*it);
                return;
            }
        throw Failed("no tree node of page " + std::to_string(page));
    }

    // Typed characters one by one; a run of non-ASCII ones as one commit.
    static void Keys(QWidget* box, const std::string& utf8) {
        const QString text = QString::fromUtf8(utf8.c_str());
        for (qsizetype i = 0; i < text.size();) {
            qsizetype end = i;
            const bool ascii = text[i].unicode() < 0x80;
            while (end < text.size() && (text[end].unicode() < 0x80) == ascii) ++end;
            if (ascii) {
                QTest::keyClicks(box, text.mid(i, end - i));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(text.mid(i, end - i));
                QApplication::sendEvent(box, &commit);
            }
            i = end;
        }
    }

    static void Type(QLineEdit* box, const std::string& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        Keys(box, text);
    }

    static void Cell(QTableWidget* grid, int col, int row, const std::string& text) {
        grid->setFocus();
        grid->setCurrentCell(row, col);
        QTest::keyClick(grid, Qt::Key_F2);  // the cell's editor, as a double click opens it
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor || editor->parentWidget() == nullptr) throw Failed("no editor in the cell");
        Type(editor, text);
    }

    static QTableWidget* GridOf(QWidget* w) {
        for (QObject* o = w; o; o = o->parent())
            if (auto* grid = qobject_cast<QTableWidget*>(o)) return grid;
        return nullptr;
    }

    void Enter(const ScenarioStep& step) {
        if (step.Words.size() < 3) {
            auto* box = Usable<QLineEdit>(Word(step, 0));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        auto* grid = Usable<QTableWidget>(Word(step, 0));
        const int col = Int(step, 1), row = Int(step, 2);
        QWidget* focus = QApplication::focusWidget();
        // In the cell's open editor, or in the grid at the cell.
        if (!(focus && focus != grid && GridOf(focus) == grid && grid->currentRow() == row &&
              grid->currentColumn() == col)) {
            grid->setFocus();
            grid->setCurrentCell(row, col);
            focus = grid;
        }
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::qWait(20);  // the move waits for the editor's commit
    }

    void ExpectFocus(const ScenarioStep& step) {
        QWidget* focus = QApplication::focusWidget();
        std::string at = "nothing";
        if (QTableWidget* grid = focus ? GridOf(focus) : nullptr)
            at = grid->objectName().toStdString() + " " + std::to_string(grid->currentColumn()) + " " +
                 std::to_string(grid->currentRow());
        else if (focus)
            at = focus->objectName().toStdString();
        std::string want = Word(step, 0);
        for (std::size_t i = 1; i < step.Words.size(); ++i) want += " " + step.Words[i];
        if (at != want) throw Failed("the focus is on " + at);
    }

    void ExpectState(const ScenarioStep& step) {
        const std::string name = Word(step, 0);
        auto* c = w_->findChild<QWidget*>(QString::fromStdString(name));
        if (!c) throw Failed("no control " + name);
        const std::string& v = step.Verb;
        if (v == "disabled" && c->isEnabled()) throw Failed(name + " is enabled");
        if (v == "hidden" && c->isVisible()) throw Failed(name + " is shown");
        if (v == "checked") {
            auto* b = qobject_cast<QAbstractButton*>(c);
            if (!b || b->isChecked() != (Int(step, 1) != 0)) throw Failed(name + (b && b->isChecked() ? " is" : " is not") + " checked");
        }
        if (v == "shows") {
            QString text;
            if (auto* box = qobject_cast<QLineEdit*>(c)) text = box->text();
            else if (auto* list = qobject_cast<QComboBox*>(c)) text = list->currentText();
            else throw Failed(name + " shows no text");
            if (text.toStdString() != step.Text) throw Failed(name + " shows \"" + text.toStdString() + "\"");
        }
    }

    // Radio buttons and check boxes on their mark, push buttons in the middle.
    static void Click(QAbstractButton* b) {
        const QPoint at = qobject_cast<QPushButton*>(b) ? b->rect().center() : QPoint(6, b->height() / 2);
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }

    // From the first entry down, as the keys go.
    static void Choose(QComboBox* list, int index) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
        if (list->currentIndex() != index) throw Failed("the list stands at " + std::to_string(list->currentIndex()));
    }

    QWidget* w_;
};

// What "tavo.ini" must hold afterwards.
void CheckFile(const Scenario& s, const std::string& folder, const std::optional<std::string>& before,
               std::vector<std::string>& errors) {
    const std::string path = folder + "/tavo.ini";
    const bool exists = std::filesystem::exists(path);
    const ProfileText ini = SettingsStore(folder + "/").loadIni();
    for (const ScenarioStep& c : s.Checks) {
        const std::string where = "line " + std::to_string(c.Line) + ": ";
        if (c.Verb == "untouched") {
            if (before ? !exists || readFile(path) != *before : exists) errors.push_back(where + "tavo.ini was written");
            continue;
        }
        if (c.Words.size() < 2) {
            errors.push_back(where + "too few words");
            continue;
        }
        const std::string got = ini.read(c.Words[0], c.Words[1], "\x01");
        if (c.Verb == "absent" && got != "\x01") errors.push_back(where + c.Words[1] + " is there: " + got);
        if (c.Verb == "stored" && got != platform::Utf8ToCp932(c.Text))
            errors.push_back(where + c.Words[1] + "=" + (got == "\x01" ? "<none>" : platform::Cp932ToUtf8(got)));
    }
}

int Run(const std::string& file, const std::string& folder) {
    const Scenario s = ReadScenario(file);
    std::optional<std::string> before;
    if (!s.Ini.empty()) {
        before = "";
        for (const std::string& line : s.Ini) *before += platform::Utf8ToCp932(line) + "\r\n";
        writeFile(folder + "/tavo.ini", *before);
    }
    setenv("TAVO_SETTINGS_DIR", (folder + "/").c_str(), 1);
    std::vector<std::string> errors;
    int16_t result = 0;
    {
        ModalScript script({{"ConfigForm", [&](QWidget* w) {
            Player player(w);
            for (const ScenarioStep& step : s.Steps) {
                try {
                    player.Do(step);
                } catch (const std::exception& e) {
                    errors.push_back("line " + std::to_string(step.Line) + ": " + e.what());
                    break;
                }
            }
            if (w->isVisible()) {
                errors.push_back("the dialog is still open after the last action");
                w->close();
            }
        }}});
        result = s.Mode == "export" ? ShowExportForm() : s.Mode == "dump" ? ShowDumpForm() : ShowBuildForm();
        if (!script.Done()) errors.push_back("the dialog never opened");
    }
    if (result != s.Result) errors.push_back("the export returned " + std::to_string(result));
    CheckFile(s, folder, before, errors);
    std::printf("result %d\n", result);
    for (const std::string& e : errors) std::printf("error: %s: %s\n", file.c_str(), e.c_str());
    return errors.empty() ? 0 : 1;
}

}  // namespace
}  // namespace tavo::test

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: config_script SCENARIO [FOLDER]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!tavo::platform::EnsureQtApplication(tavo::platform::QtUse::Windows)) {
        std::fprintf(stderr, "config_script: no Qt application\n");
        return 2;
    }
    try {
        if (argc == 3) return tavo::test::Run(argv[1], argv[2]);
        const tavo::test::TempDir dir;
        return tavo::test::Run(argv[1], dir.path().string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "config_script: %s\n", e.what());
        return 2;
    }
}
