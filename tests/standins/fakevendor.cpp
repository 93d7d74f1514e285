// Stand-in for a JVM vendor's installer. The launcher starts a copy of it in the JVM directory,
// so its settings come from the file named by the environment variable QRV_FAKEVENDOR_INI:
//   jvm=<full path of the stand-in JVM program to copy>
//   version=1.6.0       the version the installed JVM reports
//   mode=subdir         install into <current directory>\jre<version>
//   mode=registry       install into target=<dir> and register it under the JavaSoft runtime key
//                       (key <family>, values MicroVersion and JavaHome)
//   regroot=<key>       a key under HKEY_CURRENT_USER that stands for HKEY_LOCAL_MACHINE, so that
//                       a test's scratch registry receives the entry (default: the real one)
//   mode=nothing        install nothing
//   exitcode=<n>        the exit code (default 0)
//   crash=1             end as a crashed program does (access violation exit status)
//   record=<file>       every start is appended there (the stand-ins' record format)
//   killpoint=<file>    a kill point (Standin.h) once the JVM is laid out, before it is registered
#include <cstdlib>

#include "StandinJvmTree.h"

namespace {

void setString(HKEY key, const char* name, const std::string& value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// Registers `home` as the runtime of `version` (1.6.0 -> key 1.6 with MicroVersion 0).
bool registerRuntime(const std::string& version, const std::string& home,
                     const std::string& regRoot)
{
    const size_t firstDot = version.find('.');
    const size_t secondDot =
        firstDot == std::string::npos ? std::string::npos : version.find('.', firstDot + 1);
    const std::string family = version.substr(0, secondDot);
    const std::string micro = secondDot == std::string::npos ? "0" : version.substr(secondDot + 1);
    std::string key = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\" + family;
    HKEY root = HKEY_LOCAL_MACHINE;
    if (!regRoot.empty()) {
        root = HKEY_CURRENT_USER;
        key = regRoot + "\\" + key;
    }
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    setString(handle, "MicroVersion", micro);
    setString(handle, "JavaHome", home);
    RegCloseKey(handle);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const char* iniVariable = std::getenv("QRV_FAKEVENDOR_INI");
    const std::string ini = iniVariable != nullptr ? iniVariable : "";
    const std::string recordFile = standin::setting(ini, "record", "");
    if (!recordFile.empty())
        standin::record(recordFile, argc, argv);

    if (standin::setting(ini, "crash", "0") == "1")
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
    const std::string mode = standin::setting(ini, "mode", "nothing");
    const std::string version = standin::setting(ini, "version", "1.6.0");
    const std::string jvm = standin::setting(ini, "jvm", "");
    if (mode == "subdir") {
        const std::string home = standin::currentDirectory() + "\\jre" + version;
        CreateDirectoryA(home.c_str(), nullptr);
        standin::layOutJvm(home, jvm, version, "bin");
    } else if (mode == "registry") {
        const std::string home = standin::setting(ini, "target", "");
        CreateDirectoryA(home.c_str(), nullptr);
        const bool laidOut = standin::layOutJvm(home, jvm, version, "bin");
        standin::killPoint(standin::setting(ini, "killpoint", ""));
        if (laidOut)
            registerRuntime(version, home, standin::setting(ini, "regroot", ""));
    }
    return std::atoi(standin::setting(ini, "exitcode", "0").c_str());
}
