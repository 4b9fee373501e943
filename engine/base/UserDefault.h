#pragma once
// The user's saved settings: string values by string key, kept in the file
// "UserDefault.xml" in the writable folder (UserDefaultFile.h: any bytes, zero
// bytes and line breaks included, survive the round trip).
//
// - The file is read on first use (getInstance). A missing file is an empty store;
//   a damaged one (not XML, or another root) is logged and the store starts
//   empty; an entry that does not decode is dropped. Before the first write over
//   a file that lost anything so (damaged, or an entry dropped), that file is
//   moved to "UserDefault.xml.damaged", replacing an older one: one backup.
// - setStringForKey writes the whole store at once when the value changed (the
//   game's scripts seldom call flush, and a value must outlive a crash); flush
//   writes it again. Each write replaces the file all-or-nothing through the
//   platform's atomic write: a reader or a crash sees the old file or the new one.
//   A failed write is logged; the values stay in memory.
// Main thread only.
#include <map>
#include <string>

namespace engine {

class UserDefault {
public:
    static constexpr const char* kFileName = "UserDefault.xml";
    // The one backup of a file that could not be read whole: kFileName + this.
    static constexpr const char* kDamagedSuffix = ".damaged";

    static UserDefault* getInstance();
    // Drops the store (the next getInstance reads the file again).
    static void destroyInstance();

    std::string getStringForKey(const std::string& key) const { return getStringForKey(key, std::string()); }
    std::string getStringForKey(const std::string& key, const std::string& defaultValue) const;
    void setStringForKey(const std::string& key, const std::string& value);
    // Flags, integers and numbers are kept as their text ("true"/"false", decimal
    // digits, shortest round-trip form); a value that does not read as the type
    // asked for (or a missing one) gives the default.
    bool getBoolForKey(const std::string& key, bool defaultValue = false) const;
    void setBoolForKey(const std::string& key, bool value);
    int getIntegerForKey(const std::string& key, int defaultValue = 0) const;
    void setIntegerForKey(const std::string& key, int value);
    float getFloatForKey(const std::string& key, float defaultValue = 0.f) const;
    void setFloatForKey(const std::string& key, float value);
    double getDoubleForKey(const std::string& key, double defaultValue = 0.0) const;
    void setDoubleForKey(const std::string& key, double value);
    // Drops the key (and saves) when present.
    void deleteValueForKey(const std::string& key);
    // True when the file holds every value.
    bool flush();

    // The full path of the file (the writable folder when the store was made).
    const std::string& getFilePath() const { return _path; }
    // The same for the store in use (made when there is none), and whether its
    // file is on disk yet (a store nobody wrote to has none).
    static std::string getXMLFilePath() { return getInstance()->getFilePath(); }
    static bool isXMLFileExist();

private:
    UserDefault();
    void load();

    std::string _path;
    std::map<std::string, std::string> _values;
    bool _keepDamaged = false;   // the file on disk lost values when read
};

}  // namespace engine
