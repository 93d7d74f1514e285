// The checker's look at the package's Java parts: the test class's version against the oldest
// Java accepted, and the wizard's class in the jars and folders of its class path.
#pragma once

#include <string>
#include <vector>

#include "check/ControlCheck.h"
#include "check/PackageDir.h"
#include "check/Report.h"

class JavaCheck {
public:
    JavaCheck(const PackageDir& dir, Report& report, std::string controlName)
        : dir_(dir), report_(report), control_(std::move(controlName)) {}

    void run(const PackageSettings& settings);

private:
    void checkTestClass(const PackageSettings& settings);
    void checkWizardClass(const PackageSettings& settings);
    // The entry names of the jar `file`; false (reported) when it is no zip file.
    bool jarNames(const std::filesystem::path& file, std::vector<std::string>& names);

    const PackageDir& dir_;
    Report& report_;
    std::string control_;
};
