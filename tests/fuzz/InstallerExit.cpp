// Fuzz target: every code gets the verdict of the codes known here (any other code fails with no
// meaning), and its failure text names the installer, the code, its meaning and the log given.
#include <cstdlib>
#include <map>
#include "FuzzInput.h"
#include "jvm/provision/InstallerExit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using End = InstallerEnd;
    static const std::map<uint32_t, End> known = {
        {0, End::Success},    {3010, End::RestartWanted}, {1641, End::RestartWanted},
        {1602, End::Cancelled}, {1618, End::Busy},        {1603, End::Failed},
        {1619, End::Failed},  {1625, End::Failed},        {1633, End::Failed},
        {1638, End::Failed}};
    uint32_t code = 0;
    std::memcpy(&code, data, size < sizeof code ? size : sizeof code);
    if (size == 1)  // one byte stands for a known code, so that every one of them is met
        code = std::next(known.begin(), data[0] % known.size())->first;
    const std::vector<std::string> in = fuzz::fields(data, size, 2);
    const InstallerVerdict verdict = judgeInstallerExit(code);
    const auto found = known.find(code);
    const std::string text = installerFailureText(in[0], code, in[1]);
    if (verdict.end != (found != known.end() ? found->second : End::Failed) ||
        verdict.meaning.empty() != (found == known.end() || code == 0) ||
        text.find(in[0] + " ended with exit code " + std::to_string(code) +
                  (verdict.meaning.empty() ? "." : " (" + verdict.meaning + ").")) ==
            std::string::npos ||
        (!in[1].empty() && text.find("Its log is " + in[1] + ".") == std::string::npos))
        std::abort();
    return 0;
}
