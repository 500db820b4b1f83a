#include "run_command.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <thread>

namespace korv::test {

namespace {

// One argument as the C runtime splits a command line back into argv:
// quoted, with backslashes doubled where a quote follows them.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
        return arg;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

// A handle closed when it goes.
class Handle {
public:
    Handle() = default;
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE* Out() { return &handle_; }
    [[nodiscard]] HANDLE Get() const { return handle_; }
    void Close() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// A pipe whose `inherited` end (0 read, 1 write) the child gets.
void MakePipe(Handle& read_end, Handle& write_end, int inherited) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    if (!CreatePipe(read_end.Out(), write_end.Out(), &attributes, 0)) {
        throw std::runtime_error("CreatePipe failed");
    }
    SetHandleInformation((inherited == 0 ? write_end : read_end).Get(), HANDLE_FLAG_INHERIT, 0);
}

void ReadAll(HANDLE from, std::string& into) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        into.append(buffer, got);
    }
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& input,
                         const std::function<void()>& in_child, const std::string& folder) {
    if (in_child) {
        throw std::logic_error("RunCommand: a child hook needs fork");
    }
    Handle in_read;
    Handle in_write;
    Handle out_read;
    Handle out_write;
    Handle err_read;
    Handle err_write;
    MakePipe(in_read, in_write, 0);
    MakePipe(out_read, out_write, 1);
    MakePipe(err_read, err_write, 1);

    std::string command_line;
    for (const std::string& arg : argv) {
        command_line += (command_line.empty() ? "" : " ") + Quoted(arg);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in_read.Get();
    startup.hStdOutput = out_write.Get();
    startup.hStdError = err_write.Get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv.at(0).c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        CommandResult failed;
        failed.status = 127;
        return failed;
    }
    Handle process_handle;
    *process_handle.Out() = process.hProcess;
    CloseHandle(process.hThread);
    // Only the child holds these ends now, so the reads end when it does.
    in_read.Close();
    out_write.Close();
    err_write.Close();

    CommandResult result;
    std::thread out_reader(ReadAll, out_read.Get(), std::ref(result.out));
    std::thread err_reader(ReadAll, err_read.Get(), std::ref(result.err));
    std::size_t written = 0;
    while (written < input.size()) {
        DWORD put = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(input.size() - written, 65536));
        if (!WriteFile(in_write.Get(), input.data() + written, chunk, &put, nullptr)) {
            break;  // the child stopped reading
        }
        written += put;
    }
    in_write.Close();
    out_reader.join();
    err_reader.join();
    WaitForSingleObject(process_handle.Get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_handle.Get(), &code);
    result.status = static_cast<int>(code);
    return result;
}

}  // namespace korv::test
