#include "jvm/discovery/VersionRules.h"
#include "jvm/provision/JvmInstaller.h"

#include <memory>

#include "jvm/discovery/JvmOk.h"

#include <windows.h>

#include <cstring>

#include "jvm/provision/JvmDirRules.h"
#include "util/AsciiCase.h"
#include "jvm/discovery/WinVersion.h"
#include "util/Registry.h"
#include "util/SystemDll.h"
#include "util/clib.h"
#include "util/FileNames.h"

using namespace file_names;

namespace {
constexpr const char* ProgFilesDirVariable = "[$ProgFilesDir]";
constexpr const char* WindowsDirVariable = "[$WinDir]";
constexpr const char* DefaultProgramFilesDir = "C:\\Program Files";
constexpr const char* WindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* WindowsNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr unsigned VersionCapacity = 201;
constexpr int CommonDocumentsFolder = 46;  // CSIDL_COMMON_DOCUMENTS
constexpr int PersonalFolder = 5;          // CSIDL_PERSONAL

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// The part of the version this directory is named after: the family and the micro part.
struct VersionParts {
    TextBuffer family{VersionCapacity};
    TextBuffer micro{VersionCapacity};
    explicit VersionParts(const char* version)
    {
        version_rules::parseVersion(version, family.data(), family.capacity(), micro.data(),
                        micro.capacity());
    }
};
} // namespace

JvmInstaller::JvmInstaller() : homeDirectory(PathCapacity) {}

JvmInstaller::~JvmInstaller() = default;

void JvmInstaller::setHomeDirectory(const char* directory)
{
    if (directory != nullptr)
        homeDirectory.set(directory);
}

bool JvmInstaller::createJvmDirectory(const char* required, const char* minimum,
                                      const char* maximum, const char* jvmVersion,
                                      const char* jvmName, char* jvmCommandName,
                                      const char* predefinedJvmInstallDir, char* directory,
                                      char* jvmCommand)
{
    bool ok = _createJvmDirectory(required, minimum, maximum, jvmVersion, jvmName,
                                  jvmCommandName, predefinedJvmInstallDir, directory, jvmCommand);
    const char* path = ok ? nullptr : getPathPtr();
    if (path != nullptr) {
        TextBuffer pathCopy(PathSize);
        // A PATH longer than the copy ends in a cut entry, which would name some other
        // directory: the copy keeps whole entries only.
        if (!pathCopy.set(path))
            pathCopy.data()[wholePathEntriesLength(path, std::strlen(pathCopy))] = '\0';
        size_t position = 0;
        bool cut = false;
        while (!ok && nextPathEntry(pathCopy, position, directory, PathCapacity, cut)) {
            // An entry that does not fit would name some other directory: skip it.
            if (cut) {
                traceMessage(TraceFilename, "PATH entry too long, skipped");
                continue;
            }
            ok = createJvmSubdirectory(required, minimum, maximum, jvmVersion, jvmName,
                                       jvmCommandName, directory, jvmCommand);
        }
    }
    if (!ok) {
        getCurrentDir(directory, PathSize);
        deleteTempJvmDir(directory);
        ok = createJvmSubdirectory(required, minimum, maximum, jvmVersion, jvmName,
                                   jvmCommandName, directory, jvmCommand);
        if (!ok)
            logAndTraceMessage(ErrorsFilename, TraceFilename,
                               "Unable to create a new directory to install JVM");
    }
    traceMessage(TraceFilename, "createJvmDirectory ok", ok);
    return ok;
}

void JvmInstaller::deleteTempJvmDir(const char* directory)
{
    TextBuffer tree(PathCapacity);
    if (tree.format("%s%sjvm", directory, DIR_END) && fexists(tree))
        delDirTree(tree);
}

bool JvmInstaller::_createJvmDirectory(const char* required, const char* minimum,
                                       const char* maximum, const char* jvmVersion,
                                       const char* jvmName, char* jvmCommandName,
                                       const char* predefinedJvmInstallDir, char* directory,
                                       char* jvmCommand)
{
    if (predefinedJvmInstallDir != nullptr && predefinedJvmInstallDir[0] != '\0') {
        traceMessage(TraceFilename, "default install directory for JVM", predefinedJvmInstallDir);
        TextBuffer resolved(PathCapacity);
        if (getNewJvmInstallerTo(predefinedJvmInstallDir, resolved.data())) {
            copyText(directory, PathCapacity, resolved);
            if (createPredeterminedJvmDirectory(required, minimum, maximum, jvmVersion,
                                                jvmCommandName, directory, jvmCommand))
                return true;
        }
    }
    const bool ok = createWinJvmDirectory(required, minimum, maximum, jvmVersion, jvmName,
                                          jvmCommandName, directory, jvmCommand);
    if (!ok)
        traceMessage(TraceFilename, "unable to create Windows JVM directory");
    return ok;
}

