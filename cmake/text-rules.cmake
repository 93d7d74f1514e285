# The launcher's text rules: code free of Windows calls, built on the host as well, with
# sanitizers, for their unit tests and the fuzz targets.
set(QRV_RULE_SOURCES
  src/util/TextBuffer.cpp
  src/exec/ArgQuote.cpp
  src/exec/CommandRules.cpp
  src/config/ControlFileRules.cpp
  src/jvm/discovery/VersionRules.cpp
  src/jvm/provision/InstallerCommand.cpp
  src/jvm/provision/JvmDirRules.cpp
  src/install/CleanupRules.cpp
  src/install/PathRules.cpp
  src/install/WizardArgs.cpp
  src/security/SecurityRules.cpp
)
set(QRV_RULE_TESTS
  tests/util/TextBuffer_test.cpp
  tests/exec/ArgQuote_test.cpp
  tests/exec/CommandRules_test.cpp
  tests/config/ControlFileRules_test.cpp
  tests/jvm/discovery/VersionRules_test.cpp
  tests/jvm/provision/InstallerCommand_test.cpp
  tests/jvm/provision/JvmDirRules_test.cpp
  tests/install/CleanupRules_test.cpp
  tests/install/PathRules_test.cpp
  tests/install/WizardArgs_test.cpp
  tests/security/SecurityRules_test.cpp
)
