#pragma once
// Reader of a project's "config.json": the initial view size and orientation, the
// entry script and the remote-debug ports, plus the simulator screen sizes. One
// process-wide instance.
#include <string>
#include <vector>

#include "engine/base/Types.h"

namespace host {

struct SimulatorScreenSize {
    std::string title;
    int width = 0;
    int height = 0;
};

class ConfigFileReader {
public:
    // Created on first use, which also reads "config.json" as found along the
    // engine's search paths.
    static ConfigFileReader* getInstance();
    // Deletes the instance; the next getInstance creates a fresh one.
    static void purge();

    // Reads one file (empty: "config.json" along the engine's search paths). Keys
    // present in the file overwrite the current values; screen sizes are appended.
    // A missing or empty file changes nothing; malformed JSON is logged.
    void readConfig(const std::string& filePath = "");

    const engine::Size& getInitViewSize() const { return _initViewSize; }
    void setInitViewSize(const engine::Size& size) { _initViewSize = size; }
    bool isLandscape() const { return _isLandscape; }
    const std::string& getInitName() const { return _initName; }
    bool isWindowTop() const { return _isWindowTop; }

    const std::string& getEntryFile() const { return _entryFile; }
    void setEntryFile(const std::string& file) { _entryFile = file; }

    int getConsolePort() const { return _consolePort; }
    int getUploadPort() const { return _uploadPort; }
    int getDebugPort() const { return _debugPort; }

    const std::string& getBindAddress() const { return _bindAddress; }
    void setBindAddress(const std::string& address) { _bindAddress = address; }

    const std::vector<SimulatorScreenSize>& getScreenSizes() const { return _screenSizes; }

private:
    ConfigFileReader() = default;

    std::vector<SimulatorScreenSize> _screenSizes;
    engine::Size _initViewSize{960, 640};
    std::string _initName = "simulator";
    std::string _entryFile;
    bool _isLandscape = true;
    bool _isWindowTop = false;
    int _consolePort = 6010;
    int _uploadPort = 6020;
    int _debugPort = 1024;
    std::string _bindAddress;
};

}  // namespace host
