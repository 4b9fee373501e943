#pragma once
// A widget class defined by a script: layouts and scene files that name the class
// get widgets made by the script's create function, and the script's properties
// function sets each new widget's options.
//
// create(className, createHandler, propertiesHandler) registers the class with
// studio::ObjectFactory (its maker) and with the GUI reader's maps (this reader
// and its options callback), replacing an earlier registration of the name. The
// reader owns both handler ids and releases them when destroyed.
//
// The create function is called with no arguments; its first result must be a
// live widget ("ccui.Widget" or a subclass): anything else counts as no widget,
// and the load that asked for it is refused with a log line. The properties
// function gets (class name, widget, options' JSON text). A handler id of 0 is
// never called. Handlers belong to the script engine current at registration:
// once that engine is replaced, the reader makes nothing and calls nothing.
// Main thread only.
#include <string>

#include "engine/base/Ref.h"

namespace studio {

class CustomGUIReader : public engine::Ref {
public:
    // Autoreleased; the GUI reader's map keeps it while the class stays registered.
    static CustomGUIReader* create(const std::string& className, int createFunc, int setPropsFunc);

    ~CustomGUIReader() override;

    // The maker: the widget the create function answers, or null.
    engine::Ref* createInstance();
    void setCustomProps(const std::string& classType, engine::Ref* widget, const std::string& options);

    const std::string& getClassName() const { return _className; }

private:
    CustomGUIReader() = default;
    void init(const std::string& className, int createFunc, int setPropsFunc);
    bool engineIsCurrent() const;

    std::string _className;
    int _createFunc = 0;
    int _setPropsFunc = 0;
    unsigned long _engineGeneration = 0;
};

}  // namespace studio
