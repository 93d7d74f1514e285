// Fuzz target: any name and holders give one line that starts with the name as shown, with no
// control character after it and bounded by it; any retry and spent time a wait within the
// schedule and the budget.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "util/HeldRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> texts = fuzz::fields(data, size, 8);
    const std::string shown = shownFileName(texts[0]);
    const std::string line = heldFileLine(texts[0], {texts.begin() + 1, texts.end()});
    if (line.compare(0, shown.size(), shown) != 0 || line.size() > shown.size() + 373)
        std::abort();
    for (size_t i = shown.size(); i < line.size(); ++i) {
        if (static_cast<unsigned char>(line[i]) < 0x20)
            std::abort();
    }
    int32_t retry = 0;
    uint32_t spent = 0;
    std::memcpy(&retry, data, size < 4 ? size : 4);
    std::memcpy(&spent, data + (size < 4 ? size : 4), size < 8 ? 0 : 4);
    const unsigned long wait = heldWaitMs(retry, spent);
    if (wait > 1850 || (wait != 0 && spent + wait > HeldBudgetMs))
        std::abort();
    return 0;
}
