#pragma once

#include <string>
#include <vector>

namespace tavo::cli {

extern const char* const kRenderHelp;
// tavo render FILE.jwc -o OUT.png [--size WxH] [--select-all]
// tavo render --export IN.csv -o OUT.png [--encoding sjis|utf8] [--size WxH] [--select-all]
int RunRender(const std::vector<std::string>& argv);

}  // namespace tavo::cli
