// End of every run: remove the package's unpacked files, the run's temporary files and a JVM
// installed only for this run, and copy the logs to the directory the user started from.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/ControlFileRules.h"
#include "config/ControlText.h"
#include "install/CleanupRules.h"
#include "install/Install.h"
#include "jvm/provision/ExtractJvm.h"
#include "install/InstallTexts.h"
#include "install/ReadOnlyPackage.h"
#include "util/LongPath.h"
#include "util/PathIdentity.h"
#include "util/clib.h"
#include "util/File.h"
#include "util/Wide.h"

using namespace install_names;

namespace {

constexpr const char* ManifestDir = "META-INF";
constexpr const char* ManifestFilename = "META-INF\\MANIFEST.MF";
constexpr const char* InstallJar = "install.jar";
constexpr const char* StartDirFilename = "startdir.txt";
constexpr const char* ChangesFilename = "changes.txt";
constexpr const char* WriteTestFilename = "__qrvtest.zos";
constexpr const char* PandLogFilename = "qrvpand.log";

// One line of a text stream (without its line end), read in pieces of `piece` bytes as the
// fixed buffers of the original reader would; false at end of file.
bool readLine(FILE* file, size_t piece, std::string& line)
{
    std::vector<char> buffer(piece);
    line.clear();
    while (std::fgets(buffer.data(), static_cast<int>(piece), file) != nullptr) {
        line += buffer.data();
        if (!line.empty() && line.back() == '\n')
            return true;
    }
    return !line.empty();
}

// Full path of `name` resolved against the package directory ("..", drive letters, absolute
// forms); empty when it cannot be resolved or is longer than a path buffer holds.
std::string fullPath(const std::string& name)
{
    const std::string full = fullPathOf(name.c_str());
    return full.size() < PathCapacity ? full : std::string();
}

// Where `path` (a full path) really lies, links inside the package followed; the path itself
// when nothing lies there (yet).
std::string realLocation(const std::string& path)
{
    const std::string real = finalPath(path.c_str());
    return real.empty() ? path : real;
}

// A native.properties line as cleanup reads it (normalisePropertiesLine), in this program's own
// encoding. The separators are changed in UTF-8 text, where a backslash's byte is nothing else:
// in a code page of two-byte letters it is also the second byte of a letter.
std::string propertiesLine(const char* line)
{
    return fromUtf8(normalisePropertiesLine(toUtf8(line)));
}

long fileSize(const char* name)
{
    File file(name, "rb");
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return -1;
    return std::ftell(file.get());
}

} // namespace

void Install::cleanUp(bool installOk)
{
    cleanUpManifest(installOk);
    cleanUpJvmDir();
    cleanUpErrorsLog();
    cleanUpLogFiles();
    removeFile(ChangesFilename);
    removeFile(StartDirFilename);
    removeFile(NativePropertiesFilename);
    removeFile(NativeWorkFilename);
}

void Install::cleanUpManifest(bool installOk)
{
    // Started where it lies (nothing unpacked it for this run) and the wizard never ran: the
    // restart that the failure text asks for needs the package whole.
    if (!installOk && !fexists(StartDirFilename))
        traceMessage(TraceFilename, "package kept for a new start");
    else
        removePackageFiles();

    if (fexists(TempTraceFilename)) {
        removeFile(TempTraceFilename);
        if (installOk) {
            // Held open, the file would go only when this process ends.
            release();
            removeFile(TraceFilename);
            if (!msiexecLog.empty())
                removeFile(msiexecLog);
        } else {
            traceMessage(TraceFilename, "install ok", false);
        }
    }
}

void Install::removePackageFiles()
{
    {
        File manifest(ManifestFilename, "rt");
        // Where the package really lies is asked only of a package with a manifest to judge: the
        // question opens the directory, which costs a run without one a share of its cleanup.
        const std::string packageDir = manifest ? realLocation(currentDirectory()) : std::string();
        std::string line;
        std::string name;
        while (manifest && readLine(manifest.get(), 1001, line)) {
            if (!manifestName(line, name))
                continue;
            // The manifest travels with the package and may name anything; only files inside
            // the package directory are ever removed, also when a link inside the package
            // leads elsewhere.
            const std::string target = realLocation(fullPath(name));
            if (!isStrictlyInside(target, packageDir)) {
                traceMessage(TraceFilename, "not deleted, outside the package directory:",
                             name.c_str());
                continue;
            }
            removeFile(target.c_str());
        }
    }
    removeFile(ManifestFilename);
    removeDir(ManifestDir);
    removeFile(InstallJar);
}

