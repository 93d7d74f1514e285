# The launcher's text rules: code free of Windows calls, built on the host as well, with
# sanitizers, for their unit tests and the fuzz targets.
set(QRV_RULE_SOURCES
  src/util/TextBuffer.cpp
  src/exec/ArgQuote.cpp
  src/jvm/provision/InstallerCommand.cpp
  src/install/CleanupRules.cpp
)
set(QRV_RULE_TESTS
  tests/util/TextBuffer_test.cpp
  tests/exec/ArgQuote_test.cpp
  tests/jvm/provision/InstallerCommand_test.cpp
  tests/install/CleanupRules_test.cpp
)