bool JvmInstaller::getNewJvmInstallerTo(const char* predefined, char* out)
{
    out[0] = '\0';
    TextBuffer base(PathCapacity);
    bool ok = false;
    switch (classifyPredefinedDir(predefined)) {
    case DirVariable::None:
        // A path too long for the buffer would name some other directory.
        if (!copyText(out, PathCapacity, predefined)) {
            out[0] = '\0';
            traceMessage(TraceFilename, "unable to install JVM in", out);
            return false;
        }
        traceMessage(TraceFilename, "installing JVM in", out);
        return true;
    case DirVariable::ProgFilesDir:
        if (!getProgramsDirectory(base.data())) {
            traceMessage(TraceFilename, "unable to get Programs File directory for JVM");
            traceMessage(TraceFilename, "unable to install JVM in", out);
            return false;
        }
        ok = getVariableDir(ProgFilesDirVariable, base, predefined, out);
        break;
    case DirVariable::WinDir:
        if (!getWindowsDirectory(base.data())) {
            traceMessage(TraceFilename, "unable to get Windows directory for JVM");
            traceMessage(TraceFilename, "unable to install JVM in", out);
            return false;
        }
        ok = getVariableDir(WindowsDirVariable, base, predefined, out);
        break;
    case DirVariable::AppDir:
        getCurrentDir(base.data(), PathSize);
        ok = formatText(out, PathCapacity, "%s%sjvm", base.c_str(), DIR_END);
        if (!ok)
            out[0] = '\0';
        break;
    case DirVariable::Unknown:
        traceMessage(TraceFilename, "unknown variable used to install the JVM");
        traceMessage(TraceFilename, "unable to install JVM in", out);
        return false;
    }
    traceMessage(TraceFilename, ok ? "installing JVM in" : "unable to install JVM in", out);
    return ok;
}

bool JvmInstaller::getVariableDir(const char* variable, const char* variableDir,
                                  const char* predefined, char* out)
{
    TextBuffer pattern(PathCapacity);
    pattern.format("%s%s", variable, DIR_END);
    switch (substituteVariable(variable, variableDir, predefined, out, PathCapacity)) {
    case VariableResult::NoSeparator:
        traceMessage(TraceFilename, "invalid predefined directory for JVM", predefined);
        return false;
    case VariableResult::NothingAfter:
        traceMessage(TraceFilename, "invalid default jvm install directory", predefined);
        return false;
    case VariableResult::TooLong:
        traceMessage(TraceFilename, "predefinedJvmInstallDir != testDir", pattern.c_str());
        return false;
    case VariableResult::Substituted:
        break;
    }
    traceMessage(TraceFilename, "predefinedJvmInstallDir != testDir", pattern.c_str());
    traceMessage(TraceFilename, "trying to install JVM into", out);
    return true;
}

bool JvmInstaller::createPredeterminedJvmDirectory(const char* required, const char* minimum,
                                                   const char* maximum, const char*,
                                                   char* jvmCommandName, const char* directory,
                                                   char* jvmCommand)
{
    traceMessage(TraceFilename, "creating predefined jvm dir", directory);
    TextBuffer work(PathCapacity);
    bool whole = work.set(directory);
    const size_t length = std::strlen(work);
    if (length == 0 || work[length - 1] != '\\')
        whole = work.append(DIR_END) && whole;
    if (!whole)
        return false;
    TextBuffer prefix(PathCapacity);
    for (size_t i = 0; work[i] != '\0'; ++i) {
        if (work[i] != '\\')
            continue;
        std::memcpy(prefix.data(), work.c_str(), i);
        prefix.data()[i] = '\0';
        if (!prefix.empty() && !fexists(prefix) && !addDirectory(prefix))
            return false;
    }
    jvmDiscovered =
        jvmCorrectVersion(required, minimum, maximum, directory, jvmCommandName, jvmCommand);
    return true;
}

