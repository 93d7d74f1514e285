// Text rules of the search beyond the JavaSoft product keys: the version a distribution's key
// name stands for, the version line of a JVM home's "release" file, home paths as registry values
// and PATH give them, and which PATH entries are no JVM homes. Pure text functions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace source_rules {

// The version a distribution's version key name stands for, in the form the JVM itself reports:
// "17.0.9.9" -> "17.0.9" (the build number goes), "8.0.392.8" -> "1.8.0_392" (Java 8 and older
// take their old form), "zulu-17" -> "17", "zulu-8-jre" -> "1.8". A name already in the old form
// ("1.8.0_391") stays; a name without a digit gives the empty text.
std::string versionOfKeyName(const char* name);

// The value of a "release" file line JAVA_VERSION="17.0.9" (quotes optional, blanks around it
// ignored); false for any other line and for an empty value.
bool releaseLineVersion(const char* line, std::string& version);

// The version a JVM's "-version" output names: the quoted text after the first "version" that
// is followed by a blank and a quote (java version "1.6.0_20", openjdk version "17.0.2"); false
// when there is none or it is empty.
bool versionOutputVersion(const char* text, std::string& version);

// The architecture a Windows program is built for, from the machine field of its PE header
// (`bytes`, the file's first `size` bytes): "x64", "x86" or "arm64"; empty when the bytes hold
// no PE header within them or it names another machine.
std::string peArchitecture(const unsigned char* bytes, size_t size);

// A home directory as a registry value or a PATH entry may write it: blanks around it, one pair
// of surrounding double quotes and trailing backslashes removed ("C:\" keeps its backslash).
std::string cleanHome(const char* home);

// The directories of a search path, each cleaned as above, empty entries left out.
std::vector<std::string> searchPathDirs(const char* pathValue);

// True for a PATH entry that is no JVM home although it may hold a java.exe: an Oracle
// "javapath" folder (copies that find the real runtime through the registry), and the Windows
// directory `windowsDir` with everything below it (system32, SysWOW64, ...). Letter case is
// ignored; an empty `windowsDir` checks only for "javapath".
bool isSkippedPathDir(const char* dir, const char* windowsDir);

// True for a key name that names a runtime rather than a kit ("zulu-8-jre", "jre-8").
bool isRuntimeKeyName(const char* name);

// Orders version key names for trial: runtimes first when `runtimesFirst`, then each group
// newest first by the version order.
void orderForTrial(std::vector<std::string>& names, bool runtimesFirst);

} // namespace source_rules
