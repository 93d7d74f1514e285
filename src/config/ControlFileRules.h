// Text rules of the control file: which key a line sets, its value, and the value clean-ups.
// Pure text functions: no files, no registry, no processes.
#pragma once

#include <cstddef>
#include <functional>

namespace control_file {

// Number of settings of the control file.
constexpr int SettingCount = 26;

struct Setting {
    const char* key;
    size_t capacity;  // of the caller's buffer, NUL included
};

// The keys in the order in which a line is tested; also the order of getParameters' buffers.
extern const Setting Settings[SettingCount];

enum SettingIndex {
    RequiredVersion = 0,
    MinVersion,
    MaxVersion,
    JvmVersion,
    JvmName,
    JvmCommandName,
    JvmInstallerType,
    JvmSelfExtractor,
    JvmInstallerBinary,
    JvmInstallerCommand,
    PredefinedJvmInstallDir,
    JvmHomeDir,
    JvmExtraParameters,
    ClasspathSwitch,
    LoaderClasspath,
    LoaderJavaCommand,
    SystemSecurity,
    UserSecurity,
    IdentityDb,
    AppletUrl,
    SearchForJvm,
    JvmTestTimeout,
    JvmBundledDir,
    JvmDownloadUrl,
    JvmArchitecture,
    ProductName,
};

// The jvmArchitecture setting in its own spelling, any case: "x64", "x86" or "arm64"; empty for
// "any" and for no value; null for anything else (the caller traces it and takes "any").
const char* architectureSetting(const char* value);

// True for a jvmDownloadUrl that may be offered to the user: "http://" or "https://" (any case)
// followed by a host, no blanks or control characters anywhere.
bool isDownloadUrl(const char* value);

// The test run's time limit in seconds: jvmTestTimeout's value when it is a positive whole
// number (decimal digits only, nothing around them), at most MaxTestTimeout; the default for
// anything else, an empty value included.
constexpr unsigned DefaultTestTimeout = 60;
constexpr unsigned MaxTestTimeout = 86400;
unsigned testTimeoutSeconds(const char* value);

// Index of the first key that `line` begins with (exact case), or -1.
int matchKey(const char* line);

// The value of a line that begins with a key of `keyLength` characters: everything after the key
// and one separator character, whatever it is; empty when the line holds the key alone.
const char* valueAfterKey(const char* line, size_t keyLength);

// Unescapes an install directory in place: "/" becomes "\", and a "\" before ":" or "\" is
// dropped (the character after it stays and is not looked at again).
void unescapeInstallDir(char* path);

// False for the characters that cannot stand in a file name: \ / : * ? " < > |
bool isfilenameChar(char c);

// Deletes, scanning from right to left, every backslash whose right-hand neighbour is not a
// file-name character (the terminating NUL counts as one). `onDelete` (may be empty) sees the
// whole text before and after each deletion.
void removeExtraBackSlashes(char* text,
                            const std::function<void(const char* text, bool after)>& onDelete);

// Settles the JVM program name: lower case; a name that does not end in ".exe", ".bat" or ".com"
// is cut at its first "." and gets ".exe"; without a user's trace log, "jre.exe..." and
// "java.exe..." take their windowed forms "jrew.exe" and "javaw.exe".
void normaliseCommandName(char* name, size_t capacity, bool userTraceLog);

// The longest piece of a line that the reader takes at once, its newline included.
constexpr size_t LinePieceLength = 998;
// The bytes of the piece that begins `text` (of `length` bytes): through the first newline, at
// most LinePieceLength, and never ending inside a UTF-8 character that goes on after it.
size_t linePieceLength(const char* text, size_t length);

// Why a line the reader does not take sets nothing, for the trace: "blank before the key",
// "no \"=\"" or "unknown key"; null for a line that is taken, a blank line and the
// configureWinRegistry line (read on its own).
const char* lineNotTakenReason(const char* line);

// True for a line that is taken with a blank right after its key ("jvmMinVersion = 11"): its
// value then begins with the "=", which the trace line "key value" hides.
bool blankAfterKey(const char* line);

// True when `line` begins with "configureWinRegistry".
bool isConfigureWinRegistryLine(const char* line);
// The switch's verdict from such a line: "true" or "yes" in any case, false otherwise.
bool configureWinRegistryValue(const char* line);

// True when the rewrite of the control file's line ends would write `text` (of `length` bytes)
// back unchanged: every carriage return stands before a line feed, every line feed after a
// carriage return, and no Ctrl-Z (where a text-mode read ends) is in it.
bool lineEndsAlreadyWritten(const char* text, size_t length);

// True when `line` begins with "readOnlyPackage".
bool isReadOnlyPackageLine(const char* line);
// That line's verdict: true for the value "stop" in any case (trailing blanks and CR ignored),
// which keeps a package that cannot be written from being copied; "copy" and anything else copy.
bool readOnlyPackageStops(const char* line);

} // namespace control_file
