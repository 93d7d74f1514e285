// File names and failure texts shared by the parts of the installation driver.
#pragma once

#include "util/FileNames.h"

namespace install_names {
using namespace file_names;
constexpr const char* AppDirVariable = "[$AppDir]";
constexpr const char* PluginType = "Java Plug-in";
// Spelled as the control files of existing packages spell it.
constexpr const char* SelfExtratorJvmInstaller = "selfExtratorJvmInstaller";
constexpr const char* ThirdPartyJvmInstaller = "thirdPartyJvmInstaller";

constexpr const char* diskSpaceText =
    "Are the destination or temporary directories out of disk space?\r\r"
    "    See errors.log for other possible causes.";
// Shown to the user word for word, misspelling included.
constexpr const char* otherCausesText =
    "Other possible causes for errors:\n"
    "    * Read/write access rights to the 'temp' and installation directories?\n"
    "    * OS need to be patched to run Java apps?\n"
    "    * Anti-virus software installed that won't permit unknonwn executable or JAR files to run?\n"
    "    * Does your system export the display?";
} // namespace install_names
