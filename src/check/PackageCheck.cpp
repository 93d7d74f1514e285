#include "check/PackageCheck.h"

#include "check/ControlCheck.h"
#include "check/FileCheck.h"
#include "check/JavaCheck.h"

void checkPackage(const PackageDir& dir, Report& report)
{
    ControlCheck control(dir, report);
    PackageSettings settings;
    // Without a control file the launcher stops at once: nothing else counts.
    if (!control.read(settings))
        return;
    FileCheck(dir, report, control.name()).run(settings);
    JavaCheck(dir, report, control.name()).run(settings);
}
