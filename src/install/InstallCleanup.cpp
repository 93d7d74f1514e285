#include "install/Install.h"
#include "install/InstallTexts.h"

using namespace install_names;

void Install::cleanUp(bool)
{
    traceMessage(TraceFilename, "cleanup not available");
}
