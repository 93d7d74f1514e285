#include "install/Install.h"
#include "install/InstallTexts.h"

using namespace install_names;

bool Install::getHomeDirectory()
{
    traceMessage(TraceFilename, "home directory lookup not available");
    return false;
}

bool Install::isDirInPath(const char*)
{
    return false;
}
