#include "check/FileCheck.h"

#include <cstring>

#include "install/CleanupRules.h"
#include "jvm/provision/InstallerCommand.h"
#include "util/AsciiCase.h"
#include "util/TextBuffer.h"

using namespace control_file;

namespace {

constexpr const char* InstallJar = "install.jar";
constexpr const char* ManifestName = "META-INF/MANIFEST.MF";

std::string inQuotes(const std::string& text)
{
    return "'" + text + "'";
}

// The file name of a path: what follows its last "/" or "\".
std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why a manifest name leads out of the package directory; null when it stays inside.
const char* leavesPackage(const std::string& name)
{
    if (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'))
        return "an absolute path";
    int depth = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part == "..") {
            if (--depth < 0)
                return "'..' leads out of the package";
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
    }
    return nullptr;
}

// The package file of a security file's value: the name after its last "/", or after its
// variable; empty when the value names no place for it.
std::string securityFileOf(const std::string& value)
{
    std::string rest = value;
    bool variable = false;
    for (const char* name : {"${java.home}", "${user.home}"}) {
        const size_t at = value.find(name);
        if (at != std::string::npos) {
            rest = value.substr(at + std::strlen(name));
            variable = true;
            break;
        }
    }
    const size_t slash = rest.rfind('/');
    if (slash != std::string::npos)
        return rest.substr(slash + 1);
    return variable && value.find("${user.home}") != std::string::npos ? rest : std::string();
}

bool isConsoleProgram(const std::string& name)
{
    const auto endsWith = [&name](const char* end) {
        const size_t length = std::strlen(end);
        return name.size() >= length && name.compare(name.size() - length, length, end) == 0;
    };
    return name == "java.exe" || name == "jre.exe" || endsWith(".bat") || endsWith(".com");
}

} // namespace

void FileCheck::run(const PackageSettings& settings)
{
    checkClasspath(settings);
    checkInstaller(settings);
    checkSecurityFile(settings[SystemSecurity], Settings[SystemSecurity].key);
    checkSecurityFile(settings[UserSecurity], Settings[UserSecurity].key);
    checkSecurityFile(settings[IdentityDb], Settings[IdentityDb].key);
    checkManifest();
    checkCommandName(settings);
    checkNames();
}

void FileCheck::missing(const SettingValue& value, const char* key, const std::string& file)
{
    report_.error(control_, value.line,
                  std::string(key) + " names " + inQuotes(file) + ", which is not in the package");
}

void FileCheck::checkClasspath(const PackageSettings& settings)
{
    const SettingValue& value = settings[LoaderClasspath];
    // The launcher looks for install.jar whenever the class path holds the name.
    const bool namesJar = settings.classpath.find(InstallJar) != std::string::npos;
    if (namesJar && !dir_.isFile(InstallJar))
        report_.error(control_, value.line,
                      "loaderClasspath " + inQuotes(settings.classpath) +
                          " names install.jar, which is not in the package: the wizard is not "
                          "started (\"install.jar does not exist.\")");
    for (const std::string& entry : packageEntries(settings.classpath)) {
        if (namesJar && equalsAsciiNoCase(entry.c_str(), InstallJar))
            continue;
        if (entry.back() == '*') {
            const std::string folder = entry.substr(0, entry.size() - 1);
            if (!dir_.isFolder(folder))
                missing(value, Settings[LoaderClasspath].key, folder);
        } else if (!dir_.exists(entry)) {
            missing(value, Settings[LoaderClasspath].key, entry);
        }
    }
}

