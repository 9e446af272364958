// The club window as the program creates it: the settings file found by LocateSettings.
#include "shell/LocateSettings.h"
#include "shell/ZnCliTop.h"

namespace zn {

TZnForm::TZnForm(const std::string& programDir, TSocketFactory socketFactory)
    : TZnForm(programDir, std::move(socketFactory),
              [](const std::string& dir) { return LocateSettings(dir); }) {}

}  // namespace zn
