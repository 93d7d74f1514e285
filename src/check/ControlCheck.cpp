#include "check/ControlCheck.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "check/ControlLines.h"
#include "jvm/discovery/VersionRules.h"
#include "util/AsciiCase.h"

using namespace control_file;

namespace {

constexpr const char* SelfExtrator = "selfExtratorJvmInstaller";
constexpr const char* ThirdParty = "thirdPartyJvmInstaller";
constexpr size_t MaxEdits = 2;

std::string inQuotes(const std::string& text)
{
    return "'" + text + "'";
}

// The known name nearest to `word` within MaxEdits, compared as `fold` gives them; empty for
// none.
template <typename Names>
std::string nearest(const std::string& word, const Names& names, bool fold)
{
    std::string best;
    size_t bestDistance = MaxEdits + 1;
    for (const std::string& name : names) {
        const size_t distance =
            fold ? editDistance(lowerAscii(word), lowerAscii(name)) : editDistance(word, name);
        if (distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<std::string> knownKeys()
{
    std::vector<std::string> keys;
    for (const Setting& setting : Settings)
        keys.push_back(setting.key);
    keys.push_back("configureWinRegistry");
    keys.push_back("readOnlyPackage");
    return keys;
}

// The key a line not taken seems to set: its leading stretch of name characters, when an "="
// follows it (after blanks); empty for a comment or free text.
std::string apparentKey(const std::string& line)
{
    size_t end = 0;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) ||
                                 line[end] == '_' || line[end] == '.' || line[end] == '-'))
        ++end;
    const size_t equals = line.find_first_not_of(" \t", end);
    if (end == 0 || equals == std::string::npos || line[equals] != '=')
        return std::string();
    return line.substr(0, end);
}

} // namespace

std::vector<std::string> packageEntries(const std::string& classpath)
{
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= classpath.size()) {
        size_t end = classpath.find(';', start);
        if (end == std::string::npos)
            end = classpath.size();
        std::string entry = classpath.substr(start, end - start);
        start = end + 1;
        if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"')
            entry = entry.substr(1, entry.size() - 2);
        const bool absolute = !entry.empty() && (entry[0] == '\\' || entry[0] == '/' ||
                                                 (entry.size() > 1 && entry[1] == ':'));
        if (!entry.empty() && !absolute)
            entries.push_back(entry);
    }
    return entries;
}

size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                               diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string PackageSettings::accepted() const
{
    if (!required.empty())
        return "jvmRequiredVersion " + required;
    std::string text = "jvmMinVersion " + minimum;
    if (!maximum.empty())
        text += " to jvmMaxVersion " + maximum;
    return text;
}

bool ControlCheck::read(PackageSettings& settings)
{
    std::filesystem::path file;
    if (!dir_.find(name_, file)) {
        report_.error(name_, 0, "not in the package: the launcher stops with \"Unable to open "
                                "qrv.control\"");
        return false;
    }
    name_ = dir_.reportName(file);
    std::string bytes;
    uint64_t size = 0;
    if (!PackageDir::size(file, size) || !PackageDir::read(file, 0, size, bytes)) {
        report_.error(name_, 0, "cannot be read: the launcher stops with \"Unable to open "
                                "qrv.control\"");
        return false;
    }
    const ControlLines lines = readControlLines(bytes);
    if (lines.lfLines > 0)
        report_.warning(name_, 0, "lines end in LF alone: the launcher rewrites the file with "
                                  "CR LF line ends on every run");
    if (lines.loneCrLine > 0)
        report_.warning(name_, lines.loneCrLine,
                        "a carriage return without a line feed: the launcher drops it and "
                        "reads what follows as part of this line");
    if (lines.ctrlZLine > 0)
        report_.warning(name_, lines.ctrlZLine,
                        "a Ctrl-Z character: the launcher reads nothing after it, and its "
                        "rewrite of the file drops it and all that follows");
    if (lines.legacyLettersLine > 0)
        report_.warning(name_, lines.legacyLettersLine,
                        "not UTF-8: letters outside ASCII are read in each user's own code "
                        "page; save the file as UTF-8");
    unsigned longLine = 0;
    for (const ControlPiece& piece : lines.pieces) {
        if (piece.continued && piece.line != longLine) {
            longLine = piece.line;
            report_.warning(name_, piece.line,
                            "longer than the 998 characters the launcher reads at once: the "
                            "rest is read as a line of its own");
        }
        if (!piece.continued)
            reportLineNotTaken(piece.text, piece.line);
        takePiece(piece.text, piece.line, settings);
    }
    settle(settings);
    checkValues(settings);
    return true;
}

void ControlCheck::reportLineNotTaken(const std::string& text, unsigned line)
{
    const char* reason = lineNotTakenReason(text.c_str());
    if (reason == nullptr)
        return;
    const std::string reasonText = reason;
    if (reasonText == "blank before the key") {
        report_.error(name_, line, "a blank before the key: the launcher ignores this line");
        return;
    }
    const std::string key = apparentKey(text);
    if (key.empty())
        return;  // a comment or free text
    const std::string near = nearest(key, knownKeys(), false);
    report_.error(name_, line, "unknown key " + inQuotes(key) +
                                   (near.empty() ? "" : " (did you mean " + inQuotes(near) + "?)"));
}

