#include "jvm/discovery/FindJvm.h"

#include <memory>

#include "jvm/discovery/JvmWin.h"
#include "util/TextBuffer.h"

bool FindJvm::isJvmInstalled(const char* required, const char* minimum, const char* maximum,
                             const char* jvmName, char* jvmCommand, char* jvmPath)
{
    char saved[100];
    copyText(saved, sizeof saved, jvmCommand);
    auto search = std::make_unique<JvmWin>();
    const bool found =
        search->searchWindowsForJvm(required, minimum, maximum, jvmName, jvmCommand, jvmPath);
    if (!found)
        copyText(jvmCommand, 5001, saved);
    return found;
}
