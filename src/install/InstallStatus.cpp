#include "install/Install.h"

#include "ui/Language.h"
#include "install/InstallTexts.h"
#include "ui/StatusTexts.h"
#include "util/Wide.h"

void Install::showStatusMessage(unsigned number)
{
    if (quietInstall || propertiesInstall)
        return;
    // Asked afresh on every call, so a changed locale shows at the next step.
    char userLanguage[1000];
    getLanguage(userLanguage);
    const char* text = statusText(userLanguage, number);
    showStatus(text);
    traceMessage(install_names::TraceFilename, fromUtf8(text).c_str());
}
