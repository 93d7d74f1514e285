// Fuzz target: every exit code gets a verdict, and a failure text names the installer, the code
// and the log it was given; the msiexec rules read any command without going past its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "jvm/provision/InstallerCommand.h"
#include "jvm/provision/InstallerExit.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned long code = 0;
    std::memcpy(&code, data, size < sizeof code ? size : sizeof code);
    code &= 0xFFFFFFFFul;
    const std::vector<std::string> texts = fuzz::fields(data, size, 2);
    const InstallerVerdict verdict = judgeInstallerExit(code);
    if ((verdict.end == InstallerEnd::Success) != (code == 0))
        std::abort();
    const std::string text = installerFailureText(texts[0], code, texts[1]);
    if (text.find(texts[0]) == std::string::npos ||
        text.find("exit code " + std::to_string(code)) == std::string::npos ||
        text.find(verdict.meaning) == std::string::npos ||
        (!texts[1].empty() && text.find("Its log is " + texts[1] + ".") == std::string::npos))
        std::abort();

    InstallerCommand command = splitInstallerCommand(texts[0]);
    const size_t before = command.args.size();
    if (namesSystemMsiexec(command.program) && isWindowsInstallerPackage(command.program))
        std::abort();
    addMsiexecLog(command, texts[1]);
    if (!asksForLog(command) || command.args.size() != before + 2 ||
        command.count != static_cast<int>(command.args.size()) + 1)
        std::abort();
    return 0;
}
