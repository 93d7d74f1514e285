// The whole check of a package directory: the control file, the files it names, the Java
// parts; every finding goes to the report.
#pragma once

#include "check/PackageDir.h"
#include "check/Report.h"

void checkPackage(const PackageDir& dir, Report& report);
