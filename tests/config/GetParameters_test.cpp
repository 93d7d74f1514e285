#include "config/GetParameters.h"
#include "util/Wide.h"

#include "support/LogCheck.h"
#include "support/TestSupport.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qrvtest;

namespace {

const size_t capacities[27] = {201,  201,  201,  201,  201,  5001, 5000, 5000, 5000,
                               5000, 5000, 5001, 5000, 1000, 5000, 5000, 5001, 5001,
                               5001, 5000, 100,  100,  5001, 5001, 5000, 100,  201};

enum {
    Required, Min, Max, Version, Name, Command, InstallerType, SelfExtractor, InstallerBinary,
    InstallerCommand, InstallDir, HomeDir, Extra, ClasspathSwitch, Classpath, JavaCommand,
    SystemSecurity, UserSecurity, IdentityDb, AppletUrl, SearchForJvm, TestTimeout, ControlName,
    BundledDir, DownloadUrl, Architecture, ProductName
};

class ControlFile : public InTempDir {
protected:
    ControlFile()
    {
        for (size_t i = 0; i < 27; ++i) {
            buffers.emplace_back(capacities[i] + 8, '#');  // guard bytes after each buffer
            buffers[i][0] = '\0';
        }
    }

    bool read(const std::string& content)
    {
        writeFile("qrv.control", content);
        return readExisting();
    }

    bool readExisting()
    {
        GetParameters reader;
        reader.setQuietMode(true);
        std::vector<char*> b;
        for (std::string& buffer : buffers)
            b.push_back(&buffer[0]);
        return reader.getParameters(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9],
                                    b[10], b[11], b[12], b[13], b[14], b[15], b[16], b[17], b[18],
                                    b[19], b[20], b[21], b[22], b[23], b[24], b[25], b[26]);
    }

    std::string value(int index) const { return buffers[index].c_str(); }

    bool guardsIntact() const
    {
        for (size_t i = 0; i < 27; ++i) {
            if (buffers[i].compare(capacities[i], 8, std::string(8, '#')) != 0)
                return false;
        }
        return true;
    }

    std::vector<std::string> buffers;
};

// A trace log created by the run itself: traces are written, the names take windowed forms.
class ControlFileTraced : public ControlFile {
protected:
    ControlFileTraced()
    {
        createTraceLog();
        writeFile("jinstall.sem", "");
    }
};

TEST_F(ControlFileTraced, OnlyJvmVersionSetsTheDefaults)
{
    ASSERT_TRUE(read("jvmVersion=1.3.1\n"));
    EXPECT_EQ("1.3.1", value(Required));
    EXPECT_EQ("1.3.1", value(Version));
    EXPECT_EQ("JRE", value(Name));
    EXPECT_EQ(".;install.jar", value(Classpath));
    EXPECT_EQ("jrew.exe", value(Command));
    EXPECT_EQ("qrv.control", value(ControlName));
    EXPECT_TRUE(traced("Valid version of jrew.exe: 1.3.1"));
    EXPECT_TRUE(traced("jvmVersion 1.3.1"));
}

TEST_F(ControlFile, EmptyFileGivesVersion14)
{
    ASSERT_TRUE(read(""));
    EXPECT_EQ("1.4", value(Required));
    EXPECT_EQ("1.4", value(Version));
    EXPECT_EQ("", value(Min));
    EXPECT_EQ("", value(SearchForJvm));
    EXPECT_EQ("", value(TestTimeout));
}

TEST_F(ControlFileTraced, MinAndMaxLeaveTheRequiredVersionEmpty)
{
    ASSERT_TRUE(read("jvmMinVersion=1.3\r\njvmMaxVersion=1.6\r\n"));
    EXPECT_EQ("", value(Required));
    EXPECT_EQ("", value(Version));
    EXPECT_EQ("1.3", value(Min));
    EXPECT_EQ("1.6", value(Max));
    EXPECT_TRUE(traced("Valid versions of jrew.exe: 1.3 through 1.6"));
}

TEST_F(ControlFile, CommandNameWithAndWithoutAUserTraceLog)
{
    ASSERT_TRUE(read("jvmCommandName=Java\n"));
    EXPECT_EQ("javaw.exe", value(Command));
    createTraceLog();  // the user's own trace log: console programs stay
    ASSERT_TRUE(read("jvmCommandName=Java\n"));
    EXPECT_EQ("java.exe", value(Command));
    ASSERT_TRUE(read("jvmCommandName=launch.bat\n"));
    EXPECT_EQ("launch.bat", value(Command));
}

