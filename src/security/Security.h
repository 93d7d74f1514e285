// Places the package's Java security files (policy files, identity database) for a JVM the
// installer has just expanded, backing up what it replaces for the Java Plug-in.
#pragma once

#include "diag/Trace.h"
#include "util/TextBuffer.h"

class Security : public Trace {
public:
    Security();

    // The language key that picks the words of the change-log line; "english" until set.
    void setLanguage(const char* language);

    // Runs the system policy, user policy and keystore steps; the verdict of the last step
    // that ran (true when none did).
    bool addSecurity(const char* systemPolicy, const char* userPolicy, const char* keystore,
                     const char* jvmHome, const char* homeDirectory, bool backup);
    // Places the identity database; `source` and `destination` are 5001-byte work buffers.
    bool addCertificate(const char* keystore, const char* jvmHome, const char* homeDirectory,
                        char* source, char* destination, bool backup);
    // Resolves a value into the package file name and its destination (both 5001 bytes).
    bool getFilenames(const char* value, const char* jvmHome, const char* homeDirectory,
                      char* fileName, char* destination);
    // Creates the "/"-separated directories of `list` (5001 bytes) under `base` and replaces the
    // list by the full path.
    bool addDirectories(const char* base, char* list);
    // The identity database that the JVM's "java.security" names, into `path` (5001 bytes).
    bool getIdentityIdFilename(const char* jvmHome, char* path);
    // The per-user destination home\profiles\<login name>\<file> (5001 bytes).
    bool getAlternateDestination(const char* keystore, const char* homeDirectory,
                                 char* destination);
    bool copySecurityFile(const char* source, const char* destination, bool backup);
    bool backupFile(const char* path);
    void logSystemChange(const char* line);

private:
    TextBuffer language;
};