void Install::cleanUpJvmDir()
{
    std::string jvmLocation;
    std::string installedInTemp;
    std::string tempJvmDir;
    bool configureRegistry = true;
    {
        // The wizard may rewrite the file with a byte-order mark or in UTF-16; the launcher's
        // own is in the legacy code page's bytes. The reader hands out every form in this
        // program's own encoding.
        ControlText properties;
        if (!properties.open(NativePropertiesFilename))
            return;
        char piece[control_file::LinePieceLength + 3];
        while (properties.next(piece)) {
            // The rest of a line longer than a piece is not read.
            if (properties.continued())
                continue;
            const std::string line = propertiesLine(piece);
            std::string value;
            if (propertyValue(line, "nativeJvmHomeDir", value)) {
                jvmLocation = value.substr(0, 1000);
                traceMessage(TraceFilename, "jvmLocation", jvmLocation.c_str());
            } else if (propertyValue(line, "nativeJvmInstalledInTemp", value)) {
                installedInTemp = value.substr(0, 1000);
                traceMessage(TraceFilename, "jvmInstalledInTemp", installedInTemp.c_str());
            } else if (propertyValue(line, "nativeTempJvmDir", value)) {
                tempJvmDir = value.substr(0, 1000);
                traceMessage(TraceFilename, "tempJvmDir", tempJvmDir.c_str());
            } else if (propertyValue(line, "configureWinRegistry", value)) {
                configureRegistry = _stricmp(value.c_str(), "true") == 0 ||
                                    _stricmp(value.c_str(), "yes") == 0;
                traceMessage(TraceFilename, "configureReg", configureRegistry);
            }
        }
    }
    if (_stricmp(installedInTemp.c_str(), "true") != 0)
        return;

    const std::string dir = tempJvmDir.empty() ? jvmLocation : tempJvmDir;
    // The wizard may rewrite this file, and one may be left from an earlier run: a directory
    // outside the package directory (or the package directory itself) is neither configured
    // nor deleted; nor is one reached through a link inside the package.
    const std::string packageDir = realLocation(currentDirectory());
    const std::string target = dir.empty() ? std::string() : realLocation(fullPath(dir));
    if (!isStrictlyInside(target, packageDir)) {
        traceMessage(TraceFilename, "not deleted, outside the package directory:", dir.c_str());
        return;
    }

    if (configureRegistry && isStrictlyInside(realLocation(fullPath(jvmLocation)), packageDir)) {
        if (!predefinedJvmInstallDir.empty() &&
            std::strncmp(predefinedJvmInstallDir, AppDirVariable, std::strlen(AppDirVariable)) == 0)
            traceMessage(TraceFilename, "not adding reg entries", predefinedJvmInstallDir.c_str());
        else
            configureTempJvm(jvmLocation.c_str());
    }
    if (!delDirTree(target.c_str())) {
        const std::string warning = "Warning: Unable to delete " + dir;
        traceMessage(TraceFilename, warning.c_str());
    }
    removeDir((target + "\\bin").c_str());
    removeDir(target.c_str());
}

void Install::cleanUpErrorsLog()
{
    if (fileSize(ErrorsFilename) == 0)
        removeFile(ErrorsFilename);
}

void Install::cleanUpLogFiles()
{
    if (!fexists(StartDirFilename))
        return;
    std::string startDir;
    {
        File file(StartDirFilename, "rt");
        std::string line;
        if (file && readLine(file.get(), PathCapacity, line))
            startDir = startDirFromLine(line);
    }
    const std::string current = currentDirectory();
    // The same directory may be named in another spelling (trailing backslash, 8.3 name, other
    // case): its identity decides, so that no log is appended onto itself.
    if (!fexists(startDir.c_str()) || _stricmp(startDir.c_str(), current.c_str()) == 0 ||
        sameFileObject(startDir.c_str(), current.c_str()))
        return;
    std::string destination = startDir;
    if (isDirWriteProtected(startDir.c_str())) {
        // A share or disc the package was copied from: its logs go where a run that cannot write
        // its directory puts them, else to the home directory.
        const std::string folder = ReadOnlyPackage::logFolder(startDir);
        if (isDir(startDir.c_str()) && (makeDir(folder.c_str()) || isDir(folder.c_str())) &&
            !isDirWriteProtected(folder.c_str()))
            destination = folder;
        else if (!isDirWriteProtected(homeDirectory))
            destination = homeDirectory.c_str();
    }
    // A home directory that fell back to the current directory takes no copies either.
    if (sameFileObject(destination.c_str(), current.c_str()))
        return;
    traceMessage(TraceFilename, "copying log files to", destination.c_str());
    _cleanUpLogFiles(destination.c_str());
}

void Install::_cleanUpLogFiles(const char* destination)
{
    std::vector<std::string> logs;
    listDir(currentDirectory().c_str(), logs, "*.log");
    for (const std::string& name : logs) {
        if (name == PandLogFilename) {
            const long size = fileSize(PandLogFilename);
            if (size != -1 && size <= 0)
                continue;
        }
        const std::string target = std::string(destination) + "\\" + name;
        appendFile(name.c_str(), target.c_str());
        if (name == ErrorsFilename && !fexists(target.c_str())) {
            // A quiet run shows no box: the trace keeps the failure.
            traceMessage(TraceFilename, "Unable to save errors.log");
            showError("Unable to save errors.log", "Try installing from a non-write protected drive.");
        }
    }
}

bool Install::isDirWriteProtected(const char* dir)
{
    if (dir == nullptr || *dir == '\0')
        return true;
    const std::string name = std::string(dir) + "\\" + WriteTestFilename;
    long position = 0;
    {
        File file(name.c_str(), "wt");
        if (!file)
            return true;
        std::fputs("ok", file.get());
        std::fseek(file.get(), 0, SEEK_END);
        position = std::ftell(file.get());
    }
    removeFile(name.c_str());
    return position <= 0;
}

// Configures the JVM named by the hand-over file once more (its registration and launchers)
// before its directory goes; the driver's program name follows what is found there.
void Install::configureTempJvm(const char* jvmHome)
{
    auto extractor = std::make_unique<ExtractJvm>();
    extractor->configureJvm(jvmVersion, jvmName, jvmCommandName, jvmHome, homeDirectory, true);
}
