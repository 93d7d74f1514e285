// The package's cleanup program: it removes a package directory and refuses anything else.
#include "support/TestSupport.h"

#include <shlobj.h>

using namespace qrvtest;

namespace {

class Cleanup : public InTempDir {
protected:
    // A package directory "pkg" below the test directory, with a control file and some content.
    std::string makePackage(const std::string& name = "pkg")
    {
        const std::string package = dir / name;
        CreateDirectoryA(package.c_str(), nullptr);
        CreateDirectoryA((package + "\\META-INF").c_str(), nullptr);
        writeFile(package + "\\qrv.control", "jvmMinVersion=1.4\n");
        writeFile(package + "\\install.jar", "jar");
        writeFile(package + "\\META-INF\\MANIFEST.MF", "Name: install.jar\n");
        SetFileAttributesA((package + "\\install.jar").c_str(), FILE_ATTRIBUTE_READONLY);
        return package;
    }
    RunResult runCleanup(const std::string& arguments)
    {
        return runProgram("\"" + builtProgram("cleanup.exe") + "\"" + arguments, dir.path());
    }
};

TEST_F(Cleanup, RemovesThePackageDirectory)
{
    const std::string package = makePackage();
    const RunResult result = runCleanup(" \"" + package + "\"");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_FALSE(exists(package));
}

TEST_F(Cleanup, RemovesADirectoryWithBlanksInItsName)
{
    const std::string package = makePackage("my package");
    const RunResult result = runCleanup(" \"" + package + "\"");
    ASSERT_TRUE(result.finished);
    EXPECT_FALSE(exists(package));
}

std::string shellFolder(int id)
{
    char path[MAX_PATH + 1] = "";
    return SHGetFolderPathA(nullptr, id, nullptr, 0, path) == S_OK ? path : "";
}

TEST_F(Cleanup, RefusesEveryUnsafeArgumentAndDeletesNothing)
{
    const std::string package = makePackage();
    const std::string unmarked = dir / "unmarked";
    CreateDirectoryA(unmarked.c_str(), nullptr);
    writeFile(unmarked + "\\keep.txt", "keep");
    char windowsDir[MAX_PATH + 1] = "";
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    const char* profile = std::getenv("USERPROFILE");

    const struct {
        const char* what;
        std::string arguments;
    } rows[] = {
        {"missing", ""},
        {"relative", " pkg"},
        {"relative with dots", " .\\pkg"},
        {"drive root", " C:\\"},
        {"drive letter", " C:"},
        {"windows directory", " \"" + std::string(windowsDir) + "\""},
        {"user profile", " \"" + std::string(profile != nullptr ? profile : "C:\\users\\x") + "\""},
        {"documents", " \"" + shellFolder(CSIDL_PERSONAL) + "\""},
        {"no control file", " \"" + unmarked + "\""},
        {"two arguments", " \"" + package + "\" \"" + unmarked + "\""},
        {"parent of the package", " \"" + dir.path() + "\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const RunResult result = runCleanup(row.arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(2u, result.exitCode);
    }
    EXPECT_TRUE(exists(package + "\\qrv.control"));
    EXPECT_TRUE(exists(unmarked + "\\keep.txt"));
}

} // namespace