TEST_F(ControlFile, LineShapes)
{
    ASSERT_TRUE(read("jvmName = JDK\n"
                     "jvmVersionX1.2\n"
                     "# jvmMinVersion=1.9\n"
                     "\n"
                     "otherTool=1\n"
                     "jvmClasspathSwitch\n"
                     "appletUrl=first\n"
                     "appletUrl=last \n"
                     "predefinedJvmInstallDir=C\\:\\\\Program Files/Java\n"
                     "jvmExtraParameters=-Da=\\\\x -Db=\\\"q\\\" end\\\n"
                     "jvmTestTimeout=2\n"));
    EXPECT_EQ("= JDK", value(Name));
    EXPECT_EQ("1.2", value(Version));
    EXPECT_EQ("", value(Min));
    EXPECT_EQ("", value(ClasspathSwitch));
    EXPECT_EQ("last ", value(AppletUrl));
    EXPECT_EQ("C:\\Program Files\\Java", value(InstallDir));
    EXPECT_EQ("-Da=\\x -Db=\"q\" end\\", value(Extra));
    EXPECT_EQ("2", value(TestTimeout));
}

TEST_F(ControlFile, CrOnlyLineEndsReadAsOneLine)
{
    ASSERT_TRUE(read("jvmName=JDK\rjvmVersion=1.5\r"));
    EXPECT_EQ("JDKjvmVersion=1.5", value(Name));
    EXPECT_EQ("1.4", value(Version));
    EXPECT_EQ("jvmName=JDKjvmVersion=1.5", readFile("qrv.control"));
}

TEST_F(ControlFile, CrLfFileIsRewrittenWithCrLf)
{
    ASSERT_TRUE(read("jvmName=JDK\r\njvmVersion=1.5\n"));
    EXPECT_EQ("JDK", value(Name));
    EXPECT_EQ("1.5", value(Version));
    EXPECT_EQ("jvmName=JDK\r\njvmVersion=1.5\r\n", readFile("qrv.control"));
    EXPECT_FALSE(exists("__qrv.control"));
}

TEST_F(ControlFile, LongLineIsReadInPieces)
{
    // 998 characters fill one read; the rest of the line is tested as a line of its own.
    const std::string line = "appletUrl=" + std::string(988, 'u') + "jvmVersion=1.6\n";
    ASSERT_TRUE(read(line));
    EXPECT_EQ(std::string(988, 'u'), value(AppletUrl));
    EXPECT_EQ("1.6", value(Version));
}

TEST_F(ControlFileTraced, OverLongValuesAreCutToTheirBuffers)
{
    ASSERT_TRUE(read("jvmVersion=" + std::string(300, '1') + "\nsearchForJvm=" +
                     std::string(150, 'n') + "\njvmTestTimeout=" + std::string(150, '9') + "\n"));
    EXPECT_EQ(std::string(200, '1'), value(Version));
    EXPECT_EQ(std::string(99, 'n'), value(SearchForJvm));
    EXPECT_EQ(std::string(99, '9'), value(TestTimeout));
    EXPECT_TRUE(guardsIntact());
    EXPECT_TRUE(traced("value cut to its buffer for jvmVersion"));
}

// What editors write: a mark, UTF-16 in both orders, legacy code page bytes; the first key is
// never lost and the letters arrive in the program's own encoding. UTF-16 is not rewritten.
TEST_F(ControlFile, EncodingsThatEditorsWrite)
{
    const std::wstring text = L"jvmMinVersion=11\r\njvmName=Caf\u00e9 \U0001F600\r\n";
    auto utf16 = [&](bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t c : text)
            bytes += bigEndian ? std::string{char(c >> 8), char(c & 0xFF)}
                               : std::string{char(c & 0xFF), char(c >> 8)};
        return bytes;
    };
    const std::string plain = "jvmMinVersion=11\njvmName=Caf\xC3\xA9 \xF0\x9F\x98\x80\n";
    const std::string files[] = {plain, "\xEF\xBB\xBF" + plain, utf16(false), utf16(true),
                                 "jvmMinVersion=11\njvmName=Caf\xE9 \n"};
    for (const std::string& file : files) {
        ASSERT_TRUE(read(file)) << file;
        EXPECT_EQ("11", value(Min)) << file;
        EXPECT_EQ(L"Caf\u00e9 ", widen(value(Name).c_str()).substr(0, 5)) << file;
        EXPECT_EQ(file[0] == '\xFF' || file[0] == '\xFE', readFile("qrv.control") == file);
    }
    // No UTF-8 setting here, as before Windows 10 1903: a letter 1252 lacks is "?", never "L".
    if (GetACP() != 1252)
        GTEST_SKIP() << "the lost letters' row needs code page 1252, not " << GetACP();
    DeleteFileA("errors.log");  // the emoji above is lost too
    ASSERT_TRUE(read("productName=x\njvmHomeDir=C:\\\xC5\x81od\xC5\xBA\n"));
    EXPECT_EQ("C:\\?od?", value(HomeDir));
    EXPECT_TRUE(logged("qrv.control line 2: letters that this system's code page lacks read "
                       "as \"?\""));
}

