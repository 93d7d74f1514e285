// The checker on real package directories: a clean package, then one fault per row with the
// exact findings and their lines.
#include "check/PackageCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ZipBytes.h"

namespace fs = std::filesystem;

namespace {

const char* const CleanControl = "jvmMinVersion=11\r\njvmCommandName=java.exe\r\n"
                                 "jvmClasspathSwitch=-cp\r\nloaderClasspath=.;install.jar\r\n"
                                 "loaderJavaCommand=SampleWizard\r\n";
const std::string Class45("\xCA\xFE\xBA\xBE\x00\x03\x00\x2D", 8);

struct Row {
    std::string control;  // added to the clean control file; a leading "=" replaces it
    std::vector<std::pair<std::string, std::string>> files;  // written; "" content: removed
    std::vector<std::string> expected;
};

// ASCII text as UTF-16 LE.
std::string utf16(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += std::string(1, c) + '\0';
    return out;
}

void write(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> check(const Row& row)
{
    const fs::path dir = fs::temp_directory_path() / ("qrv-check-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string control =
        row.control.compare(0, 1, "=") == 0 ? row.control.substr(1) : CleanControl + row.control;
    write(dir / "qrv.control", control);
    write(dir / "install.jar", ziptest::zipOf({"META-INF/MANIFEST.MF", "SampleWizard.class"}));
    write(dir / "TestJvm.class", Class45);
    write(dir / "META-INF" / "MANIFEST.MF", "Manifest-Version: 1.0\r\n\r\nName: TestJvm.class\r\n");
    for (const auto& file : row.files) {
        if (file.second.empty())
            fs::remove(dir / fs::u8path(file.first));
        else
            write(dir / fs::u8path(file.first), file.second);
    }
    Report report;
    checkPackage(PackageDir(dir), report);
    fs::remove_all(dir);
    return report.lines();
}

} // namespace

TEST(PackageCheck, CleanPackageThenOneFaultPerRow)
{
    const std::string pastJava11 = "TestJvm.class: error: class file version 61 (Java 17) is newer "
                                   "than Java 11, the oldest the control file accepts "
                                   "(jvmMinVersion 11): older JVMs fail its test run";
    const Row rows[] = {
        {"", {}, {}},
        {std::string("=\xFF\xFE") + utf16(CleanControl), {}, {}},  // UTF-16: read whole, kept
        {"jvmMinVerison=11\r\n", {},
         {"qrv.control:6: error: unknown key 'jvmMinVerison' (did you mean 'jvmMinVersion'?)"}},
        {"# comment=yes\r\ncolour = blue\r\n", {}, {"qrv.control:7: error: unknown key 'colour'"}},
        {" jvmMaxVersion=17\r\n", {},
         {"qrv.control:6: error: a blank before the key: the launcher ignores this line"}},
        {"jvmName = JDK\r\n", {},
         {"qrv.control:6: error: 'jvmName' is followed by ' ', not '=': the launcher reads the "
          "value '= JDK'"}},
        {"readOnlyPackage=stop\r\nreadOnlyPackag=copy\r\nreadOnlyPackage=halt\r\n", {},
         {"qrv.control:7: error: unknown key 'readOnlyPackag' (did you mean 'readOnlyPackage'?)"}},
        {"readOnlyPackage = stop\r\n", {},
         {"qrv.control:6: warning: readOnlyPackage '= stop' reads as copy: only 'stop' stops a "
          "package that cannot be written"}},
        {"jvmMaxVersion=1.8+\r\n", {},
         {"qrv.control:6: error: jvmMaxVersion '1.8+' is no version the launcher can compare: "
          "write numbers joined by '.', '_' or '-' (11, 1.8, 1.8.0_392)"}},
        {"jvmMaxVersion=1.8\r\n", {},
         {"qrv.control:1: error: jvmMinVersion 11 is above jvmMaxVersion 1.8: no JVM is "
          "accepted"}},
        {"jvmMaxVersion=17\r\njvmVersion=1.8.0_392\r\n", {},
         {"qrv.control:7: error: jvmVersion 1.8.0_392 is outside the versions accepted "
          "(jvmMinVersion 11 to jvmMaxVersion 17): a JVM of that version is turned down"}},
        {"jvmInstallerType=selfExtractorJvmInstaller\r\n", {},
         {"qrv.control:6: error: unknown jvmInstallerType 'selfExtractorJvmInstaller' (did you "
          "mean 'selfExtratorJvmInstaller'?): no JVM is installed"}},
        {"jvmInstallerType=selfExtratorJvmInstaller\r\njvmSelfExtractor=jre.exe\r\n", {},
         {"qrv.control:7: error: jvmSelfExtractor names 'jre.exe', which is not in the "
          "package"}},
        {"jvmInstallerType=thirdPartyJvmInstaller\r\njvmInstallerBinary=jre8.exe\r\n"
         "jvmInstallerCommand=setup.exe/*/*/*/s\r\n",
         {{"jre8.exe", "MZ"}},
         {"qrv.control:8: error: jvmInstallerCommand starts 'setup.exe', which is neither "
          "jvmInstallerBinary 'jre8.exe' nor msiexec: the installer is not started"}},
        {"systemSecurityPolicyFilename=${java.home}/lib/security/java.policy\r\n", {},
         {"qrv.control:6: error: systemSecurityPolicyFilename names 'java.policy', which is not "
          "in the package"}},
        {"loaderClasspath=.;install.jar;lib/extra.jar\r\n", {},
         {"qrv.control:6: warning: 'loaderClasspath' is set again (line 4 set it too): the "
          "launcher takes this line's value",
          "qrv.control:6: error: loaderClasspath names 'lib/extra.jar', which is not in the "
          "package"}},
        {"", {{"install.jar", ""}},
         {"qrv.control:4: error: loaderClasspath '.;install.jar' names install.jar, which is "
          "not in the package: the wizard is not started (\"install.jar does not exist.\")",
          "qrv.control:5: error: the wizard class 'SampleWizard' (SampleWizard.class) is in no "
          "jar or folder of the class path '.;install.jar'"}},
        {"", {{"install.jar", "no zip"}},
         {"install.jar: error: no zip file (no end of central directory)"}},
        {"", {{"TestJvm.class", std::string("\xCA\xFE\xBA\xBE\x00\x00\x00\x3D", 8)}},
         {pastJava11}},
        {"", {{"TestJvm.class", ""}, {"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\r\n"}},
         {"TestJvm.class: warning: not in the package: JVMs are judged by their version alone"}},
        {"loaderJavaCommand=com.example.Wizard -v\r\n", {},
         {"qrv.control:6: warning: 'loaderJavaCommand' is set again (line 5 set it too): the "
          "launcher takes this line's value",
          "qrv.control:6: error: the wizard class 'com.example.Wizard' "
          "(com/example/Wizard.class) is in no jar or folder of the class path '.;install.jar'"}},
        {"", {{"META-INF/MANIFEST.MF", "Name: TestJvm.class\nName: jre.exe \nName: ../x\n"}},
         {"META-INF/MANIFEST.MF:2: error: names 'jre.exe', which is not in the package",
          "META-INF/MANIFEST.MF:3: error: names '../x', '..' leads out of the package: the "
          "launcher deletes only files inside the package"}},
        {"", {{"jinstall.log", " "}},
         {"jinstall.log: warning: in the package: every user's run keeps its trace here, and "
          "java.exe and jre.exe run as the console programs they are",
          "qrv.control:2: warning: jvmCommandName 'java.exe' runs as java.exe, a console "
          "program: users see a console window behind the wizard (javaw.exe shows none)"}},
        {"=jvmMinVersion=11\nloaderJavaCommand=SampleWizard\x1A\r\njvmMaxVersion=9\r\n", {},
         {"qrv.control: warning: lines end in LF alone: the launcher rewrites the file with CR "
          "LF line ends on every run",
          "qrv.control:2: warning: a Ctrl-Z character: the launcher reads nothing after it, and "
          "its rewrite of the file drops it and all that follows"}},
        {"", {{"lib/Caf\xC3\xA9.txt", "x"}},
         {"lib/Caf\xC3\xA9.txt: warning: a name outside ASCII: before Windows 10 1903 only a "
          "system whose code page holds its letters can hand it to Java"}},
        {"", {{"qrv.control", ""}},
         {"qrv.control: error: not in the package: the launcher stops with \"Unable to open "
          "qrv.control\""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, check(row)) << row.control;
}
