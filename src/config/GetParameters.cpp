#include "config/GetParameters.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "config/ControlFileRules.h"
#include "config/ControlText.h"
#include "util/TextBuffer.h"
#include "util/clib.h"
#include "util/fexists.h"
#include "util/File.h"
#include "util/FileNames.h"
#include "util/Capacity.h"

using namespace file_names;

namespace {

constexpr const char* TempControlFilename = "__qrv.control";
constexpr const char* DefaultLoaderClasspath = ".;install.jar";
constexpr const char* DefaultVersion = "1.4";
constexpr const char* DefaultJvm = "JRE";
constexpr const char* OldDefaultJreFilename = "jre.exe";

constexpr int LineBufferSize = 1001;
// Larger control files are rewritten without a look at their line ends first.
constexpr size_t LineEndCheckLimit = 1 << 20;

// True when the file already holds the line ends that its rewrite would write: it is then left
// as it is, and no work file is made for it.
bool keepsItsLineEnds(const char* name)
{
    File file(name, "rb");
    if (!file)
        return false;
    std::string text;
    char piece[4096];
    size_t got;
    while ((got = std::fread(piece, 1, sizeof piece, file.get())) > 0) {
        text.append(piece, got);
        if (text.size() > LineEndCheckLimit)
            return false;
    }
    return !std::ferror(file.get()) &&
           control_file::lineEndsAlreadyWritten(text.data(), text.size());
}

} // namespace

bool GetParameters::getParameters(char* requiredVersion, char* minVersion, char* maxVersion,
                                  char* jvmVersion, char* jvmName, char* jvmCommandName,
                                  char* jvmInstallerType, char* jvmSelfExtractor,
                                  char* jvmInstallerBinary, char* jvmInstallerCommand,
                                  char* predefinedJvmInstallDir, char* jvmHomeDir,
                                  char* jvmExtraParameters, char* classpathSwitch,
                                  char* loaderClasspath, char* loaderJavaCommand,
                                  char* systemSecurity, char* userSecurity, char* identityDb,
                                  char* appletUrl, char* searchForJvm, char* jvmTestTimeout,
                                  char* controlFilename, char* jvmBundledDir,
                                  char* jvmDownloadUrl, char* jvmArchitecture, char* productName)
{
    char* const settings[control_file::SettingCount] = {
        requiredVersion,  minVersion,         maxVersion,          jvmVersion,
        jvmName,          jvmCommandName,     jvmInstallerType,    jvmSelfExtractor,
        jvmInstallerBinary, jvmInstallerCommand, predefinedJvmInstallDir, jvmHomeDir,
        jvmExtraParameters, classpathSwitch,  loaderClasspath,     loaderJavaCommand,
        systemSecurity,   userSecurity,       identityDb,          appletUrl,
        searchForJvm,     jvmTestTimeout,     jvmBundledDir,       jvmDownloadUrl,
        jvmArchitecture,  productName};
    copyText(controlFilename, PathCapacity, QrvControlFilename);
    if (!convertLineEndings(controlFilename))
        return false;
    if (!parseParameters(settings, controlFilename))
        return false;

    TextBuffer text(1000);
    if (*requiredVersion != '\0')
        text.format("Valid version of %s: %s", jvmCommandName, requiredVersion);
    else
        text.format("Valid versions of %s: %s through %s", jvmCommandName, minVersion,
                    maxVersion);
    traceMessage(TraceFilename, text);
    return true;
}

bool GetParameters::convertLineEndings(const char* controlFilename)
{
    File source(controlFilename, "rt");
    if (!source) {
        const char* text = "Unable to open qrv.control";
        logMessage(ErrorsFilename, text);
        showError(text, "");
        return false;
    }
    // A byte-wise rewrite would break UTF-16; its reader drops the carriage returns instead.
    if (ControlText::startsAsUtf16(source.get())) {
        traceMessage(TraceFilename, "control file in UTF-16 kept as it is", controlFilename);
        return true;
    }
    if (keepsItsLineEnds(controlFilename))
        return true;
    bool written = false;
    {
        File temp(TempControlFilename, "wt");
        if (!temp) {
            source.close();
            const char* text = "Unable to convert line endings for qrv.control";
            logMessage(ErrorsFilename, text);
            showError(text, "");
            return false;
        }
        written = true;
        int c;
        while ((c = std::fgetc(source.get())) != EOF) {
            if (c == '\r')
                continue;
            if (std::fputc(c, temp.get()) == EOF) {
                written = false;
                break;
            }
        }
        if (std::ferror(source.get()))
            written = false;
        if (!temp.close())
            written = false;
    }
    source.close();
    // The control file is replaced only by a complete copy; otherwise it stays as it was and is
    // read with its own line ends.
    if (!written || !replaceFile(TempControlFilename, controlFilename)) {
        traceMessage(TraceFilename, "control file kept with its own line endings",
                     controlFilename);
        removeFile(TempControlFilename);
    }
    return true;
}

