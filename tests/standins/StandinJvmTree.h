// Shared by the stand-ins that install a JVM: the layout of a stand-in JVM tree (the stand-in JVM
// program under its launcher names, a runtime library, security).
#pragma once

#include "Standin.h"

namespace standin {

// Copies `from` to `to` as an archive's expander writes a file, a part at a time: on a full disk
// the part written so far stays.
inline bool writeCopy(const std::string& from, const std::string& to)
{
    FILE* in = std::fopen(from.c_str(), "rb");
    FILE* out = in != nullptr ? std::fopen(to.c_str(), "wb") : nullptr;
    bool ok = out != nullptr;
    char buffer[16384];
    for (size_t read; ok && (read = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        ok = std::fwrite(buffer, 1, read, out) == read && std::fflush(out) == 0;
    if (out != nullptr)
        ok = std::fclose(out) == 0 && ok;
    if (in != nullptr)
        std::fclose(in);
    return ok;
}

// Lays out a stand-in JVM of `version` below `root`:
//   layout "bin": bin\java.exe and bin\javaw.exe; "jre": jre\bin\...; "old": bin\jre.exe and
//   bin\jrew.exe; "flat": java.exe and javaw.exe directly in `root`.
// The programs are copies of the stand-in JVM `jvmProgram` ("fakejvm.exe") and of its windowed
// twin beside it ("fakejvmw.exe"), configured to pass the test run (and with `jvmSettings`); a
// kill point `stopAt` stops the layout after the programs.
inline bool layOutJvm(const std::string& root, const std::string& jvmProgram,
                      const std::string& version, const std::string& layout,
                      const std::string& stopAt = "", const std::string& jvmSettings = "")
{
    std::string home = root;
    if (layout == "jre") {
        home += "\\jre";
        CreateDirectoryA(home.c_str(), nullptr);
    }
    std::string bin = layout == "flat" ? home : home + "\\bin";
    CreateDirectoryA(bin.c_str(), nullptr);
    const bool old = layout == "old";
    const char* const names[] = {old ? "jre.exe" : "java.exe", old ? "jrew.exe" : "javaw.exe"};
    const std::string windowed = jvmProgram.substr(0, jvmProgram.size() - 4) + "w.exe";
    if (!writeCopy(jvmProgram, bin + "\\" + names[0]) ||
        !writeCopy(windowed, bin + "\\" + names[1]))
        return false;
    standin::killPoint(stopAt);
    writeText(bin + "\\fakejvm.ini",
              "version=" + version + "\ntestrun=good\nwizard=create\n" + jvmSettings);
    // The runtime library beside the programs is the one they load first: a copy of the
    // system's own keeps the stand-in JVM startable, as the real file does for a real JVM.
    char system[MAX_PATH * 4];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system ||
        !CopyFileA((std::string(system) + "\\msvcrt.dll").c_str(), (bin + "\\msvcrt.dll").c_str(),
                   FALSE))
        return false;
    CreateDirectoryA((home + "\\lib").c_str(), nullptr);
    CreateDirectoryA((home + "\\lib\\security").c_str(), nullptr);
    writeText(home + "\\lib\\security\\java.security",
              "security.provider.1=sun.security.provider.Sun\n"
              "identity.database=${java.home}/lib/security/identitydb.obj\n");
    return true;
}

} // namespace standin
