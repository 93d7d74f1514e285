// The checker's reading of "qrv.control": every line as the launcher takes it, the settings it
// leaves (with the line of each), and the faults of its keys and values.
#pragma once

#include <string>
#include <vector>

#include "check/PackageDir.h"
#include "check/Report.h"
#include "config/ControlFileRules.h"

struct SettingValue {
    std::string text;
    unsigned line = 0;  // of the line the launcher takes the value from; 0: not set
};

struct PackageSettings {
    SettingValue values[control_file::SettingCount];
    // The accepted versions once the launcher's defaults are filled in.
    std::string required;
    std::string minimum;
    std::string maximum;
    std::string jvmVersion;
    std::string classpath;

    const SettingValue& operator[](int index) const { return values[index]; }
    // "jvmRequiredVersion 1.4", "jvmMinVersion 11" or "jvmMinVersion 11 to jvmMaxVersion 17":
    // what decides the versions accepted, for the messages.
    std::string accepted() const;
};

// The entries of a class path that name the package's own files and folders, as written
// (surrounding quotes taken off): neither empty nor absolute.
std::vector<std::string> packageEntries(const std::string& classpath);

// The number of single-character edits (insert, delete, replace) between two texts.
size_t editDistance(const std::string& a, const std::string& b);

class ControlCheck {
public:
    ControlCheck(const PackageDir& dir, Report& report) : dir_(dir), report_(report) {}

    // False when the package has no control file the launcher can read (reported).
    bool read(PackageSettings& settings);
    // The control file's name in the report.
    const std::string& name() const { return name_; }

private:
    void takePiece(const std::string& text, unsigned line, PackageSettings& settings);
    void reportLineNotTaken(const std::string& text, unsigned line);
    void checkValues(PackageSettings& settings);
    void checkVersion(const PackageSettings& settings, int index);
    void checkInstallerType(const PackageSettings& settings);
    void settle(PackageSettings& settings);

    const PackageDir& dir_;
    Report& report_;
    std::string name_ = "qrv.control";
    bool configureSeen_ = false;
    bool readOnlySeen_ = false;
};
