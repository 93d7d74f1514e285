// The file names and the path separator that many parts of the launcher share; each is written
// by one part and read by another, so there is one spelling of each.
#pragma once

namespace file_names {
constexpr const char* TraceFilename = "jinstall.log";
constexpr const char* ErrorsFilename = "errors.log";
constexpr const char* TempTraceFilename = "jinstall.sem";
constexpr const char* QrvControlFilename = "qrv.control";
constexpr const char* NativePropertiesFilename = "native.properties";
// The work file native.properties is written to before it is put in place whole.
constexpr const char* NativeWorkFilename = "native.properties.new";
constexpr const char* DIR_END = "\\";
} // namespace file_names
