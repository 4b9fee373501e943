#pragma once
// A layer that shows one of its layers at a time: the shown one is its only
// layer child. switchTo shows another (the one shown leaves with cleanup but is
// kept); switchToAndReleaseMe also lets go of the one shown, which cannot be
// shown again. An index outside the layers, or of a layer let go, is logged and
// changes nothing. It draws nothing of its own: what shows is the shown layer.
#include <vector>

#include "engine/base/Vector.h"
#include "engine/scene/Layer.h"

namespace engine {

class LayerMultiplex : public Layer {
public:
    // Without layers / with the layers in order (null ones left out), the first
    // shown; autoreleased.
    static LayerMultiplex* create();
    static LayerMultiplex* createWithArray(const Vector<Layer*>& layers);
    ~LayerMultiplex() override;

    // Appends a layer (retained) without showing it; a null one is ignored.
    void addLayer(Layer* layer);
    void switchTo(int index);
    void switchToAndReleaseMe(int index);
    // The index of the layer shown (0 before any switch).
    int getEnabledLayer() const { return _enabledLayer; }
    size_t getLayerCount() const { return _layers.size(); }

    // Appends the layers (null ones left out); when none was shown yet the
    // first of them is.
    bool initWithArray(const Vector<Layer*>& layers);

protected:
    LayerMultiplex() = default;

private:
    bool canShow(int index, const char* call) const;

    std::vector<Layer*> _layers;   // retained; null once let go
    bool _initialised = false;
    int _enabledLayer = 0;
};

}  // namespace engine
