#pragma once
// The "sendrequest" command of the engine's remote console: a development tool sends
// a JSON request, the runtime answers with a framed JSON reply on the same
// connection. The console's thread only hands the request over; parsing, the
// commands and the reply run on the main thread. Initialising also starts the file
// server.
//
// Reply frame: the byte 1, the decimal length of the JSON text and ":", then the
// compact JSON text, whose members come in the order "cmd", "seq", "body", "code".
#include <cstdint>
#include <string>

namespace runtime {

class FileServer;

// The address shown and answered: the configured bind address, else "127.0.0.1"
// (the only address listened on without one).
std::string getLocalIP();

class ConsoleCommand {
public:
    static constexpr const char* kCommandName = "sendrequest";
    static constexpr const char* kCommandHelp = "send command to runtime.Args[json format]";

    static ConsoleCommand* getShareInstance();
    // Destroys the instance and stops the console. The command stays registered but
    // reaches no instance until the next getShareInstance.
    static void purge();

    // Registers the command (once per process), starts the console and the file
    // server on the configured ports and loads the file-info record.
    void init();

    // Console thread: hands the request to the main thread.
    void postSendCommand(int fd, const std::string& args);
    // Main thread: runs the request and sends its reply, if any, to the client.
    void onSendCommand(int fd, uint64_t client, const std::string& args);

    // The reply's JSON text for a request; false when the request gets no reply
    // (not a JSON object, or no "cmd").
    static bool handleRequest(const std::string& request, std::string& replyJson);
    // The reply frame around a JSON text.
    static std::string frameReply(const std::string& json);

private:
    ConsoleCommand() = default;
    ~ConsoleCommand();

    FileServer* _fileServer = nullptr;
};

}  // namespace runtime