bool GetParameters::parseParameters(char* const* settings, const char* controlFilename)
{
    using namespace control_file;
    for (int i = 0; i < SettingCount; ++i)
        settings[i][0] = '\0';

    ControlText file;
    if (!file.open(controlFilename)) {
        logAndTraceMessage(ErrorsFilename, TraceFilename, "Unable to open file", controlFilename);
        showError("Unable to open control file", "");
        return false;
    }
    if (file.encodingName() != nullptr)
        traceMessage(TraceFilename, "control file read as", file.encodingName());
    char line[LineBufferSize];
    switchLine.clear();
    while (file.next(line)) {
        if (switchLine.empty() && control_file::isConfigureWinRegistryLine(line))
            switchLine = line;
        traceLineNotTaken(file, line, controlFilename);
        const int index = matchKey(line);
        if (index < 0)
            continue;
        const Setting& setting = Settings[index];
        char* value = settings[index];
        if (!copyText(value, setting.capacity, valueAfterKey(line, std::strlen(setting.key))))
            traceMessage(TraceFilename, "value cut to its buffer for", setting.key);
        if (index == JvmExtraParameters && *value != '\0')
            removeExtraBackSlashes(value);
        else if (index == PredefinedJvmInstallDir)
            unescapeInstallDir(value);
        traceMessage(TraceFilename, setting.key, value);
    }
    return verifyParameters(settings[RequiredVersion], settings[MinVersion],
                            settings[JvmVersion], settings[JvmName], settings[JvmCommandName],
                            settings[LoaderClasspath]);
}

bool GetParameters::verifyParameters(char* requiredVersion, char* minVersion, char* jvmVersion,
                                     char* jvmName, char* jvmCommandName, char* loaderClasspath)
{
    using namespace control_file;
    if (*loaderClasspath == '\0')
        copyText(loaderClasspath, Settings[LoaderClasspath].capacity, DefaultLoaderClasspath);
    if (*requiredVersion == '\0' && *minVersion == '\0') {
        copyText(requiredVersion, Settings[RequiredVersion].capacity,
                 *jvmVersion != '\0' ? jvmVersion : DefaultVersion);
    }
    if (*jvmVersion == '\0')
        copyText(jvmVersion, Settings[JvmVersion].capacity, requiredVersion);
    if (*jvmName == '\0')
        copyText(jvmName, Settings[JvmName].capacity, DefaultJvm);
    if (*jvmCommandName == '\0')
        copyText(jvmCommandName, Settings[JvmCommandName].capacity, OldDefaultJreFilename);
    const bool userTraceLog = fexists(TraceFilename) && !fexists(TempTraceFilename);
    normaliseCommandName(jvmCommandName, Settings[JvmCommandName].capacity, userTraceLog);
    return true;
}

void GetParameters::traceLineNotTaken(const ControlText& file, const char* line,
                                      const char* controlFilename)
{
    const char* reason = control_file::lineNotTakenReason(line);
    if (reason != nullptr && file.continued())
        reason = "the rest of a line longer than the reader takes at once";
    const bool blankAfterKey = control_file::blankAfterKey(line);
    // A setting that names a folder must never name a look-alike: its lost letters are "?",
    // which no file name holds, and the error log says why.
    const bool lettersLost = file.lettersLost() && control_file::matchKey(line) >= 0;
    if (reason == nullptr && !file.cutAtNul() && !blankAfterKey && !lettersLost)
        return;
    TextBuffer label(PathCapacity + 100);
    label.format("%s line %u:", controlFilename, file.lineNumber());
    if (file.cutAtNul())
        traceMessage(TraceFilename, label, "text after a NUL not read");
    if (blankAfterKey)
        traceMessage(TraceFilename, label, "blank after the key");
    if (lettersLost)
        logAndTraceMessage(ErrorsFilename, TraceFilename, label,
                           "letters that this system's code page lacks read as \"?\"");
    if (reason != nullptr) {
        label.format("%s line %u not read:", controlFilename, file.lineNumber());
        traceMessage(TraceFilename, label, reason);
    }
}

void GetParameters::removeExtraBackSlashes(char* text)
{
    traceMessage(TraceFilename, "initial jvm switches for installer", text);
    control_file::removeExtraBackSlashes(text, [this](const char* current, bool after) {
        traceMessage(TraceFilename,
                     after ? "  after extra back slash removed" : "  before extra back slash removed",
                     current);
    });
    traceMessage(TraceFilename, "final jvm switches for installer", text);
}

namespace {

// The switch that its first line (null: none) gives, traced.
bool switchOfLine(Trace& tracer, const char* line)
{
    if (line == nullptr)
        return true;
    tracer.traceMessage(TraceFilename, line);
    const bool result = control_file::configureWinRegistryValue(line);
    tracer.traceMessage(TraceFilename, "configureWinRegistry", result);
    return result;
}

} // namespace

bool readConfigureWinRegistry(Trace& tracer, const char* classLabel)
{
    ControlText file;
    bool result = true;
    if (!file.open(QrvControlFilename) && !file.open(NativePropertiesFilename)) {
        tracer.traceMessage(TraceFilename, "unable to open qrv.control file",
                            "defaulting to configure registry");
    } else {
        char line[LineBufferSize];
        bool found = false;
        while (!found && file.next(line))
            found = control_file::isConfigureWinRegistryLine(line);
        result = switchOfLine(tracer, found ? line : nullptr);
    }
    tracer.traceMessage(TraceFilename, classLabel, result);
    return result;
}

bool readOnlyPackageStops()
{
    ControlText file;
    if (!file.open(QrvControlFilename))
        return false;
    char line[LineBufferSize];
    while (file.next(line)) {
        if (control_file::isReadOnlyPackageLine(line))
            return control_file::readOnlyPackageStops(line);
    }
    return false;
}

bool configureWinRegistryOfLine(Trace& tracer, const std::string& line, const char* classLabel)
{
    const bool result = switchOfLine(tracer, line.empty() ? nullptr : line.c_str());
    tracer.traceMessage(TraceFilename, classLabel, result);
    return result;
}