void ControlCheck::takePiece(const std::string& text, unsigned line, PackageSettings& settings)
{
    if (isConfigureWinRegistryLine(text.c_str())) {
        if (configureSeen_)
            return;  // the first such line decides
        configureSeen_ = true;
        const std::string value = text.size() > 21 ? text.substr(21) : std::string();
        const std::string word = lowerAscii(value);
        if (word != "true" && word != "yes" && word != "false" && word != "no")
            report_.warning(name_, line, "configureWinRegistry " + inQuotes(value) +
                                             " reads as false: only 'true' or 'yes' mean true");
        return;
    }
    if (isReadOnlyPackageLine(text.c_str())) {
        if (readOnlySeen_)
            return;  // the first such line decides
        readOnlySeen_ = true;
        std::string value = text.size() > 16 ? text.substr(16) : std::string();
        value.erase(value.find_last_not_of(" \t") + 1);
        const std::string word = lowerAscii(value);
        if (word != "copy" && word != "stop")
            report_.warning(name_, line, "readOnlyPackage " + inQuotes(value) +
                                             " reads as copy: only 'stop' stops a package that "
                                             "cannot be written");
        return;
    }
    const int index = matchKey(text.c_str());
    if (index < 0)
        return;
    const Setting& setting = Settings[index];
    const size_t keyLength = std::strlen(setting.key);
    if (keyLength < text.size() && text[keyLength] != '=') {
        report_.error(name_, line, inQuotes(setting.key) + " is followed by " +
                                       inQuotes(text.substr(keyLength, 1)) +
                                       ", not '=': the launcher reads the value " +
                                       inQuotes(valueAfterKey(text.c_str(), keyLength)));
    }
    SettingValue& value = settings.values[index];
    if (value.line > 0)
        report_.warning(name_, line, inQuotes(setting.key) + " is set again (line " +
                                         std::to_string(value.line) +
                                         " set it too): the launcher takes this line's value");
    value.text = valueAfterKey(text.c_str(), keyLength);
    value.line = line;
}

void ControlCheck::settle(PackageSettings& settings)
{
    // The launcher's defaults, in its order.
    settings.classpath = settings[LoaderClasspath].text;
    if (settings.classpath.empty())
        settings.classpath = ".;install.jar";
    settings.required = settings[RequiredVersion].text;
    settings.minimum = settings[MinVersion].text;
    settings.maximum = settings[MaxVersion].text;
    settings.jvmVersion = settings[JvmVersion].text;
    if (settings.required.empty() && settings.minimum.empty())
        settings.required = settings.jvmVersion.empty() ? "1.4" : settings.jvmVersion;
    if (settings.jvmVersion.empty())
        settings.jvmVersion = settings.required;
}

void ControlCheck::checkValues(PackageSettings& settings)
{
    bool readable = true;
    for (int index : {RequiredVersion, MinVersion, MaxVersion, JvmVersion}) {
        const SettingValue& value = settings[index];
        if (value.line > 0 && !value.text.empty() &&
            !version_rules::isComparableVersion(value.text.c_str())) {
            readable = false;
            checkVersion(settings, index);
        }
    }
    const SettingValue& minimum = settings[MinVersion];
    const SettingValue& jvmVersion = settings[JvmVersion];
    if (readable && settings.required.empty() && !settings.maximum.empty() &&
        !version_rules::verifyVersion("", settings.minimum.c_str(), settings.maximum.c_str(),
                                      settings.minimum.c_str())) {
        report_.error(name_, minimum.line, "jvmMinVersion " + settings.minimum +
                                               " is above jvmMaxVersion " + settings.maximum +
                                               ": no JVM is accepted");
    } else if (readable && !jvmVersion.text.empty() &&
               !version_rules::verifyVersion(settings.required.c_str(),
                                             settings.minimum.c_str(),
                                             settings.maximum.c_str(),
                                             jvmVersion.text.c_str())) {
        report_.error(name_, jvmVersion.line,
                      "jvmVersion " + jvmVersion.text + " is outside the versions accepted (" +
                          settings.accepted() + "): a JVM of that version is turned down");
    }
    checkInstallerType(settings);
}

void ControlCheck::checkVersion(const PackageSettings& settings, int index)
{
    const SettingValue& value = settings[index];
    report_.error(name_, value.line,
                  std::string(Settings[index].key) + " " + inQuotes(value.text) +
                      " is no version the launcher can compare: write numbers joined by '.', "
                      "'_' or '-' (11, 1.8, 1.8.0_392)");
}

void ControlCheck::checkInstallerType(const PackageSettings& settings)
{
    const SettingValue& type = settings[JvmInstallerType];
    if (type.text.empty())
        return;
    const bool expand = equalsAsciiNoCase(type.text.c_str(), SelfExtrator);
    const bool vendor = equalsAsciiNoCase(type.text.c_str(), ThirdParty);
    if (!expand && !vendor) {
        const std::string near =
            nearest(type.text, std::vector<std::string>{SelfExtrator, ThirdParty}, true);
        report_.error(name_, type.line,
                      "unknown jvmInstallerType " + inQuotes(type.text) +
                          (near.empty() ? "" : " (did you mean " + inQuotes(near) + "?)") +
                          ": no JVM is installed");
        return;
    }
    const int file = expand ? JvmSelfExtractor : JvmInstallerBinary;
    if (settings[file].text.empty())
        report_.error(name_, type.line, "jvmInstallerType " + type.text + " needs " +
                                            Settings[file].key + ": no JVM is installed");
}