void FileCheck::checkInstaller(const PackageSettings& settings)
{
    const SettingValue& type = settings[JvmInstallerType];
    const SettingValue& extractor = settings[JvmSelfExtractor];
    const SettingValue& binary = settings[JvmInstallerBinary];
    const SettingValue& command = settings[JvmInstallerCommand];
    if (equalsAsciiNoCase(type.text.c_str(), "selfExtratorJvmInstaller") &&
        !extractor.text.empty() && !dir_.isFile(extractor.text))
        missing(extractor, Settings[JvmSelfExtractor].key, extractor.text);
    const bool vendor = equalsAsciiNoCase(type.text.c_str(), "thirdPartyJvmInstaller");
    if (vendor && !binary.text.empty() && !dir_.isFile(binary.text))
        missing(binary, Settings[JvmInstallerBinary].key, binary.text);
    if (vendor && !binary.text.empty() && command.text.empty() &&
        !isWindowsInstallerPackage(binary.text))
        report_.error(control_, binary.line,
                      "jvmInstallerBinary " + inQuotes(binary.text) +
                          " is no .msi and jvmInstallerCommand is empty: the installer is not "
                          "run");
    if (command.text.empty())
        return;
    const std::string program = splitInstallerCommand(command.text).program;
    if (namesSystemMsiexec(program) ||
        equalsAsciiNoCase(fileNameOf(program).c_str(), fileNameOf(binary.text).c_str()))
        return;
    report_.error(control_, command.line,
                  "jvmInstallerCommand starts " + inQuotes(program) +
                      ", which is neither jvmInstallerBinary " + inQuotes(binary.text) +
                      " nor msiexec: the installer is not started");
}

void FileCheck::checkSecurityFile(const SettingValue& value, const char* key)
{
    if (value.text.empty())
        return;
    const std::string file = securityFileOf(value.text);
    if (file.empty())
        report_.error(control_, value.line,
                      std::string(key) + " " + inQuotes(value.text) +
                          " names no folder for the file: nothing is copied (write "
                          "${java.home}/lib/security/<file>)");
    else if (!dir_.isFile(file))
        missing(value, key, file);
}

void FileCheck::checkManifest()
{
    std::filesystem::path file;
    if (!dir_.find(ManifestName, file))
        return;
    const std::string name = dir_.reportName(file);
    uint64_t size = 0;
    std::string bytes;
    if (!PackageDir::size(file, size) || !PackageDir::read(file, 0, size, bytes)) {
        report_.error(name, 0, "cannot be read");
        return;
    }
    unsigned number = 0;
    for (size_t start = 0; start < bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        std::string named;
        if (!manifestName(line, named))
            continue;
        if (const char* why = leavesPackage(named))
            report_.error(name, number + 1,
                          "names " + inQuotes(named) + ", " + why +
                              ": the launcher deletes only files inside the package");
        else if (!dir_.exists(named))
            report_.error(name, number + 1,
                          "names " + inQuotes(named) + ", which is not in the package");
    }
}

void FileCheck::checkCommandName(const PackageSettings& settings)
{
    const SettingValue& value = settings[JvmCommandName];
    const bool traceLog = dir_.isFile("jinstall.log") && !dir_.isFile("jinstall.sem");
    if (traceLog)
        report_.warning("jinstall.log", 0,
                        "in the package: every user's run keeps its trace here, and java.exe "
                        "and jre.exe run as the console programs they are");
    if (value.line == 0)
        return;
    TextBuffer name(Settings[JvmCommandName].capacity);
    name.set(value.text.empty() ? "jre.exe" : value.text.c_str());  // the launcher's default
    normaliseCommandName(name.data(), name.capacity(), traceLog);
    if (isConsoleProgram(name.c_str()))
        report_.warning(control_, value.line,
                        "jvmCommandName " + inQuotes(value.text) + " runs as " + name.c_str() +
                            ", a console program: users see a console window behind the "
                            "wizard (javaw.exe shows none)");
}

void FileCheck::checkNames()
{
    // Each file and folder by its own name: a folder's letters are not blamed on its files.
    for (const std::string& name : dir_.names()) {
        for (char c : fileNameOf(name)) {
            if (static_cast<unsigned char>(c) > 0x7F) {
                report_.warning(name, 0,
                                "a name outside ASCII: before Windows 10 1903 only a system "
                                "whose code page holds its letters can hand it to Java");
                break;
            }
        }
    }
}
