// Fuzz target: any file name and holders give one line that starts with the name as shown, holds
// no control character the holders brought, and is bounded by the name; any retry and spent time
// give a wait within the schedule and the budget.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "util/HeldRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> texts = fuzz::fields(data, size, 8);
    const std::vector<std::string> holders(texts.begin() + 1, texts.end());
    const std::string shown = shownFileName(texts[0]);
    const std::string line = heldFileLine(texts[0], holders);
    if (line.compare(0, shown.size(), shown) != 0 || line.size() > shown.size() + 40 + 4 * 82 + 5)
        std::abort();
    for (size_t i = shown.size(); i < line.size(); ++i) {
        if (static_cast<unsigned char>(line[i]) < 0x20)
            std::abort();
    }
    if (size >= 8) {
        int32_t retry;
        uint32_t spent;
        std::memcpy(&retry, data, sizeof retry);
        std::memcpy(&spent, data + 4, sizeof spent);
        const unsigned long wait = heldWaitMs(retry, spent);
        if (wait > 1850 || (wait != 0 && spent + wait > HeldBudgetMs))
            std::abort();
    }
    return 0;
}
