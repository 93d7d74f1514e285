#include "support/Package.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qrvtest {

std::string standinJvmProgram(const std::string& name)
{
    return builtProgram(name.find("w.exe") != std::string::npos ? "fakejvmw.exe" : "fakejvm.exe");
}

void placeStandinJvm(const std::string& bin, const std::string& version,
                     const std::string& testRun, const std::string& wizard,
                     const std::string& more)
{
    makeDirs(bin);
    for (const char* program : {"java.exe", "javaw.exe"})
        copyFile(standinJvmProgram(program), bin + "\\" + program);
    writeFile(bin + "\\fakejvm.ini",
              "version=" + version + "\ntestrun=" + testRun + "\nwizard=" + wizard + "\n" + more);
}

std::vector<RecordedStart> jvmStarts(const std::string& bin)
{
    return recordedStarts(bin + "\\fakejvm.record");
}

std::vector<RecordedStart> wizardStarts(const std::string& bin)
{
    std::vector<RecordedStart> starts = jvmStarts(bin);
    starts.erase(std::remove_if(starts.begin(), starts.end(),
                                [](const RecordedStart& start) {
                                    return std::find(start.begin(), start.end(),
                                                     "arg=TestJvm") != start.end();
                                }),
                 starts.end());
    return starts;
}

Package::Package(std::string dir, bool copyLauncher) : dir_(std::move(dir))
{
    makeDirs(dir_);
    launcher_ = copyLauncher ? *this / "setup.exe" : builtProgram("setup.exe");
    if (copyLauncher)
        copyBuilt("setup.exe");
}

void Package::put(const std::string& name, const std::string& text) const
{
    writeFile(*this / name, text);
}

void Package::copyBuilt(const std::string& name, const std::string& as) const
{
    copyFile(builtProgram(name), *this / (as.empty() ? name : as));
}

void Package::wizardFiles(const std::string& control) const
{
    copyBuilt("TestJvm.class");
    put("install.jar", "");
    put("qrv.control", control);
}

void Package::expander(const std::string& as, const std::string& settings) const
{
    copyBuilt("fakeexpander.exe", as);
    put("fakeexpander.ini", "jvm=" + builtProgram("fakejvm.exe") + "\n" + settings);
}

void Package::run(const std::string& arguments, DWORD limitMs, DWORD flags)
{
    const RunResult result =
        runProgram("\"" + launcher_ + "\" " + arguments, dir_, limitMs, flags);
    ASSERT_TRUE(result.started) << launcher_;
    ASSERT_TRUE(result.finished) << "setup.exe did not end within the time limit";
    exitCode_ = result.exitCode;
}

std::vector<RecordedStart> Package::starts(const std::string& name) const
{
    return recordedStarts(*this / (name + ".record"));
}

} // namespace qrvtest
