#include "exec/ExecCommand.h"

#include <cerrno>
#include <cstring>
#include <process.h>
#include <string>
#include <vector>

#include "exec/ArgQuote.h"
#include "exec/CommandRules.h"
#include "util/FileNames.h"

namespace {
// Labels padded to one width so that the report lines line up under the command.
constexpr const char* ResultLabel = "                   result";
constexpr const char* ErrnoLabel = "                    errno";

// _spawnv in wait mode: the child's exit code, or -1 when it could not be started; the errno of a
// failed start is read at once. Arguments are quoted on the way, as _spawnv joins them with
// blanks and nothing else.
int spawnWaiting(const char* command, const char* const* argv, int& error)
{
    QuotedArgs quoted(argv);
    errno = 0;
    const intptr_t result = _spawnv(_P_WAIT, command, quoted.vector());
    error = errno;
    return static_cast<int>(result);
}
} // namespace

ExecCommand::ExecCommand()
{
    traceFilename.set(file_names::TraceFilename);
    errorsFilename.set(file_names::ErrorsFilename);
}

void ExecCommand::setTraceFilename(const char* name)
{
    traceFilename.set(name);
}

void ExecCommand::setErrorsFilename(const char* name)
{
    errorsFilename.set(name);
}

bool ExecCommand::formatCommand(const char* command, char* out, size_t size)
{
    copyText(out, size, command);
    traceMessage(traceFilename, "formattedCommand:", out);
    return true;
}

std::unique_ptr<char[]> ExecCommand::argsString(const char* const* argv)
{
    const std::string line = joinForDisplay(argv);
    std::unique_ptr<char[]> text(new char[line.size() + 1]);
    std::memcpy(text.get(), line.c_str(), line.size() + 1);
    return text;
}

bool ExecCommand::spawnAndWait(const char* command, const char* const* argv, char* errorText,
                               size_t errorSize)
{
    const size_t workSize = std::strlen(command) + 100;
    std::unique_ptr<char[]> work(new char[workSize]);
    formatCommand(command, work.get(), workSize);
    traceMessage(traceFilename, "Command:", command);
    std::unique_ptr<char[]> args = argsString(argv);
    traceMessage(traceFilename, "Args:", args.get());

    int error = 0;
    const int result = spawnWaiting(work.get(), argv, error);
    if (result == -1) {
        if (errorText != nullptr)
            copyText(errorText, errorSize, spawnErrorText(error));
        return false;
    }
    exitCode = static_cast<unsigned long>(result);
    return true;
}

bool ExecCommand::execCommand(const char* command, const char* args, int count)
{
    traceMessage(traceFilename, "Formatting command", command);
    const size_t workSize = std::strlen(command) + 100;
    std::unique_ptr<char[]> work(new char[workSize]);
    formatCommand(command, work.get(), workSize);
    traceMessage(traceFilename, "New formatted command", work.get());
    return _execCommand(work.get(), args, count);
}

bool ExecCommand::_execCommand(const char* command, const char* args, int count)
{
    traceMessage(traceFilename, "command", command);
    traceMessage(traceFilename, "# of args", count);
    traceMessage(traceFilename, "Starting to invoke command", command);
    const bool started = invokeWinCommand(command, args, count + 1);
    traceMessage(traceFilename, "Command started ok", started);
    return started;
}

bool ExecCommand::invokeWinCommand(const char* command, const char* args, int)
{
    // The vector holds every piece of `args`, however many the caller announced.
    std::vector<std::string> elements;
    elements.emplace_back(command);
    if (args != nullptr) {
        for (std::string& piece : splitAtBlanks(args))
            elements.push_back(std::move(piece));
    }
    std::vector<const char*> argv;
    for (const std::string& element : elements)
        argv.push_back(element.c_str());
    argv.push_back(nullptr);

    traceMessage(traceFilename, "about to execute command:", command);
    int error = 0;
    if (spawnWaiting(command, argv.data(), error) == -1) {
        reportExecError(command, -1, error);
        return false;
    }
    return true;
}

void ExecCommand::reportExecError(const char* command, int result, int error)
{
    char number[32];
    logAndTraceMessage(errorsFilename, traceFilename, "Unable to execute command:", command);
    formatText(number, sizeof number, "%d", result);
    logAndTraceMessage(errorsFilename, traceFilename, ResultLabel, number);
    formatText(number, sizeof number, "%d", error);
    logAndTraceMessage(errorsFilename, traceFilename, ErrnoLabel, number);
}
