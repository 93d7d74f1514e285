// A package directory for the tests that run the built launcher as a user runs it: laid out as
// a package arrives on a machine, the launcher run in it, and the stand-in programs' records
// read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace qrvtest {

// The built stand-in JVM for the program `name`: the windowed one for javaw.exe and jrew.exe.
std::string standinJvmProgram(const std::string& name);
// The stand-in JVM under both program names (java.exe, javaw.exe) in `bin`, made with its
// parents, and its settings beside them: the version its test run reports, its answer to the
// test run, what it does as the wizard, then `more` settings (a later line wins).
void placeStandinJvm(const std::string& bin, const std::string& version,
                     const std::string& testRun = "good", const std::string& wizard = "create",
                     const std::string& more = "");
// The starts that the stand-in JVM in `bin` recorded; and those of them that were no test run.
std::vector<RecordedStart> jvmStarts(const std::string& bin);
std::vector<RecordedStart> wizardStarts(const std::string& bin);

class Package {
public:
    // The directory, made with its parents. With `copyLauncher` the built setup.exe is copied
    // in and started from there; without, it is started from the build directory.
    explicit Package(std::string dir, bool copyLauncher = true);

    const std::string& dir() const { return dir_; }
    std::string operator/(const std::string& name) const { return dir_ + "\\" + name; }

    void put(const std::string& name, const std::string& text) const;
    // A built program or file copied in, under its own name or as `as`.
    void copyBuilt(const std::string& name, const std::string& as = "") const;
    // What a package whose wizard can start holds: the test class, install.jar, the control file.
    void wizardFiles(const std::string& control) const;
    // The stand-in expander as `as`, laying out the stand-in JVM with `settings`.
    void expander(const std::string& as, const std::string& settings) const;

    // Starts the launcher in the package with `arguments`; the run must start and end by itself
    // within `limitMs` (call it under ASSERT_NO_FATAL_FAILURE). Its exit code is kept. `flags`:
    // DETACHED_PROCESS starts it as a desktop does, without a console.
    void run(const std::string& arguments, DWORD limitMs = 60000, DWORD flags = 0);
    DWORD exitCode() const { return exitCode_; }

    // The messages of the package's trace and error logs; the error log as text.
    std::vector<std::string> trace() const { return logMessages(*this / "jinstall.log"); }
    std::vector<std::string> errors() const { return logMessages(*this / "errors.log"); }
    std::string errorsText() const { return readTextFile(*this / "errors.log"); }
    // The starts that the stand-in `name` ("fakeexpander") recorded in the package.
    std::vector<RecordedStart> starts(const std::string& name) const;

private:
    std::string dir_;
    std::string launcher_;
    DWORD exitCode_ = 0;
};

} // namespace qrvtest
