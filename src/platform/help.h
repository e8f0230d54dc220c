#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tavo::platform {

// The help system: our HTML pages stand in for the topics of the help file
// ("tavo.hlp"). Topic `context` is the page <help folder>/<language>/
// <context>.html; the help folder is $TAVO_HELP_DIR when set, else "help"
// beside the library (or program) that holds this code, as built, else the
// folder the install gives the pages (share/tavo/help). The language is
// Japanese ("ja") when the locale's is, else English ("en"); the other one
// when that page is missing.

// The page of a topic; throws tavo::Error naming the help file and the
// topic when there is none.
std::string HelpTopicPage(const std::string& helpFile, int32_t context);

// Opens that page in the desktop's browser and returns at once; throws
// tavo::Error when there is no page or nothing to open it with.
void ShowHelpTopic(const std::string& helpFile, int32_t context);

// Test seam: opens pages instead of the browser (returns whether it could);
// an empty function restores the browser.
void SetHelpOpener(std::function<bool(const std::string& page)> opener);

}  // namespace tavo::platform
