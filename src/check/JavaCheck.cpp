#include "check/JavaCheck.h"

#include <algorithm>

#include "check/ClassFileRules.h"
#include "check/JarRules.h"

using namespace control_file;

namespace {

constexpr const char* TestClass = "TestJvm.class";

std::string inQuotes(const std::string& text)
{
    return "'" + text + "'";
}

const unsigned char* bytesOf(const std::string& text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

void JavaCheck::run(const PackageSettings& settings)
{
    checkTestClass(settings);
    checkWizardClass(settings);
}

void JavaCheck::checkTestClass(const PackageSettings& settings)
{
    std::filesystem::path file;
    if (!dir_.find(TestClass, file)) {
        report_.warning(TestClass, 0,
                        "not in the package: JVMs are judged by their version alone");
        return;
    }
    const std::string name = dir_.reportName(file);
    std::string head;
    unsigned major = 0;
    if (!PackageDir::read(file, 0, 8, head) ||
        !class_file::majorVersion(bytesOf(head), head.size(), major)) {
        report_.error(name, 0, "no class file (it does not begin with 0xCAFEBABE)");
        return;
    }
    const std::string& oldest = settings.required.empty() ? settings.minimum : settings.required;
    const unsigned oldestJava = class_file::javaOfVersion(oldest.c_str());
    const unsigned classJava = class_file::javaOfMajor(major);
    if (oldestJava == 0 || classJava <= oldestJava)
        return;
    report_.error(name, 0,
                  "class file version " + std::to_string(major) + " (Java " +
                      std::to_string(classJava) + ") is newer than Java " +
                      std::to_string(oldestJava) + ", the oldest the control file accepts (" +
                      settings.accepted() + "): older JVMs fail its test run");
}

bool JavaCheck::jarNames(const std::filesystem::path& file, std::vector<std::string>& names)
{
    uint64_t size = 0;
    std::string tail;
    const size_t tailLength = static_cast<size_t>(std::min<uint64_t>(
        PackageDir::size(file, size) ? size : 0, jar::TailLength));
    jar::Directory directory;
    const char* why = "cannot be read";
    if (PackageDir::read(file, size - tailLength, tailLength, tail) &&
        tail.size() == tailLength) {
        why = jar::findDirectory(bytesOf(tail), tail.size(), size, directory);
        std::string bytes;
        if (why == nullptr &&
            (!PackageDir::read(file, directory.offset, static_cast<size_t>(directory.size),
                               bytes) ||
             bytes.size() != directory.size))
            why = "cannot be read";
        if (why == nullptr)
            why = jar::directoryNames(bytesOf(bytes), bytes.size(), directory.entries, names);
    }
    if (why != nullptr)
        report_.error(dir_.reportName(file), 0, why);
    return why == nullptr;
}

void JavaCheck::checkWizardClass(const PackageSettings& settings)
{
    const SettingValue& command = settings[LoaderJavaCommand];
    const std::string className = command.text.substr(0, command.text.find(' '));
    if (className.empty()) {
        report_.error(control_, command.line,
                      "loaderJavaCommand names no wizard class: the wizard cannot start");
        return;
    }
    const std::string entry = jar::classEntryName(className);
    bool found = className[0] == '-';  // a JVM switch such as -jar: no class to look for
    bool broken = false;               // a jar that is no zip file, reported on its own
    for (const std::string& part : packageEntries(settings.classpath)) {
        std::filesystem::path file;
        if (part.back() == '*' || !dir_.find(part, file))
            continue;
        std::error_code error;
        if (std::filesystem::is_directory(file, error)) {
            found = found || dir_.isFile(part + "/" + entry);
            continue;
        }
        std::vector<std::string> names;
        if (jarNames(file, names))
            found = found || std::find(names.begin(), names.end(), entry) != names.end();
        else
            broken = true;
    }
    if (!found && !broken)
        report_.error(control_, command.line,
                      "the wizard class " + inQuotes(className) + " (" + entry +
                          ") is in no jar or folder of the class path " +
                          inQuotes(settings.classpath));
}