TEST_F(ControlFileTraced, LinesNotTakenAreTracedWithNumberAndReason)
{
    ASSERT_TRUE(read(std::string(" jvmName=JDK\n\njvmTest 5\n# a=1\njvmVersion=1.5\0x\n", 47) +
                     "jvmMinVersion = 11\n"));
    EXPECT_EQ("1.5", value(Version));
    EXPECT_TRUE(traced("qrv.control line 6: blank after the key"));
    EXPECT_TRUE(traced("qrv.control line 1 not read: blank before the key"));
    EXPECT_TRUE(traced("qrv.control line 3 not read: no \"=\""));
    EXPECT_TRUE(traced("qrv.control line 4 not read: unknown key"));
    EXPECT_TRUE(traced("qrv.control line 5: text after a NUL not read"));
}

TEST_F(ControlFile, MissingControlFileStopsTheRun)
{
    EXPECT_FALSE(readExisting());
    const std::vector<std::string> errors = logMessages("errors.log");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Unable to open qrv.control", errors[0]);
}

TEST_F(ControlFile, TemporaryFileThatCannotBeCreatedKeepsTheControlFile)
{
    CreateDirectoryA("__qrv.control", nullptr);  // a directory where the temporary file goes
    writeFile("qrv.control", "jvmVersion=1.5\r");
    EXPECT_FALSE(readExisting());
    const std::vector<std::string> errors = logMessages("errors.log");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Unable to convert line endings for qrv.control", errors[0]);
    EXPECT_EQ("jvmVersion=1.5\r", readFile("qrv.control"));
    // A file that already ends its lines as the rewrite would needs no temporary file.
    writeFile("qrv.control", "jvmVersion=1.5\r\n");
    EXPECT_TRUE(readExisting());
    EXPECT_EQ("1.5", value(Version));
    RemoveDirectoryA("__qrv.control");
}

TEST_F(ControlFile, ReadOnlyControlFileIsNeverLost)
{
    writeFile("qrv.control", "jvmVersion=1.5\r\njvmName=JDK\r\n");
    ASSERT_TRUE(SetFileAttributesA("qrv.control", FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(readExisting());
    EXPECT_EQ("1.5", value(Version));
    EXPECT_EQ("JDK", value(Name));
    EXPECT_EQ("jvmVersion=1.5\r\njvmName=JDK\r\n", readFile("qrv.control"));
    EXPECT_FALSE(exists("__qrv.control"));
    SetFileAttributesA("qrv.control", FILE_ATTRIBUTE_NORMAL);
}

// The switch as the driver and the provisioning classes read it.
class Switch : public InTempDir {
protected:
    bool read() { return readConfigureWinRegistry(tracer, "configWinReg in installer"); }
    Trace tracer;
};

TEST_F(Switch, ValuesOfTheControlFile)
{
    const std::pair<const char*, bool> cases[] = {
        {"configureWinRegistry=Yes\n", true},
        {"configureWinRegistry=TRUE\n", true},
        {"configureWinRegistry=no\n", false},
        {"configureWinRegistry=\n", false},
        {"configureWinRegistry\n", false},
        {"jvmVersion=1.4\n", true},
        {"configureWinRegistry=no\nconfigureWinRegistry=yes\n", false},  // the first decides
    };
    for (const auto& c : cases) {
        writeFile("qrv.control", c.first);
        EXPECT_EQ(c.second, read()) << c.first;
    }
}

TEST_F(Switch, FallsBackToNativePropertiesThenToTrue)
{
    createTraceLog();
    EXPECT_TRUE(read());
    const std::vector<std::string> lines = logMessages("jinstall.log");
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("unable to open qrv.control file defaulting to configure registry", lines[0]);
    EXPECT_EQ("configWinReg in installer: true", lines[1]);

    writeFile("native.properties", "nativeJvmHomeDir=C:/j\nconfigureWinRegistry=false\n");
    EXPECT_FALSE(read());
}

} // namespace
