#pragma once
// One accelerometer reading: the three axes in g and the time it was taken.
#include "engine/base/Ref.h"

namespace engine {

class Acceleration : public Ref {
public:
    double x = 0;
    double y = 0;
    double z = 0;
    double timestamp = 0;
};

}  // namespace engine
