#include "install/Install.h"

void Install::showStatusMessage(unsigned number)
{
    if (quietInstall || propertiesInstall)
        return;
    showStatus(number);
}
