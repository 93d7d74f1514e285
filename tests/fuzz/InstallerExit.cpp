// Fuzz target: a failure text names the installer, any code, its meaning and the log it was given.
#include <cstdlib>
#include "FuzzInput.h"
#include "jvm/provision/InstallerExit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t code = 0;
    std::memcpy(&code, data, size < sizeof code ? size : sizeof code);
    const std::vector<std::string> in = fuzz::fields(data, size, 2);
    const InstallerVerdict verdict = judgeInstallerExit(code);
    const std::string text = installerFailureText(in[0], code, in[1]);
    if ((verdict.end == InstallerEnd::Success) != (code == 0) ||
        text.find(in[0] + " ended with exit code " + std::to_string(code)) == std::string::npos ||
        text.find(verdict.meaning) == std::string::npos ||
        (!in[1].empty() && text.find("Its log is " + in[1] + ".") == std::string::npos))
        std::abort();
    return 0;
}