bool JvmInstaller::createWinJvmDirectory(const char* required, const char* minimum,
                                         const char* maximum, const char* jvmVersion,
                                         const char* jvmName, char* jvmCommandName,
                                         char* directory, char* jvmCommand)
{
    const VersionParts version(jvmVersion);
    TextBuffer base(PathCapacity);
    TextBuffer drive(PathCapacity);
    TextBuffer level(PathCapacity);
    TextBuffer candidate(PathCapacity);
    if (getProgramsDirectory(base.data())) {
        driveOfPath(base, drive.data(), drive.capacity());
        copyText(directory, PathCapacity, base);

        bool kindOk;
        if (isJavaSoftKind(jvmName)) {
            level.format("%s%s", jvmName, version.family.c_str());
            kindOk = addDirectory(directory, "JavaSoft") && addDirectory(directory, level);
        } else {
            level.format("JVM%s", version.family.c_str());
            kindOk = addDirectory(directory, level);
        }
        if (!kindOk) {
            traceMessage(TraceFilename, "Unable to create: ", directory);
            level.format("Java%s", version.family.c_str());
            kindOk = addDirectory(directory, level);
        }

        if (kindOk) {
            TextBuffer kind(PathCapacity);
            kind.set(directory);
            // A candidate that already holds a JVM is taken only when that JVM passes.
            auto tryExisting = [&](const char* path) {
                traceMessage(TraceFilename, "found a possible directory", path);
                const bool pass = foundValidJvm(required, minimum, maximum, jvmCommandName,
                                                path, jvmCommand);
                jvmDiscovered = pass;
                if (pass)
                    copyText(directory, PathCapacity, path);
                traceMessage(TraceFilename, "directory ok", pass);
                traceMessage(TraceFilename, "discovered jvm", jvmDiscovered);
                return pass;
            };

            const bool c1Fits = candidate.format("%s%s%s.%s", kind.c_str(), DIR_END,
                                                 version.family.c_str(), version.micro.c_str());
            if (c1Fits && fexists(candidate)) {
                if (tryExisting(candidate))
                    return true;
            } else if (addDirectory(directory, jvmVersion)) {
                return true;
            }

            copyText(directory, PathCapacity, kind);
            const bool c2Fits = joinPathLevel(kind, jvmVersion, candidate.data(),
                                              candidate.capacity());
            if (c2Fits && fexists(candidate)) {
                if (tryExisting(candidate))
                    return true;
            } else {
                level.format("Jvm%s", jvmVersion);
                if (addDirectory(directory, level))
                    return true;
            }
        }
    }

    copyText(directory, PathCapacity, drive);
    bool ok = createJvmSubdirectory(required, minimum, maximum, jvmVersion, jvmName,
                                    jvmCommandName, directory, jvmCommand);
    if (!ok) {
        copyText(directory, PathCapacity, homeDirectory);
        ok = createJvmSubdirectory(required, minimum, maximum, jvmVersion, jvmName,
                                   jvmCommandName, directory, jvmCommand);
    }
    return ok;
}

bool JvmInstaller::createJvmSubdirectory(const char* required, const char* minimum,
                                         const char* maximum, const char* jvmVersion,
                                         const char* jvmName, char* jvmCommandName,
                                         char* directory, char* jvmCommand)
{
    const VersionParts version(jvmVersion);
    TextBuffer name(PathCapacity);
    name.format("%s%s", jvmName, version.family.c_str());
    lowerAsciiInPlace(name.data());

    bool ok = addDirectory(directory, "jvm") && addDirectory(directory, name);
    if (!ok) {
        traceMessage(TraceFilename, "unable to create jvm subdirectory in", directory);
    } else {
        TextBuffer jvmTree(PathCapacity);
        jvmTree.set(directory);
        TextBuffer candidate(PathCapacity);
        const bool familyFits =
            joinPathLevel(jvmTree, version.family, candidate.data(), candidate.capacity());
        if (!familyFits || !fexists(candidate)) {
            ok = addDirectory(directory, version.family);
        } else if (foundValidJvm(required, minimum, maximum, jvmCommandName, jvmTree,
                                 jvmCommand)) {
            jvmDiscovered = true;
        } else if (joinPathLevel(jvmTree, name, candidate.data(), candidate.capacity()) &&
                   fexists(candidate)) {
            jvmDiscovered = foundValidJvm(required, minimum, maximum, jvmCommandName, jvmTree,
                                          jvmCommand);
        } else {
            ok = addDirectory(directory, name);
        }
        if (ok)
            traceMessage(TraceFilename, "created jvm subdirectory in", directory);
        else
            traceMessage(TraceFilename, "unable to create jvm subdirectory in", directory);
    }
    traceMessage(TraceFilename, "finished createJvmSubdirectory; ok", ok);
    return ok;
}

bool JvmInstaller::foundValidJvm(const char* required, const char* minimum,
                                 const char* maximum, char* jvmCommandName,
                                 const char* directory, char* jvmCommand)
{
    const bool pass =
        jvmCorrectVersion(required, minimum, maximum, directory, jvmCommandName, jvmCommand);
    if (!pass)
        traceMessage(TraceFilename, directory, " doesn't have correct version");
    return pass;
}

