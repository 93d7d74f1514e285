// The package's cleanup program: it removes a package directory and refuses anything else.
#include "support/TestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "util/clib.h"

using namespace qrvtest;

namespace {

class Cleanup : public InTempDir {
protected:
    // A package directory "pkg" below the test directory, with a control file and some content.
    std::string makePackage(const std::string& name = "pkg")
    {
        const std::string package = dir / name;
        makeDirs(package + "\\META-INF");
        writeFile(package + "\\qrv.control", "jvmMinVersion=1.4\n");
        writeFile(package + "\\install.jar", "jar");
        writeFile(package + "\\META-INF\\MANIFEST.MF", "Name: install.jar\n");
        SetFileAttributesW(wideName(package + "\\install.jar").c_str(), FILE_ATTRIBUTE_READONLY);
        return package;
    }
    // `program`: the built cleanup.exe when empty.
    RunResult runCleanup(const std::string& arguments, const std::string& program = "")
    {
        const std::string path = program.empty() ? builtProgram("cleanup.exe") : program;
        return runProgram("\"" + path + "\"" + arguments, dir.path());
    }
};

// The message of the last line that cleanup.exe wrote to its log in the temporary directory.
std::string lastLogMessage()
{
    char temp[MAX_PATH + 1] = "";
    GetTempPathA(sizeof temp, temp);
    const std::vector<std::string> lines = readLines(std::string(temp) + "qrvcleanup.log");
    if (lines.empty())
        return std::string();
    const size_t at = lines.back().find(" cleanup: ");
    return at == std::string::npos ? lines.back() : lines.back().substr(at + 10);
}

// A file that cannot go (held open without delete sharing) keeps the directory: the program
// says so in its exit code and its log, after its bounded retries.
TEST_F(Cleanup, ADirectoryThatCannotGoIsReportedAsLeft)
{
    const std::string package = makePackage();
    const std::string held = package + "\\held.txt";
    writeFile(held, "in use");
    HANDLE handle = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    const RunResult result = runCleanup(" \"" + package + "\"");
    CloseHandle(handle);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_TRUE(exists(held));
    EXPECT_EQ("directory left in place: " + package + "; exit code 1", lastLogMessage());
}

// Also with blanks in its name, or a path past MAX_PATH (nested folders of an unpacked zip). From
// inside it (its file read-only, as from a disc), a copy of it under TEMP removes all of it.
TEST_F(Cleanup, RemovesThePackageDirectory)
{
    const std::pair<std::string, bool> rows[] = {{"pkg", false}, {"my package", false},
                                                 {"deep\\" + std::string(250, 'd'), false},
                                                 {"pkg", true}, {"pkg", true}};
    for (const auto& [name, inside] : rows) {
        SCOPED_TRACE(name + (inside ? ", started from inside" : ""));
        const std::string package = makePackage(name);
        const std::string program = inside ? package + "\\__cleanup.exe" : "";
        if (inside) {
            ASSERT_TRUE(CopyFileA(builtProgram("cleanup.exe").c_str(), program.c_str(), FALSE));
            SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        std::vector<std::string> before, after;
        listDir(tempDirectory().c_str(), before, "qrvcleanup-*.exe");
        const RunResult result = runCleanup(" \"" + package + "\"", program);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(0u, result.exitCode) << lastLogMessage();
        const std::string verdict = "removed " + package + "; exit code 0";
        EXPECT_TRUE(waitUntil([&] { return lastLogMessage() == verdict; }, 60000))
            << lastLogMessage();
        EXPECT_FALSE(exists(package));
        // A run from inside leaves its own copy alone, the earlier ones gone.
        listDir(tempDirectory().c_str(), after, "qrvcleanup-*.exe");
        ASSERT_EQ(inside ? 1u : before.size(), after.size());
        if (inside) {
            EXPECT_TRUE(before.empty() || before[0] != after[0]);
            EXPECT_FALSE(GetFileAttributesA((tempDirectory() + after[0]).c_str()) &
                         FILE_ATTRIBUTE_READONLY);
        }
    }
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
    const std::string link = dir / "linked";
    ASSERT_TRUE(makeUnixLink(link, package));

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
        {"a junction to the package", " \"" + link + "\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const RunResult result = runCleanup(row.arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(2u, result.exitCode);
        const std::string logged = lastLogMessage();
        EXPECT_EQ(0u, logged.find("refused: ")) << logged;
        EXPECT_NE(std::string::npos, logged.find("; exit code 2")) << logged;
    }
    EXPECT_TRUE(exists(package + "\\qrv.control"));
    EXPECT_TRUE(exists(unmarked + "\\keep.txt"));
}

// Guards against following a link out of the package into a directory that must stay. The links
// are Unix symbolic ones, which Wine shows as reparse points (it cannot make junctions). Second
// row: a folder "\u0141" (best fit: "L") beside a link "L", as listed in code page 1252 by a
// program without the UTF-8 setting (before Windows 10 1903).
TEST_F(Cleanup, RemovesAJunctionButNotWhatItPointsTo)
{
    const std::string before1903 = dir / "cleanup-cp.exe";
    copyFile(builtProgram("cleanup.exe"), before1903);
    // Its manifest without the UTF-8 setting (Wine does not delete a resource, it replaces one).
    char manifest[] =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>";
    HANDLE update = BeginUpdateResourceA(before1903.c_str(), FALSE);
    ASSERT_TRUE(update && UpdateResourceA(update, RT_MANIFEST, MAKEINTRESOURCEA(1), 0x409,
                                          manifest, sizeof manifest - 1) &&
                EndUpdateResourceA(update, FALSE));
    const std::string outside = dir / "outside";
    CreateDirectoryA(outside.c_str(), nullptr);
    writeFile(outside + "\\precious.txt", "keep");
    for (const bool lookAlike : {false, true}) {
        if (lookAlike && GetACP() != 1252)
            GTEST_SKIP() << "the look-alike row needs code page 1252, not " << GetACP();
        const std::string package = makePackage(lookAlike ? "pkg-cp" : "pkg");
        const std::wstring folder = wideName(package) + L"\\\u0141";
        const std::string link = package + (lookAlike ? "\\L" : "\\link");
        ASSERT_TRUE(!lookAlike || CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(makeUnixLink(link, outside));
        ASSERT_TRUE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
        std::vector<std::string> names;  // the launcher's own listing leaves the look-alike out
        listDir(package.c_str(), names);
        EXPECT_EQ(1, std::count(names.begin(), names.end(), link.substr(package.size() + 1)));
        ASSERT_TRUE(runCleanup(" \"" + package + "\"", lookAlike ? before1903 : "").finished);
        EXPECT_TRUE(exists(outside + "\\precious.txt"));
        // The package's own files go. (Wine cannot remove the Unix link itself, so the package
        // directory stays here; on Windows it goes whole.)
        EXPECT_FALSE(exists(package + "\\qrv.control"));
        EXPECT_FALSE(exists(package + "\\META-INF"));
    }
}

} // namespace
