// Helpers around the argrecorder stand-in, for tests that start programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace qrvtest {

// Copies the argrecorder stand-in to `path` (for example "<dir>\\javaw.exe").
inline void placeRecorder(const std::string& path)
{
    ASSERT_TRUE(CopyFileA(builtProgram("argrecorder.exe").c_str(), path.c_str(), FALSE))
        << "cannot copy the stand-in to " << path;
}

// Writes the stand-in's configuration beside it: create "__qrvwizard.sem" or not, exit code.
inline void configureRecorder(const std::string& exePath, bool createSem, int exitCode)
{
    const std::string base = exePath.substr(0, exePath.find_last_of('.'));
    writeFile(base + ".cfg", std::string(createSem ? "sem=1\n" : "sem=0\n") + "exit=" +
                                 std::to_string(exitCode) + "\n");
}

// The lines of the last start that the stand-in at `exePath` recorded ("cwd=...",
// "program=...", "arg=..."); none when it never ran.
inline RecordedStart recorded(const std::string& exePath)
{
    const std::vector<RecordedStart> starts =
        recordedStarts(exePath.substr(0, exePath.find_last_of('.')) + ".record");
    return starts.empty() ? RecordedStart{} : starts.back();
}

} // namespace qrvtest
