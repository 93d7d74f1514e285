#include "exec/ExecCommand.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "exec/ArgQuote.h"
#include "exec/ChildProcess.h"
#include "exec/CommandRules.h"
#include "util/FileNames.h"

namespace {
// Labels padded to one width so that the report lines line up under the command.
constexpr const char* ResultLabel = "                   result";
constexpr const char* ErrnoLabel = "                    errno";
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
                               size_t errorSize, const char* commandLine)
{
    // The command is copied unchanged; the 100 spare bytes are the room the formatting step has
    // always been given.
    const size_t workSize = std::strlen(command) + 100;
    std::unique_ptr<char[]> work(new char[workSize]);
    formatCommand(command, work.get(), workSize);
    traceMessage(traceFilename, "Command:", command);
    std::unique_ptr<char[]> args = argsString(argv);
    traceMessage(traceFilename, "Args:", args.get());

    const ChildRun run =
        runChild(work.get(), commandLine != nullptr ? std::string(commandLine) : commandLineOf(argv));
    exitCode = run.exitCode;
    if (!run.started) {
        reportElevation(work.get(), run.systemError);
        if (errorText != nullptr)
            copyText(errorText, errorSize, spawnErrorText(run.startError));
        return false;
    }
    return true;
}

bool ExecCommand::execCommand(const char* command, const char* args, int count)
{
    traceMessage(traceFilename, "Formatting command", command);
    // The same room as in spawnAndWait.
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
    const ChildRun run = runChild(command, commandLineOf(argv.data()));
    exitCode = run.exitCode;
    if (!run.started) {
        reportElevation(command, run.systemError);
        reportExecError(command, -1, run.startError);
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

void ExecCommand::reportElevation(const char* program, unsigned long systemError)
{
    if (systemError != ElevationRequiredError)
        return;
    // Its full path: the administrator is to know which program to run elevated.
    char path[PathCapacity];
    const char* shown = _fullpath(path, program, sizeof path) != nullptr ? path : program;
    logAndTraceMessage(errorsFilename, traceFilename, "needs to be run as administrator:", shown);
}
