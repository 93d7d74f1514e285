#include "install/Install.h"
#include "install/InstallTexts.h"

using namespace install_names;

bool Install::runJavaInstaller(char*)
{
    traceMessage(TraceFilename, "install wizard launch not available");
    return false;
}
