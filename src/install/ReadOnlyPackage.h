// A package directory that cannot be written (a DVD, a read-only share), or that no program can
// be started in: told before anything is written there, reported with logs under TEMP instead of
// a run that fails on a side effect.
#pragma once

#include <string>

#include "diag/Trace.h"
#include "ui/Status.h"

class ReadOnlyPackage : public Trace, public Status {
public:
    explicit ReadOnlyPackage(const char* packageDir) : packageDir_(packageDir) {}

    // True when creating a file in `packageDir` is refused as access denied or write protection;
    // the probe leaves nothing behind where it succeeds.
    static bool unwritable(const char* packageDir);

    // Writes errors.log and jinstall.log into a folder under TEMP named after the directory,
    // shows one box unless `quiet`, and returns the run's exit code.
    int report(bool quiet);
    // The same for a package directory longer than the `limit` characters a program can be
    // started in, with no short name to start one by; the run ends with 19.
    int reportTooDeep(bool quiet, size_t limit);

    // Runs the package from a copy of its tree in a folder of its own under TEMP: the copy's
    // setup.exe (this program's own file where the package holds none) started there with
    // `arguments`, waited for, its exit code returned. The copy's run is one of a package
    // unpacked elsewhere ("startdir.txt" names this directory unless the package has its own),
    // so its cleanup program removes the copy. A package that does not fit in TEMP, or a file
    // that cannot be read, ends with the read-only report's code, nothing of the copy left.
    int runFromCopy(bool quiet, const char* arguments);

    // The folder under TEMP that takes the logs of a run whose directory `dir` cannot be written.
    static std::string logFolder(const std::string& dir);

private:
    // The start of the names of this directory's copies under TEMP: "qrv-copy-", the log
    // folder's tag of the directory, "-".
    std::string copyFolderPrefix() const;
    // Removes the copies of this directory that runs ended half way (killed, the power lost)
    // left in `temp`: this run holds the package's one-run guard, so no other run uses one.
    void removeStaleCopies(const std::string& temp);
    // The fresh folder under TEMP the copy goes into; empty when none could be made.
    std::string makeCopyFolder(const std::string& temp);
    int reportInTemp(bool quiet, const char* traceLine, const char* message, int exitCode);

    std::string packageDir_;
};
