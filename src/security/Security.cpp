#include "security/Security.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "jvm/discovery/WinVersion.h"
#include "security/SecurityRules.h"
#include "util/AsciiCase.h"
#include "util/Registry.h"
#include "util/File.h"
#include "util/DiskSpace.h"
#include "util/clib.h"
#include "util/FileNames.h"
#include "util/Utf8.h"

using namespace file_names;

namespace {
constexpr const char* SystemLogFilename = "changes.txt";
constexpr const char* JavaHomeDirSpec = "${java.home}";
constexpr const char* UserHomeDirSpec = "${user.home}";
constexpr const char* WinNtLogonEntry = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* Win95LogonEntry = "Network\\Logon";
constexpr const char* LibDir = "lib";
constexpr const char* SecurityDir = "security";
constexpr const char* JavaSecurityFilename = "java.security";
constexpr unsigned LanguageCapacity = 1000;
constexpr unsigned SecurityLineCapacity = 2000;
constexpr unsigned ChangeLineCapacity = 6000;

// Reads one line of at most SecurityLineCapacity - 1 characters; the rest of a longer line is
// skipped so that it is never read as a line of its own.
bool readLine(FILE* file, char* line)
{
    if (std::fgets(line, SecurityLineCapacity, file) == nullptr)
        return false;
    const size_t length = std::strlen(line);
    if (length == 0 || line[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    utf8::trimCutLine(line, SecurityLineCapacity);
    return true;
}
} // namespace

Security::Security() : language(LanguageCapacity)
{
    language.set("english");
}

void Security::setLanguage(const char* key)
{
    language.set(key != nullptr ? key : "english");
}

bool Security::addSecurity(const char* systemPolicy, const char* userPolicy,
                           const char* keystore, const char* jvmHome, const char* homeDirectory,
                           bool backup)
{
    bool result = true;
    TextBuffer source(PathCapacity);
    TextBuffer destination(PathCapacity);

    if (systemPolicy[0] != '\0') {
        // The step runs only for a policy file that the package really carries.
        const bool resolved =
            getFilenames(systemPolicy, jvmHome, homeDirectory, source.data(), destination.data());
        if (resolved && fexists(source))
            result = copySecurityFile(source, destination, backup);
        else if (!resolved && !source.empty() && fexists(source))
            traceMessage(TraceFilename, "unable to get destination", systemPolicy);
    }

    source.clear();
    destination.clear();
    if (userPolicy[0] != '\0' &&
        getFilenames(userPolicy, jvmHome, homeDirectory, source.data(), destination.data()))
        result = copySecurityFile(source, destination, backup);

    source.clear();
    destination.clear();
    if (keystore[0] != '\0')
        result = addCertificate(keystore, jvmHome, homeDirectory, source.data(),
                                destination.data(), backup);
    return result;
}

bool Security::addCertificate(const char* keystore, const char* jvmHome,
                              const char* homeDirectory, char* source, char* destination,
                              bool backup)
{
    if (!getFilenames(keystore, jvmHome, homeDirectory, source, destination)) {
        if (source[0] != '\0' && fexists(source))
            traceMessage(TraceFilename, "unable to get destination", keystore);
        return false;
    }
    TextBuffer current(PathCapacity);
    getCurrentDir(current.data(), PathSize);
    TextBuffer absolute(PathCapacity);
    if (!absolute.format("%s%s%s", current.c_str(), DIR_END, source))
        return false;
    copyText(source, PathCapacity, absolute);

    TextBuffer named(PathCapacity);
    const bool fromJavaSecurity = getIdentityIdFilename(jvmHome, named.data());
    if (fromJavaSecurity)
        copyText(destination, PathCapacity, named);

    if (!copySecurityFile(source, destination, backup))
        return false;
    if (fromJavaSecurity || std::strstr(keystore, UserHomeDirSpec) == nullptr)
        return true;

    TextBuffer perUser(PathCapacity);
    if (getAlternateDestination(keystore, homeDirectory, perUser.data()))
        return copySecurityFile(source, perUser, backup);
    traceMessage(TraceFilename, "unable to find login name in registry");
    return false;
}

bool Security::getFilenames(const char* value, const char* jvmHome, const char* homeDirectory,
                            char* fileName, char* destination)
{
    fileName[0] = '\0';
    destination[0] = '\0';
    const char* rest = value;
    const char* base = "";
    bool userHome = false;
    if (const char* java = std::strstr(value, JavaHomeDirSpec)) {
        rest = java + std::strlen(JavaHomeDirSpec);
        base = jvmHome;
    } else if (const char* user = std::strstr(value, UserHomeDirSpec)) {
        rest = user + std::strlen(UserHomeDirSpec);
        base = homeDirectory;
        userHome = true;
    }

    TextBuffer list(PathCapacity);
    if (!splitAtLastSlash(rest, list.data(), list.capacity(), fileName, PathCapacity)) {
        if (std::strchr(rest, '/') != nullptr)
            return false;  // a part too long for its buffer
        if (userHome) {
            // A file straight in the home directory; whether the package has it is not asked.
            copyText(fileName, PathCapacity, rest);
            return formatText(destination, PathCapacity, "%s%s%s", homeDirectory, DIR_END, rest);
        }
        if (rest != value) {
            // "${java.home}" without a "/": no place is named, so nothing is copied. The name
            // stays so that the caller can tell about a file that the package does carry.
            copyText(fileName, PathCapacity, rest);
        }
        return false;
    }
    if (fileName[0] == '\0' || !fexists(fileName))
        return false;
    if (!addDirectories(base, list.data()))
        return false;
    return formatText(destination, PathCapacity, "%s%s%s", list.c_str(), DIR_END, fileName);
}

bool Security::addDirectories(const char* base, char* list)
{
    TextBuffer path(PathCapacity);
    bool whole = path.set(base);
    const char* part = list;
    while (whole && *part != '\0') {
        const char* end = std::strchr(part, '/');
        const size_t length = end != nullptr ? static_cast<size_t>(end - part) : std::strlen(part);
        if (length > 0) {
            if (!path.empty())
                whole = path.append(DIR_END);
            const size_t used = std::strlen(path);
            if (!whole || used + length >= path.capacity()) {
                whole = false;
                break;
            }
            std::memcpy(path.data() + used, part, length);
            path.data()[used + length] = '\0';
            makeDir(path);
        }
        part += length + (end != nullptr ? 1 : 0);
    }
    if (whole && fexists(path)) {
        copyText(list, PathCapacity, path);
        return true;
    }
    traceMessage(TraceFilename, "unable to create security directory", path.c_str());
    return false;
}

bool Security::getIdentityIdFilename(const char* jvmHome, char* path)
{
    path[0] = '\0';
    TextBuffer securityFile(PathCapacity);
    if (!securityFile.format("%s%s%s%s%s%s%s", jvmHome, DIR_END, LibDir, DIR_END, SecurityDir,
                             DIR_END, JavaSecurityFilename) ||
        !fexists(securityFile))
        return false;
    const File file(securityFile, "rt");
    if (!file)
        return false;
    TextBuffer line(SecurityLineCapacity);
    bool found = false;
    while (!found && readLine(file.get(), line.data()))
        found = identityDatabaseOfLine(line, path, PathCapacity);
    if (!found)
        return false;

    const char* last = std::strrchr(path, '\\');
    if (last != nullptr) {
        TextBuffer directory(PathCapacity);
        std::memcpy(directory.data(), path, static_cast<size_t>(last - path));
        directory.data()[last - path] = '\0';
        addDirectories("", directory.data());
    }
    return true;
}

bool Security::getAlternateDestination(const char* keystore, const char* homeDirectory,
                                       char* destination)
{
    destination[0] = '\0';
    TextBuffer directoryPart(PathCapacity);
    TextBuffer fileName(PathCapacity);
    if (!splitAtLastSlash(keystore, directoryPart.data(), directoryPart.capacity(),
                          fileName.data(), fileName.capacity()) ||
        !equalsAsciiNoCase(directoryPart, UserHomeDirSpec))
        return false;

    TextBuffer login(PathCapacity);
    if (WinVersion().winNT()) {
        if (readRegText(HKEY_LOCAL_MACHINE, WinNtLogonEntry, "UserName", login.data(),
                        login.capacity()) != RegRead::Whole ||
            login.empty())
            readRegText(HKEY_LOCAL_MACHINE, WinNtLogonEntry, "DefaultUserName", login.data(),
                        login.capacity());
    } else {
        readRegText(HKEY_LOCAL_MACHINE, Win95LogonEntry, "username", login.data(),
                    login.capacity());
    }
    if (login.empty()) {
        traceMessage(TraceFilename, "unable to find login name in registry");
        return false;
    }
    TextBuffer list(PathCapacity);
    if (!list.format("%s%c%s", "profiles", '/', login.c_str()) ||
        !addDirectories(homeDirectory, list.data()))
        return false;
    return formatText(destination, PathCapacity, "%s%s%s", list.c_str(), DIR_END,
                      fileName.c_str());
}

bool Security::copySecurityFile(const char* source, const char* destination, bool backup)
{
    if (destination[0] == '\0')
        return false;
    if (backup && fexists(source) && fexists(destination))
        backupFile(destination);
    // Without a backup an existing security file is never replaced.
    if (fexists(destination))
        return true;
    if (copyFile(source, destination))
        return true;
    const std::string full = diskFullReason(destination);
    if (!full.empty())
        logAndTraceMessage(ErrorsFilename, TraceFilename, full.c_str());
    return false;
}

bool Security::backupFile(const char* path)
{
    TextBuffer backupName(PathCapacity);
    if (!backupNameOf(path, backupName.data(), backupName.capacity()) ||
        !copyFile(path, backupName))
        return false;
    const char* verb = nullptr;
    const char* preposition = nullptr;
    backupWords(language, &verb, &preposition);
    removeFile(path);
    TextBuffer line(ChangeLineCapacity);
    line.format("%s %s %s identitydb.001", verb, preposition, path);
    logSystemChange(line);
    return true;
}

void Security::logSystemChange(const char* line)
{
    const File file(SystemLogFilename, "at");
    if (file)
        std::fprintf(file.get(), "%s\n", line);
}
