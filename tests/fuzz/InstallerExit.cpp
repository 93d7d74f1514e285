// Fuzz target: every code gets the verdict of the codes known here (any other code fails with no
// meaning), and its failure text names the installer, the code, its meaning and the log given.
#include <algorithm>
#include <cstdlib>
#include "FuzzInput.h"
#include "jvm/provision/InstallerExit.h"

namespace {
// The Windows Installer codes with a meaning of their own, and the verdict of each.
struct Known {
    unsigned long code;
    InstallerEnd end;
};
const Known KnownCodes[] = {
    {0, InstallerEnd::Success},       {3010, InstallerEnd::RestartWanted},
    {1641, InstallerEnd::RestartWanted}, {1602, InstallerEnd::Cancelled},
    {1618, InstallerEnd::Busy},       {1603, InstallerEnd::Failed},
    {1619, InstallerEnd::Failed},     {1625, InstallerEnd::Failed},
    {1633, InstallerEnd::Failed},     {1638, InstallerEnd::Failed},
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t code = 0;
    std::memcpy(&code, data, size < sizeof code ? size : sizeof code);
    // Small inputs stand for the known codes, so that every one of them is met.
    if (size == 1)
        code = static_cast<uint32_t>(KnownCodes[data[0] % std::size(KnownCodes)].code);
    const std::vector<std::string> in = fuzz::fields(data, size, 2);
    const InstallerVerdict verdict = judgeInstallerExit(code);
    const Known* known = std::find_if(std::begin(KnownCodes), std::end(KnownCodes),
                                      [&](const Known& k) { return k.code == code; });
    const bool isKnown = known != std::end(KnownCodes);
    const std::string named = in[0] + " ended with exit code " + std::to_string(code) +
                              (verdict.meaning.empty() ? "." : " (" + verdict.meaning + ").");
    const std::string text = installerFailureText(in[0], code, in[1]);
    if (verdict.end != (isKnown ? known->end : InstallerEnd::Failed) ||
        verdict.meaning.empty() != (!isKnown || code == 0) ||
        text.find(named) == std::string::npos ||
        (!in[1].empty() && text.find("Its log is " + in[1] + ".") == std::string::npos))
        std::abort();
    return 0;
}
