#include "install/WizardArgs.h"

#include <cstring>

#include "exec/CommandRules.h"

int wizardParameterCount(const WizardSettings& s)
{
    return countWords(s.loaderJavaCommand) + countWords(s.jvmExtraParameters) +
           (passesInstallDetails(s) ? 2 : 0) + 5;
}

bool passesInstallDetails(const WizardSettings& s)
{
    return (s.quietInstall || s.propertiesInstall) && s.installDetails != nullptr &&
           *s.installDetails != '\0';
}

std::string detailsArgument(const char* details)
{
    if (details == nullptr)
        return std::string();
    if (std::strchr(details, '"') != nullptr && std::strchr(details, ' ') != nullptr)
        return std::string("\"") + details + "\"";
    return details;
}

std::vector<std::string> buildWizardArguments(const WizardSettings& s)
{
    std::vector<std::string> args;
    args.push_back(fileNamePart(s.jvmCommand));
    if (s.jvmExtraParameters != nullptr && *s.jvmExtraParameters != '\0') {
        for (std::string& word : splitAtBlanks(s.jvmExtraParameters))
            args.push_back(std::move(word));
    }
    args.emplace_back(s.jvmClasspathSwitch != nullptr ? s.jvmClasspathSwitch : "");
    args.emplace_back(s.loaderClasspath != nullptr ? s.loaderClasspath : "");
    for (std::string& word : splitAtBlanks(s.loaderJavaCommand))
        args.push_back(std::move(word));
    if (passesInstallDetails(s)) {
        args.emplace_back(s.quietInstall ? "-q" : "-s");
        args.push_back(detailsArgument(s.installDetails));
    }
    return args;
}

std::vector<std::string> wizardStartArguments(const WizardSettings& s)
{
    std::vector<std::string> args = buildWizardArguments(s);
    if (passesInstallDetails(s) && std::strchr(s.installDetails, '"') != nullptr)
        args.back() = s.installDetails;
    return args;
}

std::string arrivingText(const std::string& arg)
{
    // Without a double quote the argument is quoted to arrive whole.
    if (arg.find('"') == std::string::npos)
        return arg;
    std::string text;
    bool inQuotes = false;
    bool blankDue = false;
    size_t slashes = 0;
    const auto add = [&](size_t count, char c) {
        if (count == 0)
            return;
        if (blankDue)
            text += ' ';
        blankDue = false;
        text.append(count, c);
    };
    for (const char c : arg) {
        if (c == '\\') {
            ++slashes;
        } else if (c == '"') {
            add(slashes / 2, '\\');
            if (slashes % 2 == 1)
                add(1, '"');
            else
                inQuotes = !inQuotes;
            slashes = 0;
        } else {
            add(slashes, '\\');
            slashes = 0;
            if (!inQuotes && (c == ' ' || c == '\t'))
                blankDue = !text.empty();
            else
                add(1, c);
        }
    }
    add(slashes, '\\');
    return text;
}

void appendClassElement(std::string& classpath, const char* element, bool first)
{
    if (!first)
        classpath += ';';
    if (std::strchr(element, ' ') != nullptr) {
        classpath += '"';
        classpath += element;
        classpath += '"';
    } else {
        classpath += element;
    }
}

std::string quotedClasspath(const char* classpath)
{
    std::string result;
    const char* start = classpath != nullptr ? classpath : "";
    for (bool first = true;; first = false) {
        const char* semicolon = std::strchr(start, ';');
        const std::string element =
            semicolon != nullptr ? std::string(start, semicolon) : std::string(start);
        appendClassElement(result, element.c_str(), first);
        if (semicolon == nullptr)
            return result;
        start = semicolon + 1;
    }
}
