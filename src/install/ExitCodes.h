// The launcher's process exit codes besides the wizard's own: deployment tools that run a quiet
// install read nothing else.
#pragma once

namespace exit_codes {
// The control file could not be opened or rewritten.
constexpr int ControlFile = 16;
// No acceptable JVM was found and none could be installed.
constexpr int NoJvm = 17;
// A JVM was settled but the wizard could not be started, the retry included.
constexpr int WizardNotStarted = 18;
// Any other failure, and a run that ended before the driver had decided.
constexpr int OtherFailure = 19;
// Another run of the same package directory is going on; this one touched nothing.
constexpr int SecondRun = 20;
// The package directory cannot be written; the logs went to a folder under TEMP.
constexpr int ReadOnlyPackage = 21;
} // namespace exit_codes
