#pragma once
// The engine's older notification centre, kept for scripts: observers are filed
// by name, each with the script handler id that a script gave it.
#include <string>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

class __NotificationCenter : public Ref {
public:
    static __NotificationCenter* getInstance();
    static void destroyInstance();

    // Files a script observer of `name` on `target`; a second one for the same
    // target and name replaces the handler.
    void registerScriptObserver(Ref* target, const std::string& name, int handler);
    void unregisterScriptObserver(Ref* target, const std::string& name);
    // The handler id of the first observer of `name` that has one; 0 when none.
    int getObserverHandlerByName(const std::string& name) const;

private:
    __NotificationCenter() = default;
    struct Observer {
        Ref* target;
        std::string name;
        int handler;
    };
    std::vector<Observer> _observers;
};

}  // namespace engine
