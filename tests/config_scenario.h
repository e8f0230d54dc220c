#pragma once

// The settings dialog's scenarios (tests/data/config/*.txt): one action a
// line, worked the same way against the Qt dialog (config_script.cpp) and
// the native one under Wine (windows/config_host.cpp). The words:
//   mode export|dump|build        which export opens the dialog
//   ini LINE                      a line of the starting "tavo.ini"
//   page N                        selects the tree node of page N
//   type NAME TEXT                clears the box and types TEXT (may be empty)
//   cell GRID COL ROW TEXT        the same in a grid's cell
//   enter NAME | enter GRID COL ROW   the Enter key there
//   focus NAME | focus GRID COL ROW   the focus must be there now
//   shows NAME TEXT               a box or list shows TEXT now
//   checked NAME 0|1              a radio button or check box is (not) checked
//   disabled NAME | hidden NAME   ... is disabled, is not shown
//   click NAME                    a button, radio button or check box
//   choose NAME INDEX             a drop-down list's entry
//   escape | ok | cancel | close  how the dialog ends
//   result N                      what the export must return
//   stored SECTION KEY VALUE      "tavo.ini" must have KEY=VALUE afterwards
//   absent SECTION KEY            ... and no KEY
//   untouched                     ... be as it was (or still missing)
// Texts are UTF-8 here and Shift-JIS in "tavo.ini"; "#" starts a comment.
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavo::test {

struct ScenarioStep {
    int Line = 0;
    std::string Verb;
    std::vector<std::string> Words;  // after the verb, up to the text
    std::string Text;                // the rest of the line for type, cell, ini, stored
};

struct Scenario {
    std::string Mode;
    std::vector<std::string> Ini;
    std::vector<ScenarioStep> Steps;  // what is done in the dialog
    int Result = -1;
    std::vector<ScenarioStep> Checks;  // stored, absent, untouched
};

// Words a verb takes before its text (-1: no text).
inline int WordsBeforeText(const std::string& verb) {
    if (verb == "type" || verb == "shows") return 1;
    if (verb == "stored") return 2;
    if (verb == "cell") return 3;
    if (verb == "ini") return 0;
    return -1;
}

// Throws std::runtime_error naming the line of a word it does not know.
inline Scenario ReadScenario(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot be read");
    Scenario s;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        ScenarioStep step;
        step.Line = number;
        std::size_t at = line.find(' ');
        step.Verb = line.substr(0, at);
        const int before = WordsBeforeText(step.Verb);
        while (at != std::string::npos && (before < 0 || int(step.Words.size()) < before)) {
            const std::size_t next = line.find(' ', at + 1);
            step.Words.push_back(line.substr(at + 1, next == std::string::npos ? next : next - at - 1));
            at = next;
        }
        if (before >= 0 && at != std::string::npos) step.Text = line.substr(at + 1);
        if (step.Verb == "mode")
            s.Mode = step.Words.empty() ? "" : step.Words[0];
        else if (step.Verb == "ini")
            s.Ini.push_back(step.Text);
        else if (step.Verb == "result")
            s.Result = step.Words.empty() ? -1 : std::stoi(step.Words[0]);
        else if (step.Verb == "stored" || step.Verb == "absent" || step.Verb == "untouched")
            s.Checks.push_back(step);
        else
            s.Steps.push_back(step);
    }
    if (s.Mode != "export" && s.Mode != "dump" && s.Mode != "build") throw std::runtime_error(path + ": no mode");
    return s;
}

}  // namespace tavo::test
