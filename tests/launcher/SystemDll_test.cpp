#include "util/SystemDll.h"
#include "support/TestSupport.h"

#include <cctype>

using namespace qrvtest;

namespace {

TEST(SystemDll, LoadsFromTheSystemDirectory)
{
    HMODULE module = loadSystemDll("shell32.dll");
    ASSERT_NE(nullptr, module);
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(module, path, sizeof path);
    char systemDir[MAX_PATH + 1] = "";
    GetSystemDirectoryA(systemDir, sizeof systemDir);
    EXPECT_EQ(0u, lower(path).find(lower(systemDir) + "\\")) << path;
    FreeLibrary(module);
}

class PlantedDll : public InTempDir {};

// Guards against loading a DLL planted in the current directory under a system DLL's name.
TEST_F(PlantedDll, IsNeverLoadedFromTheCurrentDirectory)
{
    char systemDir[MAX_PATH + 1] = "";
    GetSystemDirectoryA(systemDir, sizeof systemDir);
    ASSERT_TRUE(CopyFileA((std::string(systemDir) + "\\version.dll").c_str(),
                          (dir / "qrvplanted.dll").c_str(), FALSE));
    EXPECT_EQ(nullptr, loadSystemDll("qrvplanted.dll"));
}

} // namespace
