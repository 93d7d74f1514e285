// Fuzz target: the wizard's argument list built from control-file values, and the details as
// the wizard receives them.
#include <cstdlib>

#include "CommandLineSplit.h"
#include "FuzzInput.h"
#include "exec/ArgQuote.h"
#include "exec/CommandRules.h"
#include "install/WizardArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> f = fuzz::fields(data, size, 6);
    WizardSettings s;
    s.jvmCommand = f[0].c_str();
    s.jvmExtraParameters = f[1].c_str();
    s.jvmClasspathSwitch = f[2].c_str();
    s.loaderClasspath = f[3].c_str();
    s.loaderJavaCommand = f[4].c_str();
    s.installDetails = f[5].c_str();
    s.quietInstall = size % 2 == 0;
    s.propertiesInstall = size % 3 == 0;
    const std::vector<std::string> args = buildWizardArguments(s);
    if (args.size() > static_cast<size_t>(wizardParameterCount(s)))
        std::abort();  // the launcher's argument array would overflow

    // Details the user quoted arrive as the runtime's split makes them (the quoting of whole
    // argument lists is ArgQuote's target): its non-empty pieces joined by a blank.
    std::string pieces;
    for (const std::string& piece : fuzz::splitCommandLine(f[5]))
        pieces += piece.empty() ? "" : (pieces.empty() ? "" : " ") + piece;
    if (f[5].find('"') != std::string::npos && arrivingText(f[5]) != pieces)
        std::abort();
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    joinForDisplay(argv.data());
    if (splitAtBlanks(f[1].c_str()).size() != static_cast<size_t>(countWords(f[1].c_str())) &&
        !f[1].empty())
        std::abort();
    quotedClasspath(f[3].c_str());
    fileNamePart(f[0].c_str());
    return 0;
}
