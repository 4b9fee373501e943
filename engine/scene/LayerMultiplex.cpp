#include "engine/scene/LayerMultiplex.h"

#include "engine/base/Log.h"

namespace engine {

LayerMultiplex* LayerMultiplex::create() { return createWithArray(Vector<Layer*>()); }

LayerMultiplex* LayerMultiplex::createWithArray(const Vector<Layer*>& layers) {
    auto* multiplex = new LayerMultiplex;
    return autoreleased(multiplex, multiplex->initWithArray(layers));
}

LayerMultiplex::~LayerMultiplex() {
    for (Layer* layer : _layers) {
        if (layer) layer->release();
    }
}

bool LayerMultiplex::initWithArray(const Vector<Layer*>& layers) {
    if (!_initialised && !Layer::init()) return false;
    _initialised = true;
    const bool shown = !_layers.empty();
    for (Layer* layer : layers) addLayer(layer);
    if (!shown && !_layers.empty()) addChild(_layers.front());
    return true;
}

void LayerMultiplex::addLayer(Layer* layer) {
    if (!layer) return;
    layer->retain();
    _layers.push_back(layer);
}

bool LayerMultiplex::canShow(int index, const char* call) const {
    if (index < 0 || static_cast<size_t>(index) >= _layers.size()) {
        log("LayerMultiplex: %s(%d) is outside its %zu layers", call, index, _layers.size());
        return false;
    }
    if (!_layers[index]) {
        log("LayerMultiplex: %s(%d): that layer was let go", call, index);
        return false;
    }
    return true;
}

void LayerMultiplex::switchTo(int index) {
    if (!canShow(index, "switchTo")) return;
    if (Layer* shown = _layers[_enabledLayer]) removeChild(shown, true);
    _enabledLayer = index;
    addChild(_layers[index]);
}

void LayerMultiplex::switchToAndReleaseMe(int index) {
    if (!canShow(index, "switchToAndReleaseMe")) return;
    if (index == _enabledLayer) {
        log("LayerMultiplex: switchToAndReleaseMe(%d) is the layer shown", index);
        return;
    }
    if (Layer* shown = _layers[_enabledLayer]) {
        removeChild(shown, true);
        shown->release();
        _layers[_enabledLayer] = nullptr;
    }
    _enabledLayer = index;
    addChild(_layers[index]);
}

}  // namespace engine
