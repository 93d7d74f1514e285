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

private:
    int reportInTemp(bool quiet, const char* traceLine, const char* message, int exitCode);

    std::string packageDir_;
};