bool JvmInstaller::jvmCorrectVersion(const char* required, const char* minimum,
                                     const char* maximum, const char* directory,
                                     char* jvmCommandName, char* jvmCommand)
{
    // Judged by the package's versions as the search judges a home, test class or none.
    auto check = std::make_unique<JvmOk>();
    return check->jvmHomeFits(required, minimum, maximum, "", directory, jvmCommandName,
                              jvmCommand);
}

bool JvmInstaller::addDirectory(char* directory, const char* name)
{
    TextBuffer path(PathCapacity);
    if (!joinPathLevel(directory, name, path.data(), path.capacity())) {
        traceMessage(TraceFilename, "unable to add directory", name);
        return false;
    }
    if (!addDirectory(path))
        return false;
    copyText(directory, PathCapacity, path);
    return true;
}

bool JvmInstaller::addDirectory(const char* path)
{
    // The result of makeDir does not matter: what counts is whether the level exists afterwards.
    const bool existed = fexists(path);
    makeDir(path);
    if (fexists(path)) {
        if (!existed)
            made.push_back(path);
        return true;
    }
    traceMessage(TraceFilename, "unable to add directory", path);
    return false;
}

bool JvmInstaller::getProgramsDirectory(char* out)
{
    out[0] = '\0';
    if (!isVistaOrWindows7())
        return getProgramFilesDirectory(out);
    if (getProgramFilesDirectory(out)) {
        TextBuffer probe(PathCapacity);
        if (probe.format("%s%s__test__zos", out, DIR_END)) {
            makeDir(probe);
            if (fexists(probe)) {
                removeDir(probe);
                traceMessage(TraceFilename, "Ok to use Program files subdirectory for jvm", true);
                return true;
            }
        }
        traceMessage(TraceFilename, "Ok to use Program files subdirectory for jvm", false);
    }
    out[0] = '\0';
    return getDocumentsDirectory(out);
}

bool JvmInstaller::getProgramFilesDirectory(char* out)
{
    out[0] = '\0';
    RegKey key;
    if (!key.open(HKEY_LOCAL_MACHINE, WindowsKey, KEY_QUERY_VALUE))
        key.open(HKEY_LOCAL_MACHINE, WindowsNtKey, KEY_QUERY_VALUE);
    if (key.isOpen()) {
        // A value cut to the buffer would name some other directory: treat it as none.
        const bool whole =
            readRegText(key.get(), "ProgramFilesDir", out, PathCapacity) == RegRead::Whole;
        key.close();
        if (whole && out[0] != '\0')
            return true;
        out[0] = '\0';
        traceMessage(TraceFilename, "Unable to find Program Files directory in registry");
        return false;
    }
    if (fexists(DefaultProgramFilesDir))
        return copyText(out, PathCapacity, DefaultProgramFilesDir);
    traceMessage(TraceFilename, "Unable to find Program Files directory in registry");
    return false;
}

bool JvmInstaller::getDocumentsDirectory(char* out)
{
    out[0] = '\0';
    const SystemDll shell32("Shell32.dll");
    const SystemDll shfolder(shell32.loaded() ? nullptr : "SHFolder.dll");
    const SystemDll& library = shell32.loaded() ? shell32 : shfolder;
    const auto getFolderPath = library.function<GetFolderPathFn>("SHGetFolderPathA");
    if (getFolderPath == nullptr)
        return false;
    char folder[MAX_PATH + 1] = {};
    if (getFolderPath(nullptr, CommonDocumentsFolder, nullptr, 0, folder) < 0 &&
        getFolderPath(nullptr, PersonalFolder, nullptr, 0, folder) < 0)
        return false;
    folder[MAX_PATH] = '\0';
    return copyText(out, PathCapacity, folder);
}

bool JvmInstaller::getWindowsDirectory(char* out)
{
    // Unlike the driver's home directory, this one also asks the Windows 9x place on NT and
    // takes string values only.
    return readWindowsDirectory(WinVersion().winNT(), true, RegType::Text, out, PathCapacity) !=
           nullptr;
}

bool JvmInstaller::isVistaOrWindows7()
{
    traceMessage(TraceFilename, "checking for vista/7");
    bool vista = false;
    const SystemDll kernel("KERNEL32.DLL");
    if (!kernel.loaded()) {
        traceMessage(TraceFilename, "KERNEL32 not found");
    } else {
        OSVERSIONINFOA info;
        std::memset(&info, 0, sizeof info);
        info.dwOSVersionInfoSize = sizeof info;
        if (GetVersionExA(&info))
            vista = info.dwMajorVersion >= 6;
    }
    traceMessage(TraceFilename, "vista/7", vista);
    return vista;
}

