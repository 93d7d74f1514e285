// The checker's look at the package's files: those the control file names, the manifest's
// names, the vendor installer's command, the JVM program's window, and names that older
// systems cannot hand to Java.
#pragma once

#include <string>

#include "check/ControlCheck.h"
#include "check/PackageDir.h"
#include "check/Report.h"

class FileCheck {
public:
    FileCheck(const PackageDir& dir, Report& report, std::string controlName)
        : dir_(dir), report_(report), control_(std::move(controlName)) {}

    void run(const PackageSettings& settings);

private:
    void checkClasspath(const PackageSettings& settings);
    void checkInstaller(const PackageSettings& settings);
    void checkSecurityFile(const SettingValue& value, const char* key);
    void checkManifest();
    void checkCommandName(const PackageSettings& settings);
    void checkNames();
    void missing(const SettingValue& value, const char* key, const std::string& file);

    const PackageDir& dir_;
    Report& report_;
    std::string control_;
};
