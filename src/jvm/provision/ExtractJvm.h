// Sets up a JVM that the installer expanded from the package: here its registration under the
// JavaSoft keys, which only ever adds what is missing.
#pragma once

#include <windows.h>

#include "diag/Trace.h"
#include "launcher/Status.h"

class ExtractJvm : public Trace, public Status {
public:
    ExtractJvm();
    ~ExtractJvm() override;

    void setHwnd(HWND hwnd) { hDlg = hwnd; }

    // The configureWinRegistry switch of "qrv.control" (or "native.properties" when the control
    // file cannot be opened); true when neither exists or the line is missing.
    bool configureWinReg();

    // Registers a JVM home under `productKey`\`versionName` of HKEY_LOCAL_MACHINE, adding only
    // missing values. False only when the version key can be neither opened nor created.
    bool addJvmToRegistry(const char* productKey, const char* homeValueName,
                          const char* versionName, const char* micro, const char* home,
                          const char* commandName);
    // Creates the product key when missing and names the family of `versionName` as its
    // "CurrentVersion" when that value is missing or empty.
    void addJvmTopLevelKey(const char* productKey, const char* versionName);
    // Opens (or creates) root\subkey with write access; the caller closes `*key` on success.
    bool addToRegistry(HKEY root, const char* subkey, HKEY* key);
    // Writes the home value, then "MicroVersion"; the outcome of the second.
    bool addJvmSubentries(HKEY key, const char* homeValueName, const char* versionName,
                          const char* micro, const char* home);
    // Writes `name` = `text` unless the value already holds something; true when the value
    // exists afterwards.
    bool addValueToRegistry(HKEY key, const char* name, const char* text);

private:
    HWND hDlg = nullptr;
};
