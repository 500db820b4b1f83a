#include "support/guarded.h"

#include "main/error_box.h"
#include "services/win32_prompter.h"

namespace korv::winui {

void ReportCurrentError() {
    Win32Prompter prompter([] { return GetActiveWindow(); });
    behaviour::ShowErrorBoxForCurrentException(prompter);
}

}  // namespace korv::winui
