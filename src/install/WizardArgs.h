// Text rules of the Java wizard launch: the argument list handed to the JVM and its size.
#pragma once

#include <string>
#include <vector>

// The control-file values and switches that shape the wizard's command line.
struct WizardSettings {
    const char* jvmCommand = "";
    const char* jvmExtraParameters = "";
    const char* jvmClasspathSwitch = "";
    const char* loaderClasspath = "";
    const char* loaderJavaCommand = "";
    bool quietInstall = false;
    bool propertiesInstall = false;
    const char* installDetails = "";
};

// Slots the argument array needs, its terminating null not counted: the words of
// loaderJavaCommand and jvmExtraParameters, 2 for the details pair, plus 5.
int wizardParameterCount(const WizardSettings& settings);

// True when the "-q"/"-s" pair and the details follow the class and its arguments.
bool passesInstallDetails(const WizardSettings& settings);

// The details argument: wrapped in double quotes when it holds both a double quote and a blank.
std::string detailsArgument(const char* installDetails);

// The argument list, in order: the JVM program's file name, the words of jvmExtraParameters
// (when not empty), the class-path switch, the class path, the words of loaderJavaCommand (at
// least one), and for a quiet or properties install with details "-q" or "-s" and the details.
std::vector<std::string> buildWizardArguments(const WizardSettings& settings);

// The arguments the wizard is started with: buildWizardArguments' list, except that details
// holding a double quote are the user's own quoting and stand as the user wrote them, so that
// the command line's split takes the quotes off (-q "C:\x" gives the wizard C:\x).
std::vector<std::string> wizardStartArguments(const WizardSettings& settings);

// What the wizard receives of the details argument `arg`: `arg` itself, or for one holding a
// double quote (passed as the user quoted it) the C runtime's split of it (backslashes count only
// before a double quote), its pieces joined by a blank.
std::string arrivingText(const std::string& arg);

// Appends one class-path element to `classpath` (after a ";" unless it is the first), wrapped in
// double quotes when it holds a blank.
void appendClassElement(std::string& classpath, const char* element, bool first);

// `classpath` rebuilt element by element by appendClassElement.
std::string quotedClasspath(const char* classpath);
