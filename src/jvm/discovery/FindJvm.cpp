#include "jvm/discovery/FindJvm.h"

#include <memory>

#include "jvm/discovery/JvmWin.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

bool FindJvm::isJvmInstalled(const char* required, const char* minimum, const char* maximum,
                             const char* jvmName, char* jvmCommand, char* jvmPath)
{
    // The whole command is kept: a cut copy would hand a longer name back shortened.
    TextBuffer saved(PathCapacity);
    saved.set(jvmCommand);
    auto search = std::make_unique<JvmWin>();
    const bool found =
        search->searchWindowsForJvm(required, minimum, maximum, jvmName, jvmCommand, jvmPath);
    if (!found)
        copyText(jvmCommand, PathCapacity, saved);
    return found;
}
